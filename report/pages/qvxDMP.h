#pragma once

// Report objects for character (dot-matrix) printers.  They are laid out
// on the character cell grid of qvxCharGrid.h: every position and size
// they take snaps to whole cells.  Their text shows in a fixed-pitch
// screen font (Courier New 12) and their character style is a set of
// printer styles, of which only bold, italic and underline change the
// screen font.
//
// An object whose ParentFont is set follows its dot-matrix page: a change
// of the page's FontStyle reaches it and it keeps following.

#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "report/base/qvxObjectTypes.h"
#include "report/pages/qvxPage.h"

class TqvxDMPPage : public TqvxReportPage
{
    Q_OBJECT
    Q_PROPERTY(ObjectTypes::TqvxDMPFontStyles FontStyle READ FontStyle WRITE SetFontStyle)

public:
    // An A4 page of 83 by 66 cells in Courier New 12.
    explicit TqvxDMPPage(TComponent *owner = nullptr);

    bool IsDotMatrix() const override { return true; }

    // Setting it restyles the page's font and every object of the page
    // that follows its parent's font.
    TqvxDMPFontStyles FontStyle() const { return m_fontStyle; }
    void SetFontStyle(TqvxDMPFontStyles value);

    // Margins of one cell, the printer's paper cut down to whole cells.
    void SetDefaults() override;
    // The paper rounded to whole cells; a paper number stays.
    void SetPaperWidth(double value) override;
    void SetPaperHeight(double value) override;
    void SetPaperSize(int value) override;

private:
    TqvxDMPFontStyles m_fontStyle;
};

class TqvxDMPMemoView : public TqvxCustomMemoView
{
    Q_OBJECT
    Q_PROPERTY(bool AutoWidth READ AutoWidth WRITE SetAutoWidth)
    Q_PROPERTY(bool AllowExpressions READ AllowExpressions WRITE SetAllowExpressions)
    Q_PROPERTY(TqvxFormat *DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)
    Q_PROPERTY(QString ExpressionDelimiters READ ExpressionDelimiters WRITE SetExpressionDelimiters)
    Q_PROPERTY(TqvxCustomMemoView *FlowTo READ FlowTo WRITE SetFlowTo)
    Q_PROPERTY(ObjectTypes::TqvxDMPFontStyles FontStyle READ FontStyle WRITE SetFontStyle)
    Q_PROPERTY(ViewTypes::TqvxHAlign HAlign READ HAlign WRITE SetHAlign)
    Q_PROPERTY(bool HideZeros READ HideZeros WRITE SetHideZeros)
    Q_PROPERTY(TWideStrings *Memo READ Memo WRITE SetMemo)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool RTLReading READ RTLReading WRITE SetRTLReading)
    Q_PROPERTY(bool SuppressRepeated READ SuppressRepeated WRITE SetSuppressRepeated)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool TruncOutboundText READ TruncOutboundText WRITE SetTruncOutboundText)
    Q_PROPERTY(ViewTypes::TqvxVAlign VAlign READ VAlign WRITE SetVAlign)

public:
    // Courier New 12, no character or line spacing, no gaps.
    explicit TqvxDMPMemoView(TComponent *owner = nullptr);

    QString GetDescription() const override;

    // Left snaps to the nearest column (a right-aligned memo to the column
    // at or left of the value), Top and Height to text lines, Width to
    // whole columns.
    void SetLeft(double value) override;
    void SetTop(double value) override;
    void SetWidth(double value) override;
    void SetHeight(double value) override;

    // Following the parent on a dot-matrix page takes the page's style set
    // and keeps the memo's own screen font.
    void SetParentFont(bool value) override;
    TqvxDMPFontStyles FontStyle() const { return m_fontStyle; }
    // Gives the memo a style of its own: ParentFont becomes false.
    void SetFontStyle(TqvxDMPFontStyles value);
    bool IsFontStyleStored() const { return !ParentFont(); }

    // Stored for the printer; nothing here reads it.
    bool TruncOutboundText() const { return m_truncOutboundText; }
    void SetTruncOutboundText(bool value) { m_truncOutboundText = value; }

    // The text's height and width, and the height of a part, in whole
    // lines and columns.
    double CalcHeight() override;
    double CalcWidth() override;
    double PartHeight() override;

    // The frame goes around the box grown by half a cell on every side.
    void DrawFrame() override;

private:
    void fontSetup();

    TqvxDMPFontStyles m_fontStyle;
    bool m_truncOutboundText = false;
};

class TqvxDMPLineView : public TqvxCustomLineView
{
    Q_OBJECT
    Q_PROPERTY(ObjectTypes::TqvxDMPFontStyles FontStyle READ FontStyle WRITE SetFontStyle)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)

public:
    // A new line already lies in the middle of the first cell, so that it
    // reads back where it was written.
    explicit TqvxDMPLineView(TComponent *owner = nullptr);

    QString GetDescription() const override;

    // The line runs through the middle of cells: Left and Top go to the
    // centre of the cell they fall in (a right-aligned line to the nearest
    // column's left half cell), Width to whole columns (cut down when the
    // line takes the band's width).
    void SetLeft(double value) override;
    void SetTop(double value) override;
    void SetWidth(double value) override;

    void SetParentFont(bool value) override;
    TqvxDMPFontStyles FontStyle() const { return m_fontStyle; }
    void SetFontStyle(TqvxDMPFontStyles value);
    bool IsFontStyleStored() const { return !ParentFont(); }

private:
    TqvxDMPFontStyles m_fontStyle;
};

// A raw printer command placed in the text; stored, not interpreted here.
class TqvxDMPCommand : public TqvxView
{
    Q_OBJECT
    Q_PROPERTY(QString Command READ Command WRITE SetCommand)

public:
    using TqvxView::TqvxView;

    QString GetDescription() const override;

    void SetLeft(double value) override;
    void SetTop(double value) override;

    QString Command() const { return m_command; }
    void SetCommand(const QString &value) { m_command = value; }

private:
    QString m_command;
};

// Declares the properties, registers the page class and the three objects
// (kind okDotMatrix); the end takes them out again.
void InitializeQvxDMP();
void FinalizeQvxDMP();
