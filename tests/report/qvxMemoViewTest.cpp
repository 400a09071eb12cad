// The memo view: expansion and formatting with a stub Calc, highlights,
// repeated values, the second-pass macros, difference texts, measuring,
// part-by-part output, drawing and the report file.

#include "common/WordsParagraph.h"
#include "report/ReportContextStub.h"
#include "report/ReportTestTree.h"
#include "report/TableMeasurer.h"
#include "report/text/qvxDrawText.h"
#include "report/views/qvxMemoView.h"
#include "report/base/qvxNumbers.h"
#include "report/components/qvxStyles.h"
#include "report/data/qvxUserDataSet.h"
#include "report/model/qvxVariables.h"
#include "report/model/qvxXMLSerializer.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct MemoTest : ::testing::Test {
    MemoTest()
    {
        RegisterReportTestClasses();
        report->SetName(QStringLiteral("Report1"));
        report->drawText = &layout;
        memo = newMemo(QStringLiteral("Memo1"));
    }

    TqvxMemoView *newMemo(const QString &name)
    {
        auto *result = new TqvxMemoView(report.get());
        result->SetName(name);
        result->SetBounds(0, 0, 100, 38);
        return result;
    }

    void setText(const char *text) { memo->SetText(QString::fromUtf8(text)); }
    QString prepared()
    {
        memo->BeforePrint();
        memo->GetData();
        return memo->Text();
    }

    std::unique_ptr<TContextReport> report = std::make_unique<TContextReport>();
    // 6.4 screen pixels a character, 16 a line (18 with the line spacing).
    TqvxDrawText layout{std::make_shared<TTableMeasurer>()};
    TqvxMemoView *memo;
};

TqvxFormat *addFormat(TqvxCustomMemoView *memo, TqvxFormatKind kind, const char *formatStr)
{
    auto *format = static_cast<TqvxFormat *>(memo->Formats()->Add());
    format->SetKind(kind);
    format->SetFormatStr(QString::fromUtf8(formatStr));
    return format;
}

// --- Expansion --------------------------------------------------------------

TEST_F(MemoTest, ExpressionsTakeTheFormatsInOrderAndReuseTheLast)
{
    addFormat(memo, fkNumeric, "%2.2f");
    addFormat(memo, fkBoolean, "no,yes");
    report->values[QStringLiteral("a")] = 1.5;
    report->values[QStringLiteral("b")] = true;
    report->values[QStringLiteral("c")] = false;
    setText("A=[a] B=[b] C=[c]");
    EXPECT_EQ(prepared(), QStringLiteral("A=1,50 B=yes C=no\r\n"));
    EXPECT_EQ(report->calls, (QStringList{"a", "b", "c"}));
    memo->AfterPrint();
    EXPECT_EQ(memo->Text(), QStringLiteral("A=[a] B=[b] C=[c]\r\n"));
}

TEST_F(MemoTest, EachPrintStartsFromTheDesignLines)
{
    report->values[QStringLiteral("a")] = QStringLiteral("one\r\ntwo");
    setText("[a]\r\n\r\nlast [a]");
    for (int print = 0; print < 2; ++print) {
        EXPECT_EQ(prepared(), QStringLiteral("one\r\ntwo\r\n\r\nlast one\r\ntwo\r\n"));
        EXPECT_EQ(memo->Memo()->Count(), 5);
        memo->AfterPrint();
        EXPECT_EQ(memo->Memo()->Count(), 3);
        EXPECT_EQ(memo->Text(), QStringLiteral("[a]\r\n\r\nlast [a]\r\n"));
    }
}

TEST_F(MemoTest, InsertedTextIsNotExpandedAgain)
{
    report->values[QStringLiteral("x")] = QStringLiteral("[y]");
    setText("<[x]>");
    EXPECT_EQ(prepared(), QStringLiteral("<[y]>\r\n"));
    EXPECT_EQ(report->calls, QStringList{"x"});
}

TEST_F(MemoTest, QuotedBracketsAndOtherDelimiters)
{
    setText("[Pos(']', s)] and [Pos(\"]\", s)]");
    prepared();
    EXPECT_EQ(report->calls, (QStringList{"Pos(']', s)", "Pos(\"]\", s)"}));

    report->calls.clear();
    memo->SetExpressionDelimiters(QStringLiteral("<%,%>"));
    setText("[a] <%b%>");
    EXPECT_EQ(prepared(), QStringLiteral("[a] {b}\r\n"));
    EXPECT_EQ(report->calls, QStringList{"b"});
}

