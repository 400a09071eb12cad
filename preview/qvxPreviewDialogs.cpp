#include "preview/qvxPreviewDialogs.h"

#include "preview/qvxPageSettings.h"
#include "preview/qvxSearchDialog.h"

TqvxPreviewDialogs &qvxPreviewDialogs()
{
    static TqvxPreviewDialogs dialogs;
    return dialogs;
}

bool qvxRunFindDialog(TqvxFindRequest &request)
{
    if (qvxPreviewDialogs().Find)
        return qvxPreviewDialogs().Find(request);
    TqvxSearchChoice choice;
    choice.Text = request.Text;
    choice.MatchCase = request.CaseSensitive;
    if (!qvxAskSearch(choice))
        return false;
    request.Text = choice.Text;
    request.CaseSensitive = choice.MatchCase;
    request.FromTop = choice.FromTop;
    return true;
}

bool qvxRunPageSetupDialog(TqvxPageSetupRequest &request)
{
    if (qvxPreviewDialogs().PageSetup)
        return qvxPreviewDialogs().PageSetup(request);
    return qvxEditPageSettings(request.Report, request.Page, request.ApplyToAll);
}
