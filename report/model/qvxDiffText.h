#pragma once

// Pieces of the object difference texts of prepared pages: each attribute
// as a blank, its name, "=" and its value in double quotes.  Floats differ
// when they differ by more than 0.0001 and are written as the report files
// write them; Booleans as 1 or 0.

#include <QString>

#include <cmath>

inline bool qvxDiffers(double a, double b)
{
    return std::abs(a - b) > 1e-4;
}

inline QString qvxDiffAttribute(const QString &name, const QString &value)
{
    return QLatin1Char(' ') + name + QStringLiteral("=\"") + value + QLatin1Char('"');
}

inline QString qvxDiffNumber(const QString &name, qint64 value)
{
    return qvxDiffAttribute(name, QString::number(value));
}

inline QString qvxDiffBool(const QString &name, bool value)
{
    return qvxDiffAttribute(name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString qvxDiffFloat(const QString &name, double value);
