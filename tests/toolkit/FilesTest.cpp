#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"

#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Files, NameParts)
{
    const QString name = QStringLiteral("/srv/v1.2/report.tar.gz");
    EXPECT_EQ(ExtractFilePath(name), QStringLiteral("/srv/v1.2/"));
    EXPECT_EQ(ExtractFileName(name), QStringLiteral("report.tar.gz"));
    EXPECT_EQ(ExtractFileExt(name), QStringLiteral(".gz"));
    EXPECT_EQ(ChangeFileExt(name, QStringLiteral(".pdf")), QStringLiteral("/srv/v1.2/report.tar.pdf"));

    // A dot in a folder name is no extension.
    EXPECT_EQ(ExtractFileExt(QStringLiteral("/srv/v1.2/README")), QString());
    EXPECT_EQ(ChangeFileExt(QStringLiteral("/srv/v1.2/README"), QStringLiteral(".txt")),
              QStringLiteral("/srv/v1.2/README.txt"));
    EXPECT_EQ(ExtractFilePath(QStringLiteral("plain")), QString());
    EXPECT_EQ(IncludeTrailingPathDelimiter(QStringLiteral("/a")), QStringLiteral("/a/"));
    EXPECT_EQ(IncludeTrailingPathDelimiter(QStringLiteral("/a/")), QStringLiteral("/a/"));
}

TEST(Files, ExpandAndRelativePaths)
{
    EXPECT_EQ(ExpandFileName(QStringLiteral("/a/b/../c/./d.txt")), QStringLiteral("/a/c/d.txt"));
    EXPECT_EQ(ExpandFileName(QStringLiteral("x.txt")), QDir::currentPath() + QStringLiteral("/x.txt"));

    EXPECT_EQ(ExtractRelativePath(QStringLiteral("/a/b/base.txt"), QStringLiteral("/a/c/d.txt")),
              QStringLiteral("../c/d.txt"));
    EXPECT_EQ(ExtractRelativePath(QStringLiteral("/a/b/"), QStringLiteral("/a/b/sub/d.txt")),
              QStringLiteral("sub/d.txt"));
    EXPECT_EQ(ExtractRelativePath(QStringLiteral("/a/b/"), QStringLiteral("/x/y.txt")),
              QStringLiteral("../../x/y.txt"));
    // Folder names compare with letter case.
    EXPECT_EQ(ExtractRelativePath(QStringLiteral("/A/base"), QStringLiteral("/a/f")), QStringLiteral("../a/f"));
}

TEST(Files, TempFilesAndListing)
{
    QTemporaryDir dir;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", dir.path().toUtf8());
    EXPECT_EQ(TempFolder(), dir.path() + u'/');
    const QString first = CreateTempFile(QStringLiteral("qvPic"));
    const QString second = CreateTempFile(QStringLiteral("qvPic"));
    qputenv("TMPDIR", oldTmp);

    EXPECT_NE(first, second);
    EXPECT_TRUE(ExtractFileName(first).startsWith(QStringLiteral("qvPic")));
    EXPECT_EQ(ExtractFilePath(first), dir.path() + u'/');
    EXPECT_TRUE(FileExists(first));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_TRUE(DirectoryExists(dir.path()));

    QFile(dir.filePath(QStringLiteral("Report.FR3"))).open(QIODevice::WriteOnly);
    QFile(dir.filePath(QStringLiteral("other.txt"))).open(QIODevice::WriteOnly);
    QDir(dir.path()).mkdir(QStringLiteral("folder.fr3"));
    EXPECT_EQ(ListFiles(dir.path(), QStringLiteral("*.fr3")), QStringList({"Report.FR3"}));
    EXPECT_EQ(ListFiles(dir.path(), QStringLiteral("qvpic*")).size(), 2);

    EXPECT_TRUE(DeleteFile(first));
    EXPECT_FALSE(FileExists(first));
    EXPECT_FALSE(DeleteFile(first));
    EXPECT_THROW(CreateTempFile(QStringLiteral("qv"), dir.filePath(QStringLiteral("missing"))), EFCreateError);
}

TEST(Files, ProgramFile)
{
    EXPECT_TRUE(FileExists(ProgramFileName()));
    EXPECT_EQ(ProgramFolder(), ExtractFilePath(ProgramFileName()));
    EXPECT_TRUE(ProgramFolder().endsWith(u'/'));
}

TEST(Files, SaveFileReplacesTheWholeFile)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("out.txt"));
    SaveFile(name, QByteArray("a much longer first content"));
    SaveFile(name, QByteArray("short"));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("short"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"out.txt"})); // no leftovers

    EXPECT_THROW(SaveFile(dir.filePath(QStringLiteral("missing/out.txt")), QByteArray("x")), EFCreateError);
    EXPECT_THROW(SaveFile(dir.path(), QByteArray("x")), EFCreateError);
    EXPECT_TRUE(DirectoryExists(dir.path()));
}
