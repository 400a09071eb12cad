#include "app/QtDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The place and content of Qt's user settings file.
struct SettingsFile {
    SettingsFile() : name(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName())
    {
        QFile file(name);
        exists = file.exists();
        if (file.open(QIODevice::ReadOnly))
            content = file.readAll();
    }
    bool operator==(const SettingsFile &other) const = default;

    QString name;
    bool exists = false;
    QByteArray content;
};

} // namespace

TEST(QtDialogs, SpeakRussian)
{
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Сохранить как"));
    const QString question = QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?");
    EXPECT_TRUE(question.contains(QStringLiteral("%1")));
    EXPECT_TRUE(question.contains(QStringLiteral("Заменить"))) << question.toStdString();
}

TEST(QtDialogs, TheFileDialogWritesNoSettings)
{
    // Where the user's configuration would be, had nothing looked it up yet.
    QTemporaryDir home;
    const bool configHomeSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    const SettingsFile before;
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setHistory({QDir::tempPath()});
    }
    EXPECT_EQ(SettingsFile(), before);
    EXPECT_TRUE(QDir(home.path()).isEmpty());
    if (configHomeSet)
        qputenv("XDG_CONFIG_HOME", configHome);
    else
        qunsetenv("XDG_CONFIG_HOME");
}