TEST_F(MemoTest, QuotesInTheTextAroundExpressionsDoNotHideThem)
{
    setText("don't say \"[a]\", it's [b]'s");
    EXPECT_EQ(prepared(), QStringLiteral("don't say \"{a}\", it's {b}'s\r\n"));
    EXPECT_EQ(report->calls, (QStringList{"a", "b"}));
}

TEST_F(MemoTest, AnUnclosedExpressionTakesTheRestOfTheText)
{
    setText("x [a+b");
    prepared();
    // The rest less its last character: the line end of the last line.
    EXPECT_EQ(report->calls, QStringList{"a+b\r"});
}

TEST_F(MemoTest, InlineFormats)
{
    report->values[QStringLiteral("x")] = 3.14159;
    report->values[QStringLiteral("d")] = Variant::FromDate(EncodeDate(2026, 12, 7));
    report->values[QStringLiteral("f")] = true;
    setText("[x #N%2,2f] [x #n%2.3f] [d #Ddd/mm/yyyy] [f #Boff,on] [Max(x, 1) #N0.0)]");
    // The format separator is the last of ',', '-' and '.'; the last
    // expression's ")" after " #" makes it no inline format.
    EXPECT_EQ(prepared(), QStringLiteral("3,14 3.142 07.12.2026 on {Max(x, 1) #N0.0)}\r\n"));
}

TEST_F(MemoTest, MacrosWaitForTheSecondPass)
{
    setText("[TotalPages#] [copyname#]");
    EXPECT_EQ(prepared(), QStringLiteral("[TotalPages#] [CopyName#]\r\n"));
    EXPECT_TRUE(report->calls.isEmpty());
}

// --- Formatting -------------------------------------------------------------

TEST_F(MemoTest, FormatDataByKind)
{
    TqvxFormat format;
    const auto text = [&](TqvxFormatKind kind, const char *formatStr, const Variant &value) {
        format.SetKind(kind);
        format.SetFormatStr(QString::fromUtf8(formatStr));
        return memo->FormatData(value, &format).toStdString();
    };
    EXPECT_EQ(text(fkNumeric, "#,##0.00", 1234.5), "1\u00a0234,50");
    EXPECT_EQ(text(fkNumeric, "%d", 42.0), "42");
    EXPECT_EQ(text(fkNumeric, "%n", 1234.5), "1\u00a0234,50");
    EXPECT_EQ(text(fkNumeric, "%2.2f", 2.5), "2,50");
    // Rounded to four decimals before the picture sees it.
    EXPECT_EQ(text(fkNumeric, "0.00000", 2.00004999), "2,00000");
    EXPECT_EQ(text(fkDateTime, "dd.mm.yyyy", Variant::FromDate(EncodeDate(2024, 2, 29))), "29.02.2024");
    EXPECT_EQ(text(fkBoolean, "Nein,Ja", true), "Ja");
    EXPECT_EQ(text(fkBoolean, "Nein,Ja", false), "Nein");
    EXPECT_EQ(text(fkText, "", 7), "7");
    EXPECT_EQ(text(fkNumeric, "%d", Variant::Null()), "");
    // A value the format cannot take prints as it is.
    EXPECT_EQ(text(fkNumeric, "%d", QStringLiteral("n/a")), "n/a");

    format.SetKind(fkNumeric);
    format.SetFormatStr(QStringLiteral("%n"));
    format.SetDecimalSeparator(QStringLiteral("."));
    format.SetThousandSeparator(QStringLiteral("'"));
    EXPECT_EQ(memo->FormatData(1234567.25, &format), QStringLiteral("1'234'567.25"));
}

TEST_F(MemoTest, HideZerosHidesNumbersButNotTexts)
{
    memo->SetHideZeros(true);
    report->values[QStringLiteral("n")] = 0;
    report->values[QStringLiteral("s")] = QStringLiteral("0");
    setText("<[n]|[s]>");
    EXPECT_EQ(prepared(), QStringLiteral("<|0>\r\n"));
}

