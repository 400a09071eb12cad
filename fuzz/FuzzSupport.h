#pragma once

// Shared by the fuzz targets.

#include "toolkit/classes/Streams.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Units.h"
#include "toolkit/widgets/ModalRunner.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>

// Runs an action on fuzzed input; the runtime's exceptions are the expected
// answer to bad input, anything else (a crash, a sanitizer report) is not.
template <class Action>
void Guarded(Action action)
{
    try {
        action();
    } catch (const Exception &) {
    }
}

// Makes the core application the object model needs, once for the process;
// name (a literal) is the target's program name.
inline void StartCoreApplication(const char *name)
{
    static int argc = 1;
    static char *argv[] = {const_cast<char *>(name), nullptr};
    static QCoreApplication application(argc, argv);
}

// Makes the GUI application that fonts and pictures need, on Qt's offscreen
// platform, and starts the units registerUnits lists, once for the process;
// name (a literal) is the target's program name.
inline void StartGuiApplication(const char *name, void (*registerUnits)())
{
    static int argc = 1;
    static char *argv[] = {const_cast<char *>(name), nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    registerUnits();
    Units::InitializeAll();
}

// Runs action (flag, bytes) on fuzzed input, guarded: the flag is the low
// bit of the first byte and the bytes are the rest.  Empty input is skipped.
template <class Action>
void GuardedWithFlag(const std::uint8_t *data, std::size_t size, Action action)
{
    if (size == 0)
        return;
    const bool flag = data[0] & 1;
    Guarded([&] { action(flag, QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1))); });
}

// A memory stream holding bytes, read from the start.
class TInputStream : public TMemoryStream
{
public:
    explicit TInputStream(const QByteArray &bytes)
    {
        WriteBuffer(bytes);
        SetPosition(0);
    }
};

// Modal forms, message boxes, input boxes and common dialogs that fuzzed
// input brings up are all cancelled at once.
class TCancellingRunner : public ModalRunner
{
public:
    int RunForm(TCustomForm &) override { return mrCancel; }
    int MessageBox(const TMessageBoxRequest &) override { return mrCancel; }
    bool InputQuery(TInputRequest &) override { return false; }
    bool FileDialog(TFileDialogRequest &) override { return false; }
    bool ColorDialog(TColor &) override { return false; }
    bool FontDialog(TFontData &) override { return false; }
    bool PrintDialog(TPrintRequest &) override { return false; }
};

inline void InstallCancellingRunner()
{
    static TCancellingRunner runner;
    ModalRunner::Install(&runner);
}
