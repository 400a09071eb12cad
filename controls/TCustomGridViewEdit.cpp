// The grid's side of in-place editing: showing, hiding and feeding the
// editor, and the editor hooks that ask the owner through events.

#include "controls/TCustomGridEdit.h"
#include "controls/TCustomGridView.h"
#include "toolkit/classes/TStrings.h"

TGridEditClass TCustomGridView::GetEditClass(const TGridCell &) const
{
    return GridEditClassOf<TGridEdit>();
}

TCustomGridEdit *TCustomGridView::CreateEdit(const TGridEditClass &editClass)
{
    return editClass.Create(this);
}

void TCustomGridView::validateEdit()
{
    const TGridEditClass editClass = GetEditClass(m_cellFocused);
    if (m_edit && m_edit->metaObject() == editClass.MetaObject)
        return;
    delete m_edit;
    m_edit = CreateEdit(editClass);
    m_edit->SetParent(this);
    m_edit->SetGrid(this);
}

void TCustomGridView::HideEdit()
{
    if (!m_editing && IsCellEmpty(m_editCell))
        return;
    m_editing = false;
    m_editCell = GridCell(-1, -1);
    if (m_edit)
        m_edit->HideEditor();
    Invalidate();
}

void TCustomGridView::UpdateEdit(bool activate)
{
    // The editor hands the focus back while it hides: nothing to show.
    if (m_edit && m_edit->Hiding())
        return;
    if (!m_columns || !EditCanShow(m_cellFocused)) {
        HideEdit();
        return;
    }
    if (m_edit && m_editCell == m_cellFocused && m_editing) {
        m_edit->UpdateBounds(false);
        if (Focused())
            m_edit->TakeFocusLater();
        return;
    }
    activate = activate || m_editing || m_alwaysEdit;
    HideEdit();
    validateEdit();
    m_editCell = m_cellFocused;
    m_edit->UpdateContents();
    m_edit->UpdateStyle();
    m_edit->UpdateBounds(false);
    if (!activate)
        return;
    m_editing = true;
    m_cellSelected = true;
    m_edit->ShowEditor(Focused());
    InvalidateCell(m_editCell);
}

void TCustomGridView::UpdateEditContents(bool saveText)
{
    if (!m_editing || !m_edit)
        return;
    const QString typed = m_edit->Text();
    HideEdit();
    UpdateEdit(true);
    if (saveText && m_edit)
        m_edit->SetText(typed);
}

void TCustomGridView::ApplyEdit()
{
    if (m_readOnly || !m_edit || IsCellEmpty(m_editCell) || IsCellReadOnly(m_editCell))
        return;
    QString value = m_edit->Text();
    SetEditText(m_editCell, value);
    if (m_edit)
        m_edit->SetText(value);
}

void TCustomGridView::CancelEdit()
{
    if (!m_editing || m_alwaysEdit)
        return;
    const TGridCell cell = m_editCell;
    HideEdit();
    EditCanceled(cell);
}

void TCustomGridView::UndoEdit()
{
    if (m_edit && m_editing)
        m_edit->UndoText();
}

void TCustomGridView::ShowEditChar(QChar ch)
{
    // A character the editor passes on is on its way into the editor.
    const bool typedInEditor = m_edit && m_edit->Focused();
    SetEditing(true);
    if (typedInEditor || !m_edit || !m_editing || !m_edit->CanFocus())
        return;
    m_edit->SetFocus();
    m_edit->PostChar(ch);
}

// --- Editor hooks ----------------------------------------------------------------

QString TCustomGridView::GetEditText(const TGridCell &cell)
{
    QString value = GetCellText(cell);
    if (OnGetEditText)
        OnGetEditText(this, cell, value);
    return value;
}

void TCustomGridView::SetEditText(const TGridCell &cell, QString &value)
{
    if (OnSetEditText)
        OnSetEditText(this, cell, value);
}

TGridEditStyle TCustomGridView::GetEditStyle(const TGridCell &cell)
{
    TGridEditStyle style = IsCellValid(cell) ? m_columns->Columns(cell.Col)->EditStyle() : geSimple;
    if (OnGetEditStyle)
        OnGetEditStyle(this, cell, style);
    return style;
}

QString TCustomGridView::GetEditMask(const TGridCell &cell)
{
    return IsCellValid(cell) ? m_columns->Columns(cell.Col)->EditMask() : QString();
}

void TCustomGridView::GetEditList(const TGridCell &cell, TStrings *items)
{
    if (IsCellValid(cell)) {
        TCustomGridColumn *column = m_columns->Columns(cell.Col);
        if (column->EditStyle() == gePickList && column->HasPickList())
            items->Assign(column->PickList());
    }
    if (OnGetEditList)
        OnGetEditList(this, cell, items);
}

void TCustomGridView::GetEditListBounds(const TGridCell &, TRect &) {}

bool TCustomGridView::EditCanModify(const TGridCell &cell)
{
    bool canModify = !IsCellReadOnly(cell);
    if (OnEditCanModify)
        OnEditCanModify(this, cell, canModify);
    return canModify;
}

bool TCustomGridView::EditAcceptKey(const TGridCell &cell, QChar key)
{
    bool accept = IsCellValid(cell);
    if (OnEditAcceptKey)
        OnEditAcceptKey(this, cell, key, accept);
    return accept;
}

bool TCustomGridView::EditCanUndo(const TGridCell &cell)
{
    return EditCanModify(cell);
}

void TCustomGridView::EditButtonPress(const TGridCell &cell)
{
    if (OnEditButtonPress)
        OnEditButtonPress(this, cell);
}

void TCustomGridView::EditChange(const TGridCell &cell)
{
    if (OnEditChange)
        OnEditChange(this, cell);
}

void TCustomGridView::EditCloseUp(const TGridCell &cell, int itemIndex, bool &accept)
{
    if (OnEditCloseUp)
        OnEditCloseUp(this, cell, itemIndex, accept);
}

void TCustomGridView::EditSelectNext(const TGridCell &cell, QString &value)
{
    if (OnEditSelectNext)
        OnEditSelectNext(this, cell, value);
}

void TCustomGridView::EditCanceled(const TGridCell &cell)
{
    if (OnEditCanceled)
        OnEditCanceled(this, cell);
}
