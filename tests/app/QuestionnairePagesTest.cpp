// Where the saved questionnaire breaks its pages, for every design the
// catalogue walk reaches, with each model that fits and with the model
// left to the manager: no heading ends a page, no page holds only an empty
// composition row and the order code, and no page ends with room for what
// starts the next one.  The pages are the report's own, prepared on the
// save road; their bands are read with their places.

#include "CatalogueWalk.h"
#include "MainFormFixture.h"

#include "report/model/qvxCustomPreviewPages.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"
#include "report/base/qvxObjectTypes.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <QRegularExpression>

namespace {

class PageBreakWalk;

constexpr double Tolerance = 0.01;

// A band as a prepared page holds it.
struct PlacedBand {
    QString name;
    double top;
    double bottom;
    // It holds nothing but one heading's bold text.
    bool heading;
    // It holds only memos with no text.
    bool blank;
    // The height down to the bottom of its first row of objects, or its
    // whole height when that row is a heading, which keeps to what follows.
    double firstRow;
};

bool IsHeadingMemo(const TqvxMemoView *memo)
{
    return memo->Font()->Style().testFlag(fsBold) && memo->Font()->Height() == -16;
}

double FirstRowHeight(TqvxComponent *band)
{
    double top = band->Height();
    for (TqvxComponent *object : band->Objects())
        if (object->Height() > 0)
            top = std::min(top, object->Top());
    double bottom = band->Height();
    bool first = true;
    for (TqvxComponent *object : band->Objects()) {
        if (object->Height() <= 0 || object->Top() > top + Tolerance)
            continue;
        const auto *memo = qobject_cast<TqvxMemoView *>(object);
        if (memo && IsHeadingMemo(memo))
            return band->Height();
        bottom = first ? object->Top() + object->Height() : std::max(bottom, object->Top() + object->Height());
        first = false;
    }
    return bottom;
}

PlacedBand Place(TqvxComponent *band)
{
    PlacedBand placed{band->Name(), band->Top(), band->Top() + band->Height(), false, true, FirstRowHeight(band)};
    int headings = 0;
    int others = 0;
    for (TqvxComponent *object : band->Objects()) {
        const auto *memo = qobject_cast<TqvxMemoView *>(object);
        if (!memo) {
            placed.blank = false;
            ++others;
            continue;
        }
        if (!memo->Text().trimmed().isEmpty())
            placed.blank = false;
        ++(IsHeadingMemo(memo) ? headings : others);
    }
    placed.heading = headings == 1 && others == 0;
    return placed;
}

using PreparedPages = QList<QList<PlacedBand>>;

PreparedPages ReadPages(TqvxReport *report)
{
    PreparedPages pages;
    TqvxCustomPreviewPages *prepared = report->PreviewPages();
    for (int index = 0; index < prepared->Count(); ++index) {
        QList<PlacedBand> bands;
        for (TqvxComponent *object : prepared->GetPage(index)->Objects())
            bands.append(Place(object));
        std::sort(bands.begin(), bands.end(), [](const PlacedBand &a, const PlacedBand &b) { return a.top < b.top; });
        pages.append(bands);
    }
    return pages;
}

QString Describe(const PreparedPages &pages)
{
    QString text;
    for (qsizetype page = 0; page < pages.size(); ++page) {
        text += QStringLiteral("page %1:").arg(page + 1);
        for (const PlacedBand &band : pages[page])
            text += QStringLiteral(" %1 %2-%3").arg(band.name).arg(band.top, 0, 'f', 1).arg(band.bottom, 0, 'f', 1);
        text += QLatin1Char('\n');
    }
    return text;
}

// The height of what must start the page: a heading takes the band after
// it along, and the last composition row takes the closing line; else the
// first band's first row, which might have stayed on the page before.
double LeadingRunHeight(const QList<PlacedBand> &bands)
{
    qsizetype last = 0;
    while (last + 1 < bands.size()
           && (bands[last].heading
               || (bands[last].name == QLatin1String("MasterData3")
                   && bands[last + 1].name == QLatin1String("Footer2"))))
        ++last;
    return last == 0 ? bands[0].firstRow : bands[last].bottom - bands[0].top;
}

// What is wrong with the page breaks, or an empty text.
QString PageBreakFaults(const PreparedPages &pages, double bodyHeight)
{
    QString faults;
    for (qsizetype page = 0; page < pages.size(); ++page) {
        const QList<PlacedBand> &bands = pages[page];
        if (bands.isEmpty()) {
            faults += QStringLiteral("page %1 is empty\n").arg(page + 1);
            continue;
        }
        const bool onlyClosing = std::all_of(bands.begin(), bands.end(), [](const PlacedBand &band) {
            return band.name == QLatin1String("Footer2") || (band.name == QLatin1String("MasterData3") && band.blank);
        });
        if (onlyClosing)
            faults += QStringLiteral("page %1 holds only empty rows and the closing line\n").arg(page + 1);
        if (page + 1 == pages.size())
            continue;
        if (bands.last().heading)
            faults += QStringLiteral("page %1 ends with the heading %2\n").arg(page + 1).arg(bands.last().name);
        const double room = bodyHeight - bands.last().bottom;
        const QList<PlacedBand> &next = pages[page + 1];
        if (!next.isEmpty() && LeadingRunHeight(next) <= room - Tolerance)
            faults += QStringLiteral("page %1 ends with %2 pixels of room for %3\n")
                          .arg(page + 1)
                          .arg(room, 0, 'f', 1)
                          .arg(next.first().name);
    }
    return faults;
}

class QuestionnairePagesTest : public MainFormFixture
{
    friend class PageBreakWalk;

protected:
    void SetUp() override
    {
        if (!programServices)
            GTEST_SKIP() << "the report engine or the prepared-pages store is not installed in this build";
        // The save road prepares the pages, then the file dialog is
        // cancelled: the pages stay in the report.
        runner.onFile = [](TFileDialogRequest &) { return false; };
    }

