#pragma once

// The columns of a grid: each column keeps its width limits, text and
// editor settings; the collection tells the grid of every change.
//
// Width reads 0 for a hidden column while DefWidth keeps the width it will
// show again; writing Width clamps it into MinWidth..MaxWidth.

#include "controls/GridTypes.h"
#include "controls/TGridCollection.h"
#include "toolkit/classes/TStrings.h"

#include <memory>

class TCustomGridView;
class TGridColumns;

class TCustomGridColumn : public TGridCollectionItem
{
    Q_OBJECT

public:
    explicit TCustomGridColumn(TCollection *collection = nullptr);
    ~TCustomGridColumn() override;

    TGridColumns *Columns() const;
    TCustomGridView *Grid() const;

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value) { update(m_caption, value); }
    int DefWidth() const { return m_defWidth; }
    void SetDefWidth(int value);
    int Width() const { return m_visible ? m_defWidth : 0; }
    void SetWidth(int value);
    int MinWidth() const { return m_minWidth; }
    void SetMinWidth(int value);
    int MaxWidth() const { return m_maxWidth; }
    void SetMaxWidth(int value);
    bool FixedSize() const { return m_fixedSize; }
    void SetFixedSize(bool value) { update(m_fixedSize, value); }
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int value) { update(m_maxLength, value); }
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value) { update(m_alignment, value); }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value) { update(m_readOnly, value); }
    bool WantReturns() const { return m_wantReturns; }
    void SetWantReturns(bool value) { update(m_wantReturns, value); }
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value) { update(m_wordWrap, value); }
    TGridEditStyle EditStyle() const { return m_editStyle; }
    void SetEditStyle(TGridEditStyle value) { update(m_editStyle, value); }
    QString EditMask() const { return m_editMask; }
    void SetEditMask(const QString &value) { update(m_editMask, value); }
    TGridEditWordWrap EditWordWrap() const { return m_editWordWrap; }
    void SetEditWordWrap(TGridEditWordWrap value) { update(m_editWordWrap, value); }
    TGridCheckKind CheckKind() const { return m_checkKind; }
    void SetCheckKind(TGridCheckKind value) { update(m_checkKind, value); }
    TAlignment CheckAlignment() const { return m_checkAlignment; }
    void SetCheckAlignment(TAlignment value) { update(m_checkAlignment, value); }
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool value) { update(m_tabStop, value); }
    bool Visible() const { return m_visible; }
    void SetVisible(bool value) { update(m_visible, value); }
    // Created on first read; stored only when not empty.
    TStrings *PickList();
    bool HasPickList() const;
    // nullptr frees the list.
    void SetPickList(const TStrings *value);
    bool AllowClick() const { return m_allowClick; }
    void SetAllowClick(bool value) { update(m_allowClick, value); }
    int Tag() const { return m_tag; }
    void SetTag(int value) { m_tag = value; }
    bool AlignEdit() const { return m_alignEdit; }
    void SetAlignEdit(bool value) { update(m_alignEdit, value); }
    bool AllowEdit() const { return m_allowEdit; }
    void SetAllowEdit(bool value) { update(m_allowEdit, value); }

    void Assign(const TPersistent *source) override;
    // Streams of older versions hold "Multiline", read into WantReturns.
    void DefineProperties(TFiler &filer) override;

private:
    QString m_caption;
    int m_defWidth = 64;
    int m_minWidth = 0;
    int m_maxWidth = 10000;
    bool m_fixedSize = false;
    int m_maxLength = 0;
    TAlignment m_alignment = taLeftJustify;
    bool m_readOnly = false;
    bool m_wantReturns = false;
    bool m_wordWrap = false;
    TGridEditStyle m_editStyle = geSimple;
    QString m_editMask;
    TGridEditWordWrap m_editWordWrap = ewAuto;
    TGridCheckKind m_checkKind = gcNone;
    TAlignment m_checkAlignment = taLeftJustify;
    bool m_tabStop = true;
    bool m_visible = true;
    std::unique_ptr<TStrings> m_pickList;
    bool m_allowClick = true;
    int m_tag = 0;
    bool m_alignEdit = false;
    bool m_allowEdit = true;
};

class TGridColumn : public TCustomGridColumn
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int DefWidth READ DefWidth WRITE SetDefWidth)
    Q_PROPERTY(int MinWidth READ MinWidth WRITE SetMinWidth)
    Q_PROPERTY(int MaxWidth READ MaxWidth WRITE SetMaxWidth)
    Q_PROPERTY(bool FixedSize READ FixedSize WRITE SetFixedSize)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(ControlTypes::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool WantReturns READ WantReturns WRITE SetWantReturns)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(GridTypes::TGridEditStyle EditStyle READ EditStyle WRITE SetEditStyle)
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
    Q_PROPERTY(GridTypes::TGridEditWordWrap EditWordWrap READ EditWordWrap WRITE SetEditWordWrap)
    Q_PROPERTY(GridTypes::TGridCheckKind CheckKind READ CheckKind WRITE SetCheckKind)
    Q_PROPERTY(ControlTypes::TAlignment CheckAlignment READ CheckAlignment WRITE SetCheckAlignment)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(TStrings *PickList READ PickList WRITE SetPickList)
    Q_PROPERTY(bool AllowClick READ AllowClick WRITE SetAllowClick)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool AlignEdit READ AlignEdit WRITE SetAlignEdit)
    Q_PROPERTY(bool AllowEdit READ AllowEdit WRITE SetAllowEdit)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)

public:
    using TCustomGridColumn::TCustomGridColumn;
};

class TGridColumns : public TGridCollection
{
    Q_OBJECT

public:
    explicit TGridColumns(TCustomGridView *grid,
                          TCollectionItemClass itemClass = CollectionItemClassOf<TGridColumn>());

    TCustomGridView *Grid() const { return m_grid; }
    TCustomGridColumn *Columns(int index) const { return static_cast<TCustomGridColumn *>(Items(index)); }
    TCustomGridColumn *operator[](int index) const { return Columns(index); }
    // Through the grid's column factory when there is a grid.
    TCustomGridColumn *Add();

private:
    TCustomGridView *m_grid;
};
