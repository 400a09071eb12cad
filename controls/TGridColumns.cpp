#include "controls/TGridColumns.h"

#include "controls/TCustomGridView.h"
#include "toolkit/classes/TFiler.h"
#include "toolkit/classes/TStringList.h"

#include <algorithm>

namespace {

constexpr int kMaxColumnWidth = 10000;

} // namespace

TCustomGridColumn::TCustomGridColumn(TCollection *collection) : TGridCollectionItem(collection) {}

TCustomGridColumn::~TCustomGridColumn() = default;

TGridColumns *TCustomGridColumn::Columns() const
{
    return qobject_cast<TGridColumns *>(Collection());
}

TCustomGridView *TCustomGridColumn::Grid() const
{
    TGridColumns *columns = Columns();
    return columns ? columns->Grid() : nullptr;
}

void TCustomGridColumn::SetDefWidth(int value)
{
    update(m_defWidth, std::clamp(value, m_minWidth, m_maxWidth));
}

void TCustomGridColumn::SetWidth(int value)
{
    SetDefWidth(value);
}

void TCustomGridColumn::SetMinWidth(int value)
{
    value = std::clamp(value, 0, m_maxWidth);
    if (value == m_minWidth)
        return;
    m_minWidth = value;
    SetWidth(m_defWidth);
}

void TCustomGridColumn::SetMaxWidth(int value)
{
    value = std::clamp(value, m_minWidth, kMaxColumnWidth);
    if (value == m_maxWidth)
        return;
    m_maxWidth = value;
    SetWidth(m_defWidth);
}

TStrings *TCustomGridColumn::PickList()
{
    if (!m_pickList)
        m_pickList = std::make_unique<TStringList>();
    return m_pickList.get();
}

bool TCustomGridColumn::HasPickList() const
{
    return m_pickList && m_pickList->Count() > 0;
}

void TCustomGridColumn::SetPickList(const TStrings *value)
{
    if (!value) {
        m_pickList.reset();
        return;
    }
    PickList()->Assign(value);
}

void TCustomGridColumn::Assign(const TPersistent *source)
{
    const auto *other = qobject_cast<const TCustomGridColumn *>(source);
    if (!other) {
        TGridCollectionItem::Assign(source);
        return;
    }
    m_caption = other->m_caption;
    m_minWidth = other->m_minWidth;
    m_maxWidth = other->m_maxWidth;
    m_defWidth = other->m_defWidth;
    m_fixedSize = other->m_fixedSize;
    m_maxLength = other->m_maxLength;
    m_alignment = other->m_alignment;
    m_readOnly = other->m_readOnly;
    m_wantReturns = other->m_wantReturns;
    m_wordWrap = other->m_wordWrap;
    m_editStyle = other->m_editStyle;
    m_editMask = other->m_editMask;
    m_editWordWrap = other->m_editWordWrap;
    m_checkKind = other->m_checkKind;
    m_checkAlignment = other->m_checkAlignment;
    m_tabStop = other->m_tabStop;
    m_visible = other->m_visible;
    SetPickList(other->m_pickList.get());
    m_allowClick = other->m_allowClick;
    m_tag = other->m_tag;
    m_alignEdit = other->m_alignEdit;
    m_allowEdit = other->m_allowEdit;
    Changed();
}

void TCustomGridColumn::DefineProperties(TFiler &filer)
{
    TGridCollectionItem::DefineProperties(filer);
    filer.DefineProperty(
        QStringLiteral("Multiline"), [this](TReader &reader) { SetWantReturns(reader.ReadInteger() != 0); }, {},
        false);
}

TGridColumns::TGridColumns(TCustomGridView *grid, TCollectionItemClass itemClass)
    : TGridCollection(itemClass, grid), m_grid(grid)
{
}

TCustomGridColumn *TGridColumns::Add()
{
    if (m_grid)
        return m_grid->CreateColumn(this);
    return static_cast<TCustomGridColumn *>(TCollection::Add());
}
