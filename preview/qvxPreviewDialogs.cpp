#include "preview/qvxPreviewDialogs.h"

TqvxPreviewDialogs &qvxPreviewDialogs()
{
    static TqvxPreviewDialogs dialogs;
    return dialogs;
}

bool qvxRunFindDialog(TqvxFindRequest &request)
{
    return qvxPreviewDialogs().Find && qvxPreviewDialogs().Find(request);
}

bool qvxRunPageSetupDialog(TqvxPageSetupRequest &request)
{
    return qvxPreviewDialogs().PageSetup && qvxPreviewDialogs().PageSetup(request);
}
