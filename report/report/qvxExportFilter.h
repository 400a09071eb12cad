#pragma once

// The base of every export filter.  It holds the settings all filters share
// and declares the operations through which the prepared pages hand a
// report over, page by page and object by object:
//
//     BeginExport   CreationTime and Report set; ShowModal when ShowDialog
//                   (the prepared pages then clear the report's Terminated)
//     StartExport   OnBeginExport, then Start
//     StartPage, ExportObject for each exported object, FinishPage
//                   (for each page)
//     FinishExport  Finish; the written file takes the place of FileName
//
// An export that ends otherwise (termination, an error) calls AbortExport,
// which throws away what was written: the user's file stays as it was.
//
// A filter enters the export-filter registry when it is made and leaves it
// when it is freed, unless it was made unregistered.

#include "toolkit/classes/Events.h"
#include "toolkit/classes/TComponent.h"
#include "toolkit/core/DateUtils.h"
#include "toolkit/core/Exceptions.h"

#include <QString>

#include <memory>

class TSaveFileStream;
class TStream;
class TqvxComponent;
class TqvxReportLink;
class TqvxReportPage;

// Raised by the export walk after an object when the report was terminated;
// the prepared pages catch it and end the export.
TOOLKIT_EXCEPTION(EExportTerminated, Exception)

class TqvxCustomExportFilter : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(bool ShowDialog READ ShowDialog WRITE SetShowDialog)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(bool ExportNotPrintable READ ExportNotPrintable WRITE SetExportNotPrintable)
    Q_PROPERTY(bool UseFileCache READ UseFileCache WRITE SetUseFileCache)
    Q_PROPERTY(QString DefaultPath READ DefaultPath WRITE SetDefaultPath)
    Q_PROPERTY(bool ShowProgress READ ShowProgress WRITE SetShowProgress)
    Q_PROPERTY(bool OverwritePrompt READ OverwritePrompt WRITE SetOverwritePrompt)
    Q_PROPERTY(double CreationTime READ CreationTime WRITE SetCreationTime)
    Q_PROPERTY(bool DataOnly READ DataOnly WRITE SetDataOnly)
    Q_PROPERTY(TNotifyEvent OnBeginExport READ OnBeginExport WRITE SetOnBeginExport)

