// The services of the report model that the engine, the prepared pages,
// printing and export call, checked by the compiler as the objects are in
// ReportModelContractTest.cpp: the report and its options, the export
// filter base, the three interfaces the report reaches the engine's side
// through, the XML document and serializer, the picture cache, the text
// layout, the rectangle areas and the utilities.

#include "tests/engine/ContractConcepts.h"

#include "report/base/TWideStrings.h"
#include "report/model/qvxCustomEngine.h"
#include "report/model/qvxCustomOutline.h"
#include "report/model/qvxCustomPreview.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/text/qvxDrawText.h"
#include "report/model/qvxErrors.h"
#include "report/report/qvxExportFilter.h"
#include "report/base/qvxFileUtils.h"
#include "report/model/qvxGlobals.h"
#include "report/base/qvxGraphicUtils.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxPictureCache.h"
#include "report/components/qvxRectArea.h"
#include "report/model/qvxRegistries.h"
#include "report/report/qvxReport.h"
#include "report/data/qvxReportDataSets.h"
#include "report/model/qvxResources.h"
#include "report/base/qvxTextUtils.h"
#include "report/model/qvxVariables.h"
#include "report/components/qvxView.h"
#include "report/xml/qvxXMLDocument.h"
#include "report/xml/qvxXMLEscape.h"
#include "report/xml/qvxXMLItem.h"
#include "report/model/qvxXMLSerializer.h"
#include "report/xml/qvxZLib.h"
#include "toolkit/classes/IniFiles.h"
#include "toolkit/classes/TStringList.h"

#include <optional>

