#include "engine/qvxAggregateScanner.h"

#include "engine/qvxAggregate.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxMemoView.h"
#include "report/pages/qvxPage.h"
#include "report/base/qvxTextUtils.h"
#include "report/model/qvxVariables.h"
#include "toolkit/core/SysUtils.h"

namespace {

// Characters between words: blanks and control codes, digits, operators.
bool isSeparator(QChar c)
{
    const char16_t code = c.unicode();
    return (code >= 1 && code <= 32) || (code < 128 && QLatin1String("!#$%&*+,-./0123456789=[]^|").contains(c));
}

bool endsWord(QChar c)
{
    const char16_t code = c.unicode();
    return (code >= 1 && code <= 32) || (code < 128 && QLatin1String("!#$%&(*+,-./=[]^|").contains(c));
}

bool isAggregateName(const QString &word)
{
    static const QStringList names{QStringLiteral("SUM"), QStringLiteral("MIN"), QStringLiteral("MAX"),
                                   QStringLiteral("AVG"), QStringLiteral("COUNT")};
    return names.contains(word.toUpper());
}

// Walks from the opening bracket at pos to the one that closes it, outside
// quoted text, telling onComma of every comma at the first depth.  Answers
// the index of the closing bracket, or the text's size when none closes.
template <class CommaAction>
int closingBracket(const QString &text, int pos, QChar open, QChar close, CommaAction onComma)
{
    int depth = 1;
    bool inSingle = false;
    bool inDouble = false;
    for (int i = pos + 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\'' && !inDouble)
            inSingle = !inSingle;
        else if (c == u'"' && !inSingle)
            inDouble = !inDouble;
        else if (inSingle || inDouble)
            continue;
        else if (c == open)
            ++depth;
        else if (c == close && --depth == 0)
            return i;
        else if (c == u',' && depth == 1)
            onComma(i);
    }
    return int(text.size());
}

bool isTotalBand(const TqvxComponent *band)
{
    return qobject_cast<const TqvxReportSummary *>(band) || qobject_cast<const TqvxPageFooter *>(band) ||
           qobject_cast<const TqvxFooter *>(band) || qobject_cast<const TqvxGroupFooter *>(band);
}

} // namespace

QStringList qvxAggregateArguments(const QString &text, int &pos)
{
    int first = -1;
    int last = -1;
    const int close = closingBracket(text, pos, u'(', u')', [&](int comma) {
        if (first < 0)
            first = comma;
        else
            last = comma;
    });
    const int start = pos + 1;
    pos = close < text.size() ? close + 1 : close;
    if (first < 0)
        return {text.mid(start, close - start)};
    if (last < 0)
        return {text.mid(start, first - start), text.mid(first + 1, close - first - 1)};
    return {text.mid(start, first - start), text.mid(first + 1, last - first - 1),
            text.mid(last + 1, close - last - 1)};
}

TqvxAggregateScanner::TqvxAggregateScanner(TqvxAggregateList *list)
    : m_list(list)
{
}

void TqvxAggregateScanner::ScanPage(TqvxReportPage *page)
{
    scanDataBands(page->HDataBands());
    scanDataBands(page->VDataBands());
    if (page->HDataBands().isEmpty())
        return;
    TqvxBand *first = page->HDataBands().first();
    scanBand(page->FindBand<TqvxPageFooter>(), first);
    scanBand(page->FindBand<TqvxColumnFooter>(), first);
    scanBand(page->FindBand<TqvxReportSummary>(), first);
}

void TqvxAggregateScanner::scanDataBands(const QList<TqvxBand *> &bands)
{
    for (TqvxBand *band : bands) {
        scanBand(band->Footer(), band);
        if (TqvxBand *group = band->Group())
            for (TqvxBand *header : group->Groups())
                scanBand(header->Footer(), band);
        scanDataBands(band->Details());
        if (band->Vertical())
            scanBand(band, band);
    }
}

void TqvxAggregateScanner::scanBand(TqvxBand *band, TqvxBand *defaultBand)
{
    for (; band; band = band->Child())
        for (TqvxComponent *object : band->Objects())
            if (auto *memo = qobject_cast<TqvxCustomMemoView *>(object))
                ScanMemo(memo, defaultBand);
}

