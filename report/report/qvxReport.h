#pragma once

// The report: the template document and its controller.  It owns the pages,
// bands and views of the template (as its child components), the data-set
// list, the variables, the styles, the option objects, the script, the
// expression cache, the error list, the engine and the prepared pages.
//
// PrepareReport runs the script and the engine over the data sets into the
// prepared pages; the template is saved before the run and read back after
// it (EngineOptions.DestroyForms), so whatever a script changes in the
// template during a run is undone.  Calc evaluates the expressions of the
// report's texts: built-in names, fields, variables and script items first,
// then a compiled wrapper per expression text.
//
// The engine and the prepared pages come from the installed services
// (report/qvxServices.h).

#include "report/model/qvxComponent.h"
#include "report/model/qvxOptions.h"
#include "report/report/qvxReportOptions.h"
#include "report/data/qvxUserDataSet.h"
#include "report/model/qvxReportContext.h"
#include "report/model/qvxReportLink.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/GuardedRef.h"
#include "toolkit/core/Variants.h"
#include "toolkit/widgets/ControlTypes.h"

#include <QElapsedTimer>
#include <QPointer>

#include <memory>

class TCustomIniFile;
class TForm;
class TTimer;
class TStringList;
class TqvxCustomEngine;
class TqvxCustomExportFilter;
class TqvxCustomPreviewPages;
class TqvxCustomProgress;
class TqvxDataSet;
class TqvxExpressionCache;
class TqvxHyperlink;
class TqvxReport;
class TqvxPage;
class TqvxReportPage;
class TqvxVariables;
class TqvxView;
class TzqMethodHelper;
class TzqScript;
class TzqCustomVariable;

// Told of an object about to be printed or just printed.
TOOLKIT_EVENT(TqvxBeforePrintEvent, void(TqvxComponent *sender))
// A click on a view in the preview; modified tells the preview to redraw.
TOOLKIT_EVENT(TqvxPreviewClickEvent,
              void(TqvxView *view, TMouseButton button, TShiftState shift, bool &modified))
// The mouse entered or left a view in the preview.
TOOLKIT_EVENT(TqvxMouseViewEvent, void(TqvxView *view))
// Told of the progress of a run, an export or a print.
TOOLKIT_EVENT(TqvxProgressEvent, void(TqvxReport *sender, TqvxProgressType progressType, int progress))
// Builds the body of a page in place of the engine's walk over its data
// bands.
TOOLKIT_EVENT(TqvxManualBuildEvent, void(TqvxPage *page))
// A prepared page about to be printed, with the number of its copy.
TOOLKIT_EVENT(TqvxPrintPageEvent, void(TqvxReportPage *page, int copyNo))
// Loads the report a hyperlink names into report; false declines, and the
// report is loaded from the file of that name.
TOOLKIT_EVENT(TqvxLoadDetailTemplateEvent,
              bool(TqvxReport *report, const QString &templateName, TqvxHyperlink *hyperlink))
// The host's answer to a user function called with the arguments in
// params; the report registers no user functions of its own.
TOOLKIT_EVENT(TqvxUserFunctionEvent, Variant(const QString &methodName, Variant &params))

