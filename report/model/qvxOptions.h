#pragma once

// The option objects a report carries and writes with itself: how it is
// built and how it reports errors (engine options), how its preview looks
// (preview options) and how it prints (print options).  Each has its
// defaults at creation; Assign copies what a report copy takes and Clear
// resets what a cleared report resets.

#include "report/base/qvxTypes.h"
#include "toolkit/classes/TPersistent.h"

#include <QString>

class TqvxEngineOptions : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(bool ConvertNulls READ ConvertNulls WRITE SetConvertNulls)
    Q_PROPERTY(bool DoublePass READ DoublePass WRITE SetDoublePass)
    Q_PROPERTY(int MaxMemSize READ MaxMemSize WRITE SetMaxMemSize)
    Q_PROPERTY(bool PrintIfEmpty READ PrintIfEmpty WRITE SetPrintIfEmpty)
    // Before NewSilentMode, so that a copy carrying both keeps simReThrow.
    Q_PROPERTY(bool SilentMode READ SilentMode WRITE SetSilentMode)
    Q_PROPERTY(ReportTypes::TqvxSilentMode NewSilentMode READ NewSilentMode WRITE SetNewSilentMode)
    Q_PROPERTY(QString TempDir READ TempDir WRITE SetTempDir)
    Q_PROPERTY(bool UseFileCache READ UseFileCache WRITE SetUseFileCache)
    Q_PROPERTY(bool IgnoreDevByZero READ IgnoreDevByZero WRITE SetIgnoreDevByZero)

public:
    TqvxEngineOptions();

    // Null field values become "", false or 0 by the field's type.
    bool ConvertNulls() const { return m_convertNulls; }
    void SetConvertNulls(bool value) { m_convertNulls = value; }
    // Not published: the report is saved before and reloaded after each
    // preparation, so nothing a run changes stays in the template.
    bool DestroyForms() const { return m_destroyForms; }
    void SetDestroyForms(bool value) { m_destroyForms = value; }
    bool DoublePass() const { return m_doublePass; }
    void SetDoublePass(bool value) { m_doublePass = value; }
    // The memory budget of prepared pages, in megabytes.
    int MaxMemSize() const { return m_maxMemSize; }
    void SetMaxMemSize(int value) { m_maxMemSize = value; }
    // Not published: the most pages a run may build.  A run that needs
    // more stops with an error instead of filling the memory.
    int MaxPages() const { return m_maxPages; }
    void SetMaxPages(int value) { m_maxPages = value; }
    // Not published: the most bands one prepared page may take.  Bands
    // that add no height never fill a page, so over an endless data set
    // nothing else would stop them.
    int MaxPageBands() const { return m_maxPageBands; }
    void SetMaxPageBands(int value) { m_maxPageBands = value; }
    // Not published: the memory prepared pages may take, in megabytes,
    // before they go to the temporary file as with UseFileCache, whether
    // that is set or not (with it, the smaller of this and MaxMemSize).
    int MaxPreparedMemory() const { return m_maxPreparedMemory; }
    void SetMaxPreparedMemory(int value) { m_maxPreparedMemory = value; }
    // Pages are built even without data.
    bool PrintIfEmpty() const { return m_printIfEmpty; }
    void SetPrintIfEmpty(bool value) { m_printIfEmpty = value; }
    // Not published: the report is driven from another thread.  Progress
    // events and windows, message processing and the password prompt are
    // skipped, and loading is serialised under the library lock.
    bool ThreadSafeMode() const { return m_threadSafeMode; }
    void SetThreadSafeMode(bool value) { m_threadSafeMode = value; }
    TqvxSilentMode NewSilentMode() const { return m_newSilentMode; }
    void SetNewSilentMode(TqvxSilentMode value) { m_newSilentMode = value; }
    // A view of NewSilentMode: true exactly for simSilent; writing false
    // gives simMessageBoxes.
    bool SilentMode() const { return m_newSilentMode == simSilent; }
    void SetSilentMode(bool value) { m_newSilentMode = value ? simSilent : simMessageBoxes; }
    // The folder of temporary files; empty for the system's.
    QString TempDir() const { return m_tempDir; }
    void SetTempDir(const QString &value) { m_tempDir = value; }
    // Not published: objects find data sets by name in the global data-set
    // list (on) or in their report's own list (off).
    bool UseGlobalDataSetList() const { return m_useGlobalDataSetList; }
    void SetUseGlobalDataSetList(bool value) { m_useGlobalDataSetList = value; }
    // Temporary files instead of memory streams.
    bool UseFileCache() const { return m_useFileCache; }
    void SetUseFileCache(bool value) { m_useFileCache = value; }
    // Division by zero in expressions is ignored.
    bool IgnoreDevByZero() const { return m_ignoreDevByZero; }
    void SetIgnoreDevByZero(bool value) { m_ignoreDevByZero = value; }

    // Copies the published fields; DestroyForms, MaxPages, MaxPageBands,
    // MaxPreparedMemory, ThreadSafeMode and UseGlobalDataSetList stay.
    void Assign(const TPersistent *source) override;
    // Resets ConvertNulls, IgnoreDevByZero and DoublePass only.
    void Clear();

