#include "engine/qvxPrintDialogEntry.h"

#include "toolkit/core/Exceptions.h"

namespace {

TqvxPrintDialogEntry &installed()
{
    static TqvxPrintDialogEntry dialog;
    return dialog;
}

} // namespace

void qvxInstallPrintDialog(const TqvxPrintDialogEntry &dialog)
{
    installed() = dialog;
}

void qvxRemovePrintDialog()
{
    installed() = nullptr;
}

bool qvxRunPrintDialog(TqvxReport &report, quint8 &duplex)
{
    if (!installed())
        throw Exception(QStringLiteral("No print dialog is installed"));
    return installed()(report, duplex);
}
