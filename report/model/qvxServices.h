#pragma once

// The services the report model drives but does not contain: the engine,
// the prepared pages, the progress window and the preview window.  The
// libraries that implement them install their makers here when their units
// start; the report makes its services only through them.

#include <functional>

class TqvxCustomEngine;
class TqvxCustomPreview;
class TqvxCustomPreviewPages;
class TqvxCustomProgress;
class TqvxReportLink;

struct TqvxServices {
    // A new engine and a new store of prepared pages for a report; the
    // caller owns them.
    std::function<TqvxCustomEngine *(TqvxReportLink *report)> NewEngine;
    std::function<TqvxCustomPreviewPages *(TqvxReportLink *report)> NewPreviewPages;
    // A new progress window, not yet shown; the caller frees it.
    std::function<TqvxCustomProgress *()> NewProgress;
    // The preview control of a new preview window, which the application
    // owns (the control's PreviewForm); not yet shown.
    std::function<TqvxCustomPreview *()> NewPreviewForm;
};

// The installed makers; a maker not installed is empty.
const TqvxServices &qvxServices();
// Installs makers; the empty ones in services leave the installed ones.
void qvxInstallServices(const TqvxServices &services);
// Removes every maker (the unit end of the library that installed them).
void qvxRemoveServices();

// What the installed makers make.  A maker that is not installed raises
// Exception naming the missing service, except the progress window's, which
// answers nullptr (a report then shows no progress).
TqvxCustomEngine *qvxNewEngine(TqvxReportLink *report);
TqvxCustomPreviewPages *qvxNewPreviewPages(TqvxReportLink *report);
TqvxCustomProgress *qvxNewProgress();
TqvxCustomPreview *qvxNewPreviewForm();
