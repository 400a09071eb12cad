#include "codecs/png/PngUnits.h"

#include "codecs/png/qvxPngImage.h"
#include "report/ReportUnits.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/Units.h"

namespace {

void initializePngImage()
{
    RegisterClass<TPNGObject>();
    if (!GraphicFormatByExtension(QStringLiteral("png")))
        RegisterGraphicFormat<TPNGObject>(QStringLiteral("png"), QStringLiteral("Portable Network Graphics"),
                                          QByteArray("\x89PNG\r\n\x1A\n", 8));
}

void finalizePngImage()
{
    UnregisterGraphicClass(ClassOf<TPNGObject>());
}

} // namespace

void RegisterPngUnits()
{
    RegisterReportUnits();
    Units::Add("qvxpngimage", initializePngImage, finalizePngImage);
}