class TqvxReport : public TqvxComponent, public TqvxReportLink, public TqvxReportContext
{
    Q_OBJECT
    Q_PROPERTY(QString Version READ Version WRITE SetVersion)
    Q_PROPERTY(QString ParentReport READ ParentReport WRITE SetParentReport)
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName)
    Q_PROPERTY(bool DotMatrixReport READ DotMatrixReport WRITE SetDotMatrixReport)
    Q_PROPERTY(TqvxEngineOptions *EngineOptions READ EngineOptions WRITE SetEngineOptions)
    Q_PROPERTY(TqvxPreviewOptions *PreviewOptions READ PreviewOptions WRITE SetPreviewOptions)
    Q_PROPERTY(TqvxPrintOptions *PrintOptions READ PrintOptions WRITE SetPrintOptions)
    Q_PROPERTY(TqvxReportOptions *ReportOptions READ ReportOptions WRITE SetReportOptions)
    Q_PROPERTY(QString IniFile READ IniFile WRITE SetIniFile)
    Q_PROPERTY(bool OldStyleProgress READ OldStyleProgress WRITE SetOldStyleProgress)
    Q_PROPERTY(QString ScriptLanguage READ ScriptLanguage WRITE SetScriptLanguage)
    Q_PROPERTY(TStrings *ScriptText READ ScriptText WRITE SetScriptText)
    Q_PROPERTY(bool ShowProgress READ ShowProgress WRITE SetShowProgress)
    Q_PROPERTY(bool StoreInDFM READ StoreInDFM WRITE SetStoreInDFM)
    Q_PROPERTY(QString OnRunDialogs READ OnRunDialogs WRITE SetOnRunDialogs)
    Q_PROPERTY(QString OnStartReport READ OnStartReport WRITE SetOnStartReport)
    Q_PROPERTY(QString OnStopReport READ OnStopReport WRITE SetOnStopReport)
    Q_PROPERTY(QString OnReportPrint READ OnReportPrint WRITE SetOnReportPrint)

