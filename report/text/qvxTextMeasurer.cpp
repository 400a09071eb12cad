#include "report/text/qvxTextMeasurer.h"

#include "toolkit/graphics/Canvas.h"

int TqvxTextMeasurer::Width(const TFontData &font, const QString &text)
{
    Extents(font, text, m_extents);
    return m_extents.empty() ? 0 : m_extents.back();
}

TqvxFontServiceMeasurer::TqvxFontServiceMeasurer()
    : m_canvas(std::make_unique<TCanvas>())
{
}

TqvxFontServiceMeasurer::~TqvxFontServiceMeasurer() = default;

TCanvas &TqvxFontServiceMeasurer::canvasFor(const TFontData &font)
{
    // Orientation and colour do not change advances; leaving them out keeps
    // the canvas font unchanged between runs of one line.
    TFontData data = m_canvas->Font()->Data();
    data.Name = font.Name;
    data.Height = font.Height;
    data.Style = font.Style;
    data.Charset = font.Charset;
    m_canvas->Font()->SetData(data);
    return *m_canvas;
}

void TqvxFontServiceMeasurer::Extents(const TFontData &font, QStringView text, std::vector<int> &extents,
                                      std::vector<int> *glyphs)
{
    QList<int> counts;
    const QList<int> measured = canvasFor(font).CharacterExtents(text, false, glyphs ? &counts : nullptr);
    extents.assign(measured.begin(), measured.end());
    if (glyphs)
        glyphs->assign(counts.begin(), counts.end());
}

int TqvxFontServiceMeasurer::LineHeight(const TFontData &font)
{
    return canvasFor(font).TextHeight(QString());
}

int TqvxFontServiceMeasurer::Width(const TFontData &font, const QString &text)
{
    // The canvas rounds the whole advance as it rounds the last extent.
    return canvasFor(font).TextWidth(text);
}
