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

bool qvxIsPageRange(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:(\\d+(?:-\\d+)?),)*\\d+(?:-\\d*)?$"));
    if (text.isEmpty())
        return true;
    if (!pattern.match(text).hasMatch())
        return false;
    static const QRegularExpression numbers(QStringLiteral("\\d+"));
    for (auto it = numbers.globalMatch(text); it.hasNext();) {
        bool ok = false;
        const qlonglong n = it.next().captured().toLongLong(&ok);
        if (!ok || n > std::numeric_limits<int>::max())
            return false;
    }
    return true;
}

QString qvxPageRangeError(const QString &text)
{
    return qvxResources()->Get(QStringLiteral("dlgBadPageRange")).arg(text);
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
