#include "preview/qvxPreviewDialogs.h"

#include "report/model/qvxResources.h"
#include "toolkit/widgets/Dialogs.h"

TqvxPreviewDialogs &qvxPreviewDialogs()
{
    static TqvxPreviewDialogs dialogs;
    return dialogs;
}

bool qvxRunFindDialog(TqvxFindRequest &request)
{
    if (qvxPreviewDialogs().Find)
        return qvxPreviewDialogs().Find(request);
    const QString caption = qvxGet(109);
    return InputQuery(caption, caption, request.Text) && !request.Text.isEmpty();
}
