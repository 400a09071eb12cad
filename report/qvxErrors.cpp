#include "report/qvxErrors.h"

#include "report/qvxResources.h"
#include "toolkit/widgets/ModalRunner.h"

void qvxErrorMsg(const QString &text)
{
    TMessageBoxRequest request;
    request.Caption = qvxResources()->Get(QStringLiteral("mbError"));
    request.Text = text;
    request.Type = mtError;
    request.Buttons = mbOK;
    ModalRunner::Current().MessageBox(request);
}
