#pragma once

// Tests of what an ordinary user meets (a folder one may not write, a file
// of one's own in it) while the suite runs as root: the test sets the scene
// as root and runs itself again, in a process of the user nobody started
// with setpriv, where NobodyRun::Child() is true and the test does the
// user's part.  Its folder travels in QVX_TEST_FOLDER.

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

#include <unistd.h>

struct NobodyRun {
    static constexpr uid_t Uid = 65534;
    static constexpr gid_t Gid = 65534;

    // In the process of nobody.
    static bool Child() { return qEnvironmentVariableIsSet("QVX_TEST_AS_NOBODY"); }
    static QString Folder() { return qEnvironmentVariable("QVX_TEST_FOLDER"); }

    // Why the test cannot be run as nobody here, or an empty text.
    static QString Impossible()
    {
        if (::geteuid() != 0)
            return QStringLiteral("the suite does not run as root, so it cannot set the scene for another user");
        QProcess setpriv;
        setpriv.start(QStringLiteral("setpriv"), {QStringLiteral("--version")});
        if (!setpriv.waitForFinished(30000) || setpriv.exitCode() != 0)
            return QStringLiteral("setpriv is not installed");
        return QString();
    }

    // Runs the current test as nobody with folder and the variables of
    // extra; skipped is set (with output saying why) when the executable
    // could not be started as nobody (a folder on its way that nobody may
    // not enter).
    static NobodyRun Run(const QString &folder, const QProcessEnvironment &extra = QProcessEnvironment())
    {
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QVX_TEST_AS_NOBODY"), QStringLiteral("1"));
        environment.insert(QStringLiteral("QVX_TEST_FOLDER"), folder);
        // Root's run-time folder is not nobody's.
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        environment.insert(QStringLiteral("HOME"), folder);
        environment.insert(extra);
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QStringLiteral("setpriv"),
                    {QStringLiteral("--reuid=%1").arg(Uid), QStringLiteral("--regid=%1").arg(Gid),
                     QStringLiteral("--clear-groups"), QStringLiteral("--"), QCoreApplication::applicationFilePath(),
                     QStringLiteral("--gtest_filter=%1.%2").arg(QString::fromUtf8(test->test_suite_name()),
                                                                QString::fromUtf8(test->name()))});
        NobodyRun run;
        if (!child.waitForFinished(300000) || child.exitStatus() != QProcess::NormalExit)
            run.exitCode = -1;
        else
            run.exitCode = child.exitCode();
        run.output = QString::fromLocal8Bit(child.readAll());
        // A filter that matched nothing passes too.
        if (run.exitCode == 0 && !run.output.contains(QStringLiteral("[  PASSED  ] 1 test.")))
            run.exitCode = 1;
        // setpriv's own codes for a program it could not start.
        run.skipped = run.exitCode == 126 || run.exitCode == 127;
        return run;
    }

    int exitCode = -1;
    QString output;
    bool skipped = false;
};
