#include "report/report/qvxReport.h"

#include "report/model/qvxCollectionXML.h"
#include "report/model/qvxCustomEngine.h"
#include "report/model/qvxCustomPreview.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxCustomProgress.h"
#include "report/data/qvxDataSet.h"
#include "report/text/qvxDrawText.h"
#include "report/model/qvxErrors.h"
#include "report/report/qvxExportFilter.h"
#include "report/report/qvxExpressionCache.h"
#include "report/base/qvxFileUtils.h"
#include "report/model/qvxGlobals.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxPage.h"
#include "report/data/qvxReportDataSets.h"
#include "report/report/qvxReportOptions.h"
#include "report/model/qvxResources.h"
#include "report/model/qvxServices.h"
#include "report/components/qvxStyles.h"
#include "report/model/qvxVariables.h"
#include "report/xml/qvxXMLDocument.h"
#include "script/zqScript.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/IniFiles.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/classes/RegistryIniFile.h"
#include "toolkit/classes/SaveFileStream.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/classes/TTimer.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/core/Exceptions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFileInfo>

#include <new>

// Marks a preparation or an export as running and refuses a second one
// started meanwhile (progress notifications pump messages).
class TqvxReport::BusyScope
{
public:
    explicit BusyScope(TqvxReport *report) : m_report(report), m_acquired(!report->m_busy)
    {
        m_report->m_busy = true;
    }
    ~BusyScope()
    {
        if (m_acquired)
            m_report->m_busy = false;
    }
    bool Acquired() const { return m_acquired; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    TqvxReport *m_report;
    bool m_acquired;
};

namespace {

// The template saved around a run: in memory, or in a temporary file that
// goes with the object.
class SavedTemplate
{
public:
    SavedTemplate(bool inFile, const QString &tempDir)
    {
        if (inFile) {
            m_fileName = qvxGetTempFileNameIn(tempDir);
            m_stream = std::make_unique<TFileStream>(m_fileName, fmCreate);
        } else {
            m_stream = std::make_unique<TMemoryStream>();
        }
    }
    ~SavedTemplate()
    {
        m_stream.reset();
        if (!m_fileName.isEmpty())
            QFile::remove(m_fileName);
    }
    SavedTemplate(const SavedTemplate &) = delete;
    SavedTemplate &operator=(const SavedTemplate &) = delete;

    TStream *Stream() const { return m_stream.get(); }

private:
    QString m_fileName;
    std::unique_ptr<TStream> m_stream;
};

} // namespace

TqvxReport::TqvxReport(TComponent *owner)
    : TqvxComponent(owner),
      m_engineOptions(std::make_unique<TqvxEngineOptions>()),
      m_previewOptions(std::make_unique<TqvxPreviewOptions>()),
      m_printOptions(std::make_unique<TqvxPrintOptions>()),
      m_reportOptions(std::make_unique<TqvxReportOptions>(this)),
      m_dataSets(std::make_unique<TqvxReportDataSets>(this)),
      m_variables(std::make_unique<TqvxVariables>(this)),
      m_styles(std::make_unique<TqvxStyles>(this)),
      m_script(std::make_unique<TzqScript>()),
      m_errors(std::make_unique<TStringList>()),
      m_scriptText(std::make_unique<TStringList>()),
      m_drillState(std::make_unique<TStringList>()),
      m_drawText(std::make_unique<TqvxDrawText>())
{
    SetStyleFlags(StyleFlags() | csoNestedData);
    m_script->AddRTTIModules();
    m_script->OnRunLine = [this](TzqScript *, const QString &, const QString &) { scriptLineRun(); };
    m_expressionCache = std::make_unique<TqvxExpressionCache>(m_script.get());
    m_errors->SetSorted(true);
    m_errors->SetDuplicates(dupIgnore);
    m_ownPreviewPages.reset(qvxNewPreviewPages(this));
    m_previewPages = m_ownPreviewPages.get();
    m_engine.reset(qvxNewEngine(this));
    m_engine->SetPreviewPages(m_previewPages);
    m_previewPages->SetEngine(m_engine.get());
    m_timer = std::make_unique<TTimer>(nullptr);
    m_timer->SetEnabled(false);
    m_timer->SetInterval(50);
    m_timer->SetOnTimer([this](TObject *) { TimerTick(); });
    Clear();
}

TqvxReport::~TqvxReport()
{
    delete m_ownPreviewForm.get();
    if (m_preview)
        m_preview->RemoveTab(m_previewPages);
    // The objects of the template go before the services they may call.
    TqvxComponent::Clear();
}

const QStringList &TqvxReport::BuiltinNames()
{
    static const QStringList names{QStringLiteral("Date"),        QStringLiteral("Time"),
                                   QStringLiteral("Page"),        QStringLiteral("Page#"),
                                   QStringLiteral("TotalPages"),  QStringLiteral("TotalPages#"),
                                   QStringLiteral("Line"),        QStringLiteral("Line#"),
                                   QStringLiteral("CopyName#")};
    return names;
}

void TqvxReport::Clear()
{
    RefuseWhileRunning();
    TqvxComponent::Clear();
    m_dataSets->Clear();
    m_variables->Clear();
    m_styles->Clear();
    m_engineOptions->Clear();
    m_previewOptions->Clear();
    m_printOptions->Clear();
    m_reportOptions->Clear();
    m_onRunDialogs.clear();
    m_onStartReport.clear();
    m_onStopReport.clear();
    m_dataSet = nullptr;
    m_dataSetName.clear();
    m_dotMatrixReport = false;
    m_parentReport.clear();
    m_parentReportObject.reset();
    m_scriptLanguage = QStringLiteral("PascalScript");
    m_scriptText->SetText(QStringLiteral("begin\r\n\r\nend."));
}

QString TqvxReport::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obReport"));
}

