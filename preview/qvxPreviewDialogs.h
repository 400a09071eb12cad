#pragma once

// The dialogs the preview opens: the search dialog and the page settings
// dialog.  The units that make those dialogs install them here while they
// live; a test may put its own answers in their place.

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

TqvxPreviewDialogs &qvxPreviewDialogs();

// Runs the installed search or page settings dialog; false (nothing
// asked) when none is installed.
bool qvxRunFindDialog(TqvxFindRequest &request);
bool qvxRunPageSetupDialog(TqvxPageSetupRequest &request);
