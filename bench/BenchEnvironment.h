#pragma once

// What a benchmark that lays out or draws text sets before its
// application starts: the project's fontconfig file (so the usual office
// names resolve as in the tests) and Qt's offscreen platform.

#include <QByteArray>
#include <QFileInfo>
#include <QString>

#include <cstdlib>

inline void PinBenchEnvironment()
{
    const QByteArray config = QFileInfo(QStringLiteral(__FILE__)).absolutePath().toUtf8()
        + "/../data/fontconfig/fonts.conf";
    setenv("FONTCONFIG_FILE", config.constData(), 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
}