private:
    bool m_convertNulls = true;
    bool m_destroyForms = true;
    bool m_doublePass = false;
    int m_maxMemSize = 10;
    int m_maxPages = 100000;
    int m_maxPageBands = 100000;
    int m_maxPreparedMemory = 256;
    bool m_printIfEmpty = true;
    bool m_threadSafeMode = false;
    TqvxSilentMode m_newSilentMode = simMessageBoxes;
    QString m_tempDir;
    bool m_useGlobalDataSetList = true;
    bool m_useFileCache = false;
    bool m_ignoreDevByZero = false;
};

class TqvxPreviewOptions : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(bool AllowEdit READ AllowEdit WRITE SetAllowEdit)
    Q_PROPERTY(ReportTypes::TqvxPreviewButtons Buttons READ Buttons WRITE SetButtons)
    Q_PROPERTY(bool DoubleBuffered READ DoubleBuffered WRITE SetDoubleBuffered)
    Q_PROPERTY(bool Maximized READ Maximized WRITE SetMaximized)
    Q_PROPERTY(bool MDIChild READ MDIChild WRITE SetMDIChild)
    Q_PROPERTY(bool Modal READ Modal WRITE SetModal)
    Q_PROPERTY(bool OutlineExpand READ OutlineExpand WRITE SetOutlineExpand)
    Q_PROPERTY(bool OutlineVisible READ OutlineVisible WRITE SetOutlineVisible)
    Q_PROPERTY(int OutlineWidth READ OutlineWidth WRITE SetOutlineWidth)
    Q_PROPERTY(int PagesInCache READ PagesInCache WRITE SetPagesInCache)
    Q_PROPERTY(bool ShowCaptions READ ShowCaptions WRITE SetShowCaptions)
    Q_PROPERTY(bool ThumbnailVisible READ ThumbnailVisible WRITE SetThumbnailVisible)
    Q_PROPERTY(double Zoom READ Zoom WRITE SetZoom)
    Q_PROPERTY(ReportTypes::TqvxZoomMode ZoomMode READ ZoomMode WRITE SetZoomMode)
    Q_PROPERTY(bool PictureCacheInFile READ PictureCacheInFile WRITE SetPictureCacheInFile)

public:
    // Every button from pbPrint to pbExportQuick.
    static constexpr TqvxPreviewButtons DefaultButtons = TqvxPreviewButtons::fromInt(0x0FFF);

    TqvxPreviewOptions();

    bool AllowEdit() const { return m_allowEdit; }
    void SetAllowEdit(bool value) { m_allowEdit = value; }
    TqvxPreviewButtons Buttons() const { return m_buttons; }
    void SetButtons(TqvxPreviewButtons value) { m_buttons = value; }
    bool DoubleBuffered() const { return m_doubleBuffered; }
    void SetDoubleBuffered(bool value) { m_doubleBuffered = value; }
    bool Maximized() const { return m_maximized; }
    void SetMaximized(bool value) { m_maximized = value; }
    bool MDIChild() const { return m_mdiChild; }
    void SetMDIChild(bool value) { m_mdiChild = value; }
    bool Modal() const { return m_modal; }
    void SetModal(bool value) { m_modal = value; }
    bool OutlineExpand() const { return m_outlineExpand; }
    void SetOutlineExpand(bool value) { m_outlineExpand = value; }
    bool OutlineVisible() const { return m_outlineVisible; }
    void SetOutlineVisible(bool value) { m_outlineVisible = value; }
    int OutlineWidth() const { return m_outlineWidth; }
    void SetOutlineWidth(int value) { m_outlineWidth = value; }
    int PagesInCache() const { return m_pagesInCache; }
    void SetPagesInCache(int value) { m_pagesInCache = value; }
    bool ShowCaptions() const { return m_showCaptions; }
    void SetShowCaptions(bool value) { m_showCaptions = value; }
    bool ThumbnailVisible() const { return m_thumbnailVisible; }
    void SetThumbnailVisible(bool value) { m_thumbnailVisible = value; }
    double Zoom() const { return m_zoom; }
    void SetZoom(double value) { m_zoom = value; }
    TqvxZoomMode ZoomMode() const { return m_zoomMode; }
    void SetZoomMode(TqvxZoomMode value) { m_zoomMode = value; }
    bool PictureCacheInFile() const { return m_pictureCacheInFile; }
    void SetPictureCacheInFile(bool value) { m_pictureCacheInFile = value; }
    // Not published: pages are laid out from the right edge.
    bool RightToLeft() const { return m_rightToLeft; }
    void SetRightToLeft(bool value) { m_rightToLeft = value; }

    // Copies every field.
    void Assign(const TPersistent *source) override;
    // Resets the outline, the page cache and the thumbnails.
    void Clear();

