#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include "common/TestSupport.h"

#include <QMetaProperty>
#include <gtest/gtest.h>

namespace {

QStringList publishedNames(const QObject &object)
{
    QStringList names;
    const QMetaObject *meta = object.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        names.append(QString::fromLatin1(meta->property(i).name()));
    return names;
}

TEST(Font, SizeAndHeightConvertAtPixelsPerInch)
{
    TFont font;
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    EXPECT_EQ(font.Size(), 10);
    font.SetHeight(-11);
    EXPECT_EQ(font.Size(), 8);
    font.SetHeight(16); // a cell height gives a negative size
    EXPECT_EQ(font.Size(), -12);

    TFont printerFont;
    printerFont.SetPixelsPerInch(600);
    printerFont.SetSize(10);
    EXPECT_EQ(printerFont.Height(), -83);
}

TEST(Font, ChangesNotifyOnceAndOnlyWhenDifferent)
{
    TFont font;
    int changes = 0;
    font.OnChange = [&](TObject *sender) {
        EXPECT_EQ(sender, &font);
        ++changes;
    };
    font.SetName(QStringLiteral("Arial"));
    font.SetName(QStringLiteral("Arial"));
    font.SetStyle(fsBold | fsItalic);
    font.SetStyle(fsBold | fsItalic);
    font.SetColor(clRed);
    font.SetSize(font.Size());
    EXPECT_EQ(changes, 3);
    font.SetName(QString()); // an empty name is ignored
    EXPECT_EQ(font.Name(), QStringLiteral("Arial"));
}

TEST(Font, AssignKeepsThePointSizeAcrossResolutions)
{
    TFont screen;
    screen.SetName(QStringLiteral("Tahoma"));
    screen.SetSize(12);
    screen.SetStyle(fsUnderline);
    screen.SetCharset(TFontCharset(204));
    TFont printer;
    printer.SetPixelsPerInch(300);
    printer.Assign(&screen);
    EXPECT_EQ(printer.Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(printer.Size(), 12);
    EXPECT_EQ(printer.Height(), -50);
    EXPECT_EQ(printer.Style(), TFontStyles(fsUnderline));
    EXPECT_EQ(printer.Charset(), TFontCharset(204));

    TFont same;
    same.Assign(&screen);
    EXPECT_EQ(same.Data(), screen.Data());

    TPen pen;
    EXPECT_THROW(same.Assign(&pen), EConvertError);
}

TEST(PenAndBrush, DefaultsAndClassicRules)
{
    TPen pen;
    EXPECT_EQ(pen.Color(), clBlack);
    EXPECT_EQ(pen.Width(), 1);
    EXPECT_EQ(pen.Style(), psSolid);
    EXPECT_EQ(pen.Mode(), pmCopy);
    pen.SetWidth(-2);
    EXPECT_EQ(pen.Width(), 1);

    TBrush brush;
    EXPECT_EQ(brush.Color(), clWhite);
    brush.SetColor(clNone);
    EXPECT_EQ(brush.Style(), bsClear);
    brush.SetColor(clRed);
    EXPECT_EQ(brush.Style(), bsSolid);
    brush.SetStyle(bsDiagCross);
    brush.SetColor(clBlue);
    EXPECT_EQ(brush.Style(), bsDiagCross);

    TBrush copy;
    copy.Assign(&brush);
    EXPECT_EQ(copy.Data(), brush.Data());
}

TEST(PenAndBrush, PublishedPropertiesAndEnumerations)
{
    EXPECT_EQ(publishedNames(TFont()),
              (QStringList{"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"}));
    EXPECT_EQ(publishedNames(TPen()), (QStringList{"Color", "Mode", "Style", "Width"}));
    EXPECT_EQ(publishedNames(TBrush()), (QStringList{"Color", "Style"}));
    EXPECT_EQ(int(fsItalic), 2);
    EXPECT_EQ(int(fsStrikeout), 8);
    EXPECT_EQ(int(psClear), 5);
    EXPECT_EQ(int(pmXor), 14);
    EXPECT_EQ(int(bsDiagCross), 7);
}

} // namespace
