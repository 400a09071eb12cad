#pragma once

// Paragraphs laid out in Arial 10 with the real font service (Liberation
// Sans through the project's font configuration), for tests of where lines
// break and how wide they are.

#include "report/text/qvxDrawText.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <memory>

// A paragraph in Arial 10 laid out in a box width pixels wide, to be
// drawn at scale from (10, 10).
inline std::unique_ptr<TqvxDrawText> LayOut(const QString &paragraph, int width, bool wordWrap = true, double scale = 1,
                                             double charSpacing = 0)
{
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    auto layout = std::make_unique<TqvxDrawText>();
    layout->SetFont(&font);
    layout->SetOptions(wordWrap, true, false, false, true, true, 0);
    layout->SetGaps(0, charSpacing, 2);
    const TRect box(0, 0, width, 1000);
    layout->SetDimensions(scale, scale, 1, box, TRect(10, 10, 10 + qRound(width * scale), 10 + qRound(1000 * scale)));
    TWideStrings text;
    text.Add(paragraph);
    layout->SetText(&text);
    return layout;
}

inline QStringList Wrap(const QString &paragraph, int width, double charSpacing = 0)
{
    const std::unique_ptr<TqvxDrawText> layout = LayOut(paragraph, width, true, 1, charSpacing);
    QStringList lines;
    for (int i = 0; i < layout->LineCount(); ++i)
        lines.append(layout->Line(i));
    return lines;
}

// The width of one line laid out alone, in layout units: as drawing
// measures it.
inline double WidthAlone(const QString &line)
{
    return LayOut(line, 10000, false)->CalcWidth() * 6.25;
}