namespace {

// --- Options -------------------------------------------------------------

template <class C>
concept EngineOptionsContract = requires(const C &cc) {
    { cc.DoublePass() } -> Is<bool>;
    { cc.PrintIfEmpty() } -> Is<bool>;
    { cc.UseFileCache() } -> Is<bool>;
    { cc.MaxMemSize() } -> Is<int>;
    { cc.TempDir() } -> Is<QString>;
    { cc.NewSilentMode() } -> Is<TqvxSilentMode>;
    { cc.ThreadSafeMode() } -> Is<bool>;
};
static_assert(EngineOptionsContract<TqvxEngineOptions>);

template <class C>
concept PreviewOptionsContract = requires(const C &cc) {
    { cc.AllowEdit() } -> Is<bool>;
    { cc.Buttons() } -> Is<TqvxPreviewButtons>;
    { cc.DoubleBuffered() } -> Is<bool>;
    { cc.Maximized() } -> Is<bool>;
    { cc.MDIChild() } -> Is<bool>;
    { cc.Modal() } -> Is<bool>;
    { cc.OutlineExpand() } -> Is<bool>;
    { cc.OutlineVisible() } -> Is<bool>;
    { cc.OutlineWidth() } -> Is<int>;
    { cc.PagesInCache() } -> Is<int>;
    { cc.ThumbnailVisible() } -> Is<bool>;
    { cc.ShowCaptions() } -> Is<bool>;
    { cc.Zoom() } -> Is<double>;
    { cc.ZoomMode() } -> Is<TqvxZoomMode>;
    { cc.PictureCacheInFile() } -> Is<bool>;
    { cc.RightToLeft() } -> Is<bool>;
};
static_assert(PreviewOptionsContract<TqvxPreviewOptions>);

template <class C>
concept PrintOptionsContract = requires(const C &cc) {
    { cc.Copies() } -> Is<int>;
    { cc.Collate() } -> Is<bool>;
    { cc.PageNumbers() } -> Is<QString>;
    { cc.Printer() } -> Is<QString>;
    { cc.PrintMode() } -> Is<TqvxPrintMode>;
    { cc.PrintOnSheet() } -> Is<int>;
    { cc.PrintPages() } -> Is<TqvxPrintPages>;
    { cc.Reverse() } -> Is<bool>;
    { cc.ShowDialog() } -> Is<bool>;
    { cc.SwapPageSize() } -> Is<bool>;
    { cc.PrintFileName() } -> Is<QString>;
    { cc.DuplexOverride() } -> Is<quint8>;
    { cc.SplitGap() } -> Is<int>;
};
static_assert(PrintOptionsContract<TqvxPrintOptions>);

// --- The report ----------------------------------------------------------

template <class C>
concept ReportFieldsContract = requires(C &c, const C &cc) {
    C(nullptr);
    { cc.Engine()->FinalPass() } -> Is<bool>;
    { cc.PreviewPages() } -> Is<TqvxCustomPreviewPages *>;
    { cc.Preview() } -> Is<TqvxCustomPreview *>;
    { cc.PreviewForm() } -> Is<TForm *>; // the preview window link
    { cc.DataSet() } -> Is<TqvxDataSet *>;
    { cc.DataSets() } -> Is<TqvxReportDataSets *>;
    { cc.Variables() } -> Is<TqvxVariables *>;
    { cc.Errors() } -> As<TStrings *>;
    { cc.Terminated() } -> Is<bool>;
    { cc.CurObject() } -> Is<QString>;
    { cc.DrillState() } -> As<TStrings *>;
    { cc.EngineOptions() } -> Is<TqvxEngineOptions *>;
    { cc.PreviewOptions() } -> Is<TqvxPreviewOptions *>;
    { cc.PrintOptions() } -> Is<TqvxPrintOptions *>;
    { cc.ReportOptions()->Name() } -> Is<QString>;
    { cc.DotMatrixReport() } -> Is<bool>;
    { cc.FileName() } -> Is<QString>;
    { cc.OnStartReport() } -> Is<QString>;
    { cc.OnStopReport() } -> Is<QString>;
    { cc.OnRunDialogs() } -> Is<QString>;
    { c.OnManualBuild } -> Is<TqvxManualBuildEvent &>;
    { c.OnPrintReport } -> Is<TNotifyEvent &>;
    { c.OnAfterPrintReport } -> Is<TNotifyEvent &>;
    { c.OnPrintPage } -> Is<TqvxPrintPageEvent &>;
    { c.OnMouseOverObject } -> Is<TqvxMouseViewEvent &>;
    { c.OnLoadDetailTemplate } -> Is<TqvxLoadDetailTemplateEvent &>;
    { c.OnClosePreview } -> Is<TNotifyEvent &>;
    { cc.OnReportPrint() } -> Is<QString>;
};
static_assert(ReportFieldsContract<TqvxReport>);

template <class C>
concept ReportOperationsContract =
    requires(C &c, const C &cc, TqvxComponent *component, TqvxView *view, TqvxReportPage *page, TObject *obj,
             TqvxCustomPreview *preview, TqvxCustomPreviewPages *pages, TqvxDataSet *&dataSet, QString &field,
             Variant &params, TMouseButton button, TShiftState shift, bool &flag, QString s, double d, int i,
             bool b) {
        { c.PrepareReport(b) } -> Is<bool>;
        c.PreparePage(page);
        { cc.PagesCount() } -> Is<int>;
        { cc.GetPages(i) } -> Is<TqvxPage *>;
        { c.Calc(s) } -> Is<Variant>;
        cc.GetDataSetAndField(s, dataSet, field);
        c.DoNotifyEvent(obj, s, b);
        c.DoParamEvent(s, params, b);
        c.DoBeforePrint(component);
        c.DoAfterPrint(component);
        // DoPreviewClick (View, Button, Shift, DoubleClick, var Modified):
        // here the flag of the double click comes last
        c.DoPreviewClick(view, button, shift, flag, b);
        c.DoMouseEnter(view, flag);
        c.DoMouseLeave(view, flag);
        c.DoMouseUp(view, d, d, button, shift, flag);
        c.DoProgressStart(ptRunning);
        c.InternalOnProgress(ptRunning, i);
        c.DoProgressStop(ptRunning);
        c.SetProgressMessage(s, b);
        c.SetTerminated(b);
        c.SelectPrinter();
        c.SetPreview(preview);
        c.SetPreviewPages(pages);
        { c.LoadFromFile(s, b) } -> Is<bool>;
        { cc.GetIniFile()->ReadInteger(s, s, i) } -> Is<qint32>;
        cc.DataSets()->Initialize();
        cc.DataSets()->Finalize();
    };
static_assert(ReportOperationsContract<TqvxReport>);

template <class C>
concept VariableContract = requires(const C &cc) {
    { cc.Value() } -> Is<Variant>;
};
static_assert(VariableContract<TqvxVariable>);

// --- Export filters ------------------------------------------------------

template <class C>
concept ExportFilterContract =
    requires(C &c, const C &cc, TqvxComponent *object, TqvxReportPage *page, TStream *stream, int i) {
        { cc.ShowDialog() } -> Is<bool>;
        { cc.FileName() } -> Is<QString>;
        { cc.ExportNotPrintable() } -> Is<bool>;
        { cc.UseFileCache() } -> Is<bool>;
        { cc.DefaultPath() } -> Is<QString>;
        { cc.ShowProgress() } -> Is<bool>;
        { cc.OverwritePrompt() } -> Is<bool>;
        { cc.CreationTime() } -> Is<TDateTime>;
        { cc.DataOnly() } -> Is<bool>;
        { cc.OnBeginExport() } -> Is<TNotifyEvent>;
        { cc.Report() } -> Is<TqvxReportLink *>;
        { cc.Stream() } -> Is<TStream *>;
        c.SetStream(stream);
        { cc.SlaveExport() } -> Is<bool>;
        { cc.PageNumbers() } -> Is<QString>;
        { cc.CurrentPageOnly() } -> Is<bool>;
        { cc.OuterHeadersFootersOnly() } -> Is<bool>;
        { cc.DefaultExt() } -> Is<QString>;
        { cc.FilterDesc() } -> Is<QString>;
        // the virtual operations; an instance function in place of the
        // class function GetDescription
        { cc.GetDescription() } -> Is<QString>;
        { c.ShowModal() } -> Is<int>;
        { c.Start() } -> Is<bool>;
        c.ExportObject(object);
        c.Finish();
        c.FinishPage(page, i);
        c.StartPage(page, i);
    };
static_assert(ExportFilterContract<TqvxCustomExportFilter>);
static_assert(std::is_abstract_v<TqvxCustomExportFilter>);
static_assert(std::derived_from<EExportTerminated, Exception>);

static_assert(requires(int i) { { qvxExportFilters()->GetItem(i)->Filter } -> Is<TqvxCustomExportFilter *&>; });
static_assert(requires(TStream *source, TStream *dest) { CompressStreamDeflate(source, dest, zcMax); });
static_assert(zcNone == 0 && zcFastest == 1 && zcDefault == 2 && zcMax == 3);

// --- The three interfaces ------------------------------------------------

template <class C>
concept PreviewContract = requires(C &c, const C &cc, TqvxReportLink *report, TqvxCustomPreviewPages *pages, int i) {
    c.Init(report, pages);
    c.RemoveTab(pages);
    c.Lock();
    c.Unlock();
    c.RefreshReport();
    c.BuildStart();
    c.BuildProgress(i);
    c.BuildEnd();
    { cc.Report() } -> Is<TqvxReportLink *>;
    { cc.PreviewPages() } -> Is<TqvxCustomPreviewPages *>;
    { cc.PreviewForm() } -> Is<TForm *>;
};
static_assert(PreviewContract<TqvxCustomPreview>);
static_assert(std::is_abstract_v<TqvxCustomPreview>);

template <class C>
concept EngineInterfaceContract =
    requires(C &c, const C &cc, TqvxCustomPreviewPages *pages, TqvxBand *band, QString s, int i) {
        { cc.FinalPass() } -> Is<bool>;
        { cc.DoublePass() } -> Is<bool>;
        { c.GetAggregateValue(s, s, band, i) } -> Is<Variant>;
        c.SetPreviewPages(pages);
    };
static_assert(EngineInterfaceContract<TqvxCustomEngine>);

template <class C>
concept PreviewPagesInterfaceContract = requires(C &c, const C &cc, TqvxCustomEngine *engine) {
    { cc.Engine() } -> Is<TqvxCustomEngine *>;
    c.SetEngine(engine);
    { cc.Outline() } -> Is<TqvxCustomOutline *>;
};
static_assert(PreviewPagesInterfaceContract<TqvxCustomPreviewPages>);

// --- XML document and serializer -----------------------------------------

template <class C>
concept XMLItemContract = requires(C &c, const C &cc, C *item, QString s, int i) {
    { cc.Name() } -> As<QString>;
    { cc.Text() } -> As<QString>;
    { cc.Parent() } -> Is<C *>;
    { cc.Loaded() } -> Is<bool>;
    { cc.Unloadable() } -> Is<bool>;
    { cc.Count() } -> Is<int>;
    { cc.Items(i) } -> Is<C *>; // GetItems
    { c.Add() } -> Is<C *>;
    c.AddItem(item);
    c.InsertItem(i, item);
    { cc.Find(s) } -> Is<int>;
    { c.FindItem(s) } -> Is<C *>;
    { cc.GetProp(s) } -> Is<QString>;
    c.SetProp(s, s);
    { cc.IndexOf(item) } -> Is<int>;
    c.Clear();
};
static_assert(XMLItemContract<TqvxXMLItem>);

template <class C>
concept XMLDocumentContract = requires(C &c, const C &cc, TStream *stream, TqvxXMLItem *item, bool b) {
    { cc.Root() } -> Is<TqvxXMLItem *>;
    { cc.TempDir() } -> As<QString>;
    { cc.OldVersion() } -> Is<bool>;
    { cc.AutoIndent() } -> Is<bool>;
    c.Clear();
    c.SaveToStream(stream);
    c.LoadFromStream(stream, b);
    c.UnloadItem(item);
    c.LoadItem(item);
};
static_assert(XMLDocumentContract<TqvxXMLDocument>);

template <class C>
concept SerializerContract =
    requires(C &c, const C &cc, TqvxComponent *component, TComponent *owner, TqvxXMLItem *item, QString s, bool b) {
        C(nullptr);
        { cc.OldFormat() } -> Is<bool>;
        { cc.Owner() } -> Is<TqvxComponent *>;
        c.WriteRootComponent(component, b, item);
        c.ReadRootComponent(component, item);
        { c.WriteComponentStr(component) } -> Is<QString>;
        { c.ReadComponent(owner, s) } -> Is<TqvxComponent *>;
    };
static_assert(SerializerContract<TqvxXMLSerializer>);

static_assert(requires(QString s) { { qvxXMLEncode(s) } -> Is<QString>; });

// --- Pictures, text layout, areas ----------------------------------------

template <class C>
concept PictureCacheContract = requires(C &c, TqvxXMLItem *item, TPicture *picture, QString s, int i, bool b) {
    C();
    c.Clear();
    c.SetUseFileCache(b);
    c.SetTempDir(s);
    c.SaveToXML(item);
    c.LoadFromXML(item);
    // AddPicture (View) and GetPicture (View) take the view's picture and
    // its ImageIndex: the caller moves the index between the two
    { c.AddPicture(picture) } -> Is<int>;
    c.GetPicture(i, picture);
};
static_assert(PictureCacheContract<TqvxPictureCache>);

template <class C>
concept WideStringsContract = requires(C &c, const C &cc, QString s, int i) {
    C();
    { c.Add(s) } -> Is<int>;
    { cc.Count() } -> Is<int>;
    { cc.Get(i) } -> Is<QString>;
    c.SetText(s);
    { cc.GetText() } -> Is<QString>;
};
static_assert(WideStringsContract<TWideStrings>);

template <class C>
concept DrawTextContract = requires(C &c, const C &cc, const TFont *font, const TWideStrings *lines, TRect rect,
                                    double d, int i, bool b) {
    { qvxDrawText() } -> Is<C *>; // the single shared layout object
    C::Lock();
    C::Unlock();
    c.SetFont(font);
    c.SetOptions(b, b, b, b, b, b, i);
    c.SetGaps(d, d, d);
    c.SetDimensions(d, d, d, rect, rect);
    c.SetText(lines, b);
    { cc.LineHeight() } -> Is<double>;
    { cc.GetWrappedText() } -> Is<QString>;
    { c.CalcWidth() } -> Is<double>;
};
static_assert(DrawTextContract<TqvxDrawText>);

template <class C>
concept RectAreaContract = requires(const C &cc, const TqvxComponent *component) {
    { qvxRectAreaOf(component) } -> Is<C>;
    { cc.InterceptsX(cc) } -> Is<bool>;
    { cc.InterceptsY(cc) } -> Is<bool>;
    { cc.InterceptX(cc) } -> Is<std::optional<C>>;
};
static_assert(RectAreaContract<TqvxRectArea>);

// --- Utilities -----------------------------------------------------------

static_assert(requires(TStrings *list, TCanvas *canvas, const TBitmap *bitmap, TqvxReport *report, QString &result,
                       QString s, double d, int i, int &pos, QChar ch) {
    // qvxFloatToFixedStr (Decimals, Separator, Value): the value comes first
    { qvxFloatToFixedStr(d, i, ch) } -> Is<QString>;
    { qvxStrToFloat(s) } -> Is<double>;
    { qvxFloatToStr(d) } -> Is<QString>;
    qvxParsePageRange(s, list, i);
    qvxFindBracketExpression(s, s, s, result, pos, pos);
    qvxSplitToStrings(s, list, ch);
    qvxDrawTransparent(canvas, i, i, bitmap);
    { qvxGetTempDir() } -> Is<QString>;
    { qvxGetTempFileName() } -> Is<QString>;
    qvxErrorMsg(s);
    qvxReportError(report, s);
});

template <class C>
concept ResourcesContract = requires(C &c, const C &cc, const TObject *form, QString s, int i) {
    { qvxResources() } -> Is<C *>;
    { cc.Get(s) } -> Is<QString>;
    { qvxGet(i) } -> Is<QString>;
    c.LoadFromString(s);
    { c.PreviewButtonImages() } -> Is<TImageList *>;
    c.Help(form);
};
static_assert(ResourcesContract<TqvxResources>);

static_assert(crHand == 150 && crZoom == 151 && crFormat == 152);
static_assert(pbPrint == 1 << 0 && pbLoad == 1 << 1 && pbSave == 1 << 2 && pbExport == 1 << 3 &&
              pbZoom == 1 << 4 && pbFind == 1 << 5 && pbOutline == 1 << 6 && pbPageSetup == 1 << 7 &&
              pbTools == 1 << 8 && pbEdit == 1 << 9 && pbNavigator == 1 << 10 && pbExportQuick == 1 << 11 &&
              pbNoClose == 1 << 12 && pbNoFullScreen == 1 << 13 && pbNoEmail == 1 << 14);
static_assert(zmDefault == 0 && zmWholePage == 1 && zmPageWidth == 2 && zmManyPages == 3);
static_assert(pmDefault == 0 && pmSplit == 1 && pmJoin == 2 && pmScale == 3);
static_assert(ppAll == 0 && ppOdd == 1 && ppEven == 2);

} // namespace