TEST_F(MemoTest, ADataFieldGivesItsDisplayTextOrItsFormattedValue)
{
    TqvxUserDataSet dataSet;
    dataSet.SetUserName(QStringLiteral("Orders"));
    Variant price = 12.5;
    dataSet.SetOnGetValue([&](const QString &name, Variant &value) {
        if (name == QLatin1String("Price"))
            value = price;
    });
    memo->SetDataSet(&dataSet);
    memo->SetDataField(QStringLiteral("Price"));
    setText("[not expanded]");
    EXPECT_EQ(prepared(), QStringLiteral("12,5\r\n"));
    EXPECT_EQ(memo->Value().AsDouble(), 12.5);
    EXPECT_TRUE(report->calls.isEmpty());

    memo->DisplayFormat()->SetKind(fkNumeric);
    memo->DisplayFormat()->SetFormatStr(QStringLiteral("%2.2f"));
    EXPECT_EQ(prepared(), QStringLiteral("12,50\r\n"));
    memo->SetHideZeros(true);
    price = 0.0;
    EXPECT_EQ(prepared(), QString());
}

TEST_F(MemoTest, AStyleGivesItsFontFillAndFrameAsItsFlagsSay)
{
    TqvxStyles styles(report.get());
    report->styles = &styles;
    TqvxStyleItem *style = styles.Add();
    style->SetName(QStringLiteral("Title"));
    style->Font()->SetSize(14);
    style->SetColor(clSilver);
    style->Frame()->SetTyp(ftTop);
    style->SetApplyFrame(false);

    memo->SetStyle(QStringLiteral("title"));
    EXPECT_EQ(memo->Font()->Size(), 14);
    EXPECT_EQ(memo->Color(), clSilver);
    EXPECT_EQ(memo->Frame()->Typ(), TqvxFrameTypes());

    styles.Clear();
    styles.Apply();
    EXPECT_EQ(memo->Style(), QString());
}

// --- Highlights, repeats, flow ----------------------------------------------

TEST_F(MemoTest, TheFirstHighlightThatHoldsIsAppliedAndUndoneAfterPrinting)
{
    const auto addHighlight = [&](const char *condition, TColor color) {
        auto *highlight = static_cast<TqvxHighlight *>(memo->Highlights()->Add());
        highlight->SetCondition(QString::fromUtf8(condition));
        highlight->SetColor(color);
        return highlight;
    };
    addHighlight("c1", clRed);
    addHighlight("c2", clYellow)->SetVisible(false);
    addHighlight("c3", clBlue);
    report->values[QStringLiteral("c1")] = false;
    report->values[QStringLiteral("c2")] = true;
    report->values[QStringLiteral("c3")] = true;
    report->values[QStringLiteral("v")] = 12;
    setText("[v]");

    prepared();
    EXPECT_EQ(report->scriptValue.AsInteger(), 12);
    EXPECT_EQ(memo->Color(), clYellow);
    EXPECT_EQ(memo->Font()->Color(), 255);
    EXPECT_FALSE(memo->ParentFont());
    EXPECT_FALSE(memo->Visible());
    EXPECT_FALSE(report->calls.contains(QStringLiteral("c3")));

    memo->AfterPrint();
    EXPECT_EQ(memo->Color(), clNone);
    EXPECT_EQ(memo->Font()->Color(), clBlack);
    EXPECT_TRUE(memo->ParentFont());
    EXPECT_TRUE(memo->Visible());
}

TEST_F(MemoTest, RepeatedValuesAreSuppressedUntilCleared)
{
    memo->SetSuppressRepeated(true);
    EXPECT_TRUE(VarIsNull(memo->LastValue()));
    setText("same");
    EXPECT_EQ(prepared(), QStringLiteral("same\r\n"));
    memo->AfterPrint();
    EXPECT_EQ(prepared(), QString());
    memo->AfterPrint();
    memo->ClearValue();
    EXPECT_EQ(prepared(), QStringLiteral("same\r\n"));
}

TEST_F(MemoTest, TextThatDoesNotFitFlowsToTheNextMemo)
{
    TqvxMemoView *next = newMemo(QStringLiteral("Memo2"));
    memo->SetFlowTo(next);
    setText("1\r\n2\r\n3\r\n4");
    EXPECT_EQ(prepared(), QStringLiteral("1\r\n2\r\n"));
    EXPECT_EQ(next->Text(), QStringLiteral("3\r\n4\r\n"));
    EXPECT_FALSE(next->AllowExpressions());

    delete next;
    EXPECT_EQ(memo->FlowTo(), nullptr);
}

TEST_F(MemoTest, ComponentTextGivesTheTotalForItsFirstTotalPagesMacro)
{
    setText("[TOTALPAGES] of [TOTALPAGES], [TotalPages#]");
    memo->SetTotalPages(7);
    EXPECT_EQ(memo->GetComponentText(), QStringLiteral("7 of [TOTALPAGES], [TotalPages#]\r\n"));
    EXPECT_EQ(memo->Text(), QStringLiteral("[TOTALPAGES] of [TOTALPAGES], [TotalPages#]\r\n")) << "the memo is kept";
    memo->SetAllowExpressions(false);
    EXPECT_EQ(memo->GetComponentText(), QStringLiteral("[TOTALPAGES] of [TOTALPAGES], [TotalPages#]\r\n"));
}