TStrings *TqvxReport::Errors() const
{
    return m_errors.get();
}

TStrings *TqvxReport::ScriptText() const
{
    return m_scriptText.get();
}

void TqvxReport::SetScriptText(const TStrings *value)
{
    m_scriptText->Assign(value);
}

void TqvxReport::SetEngineOptions(const TqvxEngineOptions *value)
{
    m_engineOptions->Assign(value);
}

void TqvxReport::SetPreviewOptions(const TqvxPreviewOptions *value)
{
    m_previewOptions->Assign(value);
}

void TqvxReport::SetPrintOptions(const TqvxPrintOptions *value)
{
    m_printOptions->Assign(value);
}

void TqvxReport::SetReportOptions(const TqvxReportOptions *value)
{
    m_reportOptions->Assign(value);
}

void TqvxReport::SetPreviewPages(TqvxCustomPreviewPages *pages)
{
    m_previewPages = pages ? pages : m_ownPreviewPages.get();
    m_engine->SetPreviewPages(m_previewPages);
    m_previewPages->SetEngine(m_engine.get());
}

void TqvxReport::SetDataSet(TqvxDataSet *value)
{
    m_dataSet = value;
    if (value)
        m_dataSetName = value->UserName();
}

QString TqvxReport::DataSetName() const
{
    return m_dataSet ? m_dataSet->UserName() : m_dataSetName;
}

void TqvxReport::SetDataSetName(const QString &value)
{
    m_dataSetName = value;
    m_dataSet = qvxFindDataSet(this, m_dataSet.get(), value);
}

TqvxDataSet *TqvxReport::GetDataset(const QString &alias) const
{
    for (int i = 0; i < m_dataSets->Count(); ++i) {
        TqvxDataSetItem *item = m_dataSets->Items(i);
        if (item->DataSetName().compare(alias, Qt::CaseInsensitive) == 0)
            return item->DataSet();
    }
    return nullptr;
}

TqvxComponent *TqvxReport::FindDataSet(const QString &userName) const
{
    return GetDataset(userName);
}

TCustomIniFile *TqvxReport::GetIniFile() const
{
    if (m_iniFile.startsWith(QLatin1String("\\Software\\"), Qt::CaseInsensitive))
        return new TRegistryIniFile(m_iniFile);
    return new TIniFile(m_iniFile);
}

void TqvxReport::Notification(TComponent *component, TOperation operation)
{
    TqvxComponent::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (auto *dataSet = qobject_cast<TqvxDataSet *>(component)) {
        if (TqvxDataSetItem *item = m_dataSets->Find(dataSet))
            delete item;
        if (m_dataSet.get() == dataSet)
            m_dataSet = nullptr;
    }
}

