#include "report/model/qvxCustomPreviewPages.h"

#include "report/model/qvxCustomOutline.h"

#include <QRegularExpression>

QString qvxTextWithoutTags(const QString &text)
{
    static const QRegularExpression tag(QStringLiteral("<[^<>]*>"));
    QString plain = text;
    return plain.remove(tag);
}

bool qvxIsSearchBlank(QChar c)
{
    // QChar::isSpace, without asking the Unicode tables for the letters of
    // most scripts: below U+1680 only U+0085 and U+00A0 are blanks besides
    // ASCII ones.
    const char16_t code = c.unicode();
    if (code < 0x80)
        return code == u' ' || (code >= u'\t' && code <= u'\r');
    return (code == 0x85 || code == 0xA0 || code >= 0x1680) && c.isSpace();
}

void qvxAppendSearchedText(QString &out, QStringView text, bool afterBlank)
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    QChar *to = out.data() + start;
    bool blank = afterBlank;
    for (const QChar c : text) {
        if (qvxIsSearchBlank(c)) {
            if (!blank)
                *to++ = QLatin1Char(' ');
            blank = true;
            continue;
        }
        *to++ = c;
        blank = false;
    }
    out.truncate(to - out.constData());
}

QString qvxSearchedText(QStringView text)
{
    QString result;
    qvxAppendSearchedText(result, text, false);
    return result;
}

TqvxCustomPreviewPages::TqvxCustomPreviewPages(TqvxReportLink *report) : m_report(report)
{
}

TqvxCustomPreviewPages::~TqvxCustomPreviewPages() = default;

void TqvxCustomPreviewPages::SetOutline(std::unique_ptr<TqvxCustomOutline> outline)
{
    m_outline = std::move(outline);
}
