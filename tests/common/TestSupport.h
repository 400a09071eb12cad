#pragma once

// Helpers shared by every test executable.

#include <QString>
#include <string>

// Folder of the project's own test data (tests/data).
inline QString testDataPath(const QString &relative)
{
    return QStringLiteral(TEST_DATA_DIR "/") + relative;
}

// gtest prints QStrings readably.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE
