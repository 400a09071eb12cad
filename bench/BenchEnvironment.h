#pragma once

// What a benchmark that lays out or draws text sets before its
// application starts: the project's fontconfig file (so the usual office
// names resolve as in the tests) and Qt's offscreen platform.

#include "app/AppUnits.h"
#include "toolkit/core/Units.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdlib>

inline void PinBenchEnvironment()
{
    setenv("FONTCONFIG_FILE", PROJECT_FONTS_CONF, 0);
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

// A line of /proc/self/status in bytes ("VmRSS", "VmHWM").
inline qint64 statusBytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

// Sets the kernel's peak resident size back to the current one.
inline void resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
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
