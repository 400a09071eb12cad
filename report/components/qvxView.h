#pragma once

// The base of every visible report object (memo, picture, line, shape,
// check box, subreport ...): a frame, a fill and a hyperlink, a link to a
// data set and field, print and visibility flags, its geometry turned into
// device pixels before drawing, its background and frame, the bracketed
// expressions of its tag string and hyperlink, and its part of the
// difference text of prepared objects.
//
// TqvxStretcheable adds what the engine needs of objects that grow with
// their content and split across pages.

#include "report/components/qvxFill.h"
#include "report/components/qvxFrame.h"
#include "report/components/qvxHyperlink.h"
#include "report/components/qvxReportComponent.h"
#include "report/base/qvxViewTypes.h"
#include "toolkit/widgets/ControlTypes.h"
#include "toolkit/widgets/Cursors.h"

#include <memory>

class TqvxView : public TqvxReportComponent
{
    Q_OBJECT
    Q_PROPERTY(ReportTypes::TqvxAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(TCursor Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TqvxComponent *DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName)
    Q_PROPERTY(ViewTypes::TqvxFillType FillType READ FillType WRITE SetFillType)
    Q_PROPERTY(TqvxCustomFill *Fill READ Fill WRITE SetFill)
    Q_PROPERTY(TqvxFrame *Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(TqvxHyperlink *Hyperlink READ Hyperlink WRITE SetHyperlink)
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(bool Printable READ Printable WRITE SetPrintable)
    Q_PROPERTY(ReportTypes::TqvxRestrictions Restrictions READ Restrictions WRITE SetRestrictions)
    Q_PROPERTY(ViewTypes::TqvxShiftMode ShiftMode READ ShiftMode WRITE SetShiftMode)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(QString TagStr READ TagStr WRITE SetTagStr)
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    Q_PROPERTY(ViewTypes::TqvxVisibilityTypes Visibility READ Visibility WRITE SetVisibility)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QString OnAfterData READ OnAfterData WRITE SetOnAfterData)
    Q_PROPERTY(QString OnAfterPrint READ OnAfterPrint WRITE SetOnAfterPrint)
    Q_PROPERTY(QString OnBeforePrint READ OnBeforePrint WRITE SetOnBeforePrint)
    Q_PROPERTY(QString OnMouseEnter READ OnMouseEnter WRITE SetOnMouseEnter)
    Q_PROPERTY(QString OnMouseLeave READ OnMouseLeave WRITE SetOnMouseLeave)
    Q_PROPERTY(QString OnMouseDown READ OnMouseDown WRITE SetOnMouseDown)
    Q_PROPERTY(QString OnMouseMove READ OnMouseMove WRITE SetOnMouseMove)
    Q_PROPERTY(QString OnMouseUp READ OnMouseUp WRITE SetOnMouseUp)
    Q_PROPERTY(QString OnPreviewClick READ OnPreviewClick WRITE SetOnPreviewClick)
    Q_PROPERTY(QString OnPreviewDblClick READ OnPreviewDblClick WRITE SetOnPreviewDblClick)

public:
    // Sets the generic-diff style flag: prepared pages describe the view by
    // the serializer's full attribute text unless a descendant clears it.
    explicit TqvxView(TComponent *owner = nullptr);
    ~TqvxView() override;

    TqvxAlign ViewAlign() const override { return m_align; }
    TqvxAlign Align() const { return m_align; }
    void SetAlign(TqvxAlign value) { m_align = value; }
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor value) { m_cursor = value; }

    // The data set and field the view shows.  Setting the data set sets
    // DataSetName to its user name; setting DataSetName unlinks the data
    // set.  The link clears itself when the data set is freed.
    QString DataField() const { return m_dataField; }
    void SetDataField(const QString &value) { m_dataField = value; }
    TqvxComponent *DataSet() const { return m_dataSet; }
    void SetDataSet(TqvxComponent *value);
    // The linked data set's user name, else the name stored.
    QString DataSetName() const;
    void SetDataSetName(const QString &value);

