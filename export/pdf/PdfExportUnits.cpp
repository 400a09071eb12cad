#include "export/pdf/PdfExportUnits.h"

#include "engine/EngineUnits.h"
#include "export/pdf/qvxExportPDF.h"
#include "export/pdf/qvxPDFPageContent.h"
#include "toolkit/core/Units.h"

void RegisterPdfExportUnits()
{
    RegisterEngineUnits();
    Units::Add("qvxExportPDF", InitializeQvxExportPDF, qvxRemovePDFPageDrawing);
    Units::Add("qvxPDFPageContent", InitializeQvxPDFPageContent, nullptr);
}
