#include "app/AppUnits.h"

#include "app/QtDialogs.h"
#include "app/RussianTexts.h"
#include "codecs/png/PngUnits.h"
#include "controls/ControlsUnits.h"
#include "export/pdf/PdfExportUnits.h"
#include "preview/PreviewUnits.h"
#include "toolkit/core/Units.h"

void RegisterAppUnits()
{
    // The window stands on the grid controls, which stand on the toolkit.
    // The catalogue and the selection rules need no start-up of their own.
    RegisterControlsUnits();
    // The questionnaire's report is prepared by the engine and exported
    // through the PDF filter; PNG pictures of reports load through the
    // picture loader.
    RegisterPdfExportUnits();
    RegisterPreviewUnits();
    RegisterPngUnits();
    // Qt's own dialogs in Russian, remembering nothing on disk, and the
    // libraries' texts in Russian.
    Units::Add("QtDialogs", InitializeQtDialogs, FinalizeQtDialogs);
    Units::Add("RussianTexts", InitializeRussianTexts, FinalizeRussianTexts);
}
