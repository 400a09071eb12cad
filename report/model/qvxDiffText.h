#pragma once

// The object difference texts of prepared pages, built in place: each
// attribute as a blank, its name, "=" and its value in double quotes.
// Floats differ when they differ by more than 0.0001 and are written as the
// report files write them; Booleans as 1 or 0; texts XML-escaped.
//
// Names may stand after one or two prefixes, each followed by '.' ("Fill."
// and "Frame.LeftLine."); nothing is built for an attribute that is not
// written, so a difference with nothing in it costs no allocation.

#include <QString>
#include <QStringView>

#include <cmath>

inline bool qvxDiffers(double a, double b)
{
    return std::abs(a - b) > 1e-4;
}

class TqvxDiffText
{
public:
    // Attributes are appended to text.
    explicit TqvxDiffText(QString text = QString(), QStringView prefix = {})
        : m_text(std::move(text)), m_prefix(prefix)
    {
    }

    // The second prefix of the names that follow; empty for none.
    void SetSubPrefix(QStringView subPrefix) { m_subPrefix = subPrefix; }

    void Number(QStringView name, qint64 value);
    void Bool(QStringView name, bool value);
    void Float(QStringView name, double value);
    // A text value, escaped.
    void Text(QStringView name, QStringView value);
    // The difference text of a part of the object, appended as it is.
    void Append(const QString &text) { m_text += text; }

    const QString &Result() const & { return m_text; }
    QString Result() && { return std::move(m_text); }

private:
    void beginAttribute(QStringView name);

    QString m_text;
    QStringView m_prefix;
    QStringView m_subPrefix;
};
