// Line breaks with the real font service: Arial resolves to Liberation Sans
// through the project's font configuration, measured with unhinted design
// advances.  The expected breaks were checked against the font's own
// advance table read independently.

#include "report/qvxDrawText.h"

#include <gtest/gtest.h>

namespace {

QStringList Wrap(const QString &paragraph, int width)
{
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    TqvxDrawText layout;
    layout.SetFont(&font);
    layout.SetOptions(true, true, false, false, true, true, 0);
    layout.SetGaps(0, 0, 2);
    const TRect box(0, 0, width, 1000);
    layout.SetDimensions(1, 1, 1, box, box);
    TWideStrings text;
    text.Add(paragraph);
    layout.SetText(&text);
    QStringList lines;
    for (int i = 0; i < layout.Text().Count(); ++i)
        lines.append(layout.Text().Get(i));
    return lines;
}

TEST(LiberationSansBreaks, MixedCyrillicAndLatinParagraphs)
{
    EXPECT_EQ(Wrap(QStringLiteral("Автоматический выключатель ZMT-250 с номинальным током 200 А и отключающей "
                                  "способностью 35 кА."),
                   180),
              (QStringList{QStringLiteral("Автоматический"), QStringLiteral("выключатель ZMT-250 с"),
                           QStringLiteral("номинальным током 200 А и"), QStringLiteral("отключающей способностью"),
                           QStringLiteral("35 кА.")}));
    EXPECT_EQ(Wrap(QStringLiteral("The quick brown fox jumps over the lazy dog; Съешь же ещё этих мягких "
                                  "французских булок, да выпей чаю."),
                   250),
              (QStringList{QStringLiteral("The quick brown fox jumps over the lazy"),
                           QStringLiteral("dog; Съешь же ещё этих мягких"),
                           QStringLiteral("французских булок, да выпей чаю.")}));
    // The bold words are measured in Liberation Sans Bold.
    EXPECT_EQ(Wrap(QStringLiteral("<b>Опросный лист</b> на автоматические выключатели серии ZMR: расцепитель, "
                                  "дополнительные контакты, привод."),
                   120),
              (QStringList{QStringLiteral("Опросный лист"), QStringLiteral("на автоматические"),
                           QStringLiteral("выключатели"), QStringLiteral("серии ZMR:"), QStringLiteral("расцепитель,"),
                           QStringLiteral("дополнительные"), QStringLiteral("контакты, привод.")}));
}

} // namespace
