#pragma once

// What a benchmark that lays out or draws text sets before its
// application starts: the project's fontconfig file (so the usual office
// names resolve as in the tests) and Qt's offscreen platform.

#include "app/AppUnits.h"
#include "toolkit/core/Units.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
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

// The resident set size of the process in bytes (0 where the kernel does
// not say).
inline qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * 4096 : 0;
}

// The main of a benchmark that needs the whole program's units: pins the
// environment, makes the application (QGuiApplication, or QApplication
// where widgets are drawn), starts the units and runs the benchmarks.
template <class Application>
int RunProgramBenchmarks(int argc, char **argv)
{
    PinBenchEnvironment();
    Application application(argc, argv);
    RegisterAppUnits();
    Units::InitializeAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Units::FinalizeAll();
    return 0;
}
