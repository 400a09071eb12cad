// The two looks that spare the search reading a page: the prepared pages'
// look at a page's texts and the index's filter of three-character pieces
// of the pages it read.  Neither may rule out a page whose text holds what
// is sought, whatever the letters: over pages of random texts in Latin,
// Cyrillic and Greek of both cases, letters whose case folding is not
// their lower case (final sigma, ß, dotted İ), surrogate pairs with cases,
// characters the stored pages escape and phrases over two objects of a
// line, the index answers as a plain scan of the pages' texts does.

#include "engine/PreparedReport.h"

#include "preview/qvxPreviewSearch.h"
#include "toolkit/classes/Streams.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Letters and signs of the texts; the last ones stand for blanks.
const QStringList pieces = {
    QStringLiteral("a"), QStringLiteral("B"),  QStringLiteral("z"),  QStringLiteral("Q"), QStringLiteral("ж"),
    QStringLiteral("Ж"), QStringLiteral("ё"),  QStringLiteral("Ё"),  QStringLiteral("я"), QStringLiteral("Д"),
    QStringLiteral("Σ"), QStringLiteral("σ"),  QStringLiteral("ς"),  QStringLiteral("ß"), QStringLiteral("ẞ"),
    QStringLiteral("İ"), QStringLiteral("i"),  QStringLiteral("ı"),  QStringLiteral("I"), QStringLiteral("𐐀"),
    QStringLiteral("𐐨"), QStringLiteral("𝔸"),  QStringLiteral("&"),  QStringLiteral("<"), QStringLiteral(">"),
    QStringLiteral("\""), QStringLiteral("'"), QStringLiteral(" "), QStringLiteral("\r\n")};

QString randomText(std::mt19937 &random, int length)
{
    std::uniform_int_distribution<int> piece(0, int(pieces.size()) - 1);
    QString text;
    for (int i = 0; i < length; ++i)
        text += pieces.at(piece(random));
    return text;
}

// A part of text in another case now and then, as a user types it.
QString recased(std::mt19937 &random, const QString &text)
{
    switch (random() % 3) {
    case 0: return text.toUpper();
    case 1: return text.toLower();
    default: return text;
    }
}

// Three memos beside the page's own: two side by side on one line, one
// below; each page a random text in each.
void fillPages(TPreparedReport &prepared, std::mt19937 &random, int count)
{
    TqvxMemoView *memos[] = {prepared.addMemo(QStringLiteral("Left"), 20, 80),
                             prepared.addMemo(QStringLiteral("Right"), 70, 80),
                             prepared.addMemo(QStringLiteral("Below"), 20, 120)};
    for (int i = 0; i < count; ++i) {
        for (TqvxMemoView *memo : memos)
            memo->Memo()->SetText(randomText(random, 4 + int(random() % 12)));
        prepared.addPage(i);
    }
}

// What a search asks for: parts of the pages' texts, over the join of two
// texts too, in other cases, and random texts most pages lack.
QStringList soughtTexts(std::mt19937 &random, const QStringList &pageTexts)
{
    QStringList sought;
    for (const QString &text : pageTexts) {
        for (int i = 0; i < 6; ++i) {
            const int from = int(random() % text.size());
            const QString part = qvxSearchedText(recased(random, text.mid(from, 1 + int(random() % 8)))).trimmed();
            if (!part.isEmpty())
                sought << part;
        }
        const QString other = qvxSearchedText(randomText(random, 3)).trimmed();
        if (!other.isEmpty())
            sought << other;
    }
    sought.removeDuplicates();
    return sought;
}

// Runs every text sought over every page of store: the index says what a
// plain scan of the page's text says, and the prepared pages' look never
// rules out a page that holds it.  Answers how many pages each look ruled
// out.
std::pair<int, int> expectFiltersAgreeWithAPlainScan(TqvxCustomPreviewPages *store, std::mt19937 &random)
{
    QStringList pageTexts;
    for (int i = 0; i < store->Count(); ++i)
        pageTexts << qvxRunsText(qvxPageRuns(store->PageTexts(i)));
    const QStringList sought = soughtTexts(random, pageTexts);

    // Every page read once leaves its filter; then the texts kept go, so
    // the filters decide.
    TqvxSearchIndex index(1 << 20);
    for (int i = 0; i < store->Count(); ++i)
        EXPECT_TRUE(index.PageMayHold(store, i, QStringLiteral("page"), false));
    EXPECT_EQ(index.PagesFiltered(), store->Count());
    index.SetBudget(0);
    EXPECT_EQ(index.PagesKept(), 1);

    int ruledOutByLook = 0;
    int mismatches = 0;
    for (const QString &text : sought) {
        for (const bool caseSensitive : {false, true}) {
            const Qt::CaseSensitivity sensitivity = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
            for (int i = 0; i < store->Count(); ++i) {
                const bool held = pageTexts.at(i).contains(text, sensitivity);
                const bool mayShow = store->PageMayShowText(i, text, caseSensitive);
                ruledOutByLook += !mayShow;
                if (index.PageMayHold(store, i, text, caseSensitive) != held || (held && !mayShow)) {
                    if (++mismatches <= 10)
                        ADD_FAILURE() << "page " << i << (caseSensitive ? " case sensitive: " : ": ")
                                      << text.toStdString() << " in " << pageTexts.at(i).toStdString();
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    return {ruledOutByLook, index.PagesRuledOut()};
}

} // namespace

TEST(SearchFilters, RuleOutOnlyPagesAPlainScanFindsNothingOn)
{
    std::mt19937 random(55);
    TPreparedReport prepared(0);
    fillPages(prepared, random, 40);
    prepared.store()->ClearPageCache();
    const auto [byLook, byPieces] = expectFiltersAgreeWithAPlainScan(prepared.store(), random);
    EXPECT_GT(byLook, 0);
    EXPECT_GT(byPieces, 0);

    // The same pages partly loaded from a file: looked at in the bytes the
    // file holds.
    TMemoryStream stream;
    prepared.store()->SaveToStream(&stream);
    stream.SetPosition(0);
    TPreparedReport loaded(0);
    loaded.store()->LoadFromStream(&stream, true);
    ASSERT_EQ(loaded.store()->Count(), 40);
    const auto [loadedByLook, loadedByPieces] = expectFiltersAgreeWithAPlainScan(loaded.store(), random);
    EXPECT_GT(loadedByLook, 0);
    EXPECT_GT(loadedByPieces, 0);
    loaded.store()->Clear();
}