QRecursiveMutex *TqvxReport::LoadLock() const
{
    return m_engineOptions->ThreadSafeMode() ? qvxLibraryLock() : nullptr;
}

TqvxComponent *TqvxReport::DoGetAncestor(const QString &name)
{
    if (!m_parentReportObject)
        return nullptr;
    if (name.compare(Name(), Qt::CaseInsensitive) == 0)
        return m_parentReportObject.get();
    return m_parentReportObject->FindObject(name);
}

// --- persistence -----------------------------------------------------------

void TqvxReport::WriteNestedProperties(TqvxXMLItem *item)
{
    if (m_dataSets->Count() > 0) {
        TqvxXMLItem *element = item->Add();
        element->SetName(QStringLiteral("Datasets"));
        qvxWriteCollectionXML(m_dataSets.get(), element, this);
    }
    if (m_variables->Count() > 0) {
        TqvxXMLItem *element = item->Add();
        element->SetName(QStringLiteral("Variables"));
        qvxWriteCollectionXML(m_variables.get(), element, this);
    }
    if (m_styles->Count() > 0) {
        TqvxXMLItem *element = item->Add();
        element->SetName(QStringLiteral("Styles"));
        m_styles->SaveToXMLItem(element);
    }
}

bool TqvxReport::ReadNestedProperty(TqvxXMLItem *item)
{
    if (item->Name() == QLatin1String("Datasets")) {
        qvxReadCollectionXML(m_dataSets.get(), item, this);
        return true;
    }
    if (item->Name() == QLatin1String("Variables")) {
        qvxReadCollectionXML(m_variables.get(), item, this);
        return true;
    }
    if (item->Name() == QLatin1String("Styles")) {
        m_styles->LoadFromXMLItem(item, false);
        return true;
    }
    return false;
}

void TqvxReport::SaveToStream(TStream *stream, bool saveChildren, bool saveDefaultValues, bool keepClassNames)
{
    const QString password = m_reportOptions->Password();
    m_reportOptions->SetPassword(qvxEncodePassword(password));
    try {
        TqvxComponent::SaveToStream(stream, saveChildren, saveDefaultValues, keepClassNames);
    } catch (...) {
        m_reportOptions->SetPassword(password);
        throw;
    }
    m_reportOptions->SetPassword(password);
}

void TqvxReport::LoadFromStream(TStream *stream)
{
    m_errors->Clear();
    m_reportOptions->SetPassword(m_reportOptions->PresetPassword());
    TqvxEngineOptions engineOptions;
    engineOptions.Assign(m_engineOptions.get());
    TqvxPreviewOptions previewOptions;
    previewOptions.Assign(m_previewOptions.get());
    TqvxCustomPreview *preview = m_preview.get();
    const bool oldStyleProgress = m_oldStyleProgress;
    const bool showProgress = m_showProgress;
    const bool storeInDFM = m_storeInDFM;

    TqvxComponent::LoadFromStream(stream);
    ensureDataPage();

    engineOptions.SetConvertNulls(m_engineOptions->ConvertNulls());
    engineOptions.SetDoublePass(m_engineOptions->DoublePass());
    engineOptions.SetIgnoreDevByZero(m_engineOptions->IgnoreDevByZero());
    m_engineOptions->Assign(&engineOptions);
    previewOptions.SetOutlineVisible(m_previewOptions->OutlineVisible());
    previewOptions.SetOutlineWidth(m_previewOptions->OutlineWidth());
    previewOptions.SetOutlineExpand(m_previewOptions->OutlineExpand());
    previewOptions.SetPagesInCache(m_previewOptions->PagesInCache());
    m_previewOptions->Assign(&previewOptions);
    m_preview = preview;
    m_oldStyleProgress = oldStyleProgress;
    m_showProgress = showProgress;
    m_storeInDFM = storeInDFM;
    m_reportOptions->SetPassword(qvxDecodePassword(m_reportOptions->Password()));

    if (m_reportOptions->InfoOnly()) {
        Clear();
        return;
    }
    // A failed password check has reported the errors itself.
    if (!m_reloading && !m_reportOptions->CheckPassword(!m_engineOptions->ThreadSafeMode())) {
        Clear();
        return;
    }
    if (m_errors->Count() > 0)
        ReportErrors();
}

