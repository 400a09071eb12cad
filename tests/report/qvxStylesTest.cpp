#include "report/components/qvxStyles.h"

#include "common/TestSupport.h"
#include "report/ReportTestClasses.h"
#include "report/xml/qvxXMLItem.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Exceptions.h"

#include <gtest/gtest.h>

// A memo as far as styles see it: it names a style and remembers the
// font it was given.
class TStyledTestMemo : public TTestView, public TqvxStyledObject
{
    Q_OBJECT

public:
    using TTestView::TTestView;

    QString Style() const override { return style; }
    void SetStyle(const QString &name) override
    {
        style = name;
        ++applied;
    }

    QString style;
    int applied = 0;
};

namespace {

TqvxStyleItem *addStyle(TqvxStyles &styles, const QString &name)
{
    TqvxStyleItem *style = styles.Add();
    style->SetName(name);
    return style;
}

} // namespace

TEST(Styles, ANewStyleHasArialABrushFillAndEveryFlag)
{
    TqvxStyles styles;
    TqvxStyleItem *style = styles.Add();
    EXPECT_EQ(style->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(style->Font()->Size(), 10);
    EXPECT_EQ(style->FillType(), ftBrush);
    EXPECT_EQ(style->Color(), clNone);
    EXPECT_TRUE(style->ApplyFont() && style->ApplyFill() && style->ApplyFrame());
    EXPECT_EQ(style->GetInheritedName(), QStringLiteral("TqvxStyleItem1"));
    style->SetName(QStringLiteral("Title"));
    EXPECT_EQ(style->GetInheritedName(), QStringLiteral("Title"));
}

TEST(Styles, NamesAreUniqueWithoutRegardToCase)
{
    TqvxStyles styles;
    TqvxStyleItem *title = addStyle(styles, QStringLiteral("Title"));
    TqvxStyleItem *body = addStyle(styles, QStringLiteral("Body"));
    try {
        body->SetName(QStringLiteral("TITLE"));
        ADD_FAILURE() << "no exception";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Duplicate name"));
    }
    EXPECT_EQ(body->Name(), QStringLiteral("Body"));
    title->SetName(QStringLiteral("title"));
    EXPECT_EQ(title->Name(), QStringLiteral("title"));
    EXPECT_EQ(styles.Find(QStringLiteral("BODY")), body);
    EXPECT_EQ(styles.Find(QStringLiteral("Header")), nullptr);

    TStringList names;
    names.Add(QStringLiteral("stale"));
    styles.GetList(&names);
    ASSERT_EQ(names.Count(), 2);
    EXPECT_EQ(names.Strings(0), QStringLiteral("title"));
    EXPECT_EQ(names.Strings(1), QStringLiteral("Body"));
}

TEST(Styles, TheColourFollowsTheFill)
{
    TqvxStyles styles;
    TqvxStyleItem *style = styles.Add();
    style->SetColor(clRed);
    EXPECT_EQ(style->Color(), clRed);
    EXPECT_EQ(static_cast<TqvxBrushFill *>(style->Fill())->BackColor(), clRed);

    style->SetFillType(ftGradient);
    auto *gradient = qobject_cast<TqvxGradientFill *>(style->Fill());
    ASSERT_NE(gradient, nullptr);
    EXPECT_EQ(style->Color(), gradient->MiddleColor());

    style->SetFillType(ftGlass);
    EXPECT_EQ(style->Color(), TColor(0x1FFFFFFF));
    style->SetColor(clBlue);
    EXPECT_EQ(style->Color(), TColor(0x1FFFFFFF));

    TqvxBrushFill brush;
    brush.SetBackColor(clGreen);
    style->SetFill(&brush);
    EXPECT_EQ(style->FillType(), ftBrush);
    EXPECT_EQ(style->Color(), clGreen);
}

TEST(Styles, AListSurvivesAnXMLRoundTrip)
{
    TqvxStyles styles;
    styles.SetName(QStringLiteral("Questionnaire"));
    TqvxStyleItem *title = addStyle(styles, QStringLiteral("Заголовок"));
    title->Font()->SetSize(16);
    title->Font()->SetStyle(fsBold);
    title->SetFillType(ftGradient);
    static_cast<TqvxGradientFill *>(title->Fill())->SetEndColor(clNavy);
    title->Frame()->SetTyp(ftLeft | ftRight);
    title->Frame()->SetWidth(2);
    title->SetApplyFrame(false);
    TqvxStyleItem *body = addStyle(styles, QStringLiteral("Body"));
    body->SetColor(clYellow);

    TMemoryStream stream;
    styles.SaveToStream(&stream);
    stream.SetPosition(0);
    TqvxStyles read;
    read.Add();
    read.LoadFromStream(&stream);

    EXPECT_EQ(read.Name(), QStringLiteral("Questionnaire"));
    ASSERT_EQ(read.Count(), 2);
    const TqvxStyleItem *readTitle = read.Items(0);
    EXPECT_EQ(readTitle->Name(), title->Name());
    EXPECT_EQ(readTitle->Font()->Size(), 16);
    EXPECT_EQ(readTitle->Font()->Style(), TFontStyles(fsBold));
    EXPECT_EQ(readTitle->FillType(), ftGradient);
    EXPECT_EQ(static_cast<TqvxGradientFill *>(readTitle->Fill())->EndColor(), clNavy);
    EXPECT_EQ(readTitle->Frame()->Typ(), ftLeft | ftRight);
    EXPECT_EQ(readTitle->Frame()->Width(), 2);
    EXPECT_FALSE(readTitle->ApplyFrame());
    EXPECT_TRUE(readTitle->ApplyFill());
    EXPECT_EQ(read.Items(1)->Color(), clYellow);
}

TEST(Styles, ADocumentOfAnotherKindIsIgnored)
{
    TqvxStyles styles;
    addStyle(styles, QStringLiteral("Kept"));
    TMemoryStream stream;
    const QByteArray text = "<?xml version=\"1.0\"?><report Name=\"x\"><item Name=\"Lost\"/></report>";
    stream.Write(text.constData(), text.size());
    stream.SetPosition(0);
    styles.LoadFromStream(&stream);
    ASSERT_EQ(styles.Count(), 1);
    EXPECT_EQ(styles.Items(0)->Name(), QStringLiteral("Kept"));
}

TEST(Styles, OnlyItemElementsBecomeStyles)
{
    TqvxXMLItem root;
    root.SetName(QStringLiteral("style"));
    root.SetProp(QStringLiteral("Name"), QStringLiteral("Set"));
    root.Add()->SetName(QStringLiteral("item"));
    root.Items(0)->SetText(QStringLiteral("Name=\"A\" ApplyFont=\"False\""));
    root.Add()->SetName(QStringLiteral("other"));
    root.Items(1)->SetText(QStringLiteral("Name=\"B\""));
    TqvxStyles styles;
    styles.LoadFromXMLItem(&root, false);
    ASSERT_EQ(styles.Count(), 1);
    EXPECT_EQ(styles.Items(0)->Name(), QStringLiteral("A"));
    EXPECT_FALSE(styles.Items(0)->ApplyFont());
}

TEST(Styles, ApplyRenewsKnownStylesAndClearsUnknownOnes)
{
    TTestReport report;
    auto *known = NewObject<TStyledTestMemo>(&report);
    known->style = QStringLiteral("body");
    auto *unknown = NewObject<TStyledTestMemo>(&report);
    unknown->style = QStringLiteral("Gone");
    auto *plain = NewObject<TStyledTestMemo>(&report);

    TqvxStyles styles(&report);
    addStyle(styles, QStringLiteral("Body"));
    styles.Apply();
    EXPECT_EQ(known->style, QStringLiteral("body"));
    EXPECT_EQ(known->applied, 1);
    EXPECT_EQ(unknown->style, QString());
    EXPECT_EQ(plain->applied, 0);
}

#include "qvxStylesTest.moc"
