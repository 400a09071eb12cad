#pragma once

// One paragraph of words picked at random from a list, without a line
// break: the long paragraph that memos split over pages are checked and
// measured on.

#include <QString>
#include <QStringList>

// Words of `words` separated by blanks, count characters or a word more;
// with tags, every 29th word bold and a red italic passage every 97 words.
inline QString WordsParagraph(qsizetype count, const QStringList &words, bool tags = false)
{
    QString text;
    text.reserve(count + 64);
    quint32 seed = 3;
    for (int i = 0; text.size() < count; ++i) {
        seed = seed * 1103515245 + 12345;
        if (tags && i % 97 == 0)
            text += QStringLiteral("<font color=\"#ff0000\"><i>");
        if (tags && i % 29 == 0)
            text += QStringLiteral("<b>") + words.at((seed >> 16) % words.size()) + QStringLiteral("</b>");
        else
            text += words.at((seed >> 16) % words.size());
        if (tags && i % 97 == 50)
            text += QStringLiteral("</i></font>");
        text += QLatin1Char(' ');
    }
    return text;
}

// Words of one to twelve Cyrillic letters picked at random by seed,
// separated by blanks, count characters or a word more.
inline QString RandomCyrillicParagraph(qsizetype count, quint32 seed)
{
    QString text;
    text.reserve(count + 16);
    const auto next = [&seed](quint32 range) {
        seed = seed * 1103515245 + 12345;
        return (seed >> 16) % range;
    };
    while (text.size() < count) {
        for (quint32 letters = 1 + next(12); letters > 0; --letters)
            text += QChar(0x430 + next(32));
        text += QLatin1Char(' ');
    }
    return text;
}
