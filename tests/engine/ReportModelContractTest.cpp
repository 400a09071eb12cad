// The members of the report model's objects that the engine, the prepared
// pages, printing and export call, checked by the compiler.  Each concept
// lists the members of one model class, one line each, in the shape the
// callers use them; a member that goes away or changes its shape stops the
// build here, and the compiler names the line.  Where the model keeps a
// member under another name than the one the engine's design uses, the
// line says so.  The fixed values these callers rely on follow the
// concepts (the band class table itself is checked with the bands).

#include "tests/engine/ContractConcepts.h"

#include "report/pages/qvxBand.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxChBox.h"
#include "report/pages/qvxDMP.h"
#include "report/pages/qvxDataBand.h"
#include "report/data/qvxDataSet.h"
#include "report/pages/qvxDialogPage.h"
#include "report/components/qvxFrame.h"
#include "report/components/qvxHighlight.h"
#include "report/components/qvxHyperlink.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "report/base/qvxObjectTypes.h"
#include "report/pages/qvxPage.h"
#include "report/views/qvxPictureView.h"
#include "report/views/qvxShapeView.h"
#include "report/pages/qvxSubreport.h"
#include "report/data/qvxUserDataSet.h"
#include "report/model/qvxVariables.h"
#include "report/components/qvxView.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <gtest/gtest.h>


