#pragma once

// The dialogs the preview opens: the search dialog and the page settings
// dialog.  They are the report library's own unless a test installs its
// answers here.

#include <QString>

#include <functional>

class TqvxReport;
class TqvxReportPage;

struct TqvxFindRequest {
    QString Text;
    bool CaseSensitive = false;
    // Search from the first page instead of the current one.
    bool FromTop = false;
};

struct TqvxPageSetupRequest {
    // The page edited in place; the report it belongs to.
    TqvxReportPage *Page = nullptr;
    TqvxReport *Report = nullptr;
    // On confirmation: the settings go to every page of the report.
    bool ApplyToAll = false;
};

struct TqvxPreviewDialogs {
    // Each answers whether the user confirmed.
    std::function<bool(TqvxFindRequest &request)> Find;
    std::function<bool(TqvxPageSetupRequest &request)> PageSetup;
};

// Stand-ins for the dialogs; empty ones leave the library's dialogs.
TqvxPreviewDialogs &qvxPreviewDialogs();

// Runs the search or the page settings dialog.
bool qvxRunFindDialog(TqvxFindRequest &request);
bool qvxRunPageSetupDialog(TqvxPageSetupRequest &request);
