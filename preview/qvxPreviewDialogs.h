#pragma once

// The dialogs the preview opens: the search dialog and the page settings
// dialog.  The unit that makes those dialogs installs them here; a test
// installs its own answers.  Without an installed search dialog the
// preview asks for the text in an input box; without a page settings
// dialog the page settings stay as they are.

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

// Runs the installed search dialog, or an input box when none is.
bool qvxRunFindDialog(TqvxFindRequest &request);
