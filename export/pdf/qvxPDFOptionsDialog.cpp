#include "export/pdf/qvxPDFOptionsDialog.h"

#include "export/pdf/qvxExportPDF.h"
#include "report/report/qvxReport.h"
#include "report/report/qvxReportOptions.h"
#include "report/model/qvxOptions.h"
#include "toolkit/widgets/ControlTypes.h"

namespace {

TqvxPDFOptionsDialog &installed()
{
    static TqvxPDFOptionsDialog dialog;
    return dialog;
}

} // namespace

void qvxInstallPDFOptionsDialog(const TqvxPDFOptionsDialog &dialog)
{
    installed() = dialog;
}

void qvxRemovePDFOptionsDialog()
{
    installed() = nullptr;
}

int TqvxPDFExport::ShowModal()
{
    const auto *report = dynamic_cast<TqvxReport *>(Report());
    if (Title().isEmpty() && report)
        SetTitle(report->ReportOptions()->Name());
    if (Stream())
        return mrOk;
    SetOutline(!report || report->PreviewOptions()->OutlineVisible());
    if (!installed())
        throw Exception(QStringLiteral("No PDF options dialog is installed"));
    return installed()(*this);
}