void TqvxAggregateScanner::ScanMemo(TqvxCustomMemoView *memo, TqvxBand *defaultBand)
{
    if (!memo->AllowExpressions())
        return;
    QString open;
    QString close;
    memo->ExpressionBrackets(open, close);
    if (open.isEmpty() || close.isEmpty())
        return;
    m_memo = memo;
    m_defaultBand = defaultBand;
    const QString text = memo->Text();
    for (int start = 0;;) {
        QString expression;
        int end = start;
        qvxFindBracketExpression(text, open, close, expression, end, start);
        if (end == start)
            break;
        scanExpression(expression);
        start = end + 1;
    }
}

void TqvxAggregateScanner::scanExpression(const QString &text)
{
    if (checkName(text))
        return;
    const int size = int(text.size());
    int i = 0;
    while (i < size) {
        const QChar c = text.at(i);
        if (isSeparator(c)) {
            ++i;
        } else if (c == u'"' || c == u'\'') {
            const int quote = int(text.indexOf(c, i + 1));
            i = quote < 0 ? size : quote + 1;
        } else if (c == u'(' || c == u'<') {
            const int close = closingBracket(text, i, c, c == u'(' ? u')' : u'>', [](int) {});
            scanExpression(text.mid(i + 1, close - i - 1));
            i = close + 1;
        } else {
            int end = i;
            while (end < size && !endsWord(text.at(end)))
                ++end;
            const QString word = text.mid(i, end - i);
            if (!isAggregateName(word)) {
                checkName(word);
                i = end;
            } else if (end < size && text.at(end) == u'(') {
                int pos = end;
                qvxAggregateArguments(text, pos);
                addItem(text.mid(i, pos - i));
                i = pos;
            } else {
                i = end;
            }
        }
    }
}

bool TqvxAggregateScanner::checkName(const QString &name)
{
    const TqvxAggregateReport *report = m_list->Report();
    const TqvxVariables *variables = report->Variables();
    const int index = variables ? variables->IndexOf(name) : -1;
    if (index < 0)
        return report->IsDataField(name);
    const Variant value = variables->Items(index)->Value();
    if (!value.IsNull() && !m_expanding.contains(index)) {
        m_expanding.append(index);
        scanExpression(VarToStr(value));
        m_expanding.removeLast();
    }
    return true;
}

void TqvxAggregateScanner::addItem(const QString &call)
{
    const qsizetype paren = call.indexOf(u'(');
    const TqvxAggregateFunction kind = qvxAggregateFunctionOf(call.left(paren).trimmed().toUpper());
    int pos = int(paren);
    QStringList arguments = qvxAggregateArguments(call, pos);
    for (QString &argument : arguments)
        argument = argument.trimmed();
    while (arguments.size() < 3)
        arguments.append(QString());
    const int shift = kind == agCount ? 1 : 0;
    const QString flagsText = arguments.at(2 - shift);
    const int flags = flagsText.isEmpty() ? 0 : StrToInt(flagsText);

    TqvxAggregateItem *item = m_list->Add();
    item->Kind = kind;
    item->Expression = kind == agCount ? QString() : arguments.at(0);
    TqvxBand *dataBand = findBand(arguments.at(1 - shift));
    item->DataBand = dataBand ? dataBand : m_defaultBand;
    item->CountInvisibleBands = flags & 1;
    item->RunningTotal = flags & 2;
    item->ParentBand = ownerBand();
    item->IsPageFooter = qobject_cast<TqvxPageFooter *>(item->ParentBand.data()) != nullptr;
    item->FuncText = call.trimmed();
    item->MemoName = m_memo->Name();
    item->Reset();
}

TqvxBand *TqvxAggregateScanner::findBand(const QString &name) const
{
    return name.isEmpty() ? nullptr : qobject_cast<TqvxBand *>(m_list->Report()->FindObject(name));
}

// The band that prints the memo: its parent, or, for a memo the layout
// check moved into a vertical band, the total band it came from.
TqvxBand *TqvxAggregateScanner::ownerBand() const
{
    auto *band = qobject_cast<TqvxBand *>(m_memo->Parent());
    if (band && band->Vertical() && isTotalBand(m_memo->HomeBand()))
        return qobject_cast<TqvxBand *>(m_memo->HomeBand());
    return band;
}