namespace {

// --- Components and views ------------------------------------------------

template <class C>
concept ComponentContract = requires(C &c, const C &cc, TqvxComponent *other, double d, bool b, QString s) {
    { cc.Name() } -> Is<QString>;
    c.SetName(s);
    { cc.BaseName() } -> Is<QString>;
    { cc.Parent() } -> Is<TqvxComponent *>;
    { cc.Objects() } -> As<QList<TqvxComponent *>>;
    { cc.Left() } -> Is<double>;
    { cc.Top() } -> Is<double>;
    { cc.Width() } -> Is<double>;
    { cc.Height() } -> Is<double>;
    { cc.Visible() } -> Is<bool>;
    c.SetVisible(b);
    { cc.IsPrinting() } -> Is<bool>;
    c.SetIsPrinting(b);
    { cc.DictionaryName() } -> Is<QString>;
    c.SetDictionaryName(s);
    { cc.LinkedObject() } -> Is<TqvxComponent *>;
    c.SetLinkedObject(other);
    { cc.StyleFlags() } -> Is<quint8>; // the object flag set; csoCopy marks a copy
    { cc.ParentFont() } -> Is<bool>;
    c.SetParentFont(b);
    c.SetBounds(d, d, d, d);
    c.SetParent(other);
    c.SetLeft(d);
    c.SetTop(d);
    c.SetWidth(d);
    c.SetHeight(d);
    c.AlignChildren();
    { cc.GetAbsLeft() } -> Is<double>;
    { cc.GetAbsTop() } -> Is<double>;
    { cc.GetAllObjects() } -> Is<QList<TqvxComponent *>>;
    { c.FindObject(s) } -> Is<TqvxComponent *>;
    { cc.GetPage() } -> Is<TqvxComponent *>;
    { cc.GetReport() } -> Is<TqvxComponent *>;
    c.CreateUniqueName();
    c.AssignAll(other);
    { c.Diff(other) } -> Is<QString>;
    { c.InternalDiff(other) } -> Is<QString>;
    { c.AllDiff(other) } -> Is<QString>;
    { c.AllDiff(nullptr) } -> Is<QString>;
};
static_assert(ComponentContract<TqvxComponent>);

template <class C>
concept ReportComponentContract = requires(C &c, TCanvas *canvas, double d) {
    c.BeforePrint();
    c.GetData();
    c.AfterPrint();
    c.Draw(canvas, d, d, d, d);
    { c.GetBoundsRect() } -> Is<TqvxRect>;
    // the shift list: the objects this one pushes down when it grows
    { c.ShiftList() } -> Is<QList<TqvxView *>>;
    c.AddShift(static_cast<TqvxView *>(nullptr));
    c.ClearShifts();
    { c.OnAfterData() } -> Is<QString>;
};
static_assert(ReportComponentContract<TqvxReportComponent>);

template <class C>
concept ViewContract = requires(C &c, const C &cc, TqvxComponent *other, TColor color, double d, bool b, int i,
                                TMouseButton button, TShiftState shift, bool &flag) {
    { cc.Visibility() } -> Is<TqvxVisibilityTypes>;
    { cc.Printable() } -> Is<bool>;
    { cc.Cursor() } -> Is<TCursor>;
    { cc.Hint() } -> Is<QString>;
    { cc.ShowHint() } -> Is<bool>;
    { cc.Hyperlink() } -> Is<TqvxHyperlink *>;
    { cc.URL() } -> Is<QString>;
    { cc.Frame() } -> Is<TqvxFrame *>;
    { cc.Color() } -> Is<TColor>; // GetColor
    c.SetColor(color);
    { cc.BrushStyle() } -> Is<TBrushStyle>; // GetBrushStyle
    { cc.ShiftMode() } -> Is<TqvxShiftMode>;
    { cc.Align() } -> Is<TqvxAlign>;
    c.SetDataSet(other);
    { cc.DataSet() } -> Is<TqvxComponent *>;
    { cc.DataField() } -> Is<QString>;
    { cc.NoBackground() } -> Is<bool>; // the no-background flag
    c.SetNoBackground(b);
    { cc.StretchDelta() } -> Is<double>;
    c.SetStretchDelta(d);
    { cc.HomeBand() } -> Is<TqvxComponent *>;
    c.SetHomeBand(other);
    c.MouseOverHook(i, i, button, shift, flag);
    c.MouseButtonHook(b, flag, flag);
};
static_assert(ViewContract<TqvxView>);

template <class C>
concept StretcheableContract = requires(C &c, const C &cc, double d) {
    { cc.StretchMode() } -> Is<TqvxStretchMode>;
    { cc.RemainingHeight() } -> Is<double>;
    c.SetRemainingHeight(d);
    { cc.SplitStartTop() } -> Is<double>;
    c.SetSplitStartTop(d);
    { c.CalcHeight() } -> Is<double>;
    { c.DrawPart() } -> Is<double>;
    c.InitPart();
    { c.HasNextPart() } -> Is<bool>;
};
static_assert(StretcheableContract<TqvxStretcheable>);

template <class C>
concept MemoContract = requires(C &c, const C &cc, int i, double d) {
    { cc.Memo() } -> Is<TWideStrings *>;
    { cc.Font() } -> Is<TFont *>;
    { cc.AllowExpressions() } -> Is<bool>;
    { cc.ExpressionDelimiters() } -> Is<QString>;
    { cc.AllowHTMLTags() } -> Is<bool>;
    { cc.WordWrap() } -> Is<bool>;
    { cc.WordBreak() } -> Is<bool>;
    { cc.Wysiwyg() } -> Is<bool>;
    { cc.Clipped() } -> Is<bool>;
    { cc.RTLReading() } -> Is<bool>;
    { cc.Rotation() } -> Is<int>;
    { cc.HAlign() } -> Is<TqvxHAlign>;
    { cc.VAlign() } -> Is<TqvxVAlign>;
    { cc.GapX() } -> Is<double>;
    { cc.GapY() } -> Is<double>;
    { cc.CharSpacing() } -> Is<double>;
    { cc.LineSpacing() } -> Is<double>;
    { cc.ParagraphGap() } -> Is<double>;
    { cc.Underlines() } -> Is<bool>;
    { cc.AutoWidth() } -> Is<bool>;
    { cc.SuppressRepeated() } -> Is<bool>;
    { cc.DataField() } -> Is<QString>;
    { cc.Highlight() } -> Is<TqvxHighlight *>; // GetHighlight
    { cc.TotalPages() } -> Is<int>;
    c.SetTotalPages(i);
    { cc.CopyNo() } -> Is<int>;
    c.SetCopyNo(i);
    { cc.PrintScale() } -> Is<double>;
    c.SetPrintScale(d);
    { cc.LastValue() } -> Is<Variant>; // the remembered last value
    c.ClearValue();
    c.ApplyHighlight();
    c.SubstituteTotalPages();
    { cc.Text() } -> Is<QString>; // GetText
};
static_assert(MemoContract<TqvxCustomMemoView>);
static_assert(MemoContract<TqvxDMPMemoView>);

template <class C>
concept HighlightContract = requires(const C &cc) {
    { cc.Active() } -> Is<bool>;
    { cc.Font() } -> Is<TFont *>;
    { cc.Color() } -> Is<TColor>; // GetColor
};
static_assert(HighlightContract<TqvxHighlight>);

template <class C>
concept PictureContract = requires(C &c, const C &cc, int i) {
    C(nullptr);
    { cc.Picture() } -> Is<TPicture *>;
    { cc.Frame() } -> Is<TqvxFrame *>;
    { cc.Color() } -> Is<TColor>;
    { cc.Stretched() } -> Is<bool>;
    { cc.KeepAspectRatio() } -> Is<bool>;
    { cc.Transparent() } -> Is<bool>;
    { cc.TransparentColor() } -> Is<TColor>;
    { cc.ImageIndex() } -> Is<int>;
    c.SetImageIndex(i);
    { cc.IsPictureStored() } -> Is<bool>; // the picture's stored flag
};
static_assert(PictureContract<TqvxPictureView>);

template <class C>
concept LineContract = requires(const C &cc) {
    { cc.ArrowStart() } -> Is<bool>;
    { cc.ArrowEnd() } -> Is<bool>;
    { cc.ArrowSolid() } -> Is<bool>;
    { cc.ArrowLength() } -> Is<int>;
    { cc.ArrowWidth() } -> Is<int>;
};
static_assert(LineContract<TqvxCustomLineView>);
static_assert(std::derived_from<TqvxLineView, TqvxCustomLineView>);

template <class C>
concept ShapeContract = requires(const C &cc) {
    { cc.Shape() } -> Is<TqvxShapeKind>;
    { cc.Curve() } -> Is<int>;
};
static_assert(ShapeContract<TqvxShapeView>);

template <class C>
concept CheckBoxContract = requires(const C &cc) {
    { cc.Checked() } -> Is<bool>;
    { cc.CheckStyle() } -> Is<TqvxCheckStyle>;
    { cc.UncheckStyle() } -> Is<TqvxUncheckStyle>;
};
static_assert(CheckBoxContract<TqvxCheckBoxView>);

template <class C>
concept FrameContract = requires(C &c, const C &cc, double d) {
    { cc.Typ() } -> Is<TqvxFrameTypes>;
    { cc.Color() } -> Is<TColor>;
    { cc.Style() } -> Is<TqvxFrameStyle>;
    { cc.Width() } -> Is<double>;
    c.SetWidth(d);
    { cc.DropShadow() } -> Is<bool>;
    { cc.ShadowWidth() } -> Is<double>;
    { cc.ShadowColor() } -> Is<TColor>;
    { cc.LeftLine() } -> Is<TqvxFrameLine *>;
    { cc.TopLine() } -> Is<TqvxFrameLine *>;
    { cc.RightLine() } -> Is<TqvxFrameLine *>;
    { cc.BottomLine() } -> Is<TqvxFrameLine *>;
};
static_assert(FrameContract<TqvxFrame>);

template <class C>
concept FrameLineContract = requires(const C &cc) {
    { cc.Color() } -> Is<TColor>;
    { cc.Style() } -> Is<TqvxFrameStyle>;
    { cc.Width() } -> Is<double>;
};
static_assert(FrameLineContract<TqvxFrameLine>);

template <class C>
concept HyperlinkContract = requires(const C &cc) {
    { cc.Kind() } -> Is<TqvxHyperlinkKind>;
    { cc.DetailReport() } -> Is<QString>;
    { cc.DetailPage() } -> Is<QString>;
    { cc.Expression() } -> Is<QString>;
    { cc.ReportVariable() } -> Is<QString>;
    { cc.Value() } -> Is<QString>;
    { cc.ValuesSeparator() } -> Is<QString>;
    { cc.TabCaption() } -> Is<QString>;
};
static_assert(HyperlinkContract<TqvxHyperlink>);

// --- Bands ---------------------------------------------------------------

template <class C>
concept BandContract = requires(C &c, const C &cc, TqvxBand *band) {
    C(nullptr);
    { cc.Vertical() } -> Is<bool>;
    { cc.Child() } -> Is<TqvxBand *>;
    { cc.KeepChild() } -> Is<bool>;
    { cc.AllowSplit() } -> Is<bool>;
    { cc.StartNewPage() } -> Is<bool>;
    { cc.Stretched() } -> Is<bool>;
    { cc.PrintChildIfInvisible() } -> Is<bool>;
    { cc.OutlineText() } -> Is<QString>;
    { cc.OnAfterCalcHeight() } -> Is<QString>;
    { c.Groups() } -> Is<QList<TqvxBand *> &>;
    { c.Details() } -> Is<QList<TqvxBand *> &>;
    { cc.Header() } -> Is<TqvxBand *>;
    c.SetHeader(band);
    { cc.Footer() } -> Is<TqvxBand *>;
    c.SetFooter(band);
    { cc.Group() } -> Is<TqvxBand *>;
    c.SetGroup(band);
    { c.LineN } -> Is<int &>;
    { c.LineThrough } -> Is<int &>;
    { c.LastValue } -> Is<Variant &>;
    { c.MaxY } -> Is<double &>;
    { c.OutputHeight } -> Is<double &>;
    { c.HostsVBands } -> Is<bool &>;
    { c.Reprinting } -> Is<bool &>;
    { c.OwnObjectCount } -> Is<int &>;
    { BandNumber(&cc) } -> Is<int>; // a function of the band, not a member
    c.CreateFillMemo();
};
static_assert(BandContract<TqvxBand>);

template <class... Bands>
constexpr bool AreBands = (std::derived_from<Bands, TqvxBand> && ...);
static_assert(AreBands<TqvxDataBand, TqvxHeader, TqvxFooter, TqvxGroupHeader, TqvxGroupFooter, TqvxPageHeader,
                       TqvxPageFooter, TqvxColumnHeader, TqvxColumnFooter, TqvxReportTitle, TqvxReportSummary,
                       TqvxChild, TqvxOverlay, TqvxNullBand>);
static_assert(std::derived_from<TqvxSubreport, TqvxView>);
static_assert(std::derived_from<TqvxDMPMemoView, TqvxCustomMemoView>);

template <class C>
concept DataBandContract = requires(C &c, const C &cc, TqvxComponent *dataSet, int i) {
    { cc.DataSet() } -> Is<TqvxComponent *>;
    c.SetDataSet(dataSet);
    { cc.RowCount() } -> Is<int>;
    { cc.VirtualDataSet() } -> As<TqvxDataSet *>; // the private row data set
    { cc.Columns() } -> Is<int>;
    { cc.ColumnWidth() } -> Is<double>;
    { cc.ColumnGap() } -> Is<double>;
    { cc.CurColumn() } -> Is<int>;
    c.SetCurColumn(i);
    { cc.Header() } -> Is<TqvxBand *>;
};
static_assert(DataBandContract<TqvxDataBand>);

static_assert(requires(const TqvxHeader &h) { { h.ReprintOnNewPage() } -> Is<bool>; });

template <class C>
concept GroupHeaderContract = requires(const C &cc) {
    { cc.ReprintOnNewPage() } -> Is<bool>;
    { cc.ResetPageNumbers() } -> Is<bool>;
    { cc.LineN } -> Is<const int &>;
    { cc.DrillDown() } -> Is<bool>;
    { cc.ExpandDrillDown() } -> Is<bool>;
    { cc.DrillName() } -> Is<QString>;
};
static_assert(GroupHeaderContract<TqvxGroupHeader>);

static_assert(requires(const TqvxPageHeader &h) { { h.PrintOnFirstPage() } -> Is<bool>; });

template <class C>
concept PageFooterContract = requires(const C &cc) {
    { cc.PrintOnFirstPage() } -> Is<bool>;
    { cc.PrintOnLastPage() } -> Is<bool>;
};
static_assert(PageFooterContract<TqvxPageFooter>);

static_assert(requires(const TqvxOverlay &o) { { o.PrintOnTop() } -> Is<bool>; });

template <class C>
concept SubreportContract = requires(const C &cc) {
    { cc.Page() } -> Is<TqvxReportPage *>;
    { cc.PrintOnParent() } -> Is<bool>;
};
static_assert(SubreportContract<TqvxSubreport>);

// --- Pages and data ------------------------------------------------------

template <class C>
concept ReportPageContract = requires(C &c, const C &cc, double d, int i, TCanvas *canvas) {
    C(nullptr);
    { cc.PaperWidth() } -> Is<double>;
    c.SetPaperWidth(d);
    { cc.PaperHeight() } -> Is<double>;
    c.SetPaperHeight(d);
    { cc.PaperSize() } -> Is<int>;
    c.SetPaperSize(i);
    { cc.Orientation() } -> Is<ObjectTypes::TPrinterOrientation>;
    c.SetOrientation(ObjectTypes::poLandscape);
    { cc.LeftMargin() } -> Is<double>;
    { cc.RightMargin() } -> Is<double>;
    { cc.TopMargin() } -> Is<double>;
    { cc.BottomMargin() } -> Is<double>;
    { cc.MirrorMargins() } -> Is<bool>;
    { cc.Columns() } -> Is<int>;
    { cc.ColumnPositions() } -> Is<TStrings *>;
    { cc.EndlessWidth() } -> Is<bool>;
    { cc.EndlessHeight() } -> Is<bool>;
    { cc.Bin() } -> Is<int>;
    { cc.BinOtherPages() } -> Is<int>;
    { cc.Duplex() } -> Is<TqvxDuplexMode>;
    { cc.Color() } -> Is<TColor>;
    { cc.Frame() } -> Is<TqvxFrame *>;
    { cc.BackPicture() } -> Is<TPicture *>;
    { cc.BackPictureVisible() } -> Is<bool>;
    { cc.BackPicturePrintable() } -> Is<bool>;
    { cc.OutlineText() } -> Is<QString>;
    { cc.Name() } -> Is<QString>;
    { cc.Width() } -> Is<double>;
    { cc.Height() } -> Is<double>;
    { cc.DataSet() } -> Is<TqvxComponent *>;
    { c.HDataBands() } -> Is<QList<TqvxBand *> &>; // the top-level horizontal data bands
    { c.VDataBands() } -> Is<QList<TqvxBand *> &>; // the top-level vertical data bands
    { cc.FindBand(ClassOf<TqvxPageFooter>()) } -> Is<TqvxBand *>;
    { cc.IsSubReport() } -> Is<bool>;
    // UpdateDimensions (Canvas, ScaleX, ScaleY, OffsetX, OffsetY) is two
    // members: the page's size, then the background drawn at the margins
    c.UpdateDimensions();
    c.DrawBackground(canvas, d, d, d, d);
};
static_assert(ReportPageContract<TqvxReportPage>);
static_assert(ReportPageContract<TqvxDMPPage>);

template <class C>
concept DialogPageContract = requires(C &c, const C &cc) {
    { cc.BorderStyle() } -> Is<TFormBorderStyle>;
    { c.ShowModal() } -> Is<int>;
    { cc.ModalResult() } -> Is<int>; // GetModalResult
};
static_assert(DialogPageContract<TqvxDialogPage>);

template <class C>
concept DataSetContract = requires(C &c) {
    c.Initialize();
    c.Finalize();
    c.First();
    c.Next();
    c.Prior();
    { c.Eof() } -> Is<bool>;
};
static_assert(DataSetContract<TqvxDataSet>);

template <class C>
concept VariablesContract = requires(const C &cc, QString s, int i) {
    { cc.IndexOf(s) } -> Is<int>;
    { cc.Items(i)->Value() } -> Is<Variant>; // GetItems
};
static_assert(VariablesContract<TqvxVariables>);

// --- Fixed values --------------------------------------------------------

static_assert(qv01cm == 3.77953);

static_assert(smDontStretch == 0 && smActualHeight == 1 && smMaxHeight == 2);
static_assert(smDontShift == 0 && smAlways == 1 && smWhenOverlapped == 2);
static_assert(ftLeft == 1 && ftRight == 2 && ftTop == 4 && ftBottom == 8);
static_assert(vsPreview == 1 && vsExport == 2 && vsPrint == 4);
static_assert(csCross == 0 && csCheck == 1 && csLineCross == 2 && csPlus == 3);
static_assert(usEmpty == 0 && usCross == 1 && usLineCross == 2 && usMinus == 3);
static_assert(dmNone == 0 && dmVertical == 1 && dmHorizontal == 2 && dmSimplex == 3);
static_assert(BandClassCount == 18);

TEST(ReportModelContract, NewObjectsStartWithTheStateTheEngineExpects)
{
    TqvxMemoView memo;
    EXPECT_TRUE(memo.DictionaryName().isEmpty());
    EXPECT_EQ(memo.LinkedObject(), nullptr);
    EXPECT_TRUE(memo.StyleFlags() & csoCopy);
    EXPECT_EQ(memo.Visibility(), vsPreview | vsExport | vsPrint);

    TqvxMasterData band;
    EXPECT_EQ(band.OwnObjectCount, -1);

    TqvxReportPage page;
    EXPECT_EQ(page.BinOtherPages(), 7);
}

} // namespace