    // The fill switches its class with FillType; assigning a fill takes
    // its kind and copies it.
    TqvxFillType FillType() const { return m_fill.FillType(); }
    void SetFillType(TqvxFillType value) { m_fill.SetFillType(value); }
    TqvxCustomFill *Fill() const { return m_fill.Fill(); }
    void SetFill(const TqvxCustomFill *value) { m_fill.SetFill(value); }
    TqvxFrame *Frame() const { return m_frame.get(); }
    void SetFrame(const TqvxFrame *value) { m_frame->Assign(value); }
    TqvxHyperlink *Hyperlink() const { return m_hyperlink.get(); }
    void SetHyperlink(const TqvxHyperlink *value) { m_hyperlink->Assign(value); }

    // Derived, published by descendants: the brush fill's BackColor (for a
    // gradient its middle colour, clNone for other fills) and Style
    // (bsClear for other fills).  Setting them changes only a brush fill.
    TColor Color() const;
    void SetColor(TColor value) { m_fill.SetBackColor(value); }
    TBrushStyle BrushStyle() const { return m_fill.BrushStyle(); }
    void SetBrushStyle(TBrushStyle value) { m_fill.SetBrushStyle(value); }

    QString Hint() const { return m_hint; }
    void SetHint(const QString &value) { m_hint = value; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value) { m_showHint = value; }
    // The print member of Visibility; not stored.
    bool Printable() const { return m_visibility.testFlag(vsPrint); }
    void SetPrintable(bool value) { m_visibility.setFlag(vsPrint, value); }
    TqvxVisibilityTypes Visibility() const { return m_visibility; }
    void SetVisibility(TqvxVisibilityTypes value) { m_visibility = value; }
    TqvxShiftMode ShiftMode() const { return m_shiftMode; }
    void SetShiftMode(TqvxShiftMode value) { m_shiftMode = value; }
    QString TagStr() const { return m_tagStr; }
    void SetTagStr(const QString &value) { m_tagStr = value; }
    // Write-only: "@page" links to a page, "#name" to an anchor, anything
    // else is a URL; an empty value changes nothing.  Reads empty.
    QString URL() const { return QString(); }
    void SetURL(const QString &value);

    QString OnMouseEnter() const { return m_onMouseEnter; }
    void SetOnMouseEnter(const QString &value) { m_onMouseEnter = value; }
    QString OnMouseLeave() const { return m_onMouseLeave; }
    void SetOnMouseLeave(const QString &value) { m_onMouseLeave = value; }
    QString OnMouseDown() const { return m_onMouseDown; }
    void SetOnMouseDown(const QString &value) { m_onMouseDown = value; }
    QString OnMouseMove() const { return m_onMouseMove; }
    void SetOnMouseMove(const QString &value) { m_onMouseMove = value; }
    QString OnMouseUp() const { return m_onMouseUp; }
    void SetOnMouseUp(const QString &value) { m_onMouseUp = value; }

    // --- Drawing ------------------------------------------------------------

    // The view at position * scale + offset: BeginDraw, the background,
    // the frame.
    void Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;
    // Stores the canvas and parameters and computes the device box (the
    // drop shadow's room left out) and the frame's device width.
    virtual void BeginDraw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY);
    // The fill, in the device box grown under the frame's lines.
    virtual void DrawBackground();
    virtual void DrawFrame();

    TCanvas *Canvas() const { return m_canvas; }
    double ScaleX() const { return m_scaleX; }
    double ScaleY() const { return m_scaleY; }
    double OffsetX() const { return m_offsetX; }
    double OffsetY() const { return m_offsetY; }
    // The device box: X, Y to X1, Y1, DX and DY wide and high.
    int X() const { return m_x; }
    int Y() const { return m_y; }
    int X1() const { return m_x1; }
    int Y1() const { return m_y1; }
    int DX() const { return m_dx; }
    int DY() const { return m_dy; }
    int FrameWidth() const { return m_frameWidth; }
    // Replaces the device box for the rest of the current drawing.
    void SetDeviceBox(int x, int y, int x1, int y1);
    // Draw all text black.
    bool BlackText() const { return m_blackText; }
    void SetBlackText(bool value) { m_blackText = value; }

    // --- Printing -----------------------------------------------------------

    // Saves the tag string and hyperlink value; the report's Self becomes
    // the view.
    void BeforePrint() override;
    // Replaces the bracketed expressions of TagStr and Hyperlink.Value by
    // their values, and Hyperlink.Value by the value of
    // Hyperlink.Expression when it has one (a text as a string literal of
    // the report's script language).
    void GetData() override;
    void AfterPrint() override;

    // Each bracketed expression of text replaced by the text of its value;
    // inserted text is not expanded again.
    QString ExpandVariables(const QString &text);

    // The difference text against another view: the generic attribute
    // text when the generic-diff flag is set, else the component's own
    // differences, then Align, the frame, Cursor, Visibility, TagStr,
    // FillType, the fill and the hyperlink.
    QString Diff(const TqvxComponent *source) override;

    // --- Engine fields (the shift list is the base's) -----------------------

    // How much the object grew in the stretch being applied.
    double StretchDelta() const { return m_stretchDelta; }
    void SetStretchDelta(double value) { m_stretchDelta = value; }
    // The horizontal band the layout check moved the object from.
    TqvxComponent *HomeBand() const { return m_homeBand; }
    void SetHomeBand(TqvxComponent *value) { m_homeBand = value; }
    // While set, a picture view draws no background.
    bool NoBackground() const { return m_noBackground; }
    void SetNoBackground(bool value) { m_noBackground = value; }

    // Mouse hooks of the preview; empty here.
    virtual void MouseOverHook(int x, int y, TMouseButton button, TShiftState shift, bool &refresh);
    virtual void MouseButtonHook(bool doubleClick, bool &refresh, bool &modified);

