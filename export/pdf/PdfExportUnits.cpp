#include "export/pdf/PdfExportUnits.h"

#include "export/pdf/qvxExportPDF.h"
#include "export/pdf/qvxPDFPageContent.h"
#include "report/ReportUnits.h"
#include "toolkit/core/Units.h"

void RegisterPdfExportUnits()
{
    RegisterReportUnits();
    Units::Add("qvxExportPDF", InitializeQvxExportPDF, qvxRemovePDFPageDrawing);
    Units::Add("qvxPDFPageContent", InitializeQvxPDFPageContent, FinalizeQvxPDFPageContent);
}
