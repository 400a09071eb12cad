#pragma once

// How the text layout measures characters.  Every width the layout works
// with comes from one measurer: the font service for real output, or a
// table in tests, where each advance is chosen by hand.
//
// A font is given as the canvas keeps it (TFontData): name, style and a
// negative Height that is the em size in pixels.  Extents are the classic
// ones: the width of the text up to and including each UTF-16 unit, each a
// rounded running sum, so the advance of unit i is extent[i] - extent[i-1].

#include "toolkit/graphics/GraphicsObjects.h"

#include <QStringView>

#include <memory>
#include <vector>

class TCanvas;

class TqvxTextMeasurer
{
public:
    virtual ~TqvxTextMeasurer() = default;

    // Fills extents with one value per UTF-16 unit of text, and glyphs,
    // when given, with the number of glyphs drawn for each unit that move
    // the pen on (counted at the first unit of a glyph's cluster; 0 for a
    // character that shows nothing, none for a mark of no advance).
    // Character spacing goes after each of those glyphs.
    virtual void Extents(const TFontData &font, QStringView text, std::vector<int> &extents,
                         std::vector<int> *glyphs = nullptr) = 0;
    // The height of a line of text in the font (ascent plus descent).
    virtual int LineHeight(const TFontData &font) = 0;
    // The width of the whole text: its last extent, 0 when it is empty.
    virtual int Width(const TFontData &font, const QString &text);

private:
    std::vector<int> m_extents;
};

// The toolkit's font service: unhinted design advances without kerning or
// ligatures, exactly as a canvas measures and draws, and as the PDF writer
// places glyphs.
class TqvxFontServiceMeasurer : public TqvxTextMeasurer
{
public:
    TqvxFontServiceMeasurer();
    ~TqvxFontServiceMeasurer() override;

    void Extents(const TFontData &font, QStringView text, std::vector<int> &extents,
                 std::vector<int> *glyphs = nullptr) override;
    int LineHeight(const TFontData &font) override;
    int Width(const TFontData &font, const QString &text) override;

private:
    TCanvas &canvasFor(const TFontData &font);

    std::unique_ptr<TCanvas> m_canvas;
};
