#include "export/pdf/PdfExportUnits.h"

#include "engine/EngineUnits.h"

void RegisterPdfExportUnits() { RegisterEngineUnits(); }