public:
    // The built-in names, in the order ResolveBuiltinName knows them.
    static const QStringList &BuiltinNames();

    explicit TqvxReport(TComponent *owner = nullptr);
    ~TqvxReport() override;

    // --- the document -------------------------------------------------
    // Clears the template back to an empty report; refused while the
    // engine runs.
    void Clear() override;
    QString GetDescription() const override;
    void LoadFromStream(TStream *stream) override;
    void SaveToStream(TStream *stream, bool saveChildren = true, bool saveDefaultValues = false,
                      bool keepClassNames = false) override;
    // Clears the report and loads the file; false when it does not exist
    // (an error raises when exceptionIfNotFound).  Refused while the engine
    // runs.
    bool LoadFromFile(const QString &fileName, bool exceptionIfNotFound = false);
    // Writes the report; an absolute ParentReport becomes relative to the
    // file's folder first.
    void SaveToFile(const QString &fileName);
    QString FileName() const override { return m_fileName; }
    void SetFileName(const QString &value) { m_fileName = value; }
    void WriteNestedProperties(TqvxXMLItem *item) override;
    bool ReadNestedProperty(TqvxXMLItem *item) override;
    void Notification(TComponent *component, TOperation operation) override;

    // --- preparation and export --------------------------------------
    // Runs the script and the engine into the prepared pages; false (after
    // reporting the error list) when anything failed.  Refused while a
    // preparation or an export of this report runs.
    bool PrepareReport(bool clearLastReport = true);
    // Runs the engine for one page.
    void PreparePage(TqvxReportPage *page);
    // Hands the prepared pages to the filter; false when the filter or the
    // user refused, the export was stopped or it failed.  What went wrong
    // (a file that cannot be written, the filter's own notes) is reported
    // once, as PrepareReport reports its errors; a stop is quiet.  Refused
    // while a preparation or an export runs.
    bool Export(TqvxCustomExportFilter *filter);
    // The same for other prepared pages of the report (a detail page shown
    // in a preview tab).
    bool ExportPages(TqvxCustomPreviewPages *pages, TqvxCustomExportFilter *filter);
    // Shows the preview: with OldStyleProgress after preparing, else at
    // once, with the preparation started by the timer (TimerTick) so that
    // the preview fills while it is on the screen.
    void ShowReport(bool clearLastReport = true);
    // Shows the prepared pages in the attached preview, else in a new
    // preview window (modal or not by PreviewOptions.Modal).
    void ShowPreparedReport();
    void TimerTick();
    // True while the start timer of ShowReport waits.
    bool PreparationPending() const;
    // The preview window the report shows, or nullptr.
    TForm *PreviewForm() const;
    // True while PrepareReport or Export runs.
    bool Busy() const { return m_busy; }
    // Raises EInvalidOperation while the engine runs: what frees objects
    // of the report (clearing, loading) would free them under it.
    void RefuseWhileRunning() const;

    // --- expressions and script ---------------------------------------
    // Evaluates expression with script (nullptr: the report's).  A failure
    // adds "<message>: <object name>" to Errors and raises it.
    Variant Calc(const QString &expression) override { return Calc(expression, nullptr); }
    Variant Calc(const QString &expression, TzqScript *script);
    // As Calc, but a failure raises "clErrorInExp" + message and joins no
    // list (the scripts' Report.Calc).
    Variant CalcFromScript(const QString &expression);
    // True when the report itself finds a value for name: the old-style
    // hook, a data-set field (DS."Field"), a built-in name, the value
    // events, a report variable, a global variable, a script item.
    bool ResolveBuiltinName(const QString &name, Variant &value);
    // Splits text of the exact form DS."Field" into the data set of the
    // report's list called DS and the field name; dataSet nullptr else.
    void GetDataSetAndField(const QString &text, TqvxDataSet *&dataSet, QString &field) const;
    // Registers the report's objects and functions in the script and
    // compiles it; false (with a "clScrError" line) when it does not compile.
    bool PrepareScript(TqvxReport *activeReport = nullptr);
    TzqScript *Script() const { return m_script.get(); }
    TqvxExpressionCache *ExpressionCache() const { return m_expressionCache.get(); }
    // The name of the object being processed, for error texts.
    QString CurObject() const { return m_curObject; }
    void SetCurObject(const QString &value) { m_curObject = value; }

    // --- script events -----------------------------------------------
    // Runs the script procedure procName with obj as its argument when the
    // engine runs or force is set.
    void DoNotifyEvent(TObject *obj, const QString &procName, bool force);
    // The same with an argument array; var arguments are written back.
    void DoParamEvent(const QString &procName, Variant &params, bool force);
    // The report-context forms, for pages and views: run while the engine runs.
    void DoNotifyEvent(TObject *sender, const QString &procedure) override;
    void DoParamEvent(const QString &procedure, QList<Variant> &params) override;
    void DoBeforePrint(TqvxComponent *obj);
    void DoAfterPrint(TqvxComponent *obj);
    // A click or double click on a view of the preview: the view's script
    // handler gets (view, button, shift, modified) and may change modified;
    // then OnClickObject or OnDblClickObject.
    void DoPreviewClick(TqvxView *view, TMouseButton button, TShiftState shift, bool &modified, bool dblClick);
    // OnMouseEnter / OnMouseLeave, then the view's script handler with
    // (view, refresh); the handler may ask for a redraw through refresh.
    void DoMouseEnter(TqvxView *view, bool &refresh);
    void DoMouseLeave(TqvxView *view, bool &refresh);
    // The view's mouse-up script handler with (view, x, y, button, shift,
    // refresh).
    void DoMouseUp(TqvxView *view, double x, double y, TMouseButton button, TShiftState shift, bool &refresh);

    // --- printing and the preview -------------------------------------
    // Makes the printer named in PrintOptions.Printer current when it is
    // installed; otherwise the current printer stays.
    void SelectPrinter();
    // Shows text in the progress window and in the preview's status bar
    // (its second field when second is set), then lets pending events run;
    // nothing in ThreadSafeMode.
    void SetProgressMessage(const QString &text, bool second = false);
    // The names of the drill-down groups the user toggled in the preview.
    TStringList *DrillState() const { return m_drillState.get(); }

    // --- owned objects and properties --------------------------------
    TStrings *Errors() const override;
    TqvxEngineOptions *EngineOptions() const override { return m_engineOptions.get(); }
    void SetEngineOptions(const TqvxEngineOptions *value);
    TqvxPreviewOptions *PreviewOptions() const { return m_previewOptions.get(); }
    void SetPreviewOptions(const TqvxPreviewOptions *value);
    TqvxPrintOptions *PrintOptions() const { return m_printOptions.get(); }
    void SetPrintOptions(const TqvxPrintOptions *value);
    TqvxReportOptions *ReportOptions() const { return m_reportOptions.get(); }
    void SetReportOptions(const TqvxReportOptions *value);
    TqvxStyles *Styles() const override { return m_styles.get(); }
    TqvxVariables *Variables() const { return m_variables.get(); }
    TqvxReportDataSets *DataSets() const override { return m_dataSets.get(); }
    TqvxCustomEngine *Engine() const { return m_engine.get(); }
    TqvxCustomPreviewPages *PreviewPages() const override { return m_previewPages; }
    // Attaches another store of prepared pages (not owned) to the report
    // and its engine; nullptr goes back to the report's own.
    void SetPreviewPages(TqvxCustomPreviewPages *pages);
    TqvxDrawText *DrawText() const override { return m_drawText.get(); }

    QString Version() const { return m_version; }
    void SetVersion(const QString &) { m_version = QStringLiteral("5.2.3"); }
    QString ParentReport() const { return m_parentReport; }
    // Loads the named report and takes its objects over as inherited; a
    // chain of parents that comes back to a report adds "clCirRefNotAllow"
    // and raises.  Empty clears the inherited marks.
    void SetParentReport(const QString &value);
    TqvxReport *ParentReportObject() const { return m_parentReportObject.get(); }
    // The report's main data set (not owned); nullptr once it is freed.
    TqvxDataSet *DataSet() const { return m_dataSet.get(); }
    void SetDataSet(TqvxDataSet *value);
    QString DataSetName() const;
    void SetDataSetName(const QString &value);
    bool DotMatrixReport() const { return m_dotMatrixReport; }
    void SetDotMatrixReport(bool value) { m_dotMatrixReport = value; }
    QString IniFile() const { return m_iniFile; }
    void SetIniFile(const QString &value) { m_iniFile = value; }
    bool OldStyleProgress() const { return m_oldStyleProgress; }
    void SetOldStyleProgress(bool value) { m_oldStyleProgress = value; }
    QString ScriptLanguage() const override { return m_scriptLanguage; }
    void SetScriptLanguage(const QString &value) { m_scriptLanguage = value; }
    TStrings *ScriptText() const;
    void SetScriptText(const TStrings *value);
    bool ShowProgress() const { return m_showProgress; }
    void SetShowProgress(bool value) { m_showProgress = value; }
    bool StoreInDFM() const { return m_storeInDFM; }
    void SetStoreInDFM(bool value) { m_storeInDFM = value; }
    QString OnRunDialogs() const { return m_onRunDialogs; }
    void SetOnRunDialogs(const QString &value) { m_onRunDialogs = value; }
    QString OnStartReport() const { return m_onStartReport; }
    void SetOnStartReport(const QString &value) { m_onStartReport = value; }
    QString OnStopReport() const { return m_onStopReport; }
    void SetOnStopReport(const QString &value) { m_onStopReport = value; }
    QString OnReportPrint() const { return m_onReportPrint; }
    void SetOnReportPrint(const QString &value) { m_onReportPrint = value; }
    // The attached preview control (not owned); nullptr once it is freed.
    TqvxCustomPreview *Preview() const override;
    void SetPreview(TqvxCustomPreview *value);

    // The report's pages, in order.
    int PagesCount() const;
    TqvxPage *GetPages(int index) const;

    // The data set of the list whose name equals alias ignoring case.
    TqvxDataSet *GetDataset(const QString &alias) const;
    TqvxComponent *FindDataSet(const QString &userName) const override;
    // The settings store IniFile names: the registry-style store for a
    // name beginning with "\Software\", else an ini file.  The caller frees
    // it.
    TCustomIniFile *GetIniFile() const;
    // True while the saved template is read back after a run.
    bool Reloading() const { return m_reloading; }

    // --- the report link and context ---------------------------------
    TqvxComponent *DoGetAncestor(const QString &name) override;
    TqvxCustomDataEvent OnGetCustomData() const override { return m_onGetCustomData; }
    void SetOnGetCustomData(const TqvxCustomDataEvent &value) { m_onGetCustomData = value; }
    TqvxCustomDataEvent OnSaveCustomData() const override { return m_onSaveCustomData; }
    void SetOnSaveCustomData(const TqvxCustomDataEvent &value) { m_onSaveCustomData = value; }
    TqvxXMLSerializer *CurrentSerializer() const override { return m_currentSerializer; }
    void SetCurrentSerializer(TqvxXMLSerializer *serializer) override { m_currentSerializer = serializer; }
    QRecursiveMutex *LoadLock() const override;
    bool Terminated() const override { return m_terminated; }
    void SetTerminated(bool value) override;
    // Progress events, the progress window and the preview's build state;
    // nothing in ThreadSafeMode.
    void DoProgressStart(TqvxProgressType type) override;
    void InternalOnProgress(TqvxProgressType type, int progress) override;
    void DoProgressStop(TqvxProgressType type) override;
    void SetScriptSelf(TqvxComponent *object) override;
    // The report's script item Value: the value of the object being printed.
    void SetScriptValue(const Variant &value) override;
    void ReportErrors() override;
    TqvxBeforeConnectEvent BeforeConnectHandler() const override { return OnBeforeConnect; }
    TqvxAfterDisconnectEvent AfterDisconnectHandler() const override { return OnAfterDisconnect; }
    TqvxSetConnectionEvent OnSetConnection() const override { return m_onSetConnection; }
    void SetOnSetConnection(const TqvxSetConnectionEvent &value) { m_onSetConnection = value; }

    // --- events --------------------------------------------------------
    TNotifyEvent OnBeginDoc;
    TNotifyEvent OnEndDoc;
    TNotifyEvent OnAfterScriptCompile;
    TNotifyEvent OnPreview;
    TqvxPreviewClickEvent OnClickObject;
    TqvxPreviewClickEvent OnDblClickObject;
    TqvxMouseViewEvent OnMouseEnter;
    TqvxMouseViewEvent OnMouseLeave;
    TqvxGetValueEvent OnGetValue;
    TqvxNewGetValueEvent OnNewGetValue;
    TqvxBeforePrintEvent OnBeforePrint;
    TqvxBeforePrintEvent OnAfterPrint;
    TqvxProgressEvent OnProgressStart;
    TqvxProgressEvent OnProgress;
    TqvxProgressEvent OnProgressStop;
    // Loads the template of a parent report in place of the file.
    std::function<bool(TqvxReport *report, const QString &fileName)> OnLoadTemplate;
    // Told before a database of the report connects (it may refuse by
    // clearing connected) and after one has disconnected.
    TqvxBeforeConnectEvent OnBeforeConnect;
    TqvxAfterDisconnectEvent OnAfterDisconnect;
    // Fired by the engine, the printing and the preview.
    TqvxManualBuildEvent OnManualBuild;
    TqvxMouseViewEvent OnMouseOverObject;
    TqvxPrintPageEvent OnPrintPage;
    TNotifyEvent OnPrintReport;
    TNotifyEvent OnAfterPrintReport;
    TqvxLoadDetailTemplateEvent OnLoadDetailTemplate;
    TNotifyEvent OnClosePreview;
    TqvxUserFunctionEvent OnUserFunction;