void TqvxReport::RefuseWhileRunning() const
{
    if (m_engine && m_engine->Running())
        throw EInvalidOperation(QStringLiteral("The report cannot be cleared or loaded while it is being built"));
}

void TqvxReport::ensureDataPage()
{
    for (TqvxComponent *object : Objects())
        if (qobject_cast<TqvxDataPage *>(object))
            return;
    auto *page = new TqvxDataPage(this);
    page->SetParent(this);
    if (FindObject(QStringLiteral("Data")))
        page->CreateUniqueName();
    else
        page->SetName(QStringLiteral("Data"));
}

bool TqvxReport::LoadFromFile(const QString &fileName, bool exceptionIfNotFound)
{
    Clear();
    const bool exists = QFileInfo::exists(fileName);
    if (!exists && !exceptionIfNotFound)
        return false;
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    m_fileName = fileName;
    LoadFromStream(&stream);
    return exists;
}

void TqvxReport::SaveToFile(const QString &fileName)
{
    if (!m_parentReport.isEmpty() && QDir::isAbsolutePath(m_parentReport))
        m_parentReport = QFileInfo(fileName).absoluteDir().relativeFilePath(m_parentReport);
    TSaveFileStream stream(fileName);
    SaveToStream(&stream);
    stream.Commit();
}

// --- inheritance ------------------------------------------------------------

namespace {

// The files of the parent chain being loaded, outermost report first.
QStringList &parentChain()
{
    static QStringList chain;
    return chain;
}

} // namespace

void TqvxReport::SetParentReport(const QString &value)
{
    m_parentReport = value;
    m_parentReportObject.reset();
    if (value.isEmpty()) {
        for (TqvxComponent *object : GetAllObjects())
            object->SetIsInherited(false);
        for (int i = 0; i < m_variables->Count(); ++i)
            m_variables->Items(i)->SetIsInherited(false);
        return;
    }
    loadParentReport(value);
}

void TqvxReport::loadParentReport(const QString &fileName)
{
    QString path = fileName;
    if (!OnLoadTemplate && QFileInfo(path).isRelative()) {
        const QString beside = QFileInfo(m_fileName).absoluteDir().filePath(fileName);
        path = QFileInfo::exists(beside) ? beside : QDir(qvxGetAppPath()).filePath(fileName);
    }
    const QString absolute = OnLoadTemplate ? fileName : QFileInfo(path).absoluteFilePath();
    const QString cycleText = qvxResources()->Get(QStringLiteral("clCirRefNotAllow"));
    QStringList &chain = parentChain();
    const qsizetype depth = chain.size();
    if (depth == 0)
        chain.append(m_fileName.isEmpty() ? QString() : QFileInfo(m_fileName).absoluteFilePath());
    const auto fail = [&] {
        chain.resize(depth);
        m_errors->Add(cycleText);
        m_parentReport.clear();
        throw Exception(cycleText);
    };
    if (chain.contains(absolute))
        fail();
    chain.append(absolute);

    auto parent = std::make_unique<TqvxReport>();
    parent->OnLoadTemplate = OnLoadTemplate;
    parent->m_fileName = absolute;
    try {
        if (!OnLoadTemplate || !OnLoadTemplate(parent.get(), fileName)) {
            TFileStream stream(path, fmOpenRead | fmShareDenyWrite);
            parent->TqvxComponent::LoadFromStream(&stream);
        }
    } catch (const Exception &e) {
        if (e.Message() == cycleText)
            fail();
        chain.resize(depth);
        throw;
    }
    chain.resize(depth);
    if (parent->m_errors->IndexOf(cycleText) >= 0)
        fail();
    inheritFrom(parent.get());
    m_parentReportObject = std::move(parent);
}

