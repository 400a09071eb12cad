#include "toolkit/classes/SaveFileStream.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray fileBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

mode_t fileMode(const QString &fileName)
{
    struct stat info {};
    ::stat(QFile::encodeName(fileName).constData(), &info);
    return info.st_mode & 07777;
}

TEST(SaveFileStream, ReplacesTheFileOnlyOnCommit)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("report.pdf"));
    SaveFile(name, "old");
    ::chmod(QFile::encodeName(name).constData(), 0640);
    {
        TSaveFileStream stream(name);
        stream.WriteBuffer(QByteArray("new content"));
        EXPECT_EQ(fileBytes(name), QByteArray("old"));
        EXPECT_NE(stream.FileName(), name);
        EXPECT_EQ(ExtractFilePath(stream.FileName()), ExtractFilePath(name));
        stream.Commit();
        EXPECT_THROW(stream.WriteBuffer(QByteArray("more")), EWriteError);
    }
    EXPECT_EQ(fileBytes(name), QByteArray("new content"));
    EXPECT_EQ(fileMode(name), mode_t(0640));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("report.pdf")});
}

TEST(SaveFileStream, LeavesNothingWhenNotCommitted)
{
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("kept.pdf"));
    SaveFile(kept, "old");
    {
        TSaveFileStream stream(kept);
        stream.WriteBuffer(QByteArray("half"));
    }
    const QString fresh = dir.filePath(QStringLiteral("fresh.pdf"));
    {
        TSaveFileStream stream(fresh);
        stream.WriteBuffer(QByteArray("half"));
    }
    EXPECT_EQ(fileBytes(kept), QByteArray("old"));
    EXPECT_FALSE(FileExists(fresh));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("kept.pdf")});
}

TEST(SaveFileStream, GivesANewFileTheUsualPermissions)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("new.pdf"));
    const mode_t mask = ::umask(022);
    {
        TSaveFileStream stream(name);
        stream.Commit();
    }
    ::umask(mask);
    EXPECT_EQ(fileMode(name), mode_t(0644));
    EXPECT_THROW(TSaveFileStream(dir.filePath(QStringLiteral("missing/x.pdf"))), EFCreateError);
    EXPECT_THROW(TSaveFileStream{QString()}, EFCreateError);
}

TEST(SaveFileStream, ReplacesTheFileALinkPointsTo)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.pdf"));
    const QString link = dir.filePath(QStringLiteral("link.pdf"));
    SaveFile(target, "old");
    ASSERT_TRUE(QFile::link(target, link));
    {
        TSaveFileStream stream(link);
        stream.WriteBuffer(QByteArray("new"));
        stream.Commit();
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fileBytes(target), QByteArray("new"));
}

} // namespace
