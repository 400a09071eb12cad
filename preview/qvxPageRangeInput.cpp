#include "preview/qvxPageRangeInput.h"

#include "report/model/qvxResources.h"
#include "toolkit/widgets/TCustomEdit.h"

#include <QRegularExpression>

#include <limits>

bool qvxIsPageNumberKey(QChar key)
{
    return (key >= u'0' && key <= u'9') || key == u',' || key == u'-' || key == QChar(8);
}

QString qvxPageNumberText(const QString &text)
{
    QString kept;
    for (const QChar c : text)
        if (c != QChar(8) && qvxIsPageNumberKey(c))
            kept += c;
    return kept;
}

QString qvxPageRangeError(const QString &text, int pageCount)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:(\\d+(?:-\\d+)?),)*\\d+(?:-\\d*)?$"));
    if (text.isEmpty())
        return QString();
    if (!pattern.match(text).hasMatch())
        return qvxResources()->Get(QStringLiteral("dlgBadPageRange")).arg(text);
    for (const QString &item : text.split(u',')) {
        const QStringList ends = item.split(u'-');
        qlonglong previous = 0;
        for (const QString &end : ends) {
            if (end.isEmpty())
                continue; // "5-": to the last page
            bool ok = false;
            const qlonglong page = end.toLongLong(&ok);
            if (!ok || page < 1 || page > std::numeric_limits<int>::max())
                return qvxResources()->Get(QStringLiteral("dlgNoSuchPage")).arg(end);
            if (pageCount > 0 && page > pageCount)
                return qvxResources()->Get(QStringLiteral("dlgPageBeyondEnd")).arg(end).arg(pageCount);
            if (page < previous)
                return qvxResources()->Get(QStringLiteral("dlgBackwardPageRange")).arg(item);
            previous = page;
        }
    }
    return QString();
}

void qvxMakePageNumberField(TEdit *edit, std::function<void()> onChange)
{
    edit->OnKeyPress = [](TObject *, QChar &key) {
        if (!qvxIsPageNumberKey(key))
            key = QChar();
    };
    edit->OnChange = [edit, onChange = std::move(onChange)](TObject *) {
        const QString clean = qvxPageNumberText(edit->Text());
        if (clean != edit->Text())
            edit->SetText(clean);
        else if (onChange)
            onChange();
    };
}
