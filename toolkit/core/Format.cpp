#include "toolkit/core/Format.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/core/FloatText.h"
#include "toolkit/core/SysUtils.h"
#include "toolkit/core/TextLimits.h"

#include <algorithm>

namespace {

// Widths and precisions beyond this are taken for garbage, not padding.
const qint64 kMaxNumber = 0xFFFF;

class Formatter
{
public:
    Formatter(const QString &format, const TVarRec *args, qsizetype count, const TFormatSettings &settings)
        : m_format(format), m_args(args), m_count(count), m_settings(settings)
    {
    }

    QString Run();

private:
    [[noreturn]] void Invalid() const
    {
        throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(m_format));
    }

    const TVarRec &NextArg()
    {
        if (m_next >= m_count)
            throw EConvertError(QStringLiteral("No argument for format '%1'").arg(m_format));
        return m_args[m_next++];
    }

    bool AtDigitOrStar() const
    {
        if (m_pos >= m_format.size())
            return false;
        const QChar c = m_format[m_pos];
        return c == QLatin1Char('*') || (c.unicode() >= '0' && c.unicode() <= '9');
    }

    // Digits or "*" (the next argument); -1 when neither is there.
    int ReadNumber();
    QChar Peek() const { return m_pos < m_format.size() ? m_format[m_pos] : QChar(); }

    QString FormatArgument(QChar type, int precision);
    QString IntegerText(const TVarRec &arg, char16_t type, int precision) const;
    double FloatOf(const TVarRec &arg) const;

    const QString &m_format;
    const TVarRec *m_args;
    qsizetype m_count;
    const TFormatSettings &m_settings;
    qsizetype m_pos = 0;
    qsizetype m_next = 0;
};

int Formatter::ReadNumber()
{
    if (Peek() == QLatin1Char('*')) {
        ++m_pos;
        const TVarRec &arg = NextArg();
        if (arg.VType != TVarRec::vtInteger || arg.VInteger < 0 || arg.VInteger > kMaxNumber)
            Invalid();
        return int(arg.VInteger);
    }
    if (!AtDigitOrStar())
        return -1;
    qint64 value = 0;
    while (m_pos < m_format.size() && m_format[m_pos].unicode() >= '0' && m_format[m_pos].unicode() <= '9') {
        value = value * 10 + (m_format[m_pos++].unicode() - '0');
        if (value > kMaxNumber)
            Invalid();
    }
    return int(value);
}

QString Formatter::Run()
{
    QString out;
    while (m_pos < m_format.size()) {
        const QChar c = m_format[m_pos++];
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        if (Peek() == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++m_pos;
            continue;
        }
        int width = ReadNumber();
        if (Peek() == QLatin1Char(':')) {
            ++m_pos;
            m_next = std::max(width, 0); // "%:s" takes index 0
            width = -1;
        }
        bool left = false;
        if (width < 0 && Peek() == QLatin1Char('-')) {
            left = true;
            ++m_pos;
        }
        if (width < 0)
            width = ReadNumber();
        int precision = -1;
        if (Peek() == QLatin1Char('.')) {
            ++m_pos;
            precision = std::max(ReadNumber(), 0);
        }
        if (m_pos >= m_format.size())
            Invalid();
        const QString text = FormatArgument(m_format[m_pos++], precision);
        CheckTextLength(out.size() + std::max<qsizetype>(text.size(), width));
        if (left)
            out += text.leftJustified(width, QLatin1Char(' '));
        else
            out += text.rightJustified(width, QLatin1Char(' '));
    }
    return out;
}

QString Formatter::IntegerText(const TVarRec &arg, char16_t type, int precision) const
{
    qint64 value = arg.VInteger;
    bool wide = arg.VType == TVarRec::vtInt64;
    if (arg.VType == TVarRec::vtVariant) {
        try {
            value = arg.VVariant.AsInt64();
        } catch (const EVariantError &) {
            Invalid();
        }
        wide = arg.VVariant.Type() == varInt64;
    } else if (arg.VType != TVarRec::vtInteger && arg.VType != TVarRec::vtInt64) {
        Invalid();
    }
    QString digits;
    bool negative = false;
    switch (type) {
    case 'd':
        negative = value < 0;
        digits = QString::number(negative ? quint64(0) - quint64(value) : quint64(value));
        break;
    case 'u': digits = QString::number(wide ? quint64(value) : quint64(quint32(value))); break;
    default: digits = wide ? IntToHex(value, 1) : IntToHex(qint32(value), 1); break;
    }
    if (precision > digits.size())
        digits = digits.rightJustified(precision, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + digits : digits;
}

double Formatter::FloatOf(const TVarRec &arg) const
{
    if (arg.VType == TVarRec::vtExtended)
        return arg.VExtended;
    if (arg.VType != TVarRec::vtVariant)
        Invalid();
    try {
        return arg.VVariant.AsDouble();
    } catch (const EVariantError &) {
        Invalid();
    }
}

QString Formatter::FormatArgument(QChar type, int precision)
{
    const char16_t t = type.toLower().unicode();
    switch (t) {
    case 'd':
    case 'u':
    case 'x': return IntegerText(NextArg(), t, precision);
    case 'e': return FloatToStrF(FloatOf(NextArg()), ffExponent, precision < 0 ? 15 : precision, 3, m_settings);
    case 'f': return FloatToStrF(FloatOf(NextArg()), ffFixed, 18, precision < 0 ? 2 : precision, m_settings);
    case 'g': return FloatToStrF(FloatOf(NextArg()), ffGeneral, precision < 0 ? 15 : precision, 3, m_settings);
    case 'n': return FloatToStrF(FloatOf(NextArg()), ffNumber, 18, precision < 0 ? 2 : precision, m_settings);
    case 'm':
        return FloatToStrF(FloatOf(NextArg()), ffCurrency, 18,
                           precision < 0 ? m_settings.CurrencyDecimals : precision, m_settings);
    case 'p': {
        const TVarRec &arg = NextArg();
        if (arg.VType != TVarRec::vtObject)
            Invalid();
        return IntToHex(qint32(arg.VInteger), 8);
    }
    case 's': {
        const TVarRec &arg = NextArg();
        QString text;
        if (arg.VType == TVarRec::vtString || arg.VType == TVarRec::vtChar)
            text = arg.VString;
        else if (arg.VType == TVarRec::vtVariant && !arg.VVariant.IsArray())
            text = VarToStr(arg.VVariant);
        else
            Invalid();
        return precision >= 0 ? text.left(precision) : text;
    }
    default: Invalid();
    }
}

} // namespace

QString Format(const QString &format, const TVarRec *args, qsizetype count, const TFormatSettings &settings)
{
    return Formatter(format, args, count, settings).Run();
}

QString Format(const QString &format, std::initializer_list<TVarRec> args, const TFormatSettings &settings)
{
    return Format(format, args.begin(), qsizetype(args.size()), settings);
}

QString Format(const QString &format, const std::vector<TVarRec> &args, const TFormatSettings &settings)
{
    return Format(format, args.data(), qsizetype(args.size()), settings);
}
