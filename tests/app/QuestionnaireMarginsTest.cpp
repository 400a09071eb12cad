// Where the saved questionnaire's words end: for every design the catalogue
// walk reaches, with each model that fits and with the model left to the
// manager, and with long organisation fields, the PDF is saved on the save
// road and read back with pdftotext.  No word may pass the inner limit of
// the memo it stands in: the memo's right edge (where its frame is drawn)
// less its gap.  Designs whose lines (as their memos wrap them) were all in
// a questionnaire already checked are not saved again.

#include "CatalogueWalk.h"
#include "MainFormFixture.h"
#include "common/ScriptSamples.h"

#include "export/pdf/ToolTestSupport.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/model/qvxReportContext.h"
#include "report/text/qvxDrawText.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/graphics/Canvas.h"

#include <QFile>
#include <QTemporaryDir>

#include <set>

namespace {

// A PDF point is 0.75 pixels; numbers in the page content have two
// decimals.
constexpr double Rounding = 0.02;

// A memo of a prepared page in PDF points from the page's top left, and
// the limit its words must keep to.
struct PlacedMemo {
    QString name;
    double left, top, right, bottom;
    double innerRight;
};

class MarginWalk;

class QuestionnaireMarginsTest : public MainFormFixture
{
    friend class MarginWalk;

protected:
    void SetUp() override
    {
        if (!programServices)
            GTEST_SKIP() << "the report engine or the prepared-pages store is not installed in this build";
        runner.onFile = [this](TFileDialogRequest &request) {
            request.FileName = fileName;
            return true;
        };
    }

    // The memos of each prepared page, placed as the PDF export places
    // them: inside the page's margins, whose millimetres also move the
    // page's content by a twentieth of a point each.
    QList<QList<PlacedMemo>> PreparedMemos() const
    {
        auto *page = qobject_cast<TqvxReportPage *>(form->qvxReport1->FindObject(QStringLiteral("Page1")));
        const double offsetX = page->LeftMargin() * (qv01cm * 0.75 + 0.05);
        const double offsetY = page->TopMargin() * (qv01cm * 0.75 + 0.05);
        QList<QList<PlacedMemo>> pages;
        TqvxCustomPreviewPages *prepared = form->qvxReport1->PreviewPages();
        for (int index = 0; index < prepared->Count(); ++index) {
            QList<PlacedMemo> memos;
            for (TqvxComponent *band : prepared->GetPage(index)->Objects())
                for (TqvxComponent *object : band->Objects())
                    if (auto *memo = qobject_cast<TqvxMemoView *>(object)) {
                        const double left = (band->Left() + memo->Left()) * 0.75 + offsetX;
                        const double top = (band->Top() + memo->Top()) * 0.75 + offsetY;
                        const double right = left + memo->Width() * 0.75;
                        memos.append({memo->Name(), left, top, right, top + memo->Height() * 0.75,
                                      right - memo->GapX() * 0.75});
                    }
            pages.append(memos);
        }
        return pages;
    }

    // Saves the window's questionnaire and tells of every word past its
    // memo's inner limit.
    QString WordsPastTheirLimit()
    {
        fileName = dir.filePath(QStringLiteral("questionnaire.pdf"));
        QFile::remove(fileName);
        if (!form->SaveAsPdf())
            return QStringLiteral("the questionnaire was not saved\n");
        const QList<QList<PlacedMemo>> memos = PreparedMemos();
        const QList<QList<TPdfWord>> &words = savedWords = PdfWords(fileName);
        if (words.size() != memos.size())
            return QStringLiteral("the PDF has %1 pages, the report %2\n").arg(words.size()).arg(memos.size());
        QString faults;
        for (qsizetype page = 0; page < words.size(); ++page)
            for (const TPdfWord &word : words[page]) {
                const double x = (word.left + word.right) / 2;
                const double y = (word.top + word.bottom) / 2;
                for (const PlacedMemo &memo : memos[page]) {
                    if (x <= memo.left || x >= memo.right || y <= memo.top || y >= memo.bottom)
                        continue;
                    ++checkedWords;
                    if (word.right > memo.innerRight + Rounding)
                        faults += QStringLiteral("page %1: \"%2\" of %3 ends at %4 pt, %5 pt past its limit %6\n")
                                      .arg(page + 1)
                                      .arg(word.text, memo.name)
                                      .arg(word.right, 0, 'f', 2)
                                      .arg(word.right - memo.innerRight, 0, 'f', 2)
                                      .arg(memo.innerRight, 0, 'f', 2);
                }
            }
        return faults;
    }

    QTemporaryDir dir;
    QString fileName;
    QList<QList<TPdfWord>> savedWords; // those of the last questionnaire saved
    long checkedWords = 0;
};

// Organisation fields long enough to wrap, their line ends moved on from
// one questionnaire to the next.
const QStringList LongFields = {
    QStringLiteral("Общество с ограниченной ответственностью «Электротехнический завод „Северный“», филиал № 2 "
                   "в городе Санкт-Петербург, отдел комплектации выводов и токов"),
    QStringLiteral("г. Москва, ул. Лесная, д. 5, стр. 2, офис 14, тел. +7 495 555-01-23, факс +7 495 555-01-24, "
                   "e-mail: zakaz@example.ru"),
    QStringLiteral("Иванов Иван Иванович, главный инженер проекта, тел. +7 916 555-01-23, доб. 4567, "
                   "с 9:00 до 18:00 по московскому времени")};

class MarginWalk : public CatalogueWalk
{
public:
    explicit MarginWalk(QuestionnaireMarginsTest &test) : m_test(test) {}

