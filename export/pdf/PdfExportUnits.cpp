#include "export/pdf/PdfExportUnits.h"

#include "report/ReportUnits.h"

void RegisterPdfExportUnits() { RegisterReportUnits(); }