TEST_F(MemoTest, SecondPassReplacesTotalPagesAndCopyName)
{
    qvxGlobalVariables()->SetVariable(QStringLiteral("CopyName1"), QStringLiteral("Copy"));
    setText("Page of [TOTALPAGES#], [TotalPages#]: [CopyName#]");
    memo->SetTotalPages(12);
    memo->SetCopyNo(1);
    EXPECT_EQ(memo->GetComponentText(), QStringLiteral("Page of [TOTALPAGES#], [TotalPages#]: [CopyName#]\r\n"))
        << "the component text has a total of its own";
    memo->SubstituteTotalPages();
    EXPECT_EQ(memo->Text(), QStringLiteral("Page of 12, 12: Copy\r\n"));

    setText("[[TotalPages#] [x] [TOTALPAGES");
    memo->SubstituteTotalPages();
    EXPECT_EQ(memo->Text(), QStringLiteral("[12 [x] [TOTALPAGES\r\n"));

    setText("[COPYNAME#]");
    memo->SetCopyNo(2);
    memo->SubstituteTotalPages();
    EXPECT_EQ(memo->Text(), QStringLiteral("\r\n"));
    qvxGlobalVariables()->Clear();
}

// Macros that come in with a value are its text: the copy carries
// AllowExpressions off into the prepared pages, where the second pass then
// leaves it alone.  The template's own macros keep the pass.
TEST_F(MemoTest, PageMacrosOfAValueAreLeftOutOfTheSecondPass)
{
    report->values[QStringLiteral("org")] = QStringLiteral("[totalpages#], [CopyName#] and [TOTALPAGES]");
    setText("Org: [org]");
    EXPECT_EQ(prepared(), QStringLiteral("Org: [totalpages#], [CopyName#] and [TOTALPAGES]\r\n"));
    EXPECT_FALSE(memo->AllowExpressions());
    TqvxMemoView base;
    base.SetBounds(0, 0, 100, 38);
    EXPECT_TRUE(memo->Diff(&base).startsWith(QStringLiteral(" AllowExpressions=\"0\""))) << memo->Diff(&base).toStdString();
    memo->AfterPrint();
    EXPECT_TRUE(memo->AllowExpressions());
    EXPECT_EQ(memo->Diff(&base), QStringLiteral(" u=\"Org: [org]\""));

    // Beside the template's own macros the value's are still its text:
    // what the memo prints, each time it is drawn.
    const auto printed = [&] {
        TRecordingCanvas canvas;
        memo->Draw(&canvas, 1, 1, 0, 0);
        QStringList lines;
        for (const TCanvasRecord &record : canvas.TextRecords())
            lines << record.Text;
        return lines.join(u'|');
    };
    memo->SetWidth(600);
    memo->SetTotalPages(3);
    report->values[QStringLiteral("Page#")] = 1;
    report->values[QStringLiteral("org")] = QStringLiteral("[TotalPages#]");
    setText("Страница [Page#] из [TotalPages#], заказчик [org]");
    prepared();
    EXPECT_TRUE(memo->AllowExpressions());
    EXPECT_EQ(printed(), QStringLiteral("Страница 1 из 3, заказчик [TotalPages#]"));
    EXPECT_EQ(printed(), QStringLiteral("Страница 1 из 3, заказчик [TotalPages#]"));
    memo->AfterPrint();
    // Drawing a copy is the last it does; this one is the template again.
    memo->SetAllowExpressions(true);

    report->values[QStringLiteral("org")] = QStringLiteral("[totalpages#], [CopyName#] and [TOTALPAGES]");
    setText("[TotalPages#]: [org]");
    prepared();
    EXPECT_EQ(memo->GetComponentText(), QStringLiteral("[TotalPages#]: [totalpages#], [CopyName#] and [TOTALPAGES]\r\n"));
    EXPECT_EQ(printed(), QStringLiteral("3: [totalpages#], [CopyName#] and [TOTALPAGES]"));
    memo->AfterPrint();
    memo->SetAllowExpressions(true);
    memo->SetWidth(100);

    // Handed on to FlowTo, which takes no expressions, the value's macros
    // are as the value had them.
    TqvxMemoView *next = newMemo(QStringLiteral("Memo2"));
    memo->SetFlowTo(next);
    report->values[QStringLiteral("org")] = QStringLiteral("[TotalPages#]");
    setText("[TotalPages#]\r\n1\r\n[org]");
    prepared();
    EXPECT_EQ(next->Text(), QStringLiteral("[TotalPages#]\r\n"));
    memo->AfterPrint();
    delete next;
    report->values[QStringLiteral("org")] = QStringLiteral("plain");
    setText("[org]");
    prepared();
    EXPECT_TRUE(memo->AllowExpressions());
    memo->AfterPrint();
}