    int saved = 0;

protected:
    void AtDesign(const QList<int> &models) override
    {
        ForEachAnswer(models, [this](int answer) {
            if (!addNewLines())
                return;
            m_test.pressInDialog = answer;
            m_test.ChooseAsIn(m_rules);
            const QString lead = QString::number(saved) + QLatin1Char(' ');
            m_test.form->Edit1->SetText(lead + LongFields[0]);
            m_test.form->Edit2->SetText(lead + lead + LongFields[1]);
            m_test.form->Edit3->SetText(lead + lead + lead + LongFields[2]);
            ++saved;
            const QString faults = m_test.WordsPastTheirLimit();
            if (!faults.isEmpty())
                Fail(faults.toStdString());
        });
    }

private:
    // Whether the design shows a line, as its memo wraps it, that no
    // questionnaire saved so far showed.
    bool addNewLines()
    {
        bool added = addNewLines("Memo8", m_rules.Description());
        for (const QString &line : m_rules.Composition())
            added = addNewLines("Memo12", line) || added;
        for (int row = 0; row < TSelectionRules::ParamRowCount; ++row)
            added = addNewLines("Memo3", m_rules.ChoiceCaption(G1, row)) || added;
        for (int row = 0; row < TSelectionRules::AccessoryRowCount; ++row)
            added = addNewLines("Memo6", m_rules.ChoiceCaption(G2, row)) || added;
        return added;
    }

    bool addNewLines(const char *memoName, const QString &text)
    {
        auto *memo = qobject_cast<TqvxMemoView *>(m_test.form->qvxReport1->FindObject(QLatin1String(memoName)));
        const QString designed = memo->Text();
        memo->SetText(text);
        bool added = false;
        TqvxDrawText::Lock();
        memo->SetDrawParams(&m_canvas, 1, 1, 0, 0);
        TqvxDrawText *layout = qvxReportContextOf(memo)->DrawText();
        for (int i = 0; i < layout->LineCount(); ++i)
            added = m_texts.insert(QLatin1String(memoName) + QLatin1Char('\n') + layout->Line(i)).second || added;
        TqvxDrawText::Unlock();
        memo->SetText(designed);
        return added;
    }

    QuestionnaireMarginsTest &m_test;
    std::set<QString> m_texts;
    TCanvas m_canvas;
};

} // namespace

TEST_F(QuestionnaireMarginsTest, NoWordPassesItsMemosInnerLimit)
{
    MarginWalk walk(*this);
    walk.Run();
    EXPECT_EQ(walk.failures, 0);
    EXPECT_GT(walk.saved, 0);
    EXPECT_GT(checkedWords, 100 * walk.saved);
}

// Long addresses in other scripts, alone and among Cyrillic, pasted into
// the address field: the faces that stand in for Arial measure their
// characters as they draw them, so no word passes its cell, and all the
// text the faces can show is in the file.
TEST_F(QuestionnaireMarginsTest, LongAddressesInOtherScriptsStayInTheirCell)
{
    Complete({1, 1, 0, 0, 0, 0});
    form->Edit1->SetText(QStringLiteral("ООО «Север»"));
    form->Edit3->SetText(QStringLiteral("Иванов Иван Иванович"));
    form->Edit4->SetValue(1);
    for (const TScriptSample &sample : LongAddresses()) {
        SCOPED_TRACE(sample.name.toStdString());
        form->Edit2->SetText(sample.text);
        EXPECT_EQ(WordsPastTheirLimit().toStdString(), "");
        QString found;
        for (const QList<TPdfWord> &page : std::as_const(savedWords))
            for (const TPdfWord &word : page)
                found += word.text;
        EXPECT_EQ(MissingCharacters(sample.text, found).toStdString(), "");
    }
    EXPECT_GT(checkedWords, 0);
}

// An organisation's name and address in Arabic words too long for a line:
// the lines break inside the words, each measured as it is drawn (the
// letter at the break in its final form), so no word passes its cell, and
// every letter is in the file.
TEST_F(QuestionnaireMarginsTest, LongArabicWordsStayInTheirCell)
{
    Complete({1, 1, 0, 0, 0, 0});
    const QString organisation =
        QStringLiteral("مؤسسة ") + QStringLiteral("الخليجللطاقةالكهربائيةوالصناعاتالهندسية").repeated(5);
    const QString address = QStringLiteral("بيت").repeated(40);
    form->Edit1->SetText(organisation);
    form->Edit2->SetText(address);
    form->Edit3->SetText(QStringLiteral("Иванов Иван Иванович"));
    form->Edit4->SetValue(1);
    EXPECT_EQ(WordsPastTheirLimit().toStdString(), "");
    QString found;
    for (const QList<TPdfWord> &page : std::as_const(savedWords))
        for (const TPdfWord &word : page)
            found += word.text;
    EXPECT_EQ(MissingCharacters(organisation + address, found).toStdString(), "");
    EXPECT_GT(checkedWords, 0);
}
