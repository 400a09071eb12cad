#include "report/base/qvxTextUtils.h"

#include "toolkit/core/SysUtils.h"
#include "toolkit/classes/TStrings.h"

#include <algorithm>

void qvxFindBracketExpression(const QString &text, const QString &open, const QString &close,
                              QString &result, int &endPos, int &startPos)
{
    const QStringView view(text);
    // The first character decides before the whole delimiter is compared.
    const auto delimiterAt = [&](int i, const QString &delimiter) {
        return delimiter.isEmpty() || (text[i] == delimiter.front() && view.mid(i).startsWith(delimiter));
    };
    int depth = 0;
    bool inDouble = false;
    bool inSingle = false;
    bool opened = false;
    int i = std::max(startPos, 0);
    while (i < text.size()) {
        const bool quoted = inDouble || inSingle;
        if (!quoted && depth > 0 && delimiterAt(i, close)) {
            i += int(close.size());
            if (--depth == 0) {
                endPos = i - 1;
                const int first = startPos + int(open.size());
                result = text.mid(first, i - int(close.size()) - first);
                return;
            }
            continue;
        }
        if (!quoted && delimiterAt(i, open)) {
            if (!opened) {
                startPos = i;
                opened = true;
            }
            ++depth;
            i += int(open.size());
            continue;
        }
        if (text[i] == u'"' && !inSingle)
            inDouble = !inDouble;
        else if (text[i] == u'\'' && !inDouble)
            inSingle = !inSingle;
        ++i;
    }

    if (!opened) {
        result.clear();
        endPos = startPos;
        return;
    }
    endPos = int(text.size()) - 1;
    const int first = startPos + int(open.size());
    result = text.mid(first, std::max(0, endPos - first));
}

void qvxParsePageRange(const QString &text, TStrings *list, int pageCount)
{
    list->Clear();
    QString ranges = text;
    ranges.remove(u' ');
    if (ranges.isEmpty())
        return;
    if (ranges.endsWith(u'-'))
        ranges += QString::number(pageCount);

    for (const QString &item : ranges.split(u',')) {
        const int dash = int(item.indexOf(u'-'));
        if (dash < 0) {
            list->Add(QString::number(StrToInt(item)));
            continue;
        }
        const int first = StrToInt(item.left(dash));
        int last = StrToInt(item.mid(dash + 1));
        if (last > pageCount)
            last = std::max(pageCount, first);
        for (int page = first; page <= last; ++page)
            list->Add(QString::number(page));
    }
}

QString qvxExtractToken(const QString &text, int &pos, QChar delimiter)
{
    const int start = pos;
    int end = int(text.indexOf(delimiter, start));
    if (end < 0)
        end = int(text.size());
    pos = end + 1;
    return text.mid(start, end - start);
}

void qvxSplitToStrings(const QString &text, TStrings *list, QChar delimiter)
{
    list->Clear();
    int pos = 0;
    while (pos < text.size())
        list->Add(qvxExtractToken(text, pos, delimiter));
}

void qvxDropSpareRoom(QString &text)
{
    if (text.capacity() - text.size() > text.size() / 4)
        text.squeeze();
}

QString qvxReplaceChar(const QString &text, QChar from, QChar to)
{
    QString result = text;
    result.replace(from, to);
    return result;
}

QString qvxSlashToBackslash(const QString &text)
{
    return qvxReplaceChar(text, u'/', u'\\');
}
