#include "preview/PreviewUnits.h"

#include "export/pdf/PdfExportUnits.h"
#include "preview/qvxDialogForm.h"
#include "preview/qvxPDFExportDialog.h"
#include "preview/qvxPageSettings.h"
#include "preview/qvxPasswordForm.h"
#include "preview/qvxPreviewUnit.h"
#include "preview/qvxPrintDialog.h"
#include "preview/qvxSearchDialog.h"
#include "toolkit/core/Units.h"

void RegisterPreviewUnits()
{
    RegisterPdfExportUnits();
    Units::Add("qvxPDFExportDialog", InitializeQvxPDFExportDialog, FinalizeQvxPDFExportDialog);
    Units::Add("qvxPrintDialog", InitializeQvxPrintDialog, FinalizeQvxPrintDialog);
    Units::Add("qvxPassw", InitializeQvxPasswordForm, FinalizeQvxPasswordForm);
    Units::Add("qvxDialogForm", InitializeQvxDialogForm, FinalizeQvxDialogForm);
    Units::Add("qvxSearchDialog", InitializeQvxSearchDialog, FinalizeQvxSearchDialog);
    Units::Add("qvxPreviewPageSettings", InitializeQvxPageSettings, FinalizeQvxPageSettings);
    Units::Add("qvxPreview", InitializeQvxPreview, FinalizeQvxPreview);
}