private:
    TqvxAlign m_align = baNone;
    TCursor m_cursor = crDefault;
    QString m_dataField;
    TGuardedRef<TqvxComponent> m_dataSet{this};
    QString m_dataSetName;
    TqvxFillSlot m_fill;
    std::unique_ptr<TqvxFrame> m_frame;
    std::unique_ptr<TqvxHyperlink> m_hyperlink;
    QString m_hint;
    bool m_showHint = false;
    TqvxVisibilityTypes m_visibility = vsPreview | vsExport | vsPrint;
    TqvxShiftMode m_shiftMode = smAlways;
    QString m_tagStr;
    QString m_onMouseEnter;
    QString m_onMouseLeave;
    QString m_onMouseDown;
    QString m_onMouseMove;
    QString m_onMouseUp;

    TCanvas *m_canvas = nullptr;
    double m_scaleX = 1;
    double m_scaleY = 1;
    double m_offsetX = 0;
    double m_offsetY = 0;
    int m_x = 0;
    int m_y = 0;
    int m_x1 = 0;
    int m_y1 = 0;
    int m_dx = 0;
    int m_dy = 0;
    int m_frameWidth = 0;
    bool m_blackText = false;

    QString m_savedTagStr;
    QString m_savedHyperlinkValue;

    double m_stretchDelta = 0;
    TGuardedRef<TqvxComponent> m_homeBand{this};
    bool m_noBackground = false;
};

// A view that grows with its content and splits across pages.
class TqvxStretcheable : public TqvxView
{
    Q_OBJECT
    Q_PROPERTY(ViewTypes::TqvxStretchMode StretchMode READ StretchMode WRITE SetStretchMode)

public:
    using TqvxView::TqvxView;

    TqvxStretchMode StretchMode() const { return m_stretchMode; }
    void SetStretchMode(TqvxStretchMode value) { m_stretchMode = value; }

    // The height the content needs (here: the current Height).
    virtual double CalcHeight();
    // Lays out the next part of the content within Height and keeps the
    // rest; answers the height left free below it (here: 0).
    virtual double DrawPart();
    // Starts part-by-part output again at the beginning.
    virtual void InitPart();
    // Content remains after the last part (here: never).
    virtual bool HasNextPart();
    // The height the part DrawPart laid out last takes as laid out on its
    // own (here: 0, nothing beyond the height the engine keeps).
    virtual double PartHeight();

    // Kept by the engine while it splits the object.
    double RemainingHeight() const { return m_remainingHeight; }
    void SetRemainingHeight(double value) { m_remainingHeight = value; }
    double SplitStartTop() const { return m_splitStartTop; }
    void SetSplitStartTop(double value) { m_splitStartTop = value; }

private:
    TqvxStretchMode m_stretchMode = smDontStretch;
    double m_remainingHeight = 0;
    double m_splitStartTop = 0;
};

// Declares what views publish.
void InitializeQvxView();