void TqvxReport::inheritFrom(TqvxReport *parent)
{
    for (TqvxComponent *source : parent->Objects()) {
        if (FindObject(source->Name()))
            continue;
        auto *copy = static_cast<TqvxComponent *>(CreateObject(source->ClassType(), this));
        copy->AssignAll(source);
        copy->SetParent(this);
        copy->SetName(source->Name());
    }
    for (TqvxComponent *object : GetAllObjects())
        object->SetIsInherited(parent->FindObject(object->Name()) != nullptr);
    for (int i = 0; i < parent->m_variables->Count(); ++i) {
        const TqvxVariable *source = parent->m_variables->Items(i);
        if (m_variables->IndexOf(source->Name()) >= 0)
            continue;
        TqvxVariable *copy = m_variables->Add();
        copy->Assign(source);
        copy->SetIsInherited(true);
    }
}

// --- preparation -------------------------------------------------------------

QString TqvxReport::reportErrorText() const
{
    return qvxResources()->Get(QStringLiteral("clErrors")) + QStringLiteral("\n") + m_errors->Text();
}

void TqvxReport::ReportErrors()
{
    qvxReportError(this, reportErrorText());
}

bool TqvxReport::runPrepared()
{
    bool result = false;
    try {
        if (OnBeginDoc)
            OnBeginDoc(this);
        if (PrepareScript()) {
            if (OnAfterScriptCompile)
                OnAfterScriptCompile(this);
            runMainBlock();
            if (!m_terminated && m_engine->Run(true, false, nullptr)) {
                if (OnEndDoc)
                    OnEndDoc(this);
                result = true;
            } else if (m_previewForm) {
                m_previewForm->Close();
            }
        }
    } catch (const Exception &e) {
        m_errors->Add(e.Message());
    } catch (const std::bad_alloc &) {
        // The pages of a run that filled the memory go first: the error
        // line and the template's reload need room.
        m_previewPages->Clear();
        m_errors->Add(QCoreApplication::translate(
                "qvxReport", "The report needs more memory than there is; its preparation was stopped"));
    } catch (const std::exception &e) {
        m_errors->Add(QString::fromUtf8(e.what()));
    }
    return result;
}

TqvxReport::DataSetLinks TqvxReport::dataSetLinks() const
{
    DataSetLinks links;
    for (TqvxComponent *object : GetAllObjects()) {
        const QVariant link = object->property("DataSet");
        if (auto *dataSet = link.value<TqvxComponent *>())
            links.append({object->Name(), dataSet});
    }
    return links;
}

void TqvxReport::restoreDataSetLinks(const DataSetLinks &links)
{
    for (const auto &[name, dataSet] : links)
        if (TqvxComponent *object = FindObject(name); object && dataSet)
            object->setProperty("DataSet", QVariant::fromValue(dataSet.data()));
}

bool TqvxReport::PrepareReport(bool clearLastReport)
{
    BusyScope busy(this);
    if (!busy.Acquired())
        return false;
    if (clearLastReport)
        m_previewPages->Clear();
    if (m_preview)
        m_preview->Init(this, m_previewPages);
    m_errors->Clear();
    m_terminated = false;
    bool result = false;

    for (int i = 0; i < m_dataSets->Count(); ++i) {
        TqvxDataSetItem *item = m_dataSets->Items(i);
        if (!item->DataSet())
            m_errors->Add(qvxResources()->Get(QStringLiteral("clDSNotExist")).replace(QLatin1String("%s"), item->DataSetName()));
    }

    if (m_errors->Count() == 0) {
        const QString password = m_reportOptions->Password();
        const int splitGap = m_printOptions->SplitGap();
        std::unique_ptr<SavedTemplate> saved;
        DataSetLinks links;
        if (m_engineOptions->DestroyForms()) {
            links = dataSetLinks();
            m_reportOptions->SetPassword(QString());
            try {
                saved = std::make_unique<SavedTemplate>(m_engineOptions->UseFileCache(), m_engineOptions->TempDir());
                SaveToStream(saved->Stream(), true, false);
            } catch (const std::exception &e) {
                saved.reset();
                m_errors->Add(QString::fromUtf8(e.what()));
            }
            if (!saved)
                m_reportOptions->SetPassword(password);
        }

        if (m_errors->Count() == 0)
            result = runPrepared();

        if (saved) {
            const QString errors = m_errors->Text();
            saved->Stream()->SetPosition(0);
            m_reloading = true;
            QString reloadError;
            try {
                LoadFromStream(saved->Stream());
            } catch (const std::exception &e) {
                reloadError = QString::fromUtf8(e.what());
            }
            m_reloading = false;
            m_reportOptions->SetPassword(password);
            m_printOptions->SetSplitGap(splitGap);
            m_errors->SetText(errors);
            if (!reloadError.isEmpty())
                m_errors->Add(reloadError);
            restoreDataSetLinks(links);
            rebindScriptItems();
        }
    }

    if (m_errors->Count() > 0) {
        result = false;
        ReportErrors();
    }
    return result;
}

