#include "report/model/qvxDiffText.h"

#include "report/model/qvxXMLSerializer.h"
#include "report/xml/qvxXMLEscape.h"

#include <charconv>

void TqvxDiffText::beginAttribute(QStringView name)
{
    m_text += QLatin1Char(' ');
    for (QStringView prefix : {m_prefix, m_subPrefix}) {
        if (prefix.isEmpty())
            continue;
        m_text += prefix;
        m_text += QLatin1Char('.');
    }
    m_text += name;
    m_text += QLatin1String("=\"");
}

void TqvxDiffText::Number(QStringView name, qint64 value)
{
    beginAttribute(name);
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    m_text += QLatin1StringView(digits, end);
    m_text += QLatin1Char('"');
}

void TqvxDiffText::Bool(QStringView name, bool value)
{
    beginAttribute(name);
    m_text += QLatin1Char(value ? '1' : '0');
    m_text += QLatin1Char('"');
}

void TqvxDiffText::Float(QStringView name, double value)
{
    beginAttribute(name);
    TqvxXMLSerializer::AppendFloatText(m_text, value);
    m_text += QLatin1Char('"');
}

void TqvxDiffText::Text(QStringView name, QStringView value)
{
    // Room for the value and the attribute's frame, escapes aside.
    m_text.reserve(m_text.size() + m_prefix.size() + m_subPrefix.size() + name.size() + value.size() + 8);
    beginAttribute(name);
    qvxAppendXMLEncoded(m_text, value);
    m_text += QLatin1Char('"');
}
