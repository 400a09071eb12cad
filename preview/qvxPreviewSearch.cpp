#include "preview/qvxPreviewSearch.h"

#include <QStringMatcher>

#include <algorithm>
#include <bit>
#include <cmath>

TqvxSearchState &qvxSearchState()
{
    static TqvxSearchState state;
    return state;
}

namespace {

bool hasText(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return !qvxIsSearchBlank(c); });
}

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
        if (hasText(run.Text))
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
            const bool afterRun = !line.Text.isEmpty();
            if (afterRun && !line.Text.endsWith(QLatin1Char(' ')))
                line.Text += QLatin1Char(' ');
            line.Starts.append(line.Text.size());
            line.Bounds.append(run->Bounds);
            qvxAppendSearchedText(line.Text, run->Text, afterRun);
        }
        lines.append(std::move(line));
    }
    return lines;
}

TRect unite(const TRect &a, const TRect &b)
{
    return Rect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                std::max(a.Bottom, b.Bottom));
}

} // namespace

TqvxTextRuns qvxRecordedRuns(const TCanvasRecords &records)
{
    TqvxTextRuns runs;
    for (const TCanvasRecord &record : records)
        if (record.Op == TCanvasOp::Text)
            runs.append({record.Text, record.Bounds});
    return runs;
}

TqvxTextRuns qvxPageRuns(const TqvxPageTexts &texts)
{
    TqvxTextRuns runs;
    runs.reserve(texts.size());
    for (const TqvxPageText &text : texts) {
        const TRect bounds = Rect(int(std::floor(text.Left)), int(std::floor(text.Top)),
                                  int(std::ceil(text.Left + text.Width)), int(std::ceil(text.Top + text.Height)));
        runs.append({text.HTMLTags ? qvxTextWithoutTags(text.Text) : text.Text, bounds});
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

namespace {

// A character as the filters take it: case folded as a search that
// ignores case compares it, and every half of a surrogate pair alike (a
// pair folds into another pair).
quint64 filterChar(QChar c)
{
    return c.isSurrogate() ? 0xD800 : QChar::toCaseFolded(c.unicode());
}

// Calls take with the hash of each three-character piece of text.
template <class Take>
void forEachPiece(const QString &text, Take &&take)
{
    if (text.size() < 3)
        return;
    quint64 first = filterChar(text.at(0));
    quint64 second = filterChar(text.at(1));
    for (qsizetype i = 2; i < text.size(); ++i) {
        const quint64 third = filterChar(text.at(i));
        take(((first << 32) | (second << 16) | third) * 0x9E3779B97F4A7C15ULL);
        first = second;
        second = third;
    }
}

// A page's filter has a bit for each character of its text or so, within
// these bounds.
constexpr int kMinFilterBits = 512;
constexpr int kMaxFilterBits = 4096;

} // namespace

bool TqvxSearchIndex::PageMayHold(TqvxCustomPreviewPages *pages, int index, const QString &text, bool caseSensitive)
{
    if (!m_pages.contains(index)) {
        if (!filterMayHold(index, text)) {
            ++m_ruledOut;
            return false;
        }
        if (!mayShow(pages, index, text, caseSensitive))
            return false;
    }
    return pageText(pages, index).contains(text, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

bool TqvxSearchIndex::mayShow(TqvxCustomPreviewPages *pages, int index, const QString &text, bool caseSensitive)
{
    if (text != m_answersFor || caseSensitive != m_answersCaseSensitive) {
        m_answersFor = text;
        m_answersCaseSensitive = caseSensitive;
        m_answers.clear();
    }
    if (index < 0)
        return false;
    if (std::size_t(index) >= m_answers.size())
        m_answers.resize(std::size_t(index) + 1, Answer::Unknown);
    Answer &answer = m_answers[std::size_t(index)];
    if (answer == Answer::Unknown)
        answer = pages->PageMayShowText(index, text, caseSensitive) ? Answer::May : Answer::No;
    return answer == Answer::May;
}

bool TqvxSearchIndex::filterMayHold(int index, const QString &text)
{
    if (index < 0 || std::size_t(index) >= m_filters.size() || m_filters[std::size_t(index)].Bits.empty())
        return true;
    if (text != m_piecesOf) {
        m_piecesOf = text;
        m_pieces.clear();
        forEachPiece(text, [this](quint64 hash) { m_pieces.push_back(hash); });
    }
    const Filter &filter = m_filters[std::size_t(index)];
    for (const quint64 hash : m_pieces) {
        const quint64 bit = hash >> filter.Shift;
        if (!(filter.Bits[bit >> 6] >> (bit & 63) & 1))
            return false;
    }
    return true;
}

void TqvxSearchIndex::addFilter(int index, const QString &text)
{
    int bits = kMinFilterBits;
    while (bits < kMaxFilterBits && bits < text.size())
        bits *= 2;
    const qint64 bytes = bits / 8;
    if (m_filterBytes + bytes > m_budget / 2)
        return;
    if (std::size_t(index) >= m_filters.size())
        m_filters.resize(std::size_t(index) + 1);
    Filter &filter = m_filters[std::size_t(index)];
    if (!filter.Bits.empty())
        return;
    filter.Bits.assign(std::size_t(bits / 64), 0);
    filter.Shift = 64 - std::countr_zero(unsigned(bits));
    forEachPiece(text, [&filter](quint64 hash) {
        const quint64 bit = hash >> filter.Shift;
        filter.Bits[bit >> 6] |= quint64(1) << (bit & 63);
    });
    m_filterBytes += bytes;
    m_bytes += bytes;
    ++m_filtersMade;
}

const QString &TqvxSearchIndex::pageText(TqvxCustomPreviewPages *pages, int index)
{
    if (auto it = m_pages.find(index); it != m_pages.end()) {
        m_uses.splice(m_uses.begin(), m_uses, it->Use);
        return it->Text;
    }
    // Read first: a page that cannot be read leaves no entry behind.
    QString text = qvxRunsText(qvxPageRuns(pages->PageTexts(index)));
    m_uses.push_front(index);
    Entry &entry = m_pages[index];
    entry.Text = std::move(text);
    entry.Use = m_uses.begin();
    m_bytes += entry.Text.size() * qsizetype(sizeof(QChar)) + kEntryOverhead;
    addFilter(index, entry.Text);
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
    m_answersFor.clear();
    m_answers.clear();
    m_pages.clear();
    m_uses.clear();
    m_filters.clear();
    m_filterBytes = 0;
    m_filtersMade = 0;
    m_ruledOut = 0;
    m_bytes = 0;
}

void TqvxSearchIndex::SetBudget(qint64 bytes)
{
    m_budget = bytes;
    trim();
}