// --- Differences ------------------------------------------------------------

TEST_F(MemoTest, DiffWritesItsAttributesInOrderAndAlwaysTheText)
{
    TqvxMemoView base;
    base.SetBounds(0, 0, 100, 38);
    EXPECT_EQ(memo->Diff(&base), QStringLiteral(" u=\"\""));

    memo->SetHAlign(haRight);
    memo->SetGapX(3);
    memo->SetWordWrap(false);
    memo->DisplayFormat()->SetKind(fkNumeric);
    memo->DisplayFormat()->SetFormatStr(QStringLiteral("0.00"));
    // The trailing empty line survives.
    setText("a<b\r\n\r\n");
    EXPECT_EQ(memo->Diff(&base), QStringLiteral(" GapX=\"3\" HAlign=\"1\" u=\"a&#60;b&#13;&#10;\" WordWrap=\"0\""
                                               " DisplayFormat.Kind=\"1\" DisplayFormat.FormatStr=\"0.00\""));

    auto copy = std::make_unique<TqvxMemoView>();
    TqvxXMLSerializer serializer;
    serializer.XMLToObj(QStringLiteral("u=\"a&#60;b&#13;&#10;\""), copy.get());
    EXPECT_EQ(copy->Memo()->Count(), 2);
}

TEST_F(MemoTest, SplitHandsTheParagraphStateToTheNextPart)
{
    TqvxMemoView base;
    base.SetBounds(0, 0, 100, 38);
    // One paragraph of four lines of 15 characters.
    setText("aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll");
    memo->InitPart();
    memo->DrawPart();
    EXPECT_TRUE(memo->Diff(&base).endsWith(QStringLiteral(" LastParaBreak=\"1\"")));
    memo->DrawPart();
    EXPECT_TRUE(memo->Diff(&base).endsWith(QStringLiteral("\" FirstParaBreak=\"1\"")));
    EXPECT_FALSE(memo->HasNextPart());
    EXPECT_FALSE(memo->FirstParaBreak());
}

// --- Measuring and splitting ------------------------------------------------

TEST_F(MemoTest, HeightAndWidthWithFrameAndGaps)
{
    setText("abcde\r\nab");
    EXPECT_EQ(memo->CalcHeight(), 2 * 18 + 2);
    EXPECT_EQ(memo->CalcWidth(), 32 + 4);
    memo->Frame()->SetTyp(ftLeft | ftRight | ftTop | ftBottom);
    memo->Frame()->SetWidth(3);
    memo->Frame()->SetDropShadow(true);
    // 2 gaps + (3 - 1) / 2 + 3 / 2 + the shadow of 4.
    EXPECT_EQ(memo->CalcHeight(), qvxRound(36 + 2 + 1 + 1.5 + 4));
    EXPECT_EQ(memo->CalcWidth(), qvxRound(32 + 4 + 1 + 1.5 + 4));
}

TEST_F(MemoTest, PartsOfALongTextFollowOneAnother)
{
    QStringList lines;
    for (int i = 1; i <= 5; ++i)
        lines.append(QStringLiteral("Line %1").arg(i));
    memo->SetText(lines.join(QStringLiteral("\r\n")));
    EXPECT_FALSE(memo->HasNextPart());

    memo->InitPart();
    EXPECT_TRUE(memo->HasNextPart());
    QStringList parts;
    QList<double> free;
    while (memo->HasNextPart()) {
        free.append(memo->DrawPart());
        parts.append(memo->Text());
        ASSERT_LE(parts.size(), 5);
    }
    EXPECT_EQ(parts, (QStringList{"Line 1\r\nLine 2\r\n", "Line 3\r\nLine 4\r\n", "Line 5\r\n"}));
    // The text rectangle (37 pixels and its last row) holds two lines of
    // 18 and leaves 2.
    EXPECT_EQ(free, (QList<double>{2, 2, 2}));

    memo->SetHeight(10);
    memo->SetText(QStringLiteral("x"));
    memo->InitPart();
    EXPECT_EQ(memo->DrawPart(), 10);
}