private:
    bool m_allowEdit = true;
    TqvxPreviewButtons m_buttons = DefaultButtons;
    bool m_doubleBuffered = true;
    bool m_maximized = true;
    bool m_mdiChild = false;
    bool m_modal = true;
    bool m_outlineExpand = true;
    bool m_outlineVisible = false;
    int m_outlineWidth = 120;
    int m_pagesInCache = 50;
    bool m_showCaptions = false;
    bool m_thumbnailVisible = false;
    double m_zoom = 1;
    TqvxZoomMode m_zoomMode = zmDefault;
    bool m_pictureCacheInFile = false;
    bool m_rightToLeft = false;
};

class TqvxPrintOptions : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(int Copies READ Copies WRITE SetCopies)
    Q_PROPERTY(bool Collate READ Collate WRITE SetCollate)
    Q_PROPERTY(QString PageNumbers READ PageNumbers WRITE SetPageNumbers)
    Q_PROPERTY(QString Printer READ Printer WRITE SetPrinter)
    Q_PROPERTY(ReportTypes::TqvxPrintMode PrintMode READ PrintMode WRITE SetPrintMode)
    Q_PROPERTY(int PrintOnSheet READ PrintOnSheet WRITE SetPrintOnSheet)
    Q_PROPERTY(ReportTypes::TqvxPrintPages PrintPages READ PrintPages WRITE SetPrintPages)
    Q_PROPERTY(bool Reverse READ Reverse WRITE SetReverse)
    Q_PROPERTY(bool ShowDialog READ ShowDialog WRITE SetShowDialog)
    Q_PROPERTY(bool SwapPageSize READ SwapPageSize WRITE SetSwapPageSize)

public:
    TqvxPrintOptions();

    int Copies() const { return m_copies; }
    void SetCopies(int value) { m_copies = value; }
    bool Collate() const { return m_collate; }
    void SetCollate(bool value) { m_collate = value; }
    // The page range text ("1,3-5"); empty for every page.
    QString PageNumbers() const { return m_pageNumbers; }
    void SetPageNumbers(const QString &value) { m_pageNumbers = value; }
    // The printer's name; the text "prDefault" for the default printer.
    QString Printer() const { return m_printer; }
    void SetPrinter(const QString &value) { m_printer = value; }
    TqvxPrintMode PrintMode() const { return m_printMode; }
    void SetPrintMode(TqvxPrintMode value) { m_printMode = value; }
    // The paper id of the sheet that split, join and scale modes print on.
    int PrintOnSheet() const { return m_printOnSheet; }
    void SetPrintOnSheet(int value) { m_printOnSheet = value; }
    TqvxPrintPages PrintPages() const { return m_printPages; }
    void SetPrintPages(TqvxPrintPages value) { m_printPages = value; }
    bool Reverse() const { return m_reverse; }
    void SetReverse(bool value) { m_reverse = value; }
    bool ShowDialog() const { return m_showDialog; }
    void SetShowDialog(bool value) { m_showDialog = value; }
    bool SwapPageSize() const { return m_swapPageSize; }
    void SetSwapPageSize(bool value) { m_swapPageSize = value; }

    // Not published.  The file the printer writes to; empty for the printer
    // itself.  Neither Assign nor Clear touch it.
    QString PrintFileName() const { return m_printFileName; }
    void SetPrintFileName(const QString &value) { m_printFileName = value; }
    // A duplex mode chosen for the whole print job; 0 lets each page's
    // Duplex decide.  Assign leaves it.
    quint8 DuplexOverride() const { return m_duplexOverride; }
    void SetDuplexOverride(quint8 value) { m_duplexOverride = value; }
    // The gap between the pieces of split mode, in millimetres.
    int SplitGap() const { return m_splitGap; }
    void SetSplitGap(int value) { m_splitGap = value; }

    // Copies the published fields and SplitGap.
    void Assign(const TPersistent *source) override;
    // Restores every default but PrintFileName.
    void Clear();

private:
    int m_copies = 1;
    bool m_collate = true;
    QString m_pageNumbers;
    QString m_printer;
    TqvxPrintMode m_printMode = pmDefault;
    int m_printOnSheet = 0;
    TqvxPrintPages m_printPages = ppAll;
    bool m_reverse = false;
    bool m_showDialog = true;
    bool m_swapPageSize = false;
    QString m_printFileName;
    quint8 m_duplexOverride = 0;
    int m_splitGap = 3;
};

// Declares the options' published defaults.
void InitializeQvxOptions();