    // The pages the save road prepares for the window's current design.
    PreparedPages SavedPages()
    {
        form->SaveAsPdf();
        return ReadPages(form->qvxReport1);
    }

    double BodyHeight() const
    {
        auto *page = qobject_cast<TqvxReportPage *>(form->qvxReport1->FindObject(QStringLiteral("Page1")));
        return (page->PaperHeight() - page->TopMargin() - page->BottomMargin()) * qv01cm;
    }
};

// Replays each design of the walk in the main window, as the user chooses
// it, once for each model the model dialog offers and once with the dialog
// cancelled, and checks the pages the save road prepares.  Designs whose
// bands come out as high as those of a design already checked break their
// pages alike, and are not prepared again.
class PageBreakWalk : public CatalogueWalk
{
public:
    explicit PageBreakWalk(QuestionnairePagesTest &test) : m_test(test) {}

    int prepared = 0;

protected:
    void AtDesign(const QList<int> &models) override
    {
        ForEachAnswer(models, [this](int answer) {
            if (!m_layouts.insert(Layout()).second)
                return;
            m_test.pressInDialog = answer;
            m_test.ChooseAsIn(m_rules);
            if (m_test.form->Rules().Description() != m_rules.Description())
                Fail("the window's design is not the walk's");
            ++prepared;
            const PreparedPages pages = m_test.SavedPages();
            const QString faults = PageBreakFaults(pages, m_test.BodyHeight());
            if (!faults.isEmpty())
                Fail((faults + Describe(pages)).toStdString());
        });
    }

private:
    // What decides the heights of the bands: the heights of the memos the
    // design's texts fill, and what decides the order code's lines.
    QList<double> Layout()
    {
        QList<double> layout;
        for (int row = 0; row < TSelectionRules::ParamRowCount; ++row)
            layout.append(Height("Memo3", m_rules.ChoiceCaption(G1, row)));
        for (int row = 0; row < TSelectionRules::AccessoryRowCount; ++row)
            layout.append(Height("Memo6", m_rules.ChoiceCaption(G2, row)));
        layout.append(Height("Memo8", m_rules.Description()));
        for (const QString &line : m_rules.Composition())
            layout.append(Height("Memo12", line));
        layout.append({double(m_rules.ModelNo()), double(m_rules.Choice(G1, 1)), double(m_rules.Choice(G1, 4))});
        return layout;
    }

    // The height the template's memo takes with text.
    double Height(const char *memoName, const QString &text)
    {
        auto *memo = qobject_cast<TqvxMemoView *>(m_test.form->qvxReport1->FindObject(QLatin1String(memoName)));
        const QString designed = memo->Text();
        memo->SetText(text);
        const double height = memo->CalcHeight();
        memo->SetText(designed);
        return qRound(height * 1000) / 1000.0;
    }

    QuestionnairePagesTest &m_test;
    std::set<QList<double>> m_layouts;
};

} // namespace

TEST_F(QuestionnairePagesTest, NoDesignBreaksItsPagesBadly)
{
    PageBreakWalk walk(*this);
    walk.Run();
    EXPECT_EQ(walk.failures, 0);
    EXPECT_GT(walk.prepared, 0);
}

