#include "preview/qvxPreviewSearch.h"

#include "report/base/qvxObjectTypes.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/pages/qvxPage.h"
#include "report/views/qvxMemoView.h"

#include <QRegularExpression>
#include <QStringMatcher>

#include <algorithm>
#include <cmath>

TqvxSearchState &qvxSearchState()
{
    static TqvxSearchState state;
    return state;
}

namespace {

// A line of a page: its runs left to right, and where each starts in the
// line's text.
struct Line {
    QString Text;
    QList<int> Starts;
    QList<TRect> Bounds;
};

bool sameLine(const TRect &a, const TRect &b)
{
    // Two runs share a line when half of the lower one lies beside the
    // other.
    const int overlap = std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top);
    const int lower = std::min(a.Bottom - a.Top, b.Bottom - b.Top);
    return overlap > 0 && 2 * overlap >= lower;
}

QList<Line> linesOf(const TqvxTextRuns &runs)
{
    QList<const TqvxTextRun *> sorted;
    sorted.reserve(runs.size());
    for (const TqvxTextRun &run : runs)
        if (!run.Text.trimmed().isEmpty())
            sorted.append(&run);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TqvxTextRun *a, const TqvxTextRun *b) { return a->Bounds.Top < b->Bounds.Top; });
    QList<Line> lines;
    for (int i = 0; i < sorted.size();) {
        const TRect first = sorted.at(i)->Bounds;
        QList<const TqvxTextRun *> row;
        for (; i < sorted.size() && sameLine(first, sorted.at(i)->Bounds); ++i)
            row.append(sorted.at(i));
        std::stable_sort(row.begin(), row.end(),
                         [](const TqvxTextRun *a, const TqvxTextRun *b) { return a->Bounds.Left < b->Bounds.Left; });
        Line line;
        for (const TqvxTextRun *run : std::as_const(row)) {
            // One blank between two runs, whether a run brings its own or
            // not.
            QString text = qvxSearchedText(run->Text);
            if (!line.Text.isEmpty()) {
                if (text.startsWith(QLatin1Char(' ')))
                    text.remove(0, 1);
                if (!line.Text.endsWith(QLatin1Char(' ')))
                    line.Text += QLatin1Char(' ');
            }
            line.Starts.append(line.Text.size());
            line.Bounds.append(run->Bounds);
            line.Text += text;
        }
        lines.append(line);
    }
    return lines;
}

TRect unite(const TRect &a, const TRect &b)
{
    return Rect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                std::max(a.Bottom, b.Bottom));
}

QString withoutTags(const QString &text)
{
    static const QRegularExpression tag(QStringLiteral("<[^<>]*>"));
    QString plain = text;
    return plain.remove(tag);
}

} // namespace

QString qvxSearchedText(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool blank = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            if (!blank)
                result += QLatin1Char(' ');
            blank = true;
            continue;
        }
        result += c;
        blank = false;
    }
    return result;
}

TqvxTextRuns qvxRecordedRuns(const TCanvasRecords &records)
{
    TqvxTextRuns runs;
    for (const TCanvasRecord &record : records)
        if (record.Op == TCanvasOp::Text)
            runs.append({record.Text, record.Bounds});
    return runs;
}

TqvxTextRuns qvxPageRuns(TqvxReportPage *page)
{
    TqvxTextRuns runs;
    if (!page)
        return runs;
    const double left = page->LeftMargin() * qv01cm;
    const double top = page->TopMargin() * qv01cm;
    for (TqvxComponent *object : page->GetAllObjects()) {
        auto *memo = qobject_cast<TqvxCustomMemoView *>(object);
        if (!memo || !memo->Visible() || !memo->Visibility().testFlag(vsPreview))
            continue;
        const double x = left + memo->GetAbsLeft();
        const double y = top + memo->GetAbsTop();
        const TRect bounds = Rect(int(std::floor(x)), int(std::floor(y)), int(std::ceil(x + memo->Width())),
                                  int(std::ceil(y + memo->Height())));
        runs.append({memo->AllowHTMLTags() ? withoutTags(memo->Text()) : memo->Text(), bounds});
    }
    return runs;
}

QString qvxRunsText(const TqvxTextRuns &runs)
{
    QString text;
    for (const Line &line : linesOf(runs)) {
        text += line.Text;
        text += QLatin1Char('\n');
    }
    return text;
}

QList<TRect> qvxFindInRuns(const TqvxTextRuns &runs, const QString &text, bool caseSensitive)
{
    QList<TRect> found;
    const QString searched = qvxSearchedText(text);
    if (searched.isEmpty())
        return found;
    const QStringMatcher matcher(searched, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
    for (const Line &line : linesOf(runs)) {
        for (qsizetype at = matcher.indexIn(line.Text); at >= 0; at = matcher.indexIn(line.Text, at + 1)) {
            const qsizetype end = at + searched.size();
            // The runs the place starts in, ends in and spans.
            const auto first = std::upper_bound(line.Starts.begin(), line.Starts.end(), int(at)) - line.Starts.begin() - 1;
            const auto last = std::upper_bound(line.Starts.begin(), line.Starts.end(), int(end - 1)) - line.Starts.begin() - 1;
            TRect bounds = line.Bounds.at(std::max<qsizetype>(first, 0));
            for (qsizetype i = std::max<qsizetype>(first, 0) + 1; i <= last; ++i)
                bounds = unite(bounds, line.Bounds.at(i));
            found.append(bounds);
        }
    }
    return found;
}

// --- the index ---------------------------------------------------------------

bool TqvxSearchIndex::PageMayHold(TqvxCustomPreviewPages *pages, int index, const QString &text, bool caseSensitive)
{
    return pageText(pages, index).contains(text, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

const QString &TqvxSearchIndex::pageText(TqvxCustomPreviewPages *pages, int index)
{
    if (auto it = m_pages.find(index); it != m_pages.end()) {
        m_uses.splice(m_uses.begin(), m_uses, it->Use);
        return it->Text;
    }
    m_uses.push_front(index);
    Entry &entry = m_pages[index];
    pages->ReadPage(index, [&entry](TqvxReportPage *page) { entry.Text = qvxRunsText(qvxPageRuns(page)); });
    entry.Use = m_uses.begin();
    m_bytes += entry.Text.size() * qsizetype(sizeof(QChar)) + kEntryOverhead;
    trim();
    return m_pages.find(index)->Text;
}

void TqvxSearchIndex::trim()
{
    // The page just read always stays.
    while (m_bytes > m_budget && m_uses.size() > 1) {
        const int oldest = m_uses.back();
        m_uses.pop_back();
        const auto it = m_pages.find(oldest);
        m_bytes -= it->Text.size() * qsizetype(sizeof(QChar)) + kEntryOverhead;
        m_pages.erase(it);
    }
}

void TqvxSearchIndex::Clear()
{
    m_pages.clear();
    m_uses.clear();
    m_bytes = 0;
}

void TqvxSearchIndex::SetBudget(qint64 bytes)
{
    m_budget = bytes;
    trim();
}