// The parts of a paragraph many pages long break their lines where the
// whole paragraph does, though each lays out only as much of it as it
// needs, from where the last one ended: with tags, with hyphenation, in
// one long word, in one after a first short one, and with parts that hold
// several times what a part first takes.
TEST_F(MemoTest, PartsOfALongParagraphBreakWhereTheWholeParagraphDoes)
{
    auto measurer = std::make_shared<TTableMeasurer>();
    measurer->table = {{QLatin1Char(' '), 23}, {QLatin1Char('i'), 17}, {QLatin1Char('m'), 61},
                       {QLatin1Char('W'), 77}, {QChar(0x436), 55}};
    measurer->boldExtra = 6;
    TqvxDrawText drawText(measurer);
    report->drawText = &drawText;
    const QStringList words = {"a", "Wim", "переоборудование", "mini", "электрификация", "и", "moulded-case",
                               "ZMT/ZMR", "жжж", "работа"};
    const auto laidOut = [&] {
        QStringList lines;
        for (int i = 0; i < drawText.LineCount(); ++i)
            lines.append(drawText.Line(i));
        return lines;
    };
    const struct {
        double width;
        double height;
        int characters;
    } boxes[] = {{200, 300, 40000}, {2000, 1000, 120000}};
    // One word as long, without a blank, cut at its letters (wordBreak 2,
    // and 3 after a short word).
    QString word;
    for (int i = 0; word.size() < 40000; ++i)
        word += i % 53 == 0 ? QStringLiteral("<b>ж</b>") : QString(QLatin1Char("Wimab"[i % 5]));
    for (const auto &box : boxes) {
        for (const bool tags : {false, true}) {
            for (const int wordBreak : {0, 1, 2, 3}) {
                SCOPED_TRACE(testing::Message() << box.width << " wide, tags " << tags << ", word break " << wordBreak);
                memo->SetAllowHTMLTags(tags);
                memo->SetWordBreak(wordBreak == 1);
                const QString paragraph = wordBreak == 2   ? word
                                          : wordBreak == 3 ? QStringLiteral("start ") + word
                                                           : WordsParagraph(box.characters, words, tags);
                memo->SetText(QStringLiteral("Intro\r\n\r\n") + paragraph + QStringLiteral("\r\nLast line"));
                memo->SetBounds(0, 0, box.width, box.height);
                memo->CalcHeight();
                const QStringList whole = laidOut();

                memo->InitPart();
                QStringList parts;
                while (memo->HasNextPart()) {
                    memo->DrawPart();
                    parts += laidOut();
                    ASSERT_LE(parts.size(), whole.size());
                }
                ASSERT_EQ(parts.size(), whole.size());
                for (qsizetype i = 0; i < whole.size(); ++i)
                    ASSERT_EQ(parts.at(i), whole.at(i)) << "line " << i;
            }
        }
    }
}

// Splitting one long paragraph measures its characters a number of times
// that does not grow with its length, not once for every part still ahead
// of them: a part lays out only what it needs, with elements or without,
// and so does every part after one whose only blank lies near its start.
TEST_F(MemoTest, SplittingALongParagraphMeasuresEachCharacterAsOftenHoweverLongItIs)
{
    auto measurer = std::make_shared<TTableMeasurer>();
    TqvxDrawText drawText(measurer);
    report->drawText = &drawText;
    const QStringList words = {"a", "of", "the", "breaker", "moulded-case", "accessories", "ZMT/ZMR", "и"};
    // The characters measured a character of the paragraph.
    const auto measuredEach = [&](const QString &paragraph, bool tags) {
        memo->SetAllowHTMLTags(tags);
        memo->SetText(paragraph);
        memo->SetBounds(0, 0, 200, 300);
        memo->InitPart();
        measurer->characters = 0;
        int parts = 0;
        while (memo->HasNextPart()) {
            memo->DrawPart();
            if (++parts > 2000)
                return -1.0;
        }
        EXPECT_GT(parts, paragraph.size() / 1000);
        return double(measurer->characters) / double(paragraph.size());
    };
    // "start " and then letters and emoji without a blank.
    const auto farBlank = [](qsizetype length) {
        QString text = QStringLiteral("start ");
        for (qsizetype i = 0; text.size() < length; ++i)
            text += i % 5 == 4 ? QStringLiteral("\U0001F600") : QString(QLatin1Char('a' + i % 26));
        return text;
    };
    const struct {
        const char *name;
        std::function<QString(qsizetype)> paragraph;
        bool tags;
    } cases[] = {
        {"words", [&](qsizetype length) { return WordsParagraph(length, words); }, false},
        {"words with tags", [&](qsizetype length) { return WordsParagraph(length, words, true); }, true},
        {"one blank near the start", farBlank, false},
    };
    for (const auto &paragraphCase : cases) {
        SCOPED_TRACE(paragraphCase.name);
        const double shorter = measuredEach(paragraphCase.paragraph(25000), paragraphCase.tags);
        const double longer = measuredEach(paragraphCase.paragraph(100000), paragraphCase.tags);
        ASSERT_GT(shorter, 0);
        ASSERT_GT(longer, 0);
        EXPECT_LT(longer, 1.5 * shorter);
    }
}

