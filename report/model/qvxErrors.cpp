#include "report/model/qvxErrors.h"

#include "report/model/qvxOptions.h"
#include "report/model/qvxReportContext.h"
#include "report/model/qvxResources.h"
#include "toolkit/core/Exceptions.h"
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

void qvxReportError(TqvxReportContext *report, const QString &text)
{
    switch (report ? report->EngineOptions()->NewSilentMode() : simMessageBoxes) {
    case simMessageBoxes:
        qvxErrorMsg(text);
        break;
    case simSilent:
        break;
    case simReThrow:
        throw Exception(text);
    }
}