void TqvxReport::ShowReport(bool clearLastReport)
{
    if (clearLastReport)
        m_previewPages->Clear();
    if (m_oldStyleProgress) {
        if (PrepareReport(false))
            ShowPreparedReport();
        return;
    }
    m_timer->SetEnabled(true);
    ShowPreparedReport();
}

void TqvxReport::TimerTick()
{
    m_timer->SetEnabled(false);
    PrepareReport(false);
}

TqvxCustomPreview *TqvxReport::Preview() const
{
    return m_preview.get();
}

void TqvxReport::SetPreview(TqvxCustomPreview *value)
{
    if (m_preview && !value) {
        m_preview->SetReport(nullptr);
        m_preview->SetPreviewPages(nullptr);
        m_previewForm = nullptr;
    }
    m_preview = value;
    if (!value)
        return;
    value->Init(this, m_previewPages);
    value->SetReport(this);
    value->SetPreviewPages(m_previewPages);
    m_previewForm = value->PreviewForm();
}

int TqvxReport::PagesCount() const
{
    int count = 0;
    for (TqvxComponent *object : Objects())
        count += qobject_cast<TqvxPage *>(object) != nullptr;
    return count;
}

TqvxPage *TqvxReport::GetPages(int index) const
{
    for (TqvxComponent *object : Objects())
        if (auto *page = qobject_cast<TqvxPage *>(object); page && index-- == 0)
            return page;
    return nullptr;
}

TForm *TqvxReport::PreviewForm() const
{
    return m_previewForm.get();
}

bool TqvxReport::PreparationPending() const
{
    return m_timer->Enabled();
}

void TqvxReport::ShowPreparedReport()
{
    if (m_preview) {
        m_preview->Init(this, m_previewPages);
        return;
    }
    TqvxCustomPreview *preview = qvxNewPreviewForm();
    TForm *form = preview->PreviewForm();
    SetPreview(preview);
    m_ownPreviewForm = form;
    if (OnPreview)
        OnPreview(this);
    if (m_previewOptions->Modal()) {
        form->ShowModal();
        delete form;
    } else {
        form->Show();
    }
}

void TqvxReport::PreparePage(TqvxReportPage *page)
{
    m_engine->Run(false, false, page);
}

bool TqvxReport::Export(TqvxCustomExportFilter *filter)
{
    return ExportPages(m_previewPages, filter);
}

bool TqvxReport::ExportPages(TqvxCustomPreviewPages *pages, TqvxCustomExportFilter *filter)
{
    BusyScope busy(this);
    if (!busy.Acquired() || !pages || !filter)
        return false;
    m_errors->Clear();
    const bool result = pages->Export(filter) && !m_terminated;
    if (m_errors->Count() > 0)
        ReportErrors();
    return result;
}

void TqvxReport::SetTerminated(bool value)
{
    m_terminated = value;
    if (value)
        m_script->Terminate();
}

void TqvxReport::runMainBlock()
{
    m_mainBlock.start();
    struct Ended {
        TqvxReport *report;
        ~Ended()
        {
            report->m_mainBlock.invalidate();
            // The window offered for the main block; the engine shows its own.
            report->m_progress.reset();
        }
    } ended{this};
    m_script->Execute();
}

