#include "report/text/qvxHyphenation.h"

#include <QString>

namespace {

const QString vowels = QStringLiteral("АЕЁИОУЫЭЮЯ");
const QString consonants = QStringLiteral("БВГДЖЗЙКЛМНПРСТФХЦЧШЩЬЪ");
const QString signs = QStringLiteral("ЬЪ");
const QString wordEnds = QStringLiteral(" .,-;");
const QChar shortI = QChar(0x0419); // Й

bool isVowel(QChar c) { return vowels.contains(c); }
bool isConsonant(QChar c) { return consonants.contains(c); }

bool hasVowel(QStringView part)
{
    return std::any_of(part.begin(), part.end(), isVowel);
}

// Whether a hyphen may follow word[p - 1].
bool breaksAfter(const QString &word, int p)
{
    const QChar c = word.at(p - 1);
    const QChar next = word.at(p);
    if (isConsonant(c))
        return !isVowel(next) && !signs.contains(next);
    if (!isVowel(c) || next == shortI)
        return false;
    const bool doubledConsonant = p + 2 < word.size() && next == word.at(p + 1) && isConsonant(next) &&
                                  isVowel(word.at(p + 2));
    return !doubledConsonant;
}

} // namespace

int qvxBreakWord(QStringView text, int wordStart, int overflow)
{
    const int fit = overflow - wordStart;
    if (fit < 3 || overflow > text.size())
        return 0;
    int end = overflow;
    while (end < text.size() && !wordEnds.contains(text.at(end)))
        ++end;
    const QString word = text.mid(wordStart, end - wordStart).toString().toUpper();
    if (word.size() < 4)
        return 0;
    for (int p = fit - 1; p >= 2; --p) {
        if (p > word.size() - 2 || !breaksAfter(word, p))
            continue;
        const QStringView before = QStringView(word).left(p);
        const QStringView after = QStringView(word).mid(p);
        if (hasVowel(before) && hasVowel(after))
            return p;
    }
    return 0;
}
