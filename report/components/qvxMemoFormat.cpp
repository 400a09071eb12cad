#include "report/components/qvxMemoFormat.h"

#include "toolkit/core/Currency.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Format.h"
#include "toolkit/core/FormatDateTime.h"
#include "toolkit/core/FormatFloat.h"
#include "toolkit/core/FormatSettings.h"

namespace {

bool isNumber(const Variant &value)
{
    const VarKind kind = VarKindOf(VarType(value));
    return kind == VarKind::Integer || kind == VarKind::Float || kind == VarKind::Currency;
}

// Doubles and currency count to four decimals, as currency does.
Variant roundedToFourDecimals(const Variant &value)
{
    const TVarType type = VarType(value);
    if (type != varDouble && type != varSingle && type != varCurrency)
        return value;
    Currency rounded;
    if (!Currency::TryFromDouble(value.AsDouble(), rounded))
        return value;
    return rounded.ToDouble();
}

QString formatNumber(const Variant &value, const TqvxFormat &format)
{
    const Variant number = roundedToFourDecimals(value);
    const QString picture = format.FormatStr();
    QString text;
    if (picture.contains(QLatin1Char('#')) || picture.startsWith(QLatin1Char('0')))
        text = FormatFloat(picture, number.AsDouble());
    else if (picture.contains(QLatin1Char('d')) || picture.contains(QLatin1Char('u')))
        text = Format(picture, {TVarRec(number.AsInt64())});
    else
        text = Format(picture, {TVarRec(number.AsDouble())});

    const QString decimal = format.DecimalSeparator();
    if (decimal.size() == 1 && decimal.at(0) != FormatSettings.DecimalSeparator) {
        const qsizetype last = text.lastIndexOf(FormatSettings.DecimalSeparator);
        if (last >= 0)
            text[last] = decimal.at(0);
    }
    const QString thousand = format.ThousandSeparator();
    if (thousand.size() == 1 && thousand.at(0) != FormatSettings.ThousandSeparator)
        text.replace(FormatSettings.ThousandSeparator, thousand.at(0));
    return text;
}

QString formatBoolean(const Variant &value, const TqvxFormat &format)
{
    const QString texts = format.FormatStr();
    const qsizetype comma = texts.indexOf(QLatin1Char(','));
    const QString falseText = comma < 0 ? texts : texts.left(comma);
    const QString trueText = comma < 0 ? QString() : texts.mid(comma + 1);
    return value.AsBoolean() ? trueText : falseText;
}

} // namespace

QString qvxFormatValue(const Variant &value, const TqvxFormat &format)
{
    if (VarIsNull(value) || VarIsEmpty(value))
        return QString();
    try {
        switch (format.Kind()) {
        case fkNumeric:
            return formatNumber(value, format);
        case fkDateTime:
            return FormatDateTime(format.FormatStr(), value.AsDate());
        case fkBoolean:
            return formatBoolean(value, format);
        case fkText:
            break;
        }
    } catch (const Exception &) {
    }
    return VarToStr(value);
}

std::unique_ptr<TqvxFormat> qvxInlineFormat(const QString &text)
{
    auto format = std::make_unique<TqvxFormat>();
    const QChar letter = text.isEmpty() ? QChar() : text.at(0).toUpper();
    if (letter == QLatin1Char('N'))
        format->SetKind(fkNumeric);
    else if (letter == QLatin1Char('D'))
        format->SetKind(fkDateTime);
    else if (letter == QLatin1Char('B'))
        format->SetKind(fkBoolean);
    QString formatStr = text.mid(1);
    if (format->Kind() == fkNumeric) {
        for (QChar &c : formatStr) {
            if (c == QLatin1Char(',') || c == QLatin1Char('-') || c == QLatin1Char('.')) {
                format->SetDecimalSeparator(QString(c));
                c = QLatin1Char('.');
            }
        }
    }
    format->SetFormatStr(formatStr);
    return format;
}

bool qvxIsNumericZero(const Variant &value)
{
    return isNumber(value) && value.AsDouble() == 0;
}
