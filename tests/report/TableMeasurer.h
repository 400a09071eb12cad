#pragma once

// A measurer whose advances come from a table, for exact layout tests.
//
// Advances are given at the size of a 10-point font at 600 per inch (an
// em of 83 1/3 pixels, as the layout measures it); other sizes scale them,
// each extent a rounded running sum as the font service gives it.  Every character not in the table advances
// by defaultAdvance; bold characters advance boldExtra more.  A line is
// 100 units high at 83 pixels (16 screen pixels at 600 per inch).

#include "report/text/qvxTextMeasurer.h"
#include "toolkit/graphics/TextShaping.h"

#include <QHash>

#include <cmath>

class TTableMeasurer : public TqvxTextMeasurer
{
public:
    static constexpr int ReferenceSize = 83;
    static constexpr double ReferenceEm = 250.0 / 3;

    explicit TTableMeasurer(int defaultAdvance = 40) : defaultAdvance(defaultAdvance) {}

    // One glyph for each character but the low half of a surrogate pair
    // and the characters the shaper leaves out.
    void Extents(const TFontData &font, QStringView text, std::vector<int> &extents,
                 std::vector<int> *glyphs = nullptr) override
    {
        if (glyphs) {
            glyphs->clear();
            for (qsizetype i = 0; i < text.size(); ++i) {
                const bool low = text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate();
                const char32_t c = text[i].isHighSurrogate() && i + 1 < text.size()
                    ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
                glyphs->push_back(low || IsDefaultIgnorable(c) ? 0 : 1);
            }
        }
        extents.clear();
        const int size = -font.Height;
        long long sum = 0;
        for (QChar c : text) {
            sum += table.value(c, defaultAdvance) + (font.Style.testFlag(fsBold) ? boldExtra : 0);
            extents.push_back(int(std::nearbyint(double(sum) * size / ReferenceEm)));
        }
        ++calls;
        characters += text.size();
    }

    int LineHeight(const TFontData &font) override
    {
        return int(std::nearbyint(-font.Height * 100.0 / ReferenceSize));
    }

    QHash<QChar, int> table;
    int defaultAdvance;
    int boldExtra = 0;
    int calls = 0;
    // The characters measured, over all calls.
    qint64 characters = 0;
};
