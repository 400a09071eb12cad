// Report views made again and again from one parsed attribute text, as
// prepared pages rebuild them, against the same views read from the whole
// text: every stored property must come out the same, for the first object
// (which resolves where each attribute lands) and for the ones after it.

#include "report/RecordingServices.h"
#include "report/components/qvxFill.h"
#include "report/components/qvxFormat.h"
#include "report/components/qvxFrame.h"
#include "report/components/qvxHighlight.h"
#include "report/components/qvxHyperlink.h"
#include "report/model/qvxXMLSerializer.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "report/views/qvxPictureView.h"
#include "report/views/qvxShapeView.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Every property, defaults included, so that no difference hides.
QString allValues(TqvxComponent *object)
{
    TqvxXMLSerializer writer;
    writer.SetSerializeDefaultValues(true);
    return writer.WriteComponentStr(object);
}

// The template's text read whole with each difference, and from the text
// parsed once with the same differences, in turn.
void expectParsedCopiesEqualWholeReads(TqvxComponent *templ, const QStringList &differences)
{
    const QString base = TqvxXMLSerializer().WriteComponentStr(templ);
    const TqvxParsedComponent parsed = TqvxXMLSerializer::ParseComponent(base);
    for (const QString &more : differences) {
        TqvxXMLSerializer whole;
        std::unique_ptr<TqvxComponent> fromText(whole.ReadComponent(nullptr, base + QLatin1Char(' ') + more));
        TqvxXMLSerializer fast;
        std::unique_ptr<TqvxComponent> fromParsed(fast.ReadComponent(parsed, more));
        ASSERT_TRUE(fromText && fromParsed) << more.toStdString();
        EXPECT_EQ(allValues(fromParsed.get()), allValues(fromText.get())) << more.toStdString();
        EXPECT_EQ(fromParsed->Left(), fromText->Left());
        EXPECT_EQ(fromParsed->Height(), fromText->Height());
        EXPECT_EQ(fast.Errors()->Text(), whole.Errors()->Text()) << more.toStdString();
    }
}

} // namespace

TEST(ParsedComponent, MemoWithFrameFillHighlightHyperlinkFormatAndFont)
{
    TqvxMemoView memo;
    memo.SetBounds(3, 4, 200, 18.5);
    memo.SetText(QStringLiteral("[Rows.\"Text\"]\r\nsecond & <line>"));
    memo.Frame()->SetTyp(ftLeft | ftTop | ftBottom);
    memo.Frame()->SetWidth(1.5);
    memo.Frame()->LeftLine()->SetColor(clRed);
    memo.Frame()->BottomLine()->SetStyle(fsDash);
    memo.SetFillType(ftGradient);
    auto *gradient = qobject_cast<TqvxGradientFill *>(memo.Fill());
    ASSERT_NE(gradient, nullptr);
    gradient->SetStartColor(clYellow);
    gradient->SetGradientStyle(gsElliptic);
    memo.Highlight()->SetCondition(QStringLiteral("<Value> > 5"));
    memo.Highlight()->Font()->SetStyle(fsBold);
    memo.Highlight()->SetColor(clBlue);
    memo.Hyperlink()->SetKind(hkAnchor);
    memo.Hyperlink()->SetValue(QStringLiteral("Start"));
    memo.DisplayFormat()->SetKind(fkNumeric);
    memo.DisplayFormat()->SetFormatStr(QStringLiteral("%2.2f"));
    memo.Font()->SetName(QStringLiteral("Arial"));
    memo.Font()->SetSize(12);
    memo.Font()->SetStyle(fsItalic);
    memo.SetHAlign(haCenter);
    memo.SetRotation(90);

    expectParsedCopiesEqualWholeReads(&memo, {QString(),
                                              QStringLiteral("l=\"10\" t=\"20\" Text=\"other&#13;&#10;text\""),
                                              QStringLiteral("h=\"40\" Frame.Typ=\"15\" Font.Size=\"8\" Font.Name=\"Courier New\""),
                                              QStringLiteral("u=\"u text\" Highlight.Condition=\"\""),
                                              QStringLiteral("HAlign=\"haRight\" Rotation=\"bad\"")});
}

TEST(ParsedComponent, LineShapeAndPictureViews)
{
    TqvxLineView line;
    line.SetBounds(0, 0, 100, 0);
    line.SetArrowEnd(true);
    line.SetLineColor(clGreen);
    line.Frame()->SetWidth(2);
    expectParsedCopiesEqualWholeReads(&line, {QString(), QStringLiteral("w=\"50\" Frame.Width=\"3\"")});

    TqvxShapeView shape;
    shape.SetBounds(1, 1, 30, 30);
    shape.SetShape(skRoundRectangle);
    shape.SetCurve(4);
    shape.SetColor(clAqua);
    shape.Frame()->SetTyp(ftLeft | ftRight);
    expectParsedCopiesEqualWholeReads(&shape, {QString(), QStringLiteral("Shape=\"skEllipse\" Visible=\"False\"")});

    TqvxPictureView picture;
    picture.SetBounds(5, 5, 64, 48);
    picture.SetKeepAspectRatio(false);
    picture.SetCenter(true);
    picture.Hyperlink()->SetValue(QStringLiteral("https://example.org/"));
    expectParsedCopiesEqualWholeReads(&picture, {QString(), QStringLiteral("t=\"9\" Center=\"False\"")});
}
