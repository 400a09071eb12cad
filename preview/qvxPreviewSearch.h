#pragma once

// Searching the text of prepared pages.  A page's text comes as runs: the
// text of each text object with its rectangle, or each text record drawn
// on a recording canvas.  Runs whose heights overlap form a line, read
// left to right with a blank between runs, so that a phrase split over two
// objects of one line is found; blanks and line breaks compare as one
// blank.  The index keeps each page's lines once they were read, within a
// memory budget, so that a search through a long report does not build
// and draw every page again.  The state of the search is shared by every
// preview of the process, so that "find next" in any of them continues the
// last search.

#include "report/model/qvxCustomPreviewPages.h"
#include "toolkit/graphics/RecordingCanvas.h"
#include "toolkit/graphics/Rects.h"

#include <QHash>
#include <QList>
#include <QString>

#include <list>
#include <vector>


struct TqvxSearchState {
    QString SearchText;
    bool SearchCaseSensitive = false;
    bool TextFound = false;
    // The hit in page pixels at zoom 1.
    TRect FoundRect;
    // Which hit of the current page (in reading order) was found last; -1
    // for none.
    int LastFoundRecord = -1;
};

TqvxSearchState &qvxSearchState();

struct TqvxTextRun {
    QString Text;
    TRect Bounds;
};
using TqvxTextRuns = QList<TqvxTextRun>;

// The text runs of the records drawn on a recording canvas.
TqvxTextRuns qvxRecordedRuns(const TCanvasRecords &records);
// The text runs of a prepared page's text objects (see
// TqvxCustomPreviewPages::PageTexts), in page pixels.
TqvxTextRuns qvxPageRuns(const TqvxPageTexts &texts);

// The text of runs as lines, one per line of the page, joined by line
// feeds: what the index keeps of a page.
QString qvxRunsText(const TqvxTextRuns &runs);

// Every place of text in runs, in reading order; each is the union of the
// runs the place covers.
QList<TRect> qvxFindInRuns(const TqvxTextRuns &runs, const QString &text, bool caseSensitive);

// The text of the pages of one prepared report, read as the search needs
// it.  A page is read only where the prepared pages say it may show the
// text (a look at its objects' texts far cheaper than reading it), and
// their answers for the last text are kept, a byte a page.  Each
// page's text is kept up to a budget of bytes (the least recently used
// pages go first); and every page read leaves a small filter of the
// three-character pieces of its text, case folded, which tells most pages
// that cannot hold a text without reading them again.  The filters take at
// most half the budget.
class TqvxSearchIndex
{
public:
    explicit TqvxSearchIndex(qint64 budgetBytes = 64 << 20) : m_budget(budgetBytes) {}

    // Whether page index of pages may hold text (already made searchable
    // by qvxSearchedText); reads the page unless its text is kept, or its
    // filter or the prepared pages' look at its texts say no.
    bool PageMayHold(TqvxCustomPreviewPages *pages, int index, const QString &text, bool caseSensitive);
    void Clear();
    void SetBudget(qint64 bytes);
    // The texts and filters kept.
    qint64 Bytes() const { return m_bytes; }
    int PagesKept() const { return int(m_pages.size()); }
    int PagesFiltered() const { return m_filtersMade; }
    // How often a page's filter of pieces ruled it out.
    int PagesRuledOut() const { return m_ruledOut; }

private:
    struct Entry {
        QString Text;
        std::list<int>::iterator Use;
    };
    // The pieces of a page's text as bits of a power of two, each piece
    // hashed to the bit its top bits name.
    struct Filter {
        std::vector<quint64> Bits;
        int Shift = 64;
    };
    // What a kept page costs besides its text.
    static constexpr qint64 kEntryOverhead = 64;
    const QString &pageText(TqvxCustomPreviewPages *pages, int index);
    bool mayShow(TqvxCustomPreviewPages *pages, int index, const QString &text, bool caseSensitive);
    void addFilter(int index, const QString &text);
    bool filterMayHold(int index, const QString &text);
    void trim();

    qint64 m_budget;
    qint64 m_bytes = 0;
    QHash<int, Entry> m_pages;
    // Page indexes, the most recently used first.
    std::list<int> m_uses;
    // By page index; a filter without bits for a page not read.
    std::vector<Filter> m_filters;
    qint64 m_filterBytes = 0;
    int m_filtersMade = 0;
    int m_ruledOut = 0;
    // The hashed pieces of the text last asked for.
    QString m_piecesOf;
    std::vector<quint64> m_pieces;
    // Whether each page may show the text last asked for, as the prepared
    // pages answered.
    enum class Answer : signed char { Unknown, No, May };
    QString m_answersFor;
    bool m_answersCaseSensitive = false;
    std::vector<Answer> m_answers;
};
