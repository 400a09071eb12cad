#include "report/model/qvxOptions.h"

#include "report/model/qvxResources.h"
#include "toolkit/classes/PropertyDeclarations.h"

TqvxEngineOptions::TqvxEngineOptions() = default;

void TqvxEngineOptions::Assign(const TPersistent *source)
{
    const auto *options = qobject_cast<const TqvxEngineOptions *>(source);
    if (!options) {
        TPersistent::Assign(source);
        return;
    }
    m_convertNulls = options->m_convertNulls;
    m_doublePass = options->m_doublePass;
    m_maxMemSize = options->m_maxMemSize;
    m_printIfEmpty = options->m_printIfEmpty;
    m_newSilentMode = options->m_newSilentMode;
    m_tempDir = options->m_tempDir;
    m_useFileCache = options->m_useFileCache;
    m_ignoreDevByZero = options->m_ignoreDevByZero;
}

void TqvxEngineOptions::Clear()
{
    m_convertNulls = true;
    m_ignoreDevByZero = false;
    m_doublePass = false;
}

TqvxPreviewOptions::TqvxPreviewOptions() = default;

void TqvxPreviewOptions::Assign(const TPersistent *source)
{
    const auto *options = qobject_cast<const TqvxPreviewOptions *>(source);
    if (!options) {
        TPersistent::Assign(source);
        return;
    }
    m_allowEdit = options->m_allowEdit;
    m_buttons = options->m_buttons;
    m_doubleBuffered = options->m_doubleBuffered;
    m_maximized = options->m_maximized;
    m_mdiChild = options->m_mdiChild;
    m_modal = options->m_modal;
    m_outlineExpand = options->m_outlineExpand;
    m_outlineVisible = options->m_outlineVisible;
    m_outlineWidth = options->m_outlineWidth;
    m_pagesInCache = options->m_pagesInCache;
    m_showCaptions = options->m_showCaptions;
    m_thumbnailVisible = options->m_thumbnailVisible;
    m_zoom = options->m_zoom;
    m_zoomMode = options->m_zoomMode;
    m_pictureCacheInFile = options->m_pictureCacheInFile;
    m_rightToLeft = options->m_rightToLeft;
}

void TqvxPreviewOptions::Clear()
{
    m_outlineExpand = true;
    m_outlineVisible = false;
    m_outlineWidth = 120;
    m_pagesInCache = 50;
    m_thumbnailVisible = false;
}

TqvxPrintOptions::TqvxPrintOptions()
{
    Clear();
}

void TqvxPrintOptions::Assign(const TPersistent *source)
{
    const auto *options = qobject_cast<const TqvxPrintOptions *>(source);
    if (!options) {
        TPersistent::Assign(source);
        return;
    }
    m_copies = options->m_copies;
    m_collate = options->m_collate;
    m_pageNumbers = options->m_pageNumbers;
    m_printer = options->m_printer;
    m_printMode = options->m_printMode;
    m_printOnSheet = options->m_printOnSheet;
    m_printPages = options->m_printPages;
    m_reverse = options->m_reverse;
    m_showDialog = options->m_showDialog;
    m_swapPageSize = options->m_swapPageSize;
    m_splitGap = options->m_splitGap;
}

void TqvxPrintOptions::Clear()
{
    m_copies = 1;
    m_collate = true;
    m_pageNumbers.clear();
    m_printer = qvxResources()->Get(QStringLiteral("prDefault"));
    m_printMode = pmDefault;
    m_printOnSheet = 0;
    m_printPages = ppAll;
    m_reverse = false;
    m_showDialog = true;
    m_swapPageSize = false;
    m_duplexOverride = 0;
    m_splitGap = 3;
}

void InitializeQvxOptions()
{
    DescribeProperties<TqvxEngineOptions>()
        .Default("ConvertNulls", true)
        .Default("DoublePass", false)
        .Default("MaxMemSize", 10)
        .Default("PrintIfEmpty", true)
        .Default("SilentMode", false)
        .Default("NewSilentMode", simMessageBoxes)
        .Default("UseFileCache", false)
        .Default("IgnoreDevByZero", false);
    DescribeProperties<TqvxPreviewOptions>()
        .Default("AllowEdit", true)
        .Default("Buttons", TqvxPreviewOptions::DefaultButtons.toInt())
        .Default("DoubleBuffered", true)
        .Default("Maximized", true)
        .Default("MDIChild", false)
        .Default("Modal", true)
        .Default("OutlineExpand", true)
        .Default("OutlineVisible", false)
        .Default("OutlineWidth", 120)
        .Default("PagesInCache", 50)
        .Default("ShowCaptions", false)
        .Default("ThumbnailVisible", false)
        .Default("ZoomMode", zmDefault)
        .Default("PictureCacheInFile", false);
    DescribeProperties<TqvxPrintOptions>()
        .Default("Copies", 1)
        .Default("Collate", true)
        .Default("PrintMode", pmDefault)
        .Default("PrintOnSheet", 0)
        .Default("PrintPages", ppAll)
        .Default("Reverse", false)
        .Default("ShowDialog", true)
        .Default("SwapPageSize", false);
}