public:
    explicit TqvxCustomExportFilter(TComponent *owner = nullptr);
    // Leaves the registry; an export still open is thrown away.
    ~TqvxCustomExportFilter() override;

    // The filter's name in export menus; empty in the base.
    virtual QString GetDescription() const { return {}; }
    // The settings dialog, asked only when ShowDialog is on; the export
    // goes on only when it answers mrOk (the base does).
    virtual int ShowModal();
    // The export goes on only when it answers true (the base does).
    virtual bool Start();
    virtual void ExportObject(TqvxComponent *object) = 0;
    virtual void Finish() {}
    virtual void FinishPage(TqvxReportPage *page, int index);
    virtual void StartPage(TqvxReportPage *page, int index);

    // The filter's side of an export, in the order the prepared pages call
    // it.  BeginExport answers false when the settings dialog is not
    // confirmed, StartExport when Start declines; nothing is written then.
    bool BeginExport(TqvxReportLink *report);
    bool StartExport();
    void FinishExport();
    void AbortExport();

    bool ShowDialog() const { return m_showDialog; }
    void SetShowDialog(bool value) { m_showDialog = value; }
    // The file to write when no Stream is given.
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString &value) { m_fileName = value; }
    bool ExportNotPrintable() const { return m_exportNotPrintable; }
    void SetExportNotPrintable(bool value) { m_exportNotPrintable = value; }
    bool UseFileCache() const { return m_useFileCache; }
    void SetUseFileCache(bool value) { m_useFileCache = value; }
    // The folder a file dialog starts in.
    QString DefaultPath() const { return m_defaultPath; }
    void SetDefaultPath(const QString &value) { m_defaultPath = value; }
    bool ShowProgress() const { return m_showProgress; }
    void SetShowProgress(bool value) { m_showProgress = value; }
    bool OverwritePrompt() const { return m_overwritePrompt; }
    void SetOverwritePrompt(bool value) { m_overwritePrompt = value; }
    // Set to the current time when an export begins.
    TDateTime CreationTime() const { return m_creationTime; }
    void SetCreationTime(TDateTime value) { m_creationTime = value; }
    // Only objects lying on data bands are exported.
    bool DataOnly() const { return m_dataOnly; }
    void SetDataOnly(bool value) { m_dataOnly = value; }
    // Fired before Start, with the filter as sender.
    TNotifyEvent OnBeginExport() const { return m_onBeginExport; }
    void SetOnBeginExport(const TNotifyEvent &value) { m_onBeginExport = value; }

    // The report being exported; set by BeginExport.
    TqvxReportLink *Report() const { return m_report; }
    // An output stream of the caller's, which the filter writes instead of
    // a file and never frees; nullptr to write FileName.
    TStream *Stream() const { return m_stream; }
    void SetStream(TStream *value) { m_stream = value; }
    // The filter runs inside another export and asks no questions.
    bool SlaveExport() const { return m_slaveExport; }
    void SetSlaveExport(bool value) { m_slaveExport = value; }
    // The pages to export ("1,3-5"); empty for all.
    QString PageNumbers() const { return m_pageNumbers; }
    void SetPageNumbers(const QString &value) { m_pageNumbers = value; }
    // Only the page the preview shows.
    bool CurrentPageOnly() const { return m_currentPageOnly; }
    void SetCurrentPageOnly(bool value) { m_currentPageOnly = value; }
    // Page headers only on the first page, page footers only on the last.
    bool OuterHeadersFootersOnly() const { return m_outerHeadersFootersOnly; }
    void SetOuterHeadersFootersOnly(bool value) { m_outerHeadersFootersOnly = value; }
    // The extension (with its dot) and the file-dialog filter of the format.
    QString DefaultExt() const { return m_defaultExt; }
    QString FilterDesc() const { return m_filterDesc; }

protected:
    // A filter that must stay out of the registry says so here.
    TqvxCustomExportFilter(TComponent *owner, bool registered);

    void SetDefaultExt(const QString &value) { m_defaultExt = value; }
    void SetFilterDesc(const QString &value) { m_filterDesc = value; }

    // Where the export writes: the caller's Stream, or else a new file that
    // replaces FileName only when FinishExport completes.  Made on first
    // use; raises EFCreateError when the file cannot be made.
    TStream *OutputStream();

    // The file of a slave export: a new empty file in the temporary folder
    // named stem, six random characters and extension, made exclusively so
    // that nothing another user put in the shared folder is written
    // through.  An export thrown away deletes it again.  Raises
    // EFCreateError.
    QString NewSlaveFileName(const QString &stem, const QString &extension);

private:
    bool m_registered;
    bool m_showDialog = true;
    QString m_fileName;
    bool m_exportNotPrintable = false;
    bool m_useFileCache = true;
    QString m_defaultPath;
    bool m_showProgress = true;
    bool m_overwritePrompt = false;
    TDateTime m_creationTime = 0;
    bool m_dataOnly = false;
    TNotifyEvent m_onBeginExport;

    TqvxReportLink *m_report = nullptr;
    TStream *m_stream = nullptr;
    std::unique_ptr<TSaveFileStream> m_file;
    // The slave export's file while its export is open.
    QString m_slaveFile;
    bool m_slaveExport = false;
    QString m_pageNumbers;
    bool m_currentPageOnly = false;
    bool m_outerHeadersFootersOnly = false;
    QString m_defaultExt;
    QString m_filterDesc;
};

// Declares the defaults of the filter's published properties.
void InitializeQvxExportFilter();
