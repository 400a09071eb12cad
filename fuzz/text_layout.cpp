// Feeds arbitrary text to the text layout, as data-driven memo texts reach
// it: tags on or off, hyphenation, rotation and line spacing from the
// first bytes, then every query, a cut and drawing on a recording canvas.
// Layout never raises: any exception is a fault.

#include "report/text/qvxDrawText.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::uint8_t flags = data[0];
    const int width = 1 + data[1] % 200;
    const int rotation = int(data[2]) * 2 - 255;
    const double lineSpacing = (int(data[3]) - 128) / 4.0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 4), qsizetype(size - 4));

    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(1 + flags % 16);
    TqvxDrawText layout;
    layout.SetFont(&font);
    layout.SetOptions(flags & 0x10, flags & 0x20, flags & 0x40, flags & 0x80, true, flags & 0x08, rotation);
    layout.SetGaps((flags & 0x04) ? 7.5 : 0, (flags & 0x02) ? 1.5 : 0, lineSpacing);
    const TRect box(0, 0, width, width / 2);
    layout.SetDimensions(1.5, 1.5, 1, box, TRect(0, 0, width * 3 / 2, width * 3 / 4));
    TWideStrings lines;
    lines.SetText(text);
    layout.SetText(&lines, flags & 0x01);
    layout.SetParaBreaks(flags & 0x01, flags & 0x02);

    layout.CalcHeight();
    layout.CalcWidth();
    layout.RemainingSpace();
    layout.GetWrappedText();
    TRecordingCanvas canvas;
    layout.DrawText(&canvas, TqvxHAlign(flags % 4), TqvxVAlign(flags % 3));
    bool paraBreak = false;
    QString rest;
    layout.GetOutBoundsText(paraBreak, rest);
    layout.DrawText(&canvas, haBlock, vaBottom);
    return 0;
}