// --- Drawing ----------------------------------------------------------------

TEST_F(MemoTest, TextRectangleLiesInsideFrameAndGaps)
{
    memo->SetBounds(10, 20, 100, 50);
    memo->Frame()->SetTyp(ftLeft | ftRight | ftTop | ftBottom);
    memo->Frame()->SetWidth(2);
    memo->BeginDraw(nullptr, 2, 2, 0, 0);
    // Left 20 + round(1.5) + 4, right 220 - 2 - 4 + 1.
    EXPECT_EQ(memo->TextRect(), TRect(26, 44, 215, 137));
}

TEST_F(MemoTest, AutoWidthKeepsTheRightEdgeOrTheCentre)
{
    memo->SetAutoWidth(true);
    memo->SetText(QStringLiteral("abcde"));
    memo->SetBounds(100, 0, 100, 38);
    memo->SetHAlign(haRight);
    TRecordingCanvas canvas;
    memo->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_DOUBLE_EQ(memo->Width(), 36);
    EXPECT_DOUBLE_EQ(memo->Left(), 164);

    memo->SetBounds(100, 0, 100, 38);
    memo->SetHAlign(haCenter);
    memo->Draw(&canvas, 1, 1, 0, 0);
    EXPECT_DOUBLE_EQ(memo->Left(), 132);
}

TEST_F(MemoTest, UnderlinesRunUnderEveryLineOfTheBox)
{
    memo->SetBounds(0, 0, 100, 60);
    memo->SetUnderlines(true);
    memo->Frame()->SetColor(clRed);
    setText("x");
    const auto underlines = [&] {
        TRecordingCanvas canvas;
        memo->Draw(&canvas, 1, 1, 0, 0);
        QList<int> ys;
        for (const TCanvasRecord &record : canvas.Records())
            if (record.Op == TCanvasOp::LineTo && record.Pen.Color == clRed)
                ys.append(record.Bounds.Top);
        return ys;
    };
    EXPECT_EQ(underlines(), (QList<int>{18, 36, 54}));
    // A line height of 0 draws none instead of looping.
    memo->SetLineSpacing(-16);
    EXPECT_TRUE(underlines().isEmpty());
}

TEST_F(MemoTest, DrawsTheTextAfterBackgroundAndFrame)
{
    memo->SetColor(clYellow);
    setText("Hello");
    TRecordingCanvas canvas;
    memo->Draw(&canvas, 1, 1, 0, 0);
    const QList<TCanvasRecord> texts = canvas.TextRecords();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts.front().Text, QStringLiteral("Hello"));
    EXPECT_EQ(canvas.Records().front().Brush.Color, clYellow);

    // At zoom 2 the text starts at the doubled gaps.
    canvas.Clear();
    memo->Draw(&canvas, 2, 2, 0, 0);
    ASSERT_EQ(canvas.TextRecords().size(), 1);
    EXPECT_EQ(memo->TextRect(), TRect(4, 2, 197, 75));
    EXPECT_GE(canvas.TextRecords().front().Bounds.Left, 4);
}

TEST_F(MemoTest, TheDesignerShowsADataFieldAsItsSource)
{
    auto *designed = TqvxComponent::DesignCreateObject<TqvxMemoView>(report.get());
    designed->SetBounds(0, 0, 200, 38);
    designed->SetDataSetName(QStringLiteral("Orders"));
    designed->SetDataField(QStringLiteral("Price"));
    designed->SetText(QStringLiteral("[TotalPages#]"));
    TRecordingCanvas canvas;
    designed->Draw(&canvas, 1, 1, 0, 0);
    ASSERT_EQ(canvas.TextRecords().size(), 1);
    EXPECT_EQ(canvas.TextRecords().front().Text, QStringLiteral("[Orders.\"Price\"]"));
    EXPECT_EQ(designed->Text(), QStringLiteral("[TotalPages#]\r\n"));
}