void TqvxReport::scriptLineRun()
{
    constexpr unsigned linesBetweenChecks = 1024;
    constexpr qint64 millisecondsBetweenEvents = 50;
    constexpr qint64 millisecondsBeforeCancel = 1000;
    if (++m_scriptLines % linesBetweenChecks != 0 || m_engineOptions->ThreadSafeMode())
        return;
    if (m_sinceScriptEvents.isValid() && !m_sinceScriptEvents.hasExpired(millisecondsBetweenEvents))
        return;
    m_sinceScriptEvents.start();
    // A main block that runs long gets a Cancel where the user looks for
    // one: in a progress window over the preview or in place of the one
    // that was asked for.
    if (m_mainBlock.isValid() && !m_progress && m_mainBlock.hasExpired(millisecondsBeforeCancel) &&
        (m_preview || (m_oldStyleProgress && m_showProgress))) {
        m_progress.reset(qvxNewProgress());
        if (m_progress)
            m_progress->Execute(0, QString(), true, false);
    }
    QCoreApplication::processEvents();
    if (m_progress && m_progress->Terminated())
        SetTerminated(true);
}

// --- progress ----------------------------------------------------------------

namespace {

bool showsProgressWindow(const TqvxReport *report, TqvxProgressType type)
{
    return (report->OldStyleProgress() || type != ptRunning) && report->ShowProgress();
}

} // namespace

void TqvxReport::DoProgressStart(TqvxProgressType type)
{
    if (m_engineOptions->ThreadSafeMode())
        return;
    if (OnProgressStart)
        OnProgressStart(this, type, 0);
    if (showsProgressWindow(this, type)) {
        m_progress.reset(qvxNewProgress());
        if (m_progress)
            m_progress->Execute(0, QString(), true, false);
    }
    if (m_preview && type == ptRunning)
        m_preview->BuildStart();
    QCoreApplication::processEvents();
}

void TqvxReport::InternalOnProgress(TqvxProgressType type, int progress)
{
    if (m_engineOptions->ThreadSafeMode())
        return;
    if (OnProgress)
        OnProgress(this, type, progress);
    if (m_progress && showsProgressWindow(this, type)) {
        QString key;
        switch (type) {
        case ptRunning:
            key = m_engine->FinalPass() ? QStringLiteral("prRunning") : QStringLiteral("prRunningFirst");
            break;
        case ptExporting:
            key = QStringLiteral("prExporting");
            break;
        case ptPrinting:
            key = QStringLiteral("prPrinting");
            break;
        }
        m_progress->SetMessage(qvxResources()->Get(key).replace(QLatin1String("%d"), QString::number(progress)));
        if (m_progress->Terminated())
            SetTerminated(true);
    }
    if (m_preview && type == ptRunning)
        m_preview->BuildProgress(progress - 1);
    // Every page comes here: often enough for the window to answer at
    // once, seldom enough that a long report does not wait on its window.
    constexpr qint64 eventInterval = 20; // milliseconds
    static QElapsedTimer sinceEvents;
    if (!sinceEvents.isValid() || sinceEvents.hasExpired(eventInterval)) {
        QCoreApplication::processEvents();
        sinceEvents.start();
    }
}

void TqvxReport::DoProgressStop(TqvxProgressType type)
{
    if (m_engineOptions->ThreadSafeMode())
        return;
    if (OnProgressStop)
        OnProgressStop(this, type, 0);
    m_progress.reset();
    if (m_preview && type == ptRunning)
        m_preview->BuildEnd();
    QCoreApplication::processEvents();
}

void TqvxReport::SetProgressMessage(const QString &text, bool second)
{
    if (m_engineOptions->ThreadSafeMode())
        return;
    if (m_progress)
        m_progress->SetMessage(text);
    if (m_preview)
        m_preview->SetStatusText(text, second);
    QCoreApplication::processEvents();
}

void TqvxReport::SelectPrinter()
{
    TqvxPrinterList *printers = qvxPrinters();
    const int index = printers->IndexOf(m_printOptions->Printer());
    if (index != -1)
        printers->SetPrinterIndex(index);
}

void InitializeQvxReport()
{
    RegisterClass<TqvxReport>();
    DescribeProperties<TqvxReport>()
        .Default("DotMatrixReport", 0)
        .Default("OldStyleProgress", 0)
        .Default("ShowProgress", 1)
        .Default("StoreInDFM", 1);
}
