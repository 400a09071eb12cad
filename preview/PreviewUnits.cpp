#include "preview/PreviewUnits.h"

#include "export/pdf/PdfExportUnits.h"
#include "preview/qvxPDFExportDialog.h"
#include "toolkit/core/Units.h"

void RegisterPreviewUnits()
{
    RegisterPdfExportUnits();
    Units::Add("qvxPDFExportDialog", InitializeQvxPDFExportDialog, FinalizeQvxPDFExportDialog);
}