// --- Report file ------------------------------------------------------------

TEST_F(MemoTest, DefaultsAreNotWritten)
{
    TqvxXMLSerializer serializer;
    EXPECT_EQ(serializer.ObjToXML(memo), QStringLiteral(" Left=\"0\" Top=\"0\" Width=\"100\" Height=\"38\""));
}

TEST_F(MemoTest, SavesAndLoadsItsListsAndEveryLine)
{
    setText("Первая\r\n\r\n");
    memo->SetGapY(0);
    memo->SetExpressionDelimiters(QStringLiteral("<,>"));
    addFormat(memo, fkNumeric, "%d");
    addFormat(memo, fkBoolean, "no,yes");
    memo->Highlight()->SetCondition(QStringLiteral("Value > 0"));
    TqvxMemoView *single = newMemo(QStringLiteral("Memo2"));
    single->DisplayFormat()->SetFormatStr(QStringLiteral("dd"));
    single->DisplayFormat()->SetKind(fkDateTime);

    const QByteArray saved = SaveReport(report.get());
    EXPECT_TRUE(saved.contains("<Formats>")) << saved.constData();
    EXPECT_TRUE(saved.contains("DisplayFormat.FormatStr=\"dd\" DisplayFormat.Kind=\"fkDateTime\""))
        << saved.constData();

    auto copy = std::make_unique<TContextReport>();
    LoadReport(copy.get(), saved);
    auto *read = qobject_cast<TqvxMemoView *>(copy->FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Memo()->Count(), 2);
    EXPECT_EQ(read->GapY(), 0);
    EXPECT_EQ(read->ExpressionDelimiters(), QStringLiteral("<,>"));
    ASSERT_EQ(read->Formats()->Count(), 2);
    EXPECT_EQ(read->Formats()->Items(1)->FormatStr(), QStringLiteral("no,yes"));
    EXPECT_EQ(read->Highlight()->Condition(), QStringLiteral("Value > 0"));
    EXPECT_EQ(SaveReport(copy.get()), saved);
}

TEST_F(MemoTest, ListsTravelAsPropertyDataOutsideReportFiles)
{
    addFormat(memo, fkNumeric, "%d");
    addFormat(memo, fkBoolean, "no,yes");
    TqvxXMLSerializer serializer;
    const QString text = serializer.ObjToXML(memo);
    EXPECT_TRUE(text.contains(QStringLiteral(" PropData=\""))) << text.toStdString();

    TqvxMemoView copy;
    serializer.XMLToObj(text, &copy);
    ASSERT_EQ(copy.Formats()->Count(), 2);
    EXPECT_EQ(copy.Formats()->Items(1)->Kind(), fkBoolean);
    EXPECT_EQ(copy.Formats()->Items(1)->FormatStr(), QStringLiteral("no,yes"));
}

TEST_F(MemoTest, PublishedSubsetsAndTexts)
{
    TqvxSysMemoView sys;
    EXPECT_EQ(GetPropInfo(&sys, QStringLiteral("AllowExpressions")), nullptr);
    EXPECT_NE(GetPropInfo(&sys, QStringLiteral("SuppressRepeated")), nullptr);
    EXPECT_NE(GetPropInfo(memo, QStringLiteral("Wysiwyg")), nullptr);
    EXPECT_EQ(sys.GetDescription(), QStringLiteral("obSysText"));

    memo->SetRotation(450);
    EXPECT_EQ(memo->Rotation(), 90);

    TFont font;
    font.SetCharset(RUSSIAN_CHARSET);
    memo->SetFont(&font);
    memo->SetAnsiText(QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2"));
    EXPECT_EQ(memo->Text(), QStringLiteral("Привет\r\n"));
    EXPECT_EQ(memo->AnsiText(), QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2\r\n"));
}

TEST_F(MemoTest, TheDesignerShowsAnActiveHighlight)
{
    memo->Highlight()->SetColor(clAqua);
    memo->ApplyHighlight();
    EXPECT_EQ(memo->Color(), clNone);
    memo->Highlight()->SetActive(true);
    memo->ApplyHighlight();
    EXPECT_EQ(memo->Color(), clAqua);
}

} // namespace