private:
    class BusyScope;

    bool runPrepared();
    // Called before each statement of the report's script.  Every so often
    // it lets the window's events run, so that a Cancel in the progress
    // window or the preview stops a script that loops without end.  A main
    // block that has run a second with the preview or the progress window
    // asked for is offered a Cancel in a progress window.
    void scriptLineRun();
    // The script's main block, before the engine runs.
    void runMainBlock();
    Variant calcGuarded(const QString &expression, TzqScript *script, bool fromScript);
    bool resolveVariable(const QString &name, Variant &value);
    Variant builtinValue(int index) const;
    void addReportItems(TqvxReport *activeReport);
    void addVariableItems(TzqScript *target);
    void rebindScriptItems();
    // The data set each object runs over, by the object's name.  Reading
    // the template back looks data sets up by user name, which is
    // ambiguous when two share one; the links taken before a run are put
    // back after it.
    using DataSetLinks = QList<QPair<QString, QPointer<TqvxComponent>>>;
    DataSetLinks dataSetLinks() const;
    void restoreDataSetLinks(const DataSetLinks &links);
    // A loaded report always has a data page; one named "Data" is made
    // when the file has none.
    void ensureDataPage();
    Variant getScriptValue(TzqMethodHelper *caller);
    Variant callMacroFunction(const QString &name, TzqMethodHelper *caller);
    Variant calcArgument(const QString &text);
    // Runs the view's handler procName with arguments; the last one is
    // read back into flag.
    void callViewHandler(const QString &procName, const QList<Variant> &arguments, bool &flag);
    void loadParentReport(const QString &fileName);
    // Takes over the objects and variables of parent that this report
    // lacks, marked as inherited.
    void inheritFrom(TqvxReport *parent);
    QString reportErrorText() const;

    std::unique_ptr<TqvxEngineOptions> m_engineOptions;
    std::unique_ptr<TqvxPreviewOptions> m_previewOptions;
    std::unique_ptr<TqvxPrintOptions> m_printOptions;
    std::unique_ptr<TqvxReportOptions> m_reportOptions;
    std::unique_ptr<TqvxReportDataSets> m_dataSets;
    std::unique_ptr<TqvxVariables> m_variables;
    std::unique_ptr<TqvxStyles> m_styles;
    std::unique_ptr<TzqScript> m_script;
    std::unique_ptr<TqvxExpressionCache> m_expressionCache;
    std::unique_ptr<TStringList> m_errors;
    std::unique_ptr<TStringList> m_scriptText;
    std::unique_ptr<TStringList> m_drillState;
    std::unique_ptr<TqvxDrawText> m_drawText;
    std::unique_ptr<TqvxCustomPreviewPages> m_ownPreviewPages;
    TqvxCustomPreviewPages *m_previewPages = nullptr;
    std::unique_ptr<TqvxCustomEngine> m_engine;
    std::unique_ptr<TqvxCustomProgress> m_progress;
    std::unique_ptr<TqvxReport> m_parentReportObject;
    std::unique_ptr<TTimer> m_timer;
    TGuardedRef<TForm> m_previewForm{this};
    // The preview window this report made (and frees with itself); a
    // preview window of another report only shows this one in a tab.
    TGuardedRef<TForm> m_ownPreviewForm{this};

    QString m_version = QStringLiteral("5.2.3");
    QString m_parentReport;
    TGuardedRef<TqvxDataSet> m_dataSet{this};
    QString m_dataSetName;
    bool m_dotMatrixReport = false;
    QString m_iniFile = QStringLiteral("\\Software\\Quorvel Labs");
    bool m_oldStyleProgress = false;
    QString m_scriptLanguage = QStringLiteral("PascalScript");
    bool m_showProgress = true;
    bool m_storeInDFM = true;
    QString m_onRunDialogs, m_onStartReport, m_onStopReport, m_onReportPrint;
    TGuardedRef<TqvxCustomPreview> m_preview{this};
    QString m_fileName;
    QString m_curObject;
    bool m_terminated = false;
    unsigned m_scriptLines = 0;
    QElapsedTimer m_sinceScriptEvents;
    // Runs while the script's main block runs before the engine.
    QElapsedTimer m_mainBlock;
    bool m_reloading = false;
    bool m_busy = false;
    // Depth of variables evaluated inside one another.
    int m_variableDepth = 0;
    // Depth of expressions evaluated inside one another.
    int m_calcDepth = 0;
    TzqCustomVariable *m_valueItem = nullptr;
    TzqCustomVariable *m_selfItem = nullptr;
    TqvxCustomDataEvent m_onGetCustomData;
    TqvxCustomDataEvent m_onSaveCustomData;
    TqvxSetConnectionEvent m_onSetConnection;
    TqvxXMLSerializer *m_currentSerializer = nullptr;
};

void InitializeQvxReport();
