#include "RuntimeTestSupport.h"
#include "common/AsNobody.h"
#include "common/SmallFileSystem.h"
#include "toolkit/classes/SaveFileStream.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <iterator>
#include <latch>
#include <string_view>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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

// Runs the current test as nobody (NobodyRun::Run) and expects it to pass
// there; where it cannot start as nobody the test is skipped, saying why,
// and IsSkipped() tells its caller.
void PassAsNobody(const QString &folder, const QProcessEnvironment &extra = QProcessEnvironment())
{
    const NobodyRun run = NobodyRun::Run(folder, extra);
    if (run.skipped)
        GTEST_SKIP() << "the test cannot start as nobody: " << run.output.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
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

TEST(SaveFileStream, FollowsOnlyLinksTheKernelWouldFollow)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user needs root";
    QTemporaryDir dir;
    const QString shared = dir.filePath(QStringLiteral("shared"));
    const QString privateFolder = dir.filePath(QStringLiteral("private"));
    ASSERT_TRUE(QDir().mkdir(shared) && QDir().mkdir(privateFolder));
    ::chmod(QFile::encodeName(shared).constData(), 01777);
    const QString victim = privateFolder + QStringLiteral("/victim");
    SaveFile(victim, "precious");

    // Another user's link in a sticky world-writable folder is refused.
    const uid_t other = 65534;
    const QString planted = shared + QStringLiteral("/report.pdf");
    ASSERT_TRUE(QFile::link(victim, planted));
    ASSERT_EQ(::lchown(QFile::encodeName(planted).constData(), other, gid_t(-1)), 0);
    const QString message = MessageOf<EFCreateError>([&] { TSaveFileStream stream(planted); });
    EXPECT_TRUE(message.contains(planted)) << qPrintable(message);
    EXPECT_EQ(fileBytes(victim), QByteArray("precious"));
    EXPECT_EQ(QDir(shared).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"report.pdf"});

    // The user's own link there, and another user's link in a folder that
    // is not shared, are followed.
    ASSERT_EQ(::lchown(QFile::encodeName(planted).constData(), ::geteuid(), gid_t(-1)), 0);
    {
        TSaveFileStream stream(planted);
        stream.WriteBuffer(QByteArray("mine"));
        stream.Commit();
    }
    EXPECT_EQ(fileBytes(victim), QByteArray("mine"));
    ::chmod(QFile::encodeName(shared).constData(), 0755);
    ASSERT_EQ(::lchown(QFile::encodeName(planted).constData(), other, gid_t(-1)), 0);
    {
        TSaveFileStream stream(planted);
        stream.WriteBuffer(QByteArray("again"));
        stream.Commit();
    }
    EXPECT_EQ(fileBytes(victim), QByteArray("again"));
    EXPECT_TRUE(QFileInfo(planted).isSymLink());
}

TEST(SaveFileStream, ErrorsNameTheFileAndTheReason)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing/x.pdf"));
    const QString message = MessageOf<EFCreateError>([&] { TSaveFileStream stream(missing); });
    EXPECT_EQ(message, QStringLiteral("Cannot create file \"%1\". The folder \"%2/\" does not exist.")
                           .arg(missing, dir.filePath(QStringLiteral("missing"))));

    const QString loop = dir.filePath(QStringLiteral("loop.pdf"));
    ASSERT_TRUE(QFile::link(loop, loop));
    EXPECT_TRUE(MessageOf<EFCreateError>([&] { TSaveFileStream stream(loop); }).contains(QStringLiteral("links")));
}

// The folder of the file is renamed while the file is written: the file
// that was there keeps its content in the renamed folder, and nothing else
// is left there, whether the write is committed or thrown away.  With
// nothing at the folder's name the folder is said not to exist; with
// another folder put there, the file is not saved in it.
TEST(SaveFileStream, AFolderRenamedMeanwhileKeepsOnlyItsFile)
{
    const QString moved = QStringLiteral("The folder \"%1/\" was moved or replaced while the file was being saved.");
    const struct {
        bool committed;
        bool replaced;
        QString reason;
    } cases[] = {
        {true, false, QStringLiteral("The folder \"%1/\" does not exist.")},
        {true, true, moved},
        {false, false, QString()},
        {false, true, QString()},
    };
    for (const auto &saved : cases) {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("folder"));
        const QString renamed = dir.filePath(QStringLiteral("renamed"));
        ASSERT_TRUE(QDir().mkdir(folder));
        const QString name = folder + QStringLiteral("/q.pdf");
        SaveFile(name, "old");
        const QString message = MessageOf<EFCreateError>([&] {
            TSaveFileStream stream(name);
            stream.WriteBuffer(QByteArray("new"));
            ASSERT_TRUE(QDir().rename(folder, renamed));
            if (saved.replaced) {
                ASSERT_TRUE(QDir().mkdir(folder));
            }
            if (saved.committed)
                stream.Commit();
        });
        if (saved.committed) {
            EXPECT_EQ(message, QStringLiteral("Cannot create file \"%1\". %2").arg(name, saved.reason.arg(folder)));
        }
        EXPECT_EQ(QDir(renamed).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("q.pdf")});
        EXPECT_EQ(fileBytes(renamed + QStringLiteral("/q.pdf")), QByteArray("old"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  saved.replaced ? QStringList({QStringLiteral("folder"), QStringLiteral("renamed")})
                                 : QStringList{QStringLiteral("renamed")});
        if (saved.replaced) {
            EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        }
    }
}

TEST(SaveFileStream, AWritePastTheFileSizeLimitFailsWithItsReason)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("big.pdf"));
    SaveFile(name, "old");
    struct rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    struct rlimit lowered = limit;
    lowered.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
    const QString message = MessageOf<EWriteError>([&] {
        TSaveFileStream stream(name);
        stream.WriteBuffer(QByteArray(10000, 'x'));
    });
    ::setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(message, QStringLiteral("Cannot write file \"%1\". The file is too large.").arg(name));
    EXPECT_EQ(fileBytes(name), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("big.pdf")});
}

} // namespace

// A file without write permission is never replaced, whoever saves.
TEST(SaveFileStream, RefusesAReadOnlyFileAndKeepsIt)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("q.pdf"));
    SaveFile(name, "old");
    ::chmod(QFile::encodeName(name).constData(), 0444);
    const QString message = MessageOf<EFCreateError>([&] { TSaveFileStream stream(name); });
    EXPECT_EQ(message, QStringLiteral("The file \"%1\" is read-only and cannot be replaced.").arg(name));
    EXPECT_EQ(fileBytes(name), QByteArray("old"));
    EXPECT_EQ(fileMode(name), mode_t(0444));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("q.pdf")});
}

namespace {

// A folder of root's that nobody may enter but not write, holding
// nobody's own q.pdf with content in it.
QString ClosedFolderWithNobodysFile(const QTemporaryDir &dir, const QByteArray &content = "old")
{
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    const QString name = dir.filePath(QStringLiteral("q.pdf"));
    SaveFile(name, content);
    ::chmod(QFile::encodeName(name).constData(), 0644);
    EXPECT_EQ(::chown(QFile::encodeName(name).constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
    return name;
}

ino_t inode(const QString &fileName)
{
    struct stat info {};
    ::stat(QFile::encodeName(fileName).constData(), &info);
    return info.st_ino;
}

} // namespace

// Where no file can be made beside it, the user's own writable file is
// written in place; a write thrown away before Commit keeps it as it was.
TEST(SaveFileStream, WritesInPlaceWhereNothingCanBeMadeBeside)
{
    if (NobodyRun::Child()) {
        const QString name = NobodyRun::Folder() + QStringLiteral("/q.pdf");
        {
            TSaveFileStream stream(name);
            EXPECT_TRUE(stream.InPlace());
            stream.WriteBuffer(QByteArray("thrown away"));
        }
        EXPECT_EQ(fileBytes(name), QByteArray("old"));
        TSaveFileStream stream(name);
        stream.WriteBuffer(QByteArray("new content"));
        EXPECT_EQ(fileBytes(name), QByteArray("old"));
        const QString temporary = stream.FileName();
        stream.Commit();
        EXPECT_FALSE(FileExists(temporary));
        EXPECT_EQ(fileBytes(name), QByteArray("new content"));
        // Nothing else can be made there.
        const QString fresh = NobodyRun::Folder() + QStringLiteral("/fresh.pdf");
        EXPECT_TRUE(MessageOf<EFCreateError>([&] { TSaveFileStream other(fresh); }).contains(fresh));
        return;
    }
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir dir;
    const QString name = ClosedFolderWithNobodysFile(dir);
    const ino_t before = inode(name);
    PassAsNobody(dir.path());
    if (IsSkipped())
        return;
    EXPECT_EQ(fileBytes(name), QByteArray("new content"));
    EXPECT_EQ(inode(name), before);
    EXPECT_EQ(fileMode(name), mode_t(0644));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("q.pdf")});
}

namespace {

// A folder of nobody's own for nobody's temporary files.
QString NobodysTemporaryFolder(const QTemporaryDir &dir)
{
    EXPECT_EQ(::chown(QFile::encodeName(dir.path()).constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
    return dir.path();
}

QProcessEnvironment TemporaryFolderVariable(const QString &folder)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("TMPDIR"), folder);
    return environment;
}

// The variables that make the positioned writes to the file fileName fail
// (variable QVX_FAILING_FILE) or slow (QVX_SLOW_FILE) in the process they
// are given to.
QProcessEnvironment WritesTo(const QString &variable, const QString &fileName)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(SLOW_OR_FAILING_WRITES_LIBRARY));
    environment.insert(variable, fileName);
    // A sanitizer's run-time library need not come first.
    const QString sanitizerOptions = qEnvironmentVariable("ASAN_OPTIONS");
    environment.insert(QStringLiteral("ASAN_OPTIONS"), sanitizerOptions
                                                           + (sanitizerOptions.isEmpty() ? "" : ":")
                                                           + QStringLiteral("verify_asan_link_order=0"));
    return environment;
}

} // namespace

namespace {

// In nobody's process: commits written over nobody's q.pdf, in place under
// a file-size limit of 12,288 bytes, which fails with the limit's reason
// and leaves the former content.  The file is named as the one that
// failed, or with failedAside its copy into the temporary folder.
void CommitUnderTheFileSizeLimit(const QByteArray &former, const QByteArray &written, bool failedAside = false)
{
    const QString name = NobodyRun::Folder() + QStringLiteral("/q.pdf");
    TSaveFileStream stream(name);
    ASSERT_TRUE(stream.InPlace());
    stream.WriteBuffer(written);
    const QString temporary = stream.FileName();
    struct rlimit lowered {12288, RLIM_INFINITY};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
    const QString message = MessageOf<EWriteError>([&] { stream.Commit(); });
    if (failedAside)
        EXPECT_EQ(message, QStringLiteral("Cannot write file \"%1\": its former content cannot be copied into the "
                                          "temporary folder \"%2\". The file is too large.")
                               .arg(name, ExtractFilePath(temporary)));
    else
        EXPECT_EQ(message, QStringLiteral("Cannot write file \"%1\". The file is too large.").arg(name));
    EXPECT_EQ(fileBytes(name), former);
    EXPECT_FALSE(FileExists(temporary));
}

// Runs the current test as nobody over nobody's q.pdf holding former, in a
// folder nobody may not write; afterwards the file holds former, and
// nobody's temporary folder nothing.
void RunOverNobodysFile(const QByteArray &former)
{
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir dir;
    const QString name = ClosedFolderWithNobodysFile(dir, former);
    QTemporaryDir temporary;
    PassAsNobody(dir.path(), TemporaryFolderVariable(NobodysTemporaryFolder(temporary)));
    if (::testing::Test::IsSkipped())
        return;
    EXPECT_EQ(fileBytes(name), former);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("q.pdf")});
    EXPECT_EQ(QDir(temporary.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

} // namespace

// A copy in place that fails part way (here at the file-size limit, as a
// full disk or quota would stop it) puts the former content back.
TEST(SaveFileStream, AnInPlaceCopyThatFailsPartWayPutsTheFormerContentBack)
{
    const QByteArray former(10000, 'o');
    if (NobodyRun::Child())
        return CommitUnderTheFileSizeLimit(former, QByteArray(20000, 'n'));
    RunOverNobodysFile(former);
}

// Content that cannot even be copied aside is not cut.
TEST(SaveFileStream, AnInPlaceTargetThatCannotBeCopiedAsideIsLeftAsItWas)
{
    const QByteArray former(20000, 'o');
    if (NobodyRun::Child())
        return CommitUnderTheFileSizeLimit(former, QByteArray(100, 'n'), true);
    RunOverNobodysFile(former);
}

// Where the former content cannot be put back either (the disk fails every
// write to the file), the target stays cut, and both versions are kept
// whole in the temporary folder, named by the error.
TEST(SaveFileStream, AnInPlaceCopyThatCannotBePutBackKeepsBothVersions)
{
    const QByteArray former(10000, 'o');
    const QByteArray written(20000, 'n');
    if (NobodyRun::Child()) {
        const QString name = NobodyRun::Folder() + QStringLiteral("/q.pdf");
        TSaveFileStream stream(name);
        ASSERT_TRUE(stream.InPlace());
        stream.WriteBuffer(written);
        const QString temporary = stream.FileName();
        const QString message = MessageOf<EWriteError>([&] { stream.Commit(); });
        const QRegularExpression expected(
            QStringLiteral("Cannot write file \"%1\"\\. Input/output error\\. Its former content is kept in \"(.+)\" "
                           "and the new content in \"%2\"\\.")
                .arg(QRegularExpression::escape(name), QRegularExpression::escape(temporary)));
        const QRegularExpressionMatch match = expected.match(message);
        ASSERT_TRUE(match.hasMatch()) << message.toStdString();
        EXPECT_EQ(fileBytes(match.captured(1)), former);
        EXPECT_EQ(fileBytes(temporary), written);
        return;
    }
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir dir;
    const QString name = ClosedFolderWithNobodysFile(dir, former);
    QTemporaryDir temporary;
    QProcessEnvironment environment = TemporaryFolderVariable(NobodysTemporaryFolder(temporary));
    environment.insert(WritesTo(QStringLiteral("QVX_FAILING_FILE"), name));
    PassAsNobody(dir.path(), environment);
    if (IsSkipped())
        return;
    EXPECT_EQ(fileBytes(name), QByteArray());
    QStringList kept;
    for (const QString &file : QDir(temporary.path()).entryList(QDir::Files | QDir::Hidden))
        kept.append(QString::fromLatin1(fileBytes(temporary.filePath(file)).left(1)));
    kept.sort();
    EXPECT_EQ(kept, (QStringList{QStringLiteral("n"), QStringLiteral("o")}));
}

namespace {

// In nobody's process: saves 20,000 bytes over nobody's q.pdf, which must
// go in place, and expects the save to fail with the message the test
// gave in QVX_EXPECTED.  With QVX_REPLACE_TARGET set the target is taken
// away before the commit: removed, or put back as that (a pipe), as the
// owner of its closed folder can; or as a link to a file of nobody's,
// which keeps its content.
void SaveInPlaceExpectingTheFailure()
{
    const QString folder = NobodyRun::Folder();
    const QByteArray name = QFile::encodeName(folder + QStringLiteral("/q.pdf"));
    const QString message = MessageOf<Exception>([&] {
        TSaveFileStream stream(QFile::decodeName(name));
        ASSERT_TRUE(stream.InPlace());
        stream.WriteBuffer(QByteArray(20000, 'n'));
        if (qEnvironmentVariableIsSet("QVX_REPLACE_TARGET")) {
            ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
            ASSERT_EQ(::unlink(name.constData()), 0);
            if (qEnvironmentVariable("QVX_REPLACE_TARGET") == QStringLiteral("pipe")) {
                ASSERT_EQ(::mkfifo(name.constData(), 0644), 0);
            }
            if (qEnvironmentVariable("QVX_REPLACE_TARGET") == QStringLiteral("link")) {
                SaveFile(folder + QStringLiteral("/other.pdf"), "other");
                ASSERT_EQ(::symlink("other.pdf", name.constData()), 0);
            }
            ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
        }
        stream.Commit();
    });
    EXPECT_EQ(message, qEnvironmentVariable("QVX_EXPECTED"));
    if (qEnvironmentVariable("QVX_REPLACE_TARGET") == QStringLiteral("link")) {
        EXPECT_EQ(fileBytes(folder + QStringLiteral("/other.pdf")), QByteArray("other"));
    }
}

QProcessEnvironment Expecting(const QString &temporaryFolder, const QString &message)
{
    QProcessEnvironment environment = TemporaryFolderVariable(temporaryFolder);
    environment.insert(QStringLiteral("QVX_EXPECTED"), message);
    return environment;
}

// Runs the current test as nobody over nobody's q.pdf holding former, in a
// folder nobody may not write, with temporaryFolder as TMPDIR, expecting
// message (%1 the file's name, %2 the temporary folder); afterwards q.pdf
// still holds former and nothing else is left beside it.
void RunFailingInPlace(const QByteArray &former, const QString &temporaryFolder, const QString &message)
{
    QTemporaryDir dir;
    const QString name = ClosedFolderWithNobodysFile(dir, former);
    PassAsNobody(dir.path(), Expecting(temporaryFolder, message.arg(name, temporaryFolder)));
    if (::testing::Test::IsSkipped())
        return;
    EXPECT_EQ(fileBytes(name), former);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("q.pdf")});
}

} // namespace

// Where the temporary folder cannot hold the new content or the copy of
// the old, or cannot be written at all, the error names that folder and
// its own reason, and the file keeps its content.
TEST(SaveFileStream, AnInPlaceSaveNamesTheTemporaryFolderThatFails)
{
    if (NobodyRun::Child())
        return SaveInPlaceExpectingTheFailure();
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const QString newContent =
        QStringLiteral("Cannot write file \"%1\": its new content cannot be kept in the temporary folder \"%2/\". ");
    const QString formerContent = QStringLiteral(
        "Cannot write file \"%1\": its former content cannot be copied into the temporary folder \"%2/\". ");
    // The file's own folder has room; the temporary folder's file system
    // is full, or has room for the new content but not the old.
    for (const qint64 free : {qint64(0), qint64(64 * 1024)}) {
        SmallFileSystem small(free);
        if (!small.Failure().isEmpty())
            GTEST_SKIP() << small.Failure().toStdString();
        const QString temporary = small.TemporaryFolder();
        RunFailingInPlace(QByteArray(200000, 'o'), temporary,
                          (free ? formerContent : newContent) + QStringLiteral("No space left on the device."));
        EXPECT_EQ(QDir(temporary).entryList(QDir::Files | QDir::Hidden), QStringList()) << free;
    }
    // A temporary folder nobody may not write, one that is missing, and a
    // file in its place.
    QTemporaryDir roots;
    ::chmod(QFile::encodeName(roots.path()).constData(), 0755);
    SaveFile(roots.filePath(QStringLiteral("file")), "root's");
    const struct {
        QString folder;
        const char *reason;
    } unusable[] = {
        {roots.path(), "Permission denied."},
        {roots.filePath(QStringLiteral("missing")), "No such file or folder."},
        {roots.filePath(QStringLiteral("file")), "A part of the path is not a folder."},
    };
    for (const auto &temporary : unusable)
        RunFailingInPlace("old", temporary.folder, newContent + QLatin1String(temporary.reason));
}

// A target removed, or replaced by a pipe or a link, between the export
// and the copy is named with what happened to it; the pipe holds up
// nothing, and the link is not followed.
TEST(SaveFileStream, AnInPlaceTargetTakenAwayMeanwhileIsNamedForWhatHappened)
{
    if (NobodyRun::Child())
        return SaveInPlaceExpectingTheFailure();
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const struct {
        const char *replacement;
        const char *reason;
    } cases[] = {
        {"nothing", "The file was removed while it was being saved."},
        {"pipe", "It is not a regular file."},
        {"link", "It is not a regular file."},
    };
    for (const auto &replaced : cases) {
        // nobody's own folder, closed by its owner.
        QTemporaryDir dir;
        const QString name = ClosedFolderWithNobodysFile(dir);
        const QByteArray folder = QFile::encodeName(dir.path());
        ASSERT_EQ(::chown(folder.constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
        ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
        QTemporaryDir temporary;
        QProcessEnvironment environment =
            Expecting(NobodysTemporaryFolder(temporary),
                      QStringLiteral("Cannot write file \"%1\". %2").arg(name, QLatin1String(replaced.reason)));
        environment.insert(QStringLiteral("QVX_REPLACE_TARGET"), QLatin1String(replaced.replacement));
        const NobodyRun run = NobodyRun::Run(dir.path(), environment);
        ::chmod(folder.constData(), 0755);
        if (run.skipped)
            GTEST_SKIP() << "the test cannot start as nobody: " << run.output.toStdString();
        EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
        EXPECT_EQ(QDir(temporary.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList())
            << replaced.replacement;
    }
}

// For an ordinary user a file is read-only when the user may not write it;
// the user's own writable file in a folder the user may not write is not.
TEST(SaveFileStream, ReadOnlyFilesAreThoseTheUserMayNotWrite)
{
    if (NobodyRun::Child()) {
        const QString folder = NobodyRun::Folder();
        EXPECT_FALSE(IsReadOnlyFile(folder + QStringLiteral("/q.pdf")));
        EXPECT_TRUE(IsReadOnlyFile(folder + QStringLiteral("/own-444.pdf")));
        EXPECT_TRUE(IsReadOnlyFile(folder + QStringLiteral("/roots.pdf")));
        EXPECT_FALSE(IsReadOnlyFile(folder + QStringLiteral("/missing.pdf")));
        EXPECT_TRUE(MessageOf<EFCreateError>([&] { TSaveFileStream stream(folder + QStringLiteral("/roots.pdf")); })
                        .contains(QStringLiteral("is read-only")));
        return;
    }
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir dir;
    ClosedFolderWithNobodysFile(dir);
    const QString own = dir.filePath(QStringLiteral("own-444.pdf"));
    SaveFile(own, "old");
    ::chmod(QFile::encodeName(own).constData(), 0444);
    EXPECT_EQ(::chown(QFile::encodeName(own).constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
    const QString roots = dir.filePath(QStringLiteral("roots.pdf"));
    SaveFile(roots, "old");
    ::chmod(QFile::encodeName(roots).constData(), 0644);
    PassAsNobody(dir.path());
}

// A folder or a pipe at the name is named alike whether the file would be
// written beside it (nobody's own folder) or in place (a folder nobody may
// not write); the pipe holds up nothing.
TEST(SaveFileStream, AFolderOrAPipeAtTheNameIsNamedAlikeOnBothRoads)
{
    const QStringList folders = qEnvironmentVariable("QVX_FOLDERS").split(QLatin1Char(':'));
    if (NobodyRun::Child()) {
        for (const QString &folder : folders) {
            const auto failure = [&](const QString &name) {
                return MessageOf<EFCreateError>([&] {
                    TSaveFileStream stream(name);
                    stream.WriteBuffer(QByteArray("new"));
                    stream.Commit();
                });
            };
            const QString taken = folder + QStringLiteral("/taken.pdf");
            EXPECT_EQ(failure(taken), QStringLiteral("Cannot create file \"%1\". It is a folder.").arg(taken));
            if (folder == NobodyRun::Folder()) {
                const QString pipe = folder + QStringLiteral("/pipe.pdf");
                EXPECT_EQ(failure(pipe), QStringLiteral("Cannot create file \"%1\". It is not a regular file.").arg(pipe));
            }
        }
        return;
    }
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir closed;
    QTemporaryDir own;
    ::chmod(QFile::encodeName(closed.path()).constData(), 0755);
    ASSERT_EQ(::chown(QFile::encodeName(own.path()).constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
    for (const QTemporaryDir *dir : {&closed, &own})
        ASSERT_TRUE(QDir(dir->path()).mkpath(QStringLiteral("taken.pdf/inside")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(closed.filePath(QStringLiteral("pipe.pdf"))).constData(), 0666), 0);
    QTemporaryDir temporary;
    QProcessEnvironment environment = TemporaryFolderVariable(NobodysTemporaryFolder(temporary));
    environment.insert(QStringLiteral("QVX_FOLDERS"), closed.path() + QLatin1Char(':') + own.path());
    PassAsNobody(closed.path(), environment);
    if (IsSkipped())
        return;
    for (const QTemporaryDir *dir : {&closed, &own, &temporary})
        EXPECT_EQ(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  dir == &closed ? QStringList{QStringLiteral("pipe.pdf")} : QStringList())
            << dir->path().toStdString();
}

namespace {

// Writes bytes to fileName directly, whatever the length of its name.
void WriteDirectly(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << fileName.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Names as long as a folder takes them (255 bytes at most): Latin letters,
// Cyrillic ones of two bytes each, and characters of four bytes, two
// UTF-16 units each, where a cut must fall between characters.
QStringList LongestNames()
{
    const QString pdf = QStringLiteral(".pdf");
    return {QString(244, QLatin1Char('n')) + pdf, QString(251, QLatin1Char('n')) + pdf,
            QString(125, QChar(0x044F)) + pdf, QString::fromUtf8("\xF0\x9F\x98\x80").repeated(62) + pdf};
}

// Saves each of the longest names in folder over the file there, writing
// the name as its content: the temporary file is hidden, starts with the
// file's name and fits the folder, and a second one made meanwhile gets
// a name of its own.
void SaveUnderTheLongestNames(const QString &folder, bool inPlace)
{
    for (const QString &name : LongestNames()) {
        const QString file = folder + QLatin1Char('/') + name;
        TSaveFileStream stream(file);
        EXPECT_EQ(stream.InPlace(), inPlace);
        const QString temporary = ExtractFileName(stream.FileName());
        EXPECT_TRUE(temporary.startsWith(QLatin1Char('.') + name.left(60))) << temporary.toStdString();
        EXPECT_LE(QFile::encodeName(temporary).size(), 255);
        EXPECT_EQ(temporary.toUtf8(), QFile::encodeName(temporary)) << "a character was cut in two";
        EXPECT_NE(TSaveFileStream(file).FileName(), stream.FileName());
        stream.WriteBuffer(name.toUtf8());
        stream.Commit();
        EXPECT_EQ(fileBytes(file), name.toUtf8());
    }
}

QStringList AllEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The files in a temporary folder (Qt keeps a run-time folder of its own
// there).
QStringList FilesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

QStringList Sorted(QStringList names)
{
    names.sort();
    return names;
}

} // namespace

// The longest names a folder takes are saved on both roads: the hidden
// temporary names made for them are cut to fit.
TEST(SaveFileStream, SavesUnderTheLongestNamesOnBothRoads)
{
    if (NobodyRun::Child())
        return SaveUnderTheLongestNames(NobodyRun::Folder(), true);
    QTemporaryDir beside;
    for (const QString &name : LongestNames())
        WriteDirectly(beside.filePath(name), "old");
    SaveUnderTheLongestNames(beside.path(), false);
    EXPECT_EQ(AllEntries(beside.path()), Sorted(LongestNames()));

    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir closed;
    ::chmod(QFile::encodeName(closed.path()).constData(), 0755);
    for (const QString &name : LongestNames()) {
        WriteDirectly(closed.filePath(name), "old");
        ASSERT_EQ(::chown(QFile::encodeName(closed.filePath(name)).constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
    }
    QTemporaryDir temporary;
    PassAsNobody(closed.path(), TemporaryFolderVariable(NobodysTemporaryFolder(temporary)));
    if (IsSkipped())
        return;
    EXPECT_EQ(AllEntries(closed.path()), Sorted(LongestNames()));
    EXPECT_EQ(FilesIn(temporary.path()), QStringList());
}

namespace {

// In nobody's process: saves "new" over file, making the folder closed
// read-only before the commit (and writable again after), and expects the
// failure message (%1 the file, %2 the temporary file); the temporary file
// is kept with the new content, and the file keeps "old".
void SaveWhileTheFolderIsClosed(const QString &file, const QString &closed, bool inPlace, const QString &message)
{
    const QByteArray folder = QFile::encodeName(closed);
    QString temporary;
    QString failure;
    {
        TSaveFileStream stream(file);
        ASSERT_EQ(stream.InPlace(), inPlace);
        stream.WriteBuffer(QByteArray("new"));
        temporary = stream.FileName();
        ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
        failure = MessageOf<EStreamError>([&] { stream.Commit(); });
    }
    ASSERT_EQ(::chmod(folder.constData(), 0755), 0);
    EXPECT_EQ(failure, message.arg(file, temporary));
    EXPECT_EQ(fileBytes(temporary), QByteArray("new"));
    EXPECT_EQ(fileBytes(file), QByteArray("old"));
}

} // namespace

// An ordinary user's folder is made read-only while the file is saved:
// the file keeps its content, and the temporary file that holds the whole
// new content, which cannot be removed any more, is named.  Beside the
// file that folder is the file's own; in place it is the temporary folder.
TEST(SaveFileStream, ANewContentThatCannotBeRemovedIsNamed)
{
    if (NobodyRun::Child()) {
        const QString own = NobodyRun::Folder() + QStringLiteral("/own");
        SaveWhileTheFolderIsClosed(own + QStringLiteral("/q.pdf"), own, false,
                                   QStringLiteral("Cannot create file \"%1\". Permission denied. Its new content is "
                                                  "kept in \"%2\"."));
        SaveWhileTheFolderIsClosed(NobodyRun::Folder() + QStringLiteral("/q.pdf"), TempFolder(), true,
                                   QStringLiteral("Cannot write file \"%1\": its former content cannot be copied into "
                                                  "the temporary folder \"%3\". Permission denied. Its new content is "
                                                  "kept in \"%2\".")
                                       .replace(QStringLiteral("%3"), TempFolder()));
        return;
    }
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir dir;
    ClosedFolderWithNobodysFile(dir);
    const QString own = dir.filePath(QStringLiteral("own"));
    ASSERT_TRUE(QDir().mkdir(own));
    SaveFile(own + QStringLiteral("/q.pdf"), "old");
    for (const QString &name : {own, own + QStringLiteral("/q.pdf")})
        ASSERT_EQ(::chown(QFile::encodeName(name).constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
    QTemporaryDir temporary;
    PassAsNobody(dir.path(), TemporaryFolderVariable(NobodysTemporaryFolder(temporary)));
}

// In place, the file's folder is moved aside while the file is saved, and
// a link to another folder (holding a file of the same name or not),
// another folder or nothing is put at its name: the file is not written
// through that name, and the error says what became of the folder; the
// file keeps its content in the folder moved aside, and the other folder
// its own.
TEST(SaveFileStream, AnInPlaceSaveWritesNothingThroughAFolderPutInPlaceOfItsOwn)
{
    const QString moved = QStringLiteral("The folder \"%1/\" was moved or replaced while the file was being saved.");
    const struct {
        const char *replacement;
        bool otherFile;
        QString reason;
    } cases[] = {
        {"link", true, moved},
        {"link", false, moved},
        {"folder", false, moved},
        {"nothing", false, QStringLiteral("The folder \"%1/\" does not exist.")},
    };
    if (NobodyRun::Child()) {
        for (int i = 0; i < int(std::size(cases)); ++i) {
            // nobody's own folder, holding root's folder "closed".
            const QString home = NobodyRun::Folder() + QStringLiteral("/%1").arg(i);
            const QString closed = home + QStringLiteral("/closed");
            const QString file = closed + QStringLiteral("/q.pdf");
            const QString message = MessageOf<EWriteError>([&] {
                TSaveFileStream stream(file);
                ASSERT_TRUE(stream.InPlace());
                stream.WriteBuffer(QByteArray("new"));
                ASSERT_TRUE(QDir().rename(closed, home + QStringLiteral("/aside")));
                if (cases[i].replacement == std::string_view("link")) {
                    ASSERT_TRUE(QFile::link(QStringLiteral("other"), closed));
                }
                if (cases[i].replacement == std::string_view("folder")) {
                    ASSERT_TRUE(QDir().mkdir(closed));
                }
                stream.Commit();
            });
            EXPECT_EQ(message, QStringLiteral("Cannot write file \"%1\". %2").arg(file, cases[i].reason.arg(closed)));
            EXPECT_EQ(fileBytes(home + QStringLiteral("/aside/q.pdf")), QByteArray("old"));
            if (cases[i].otherFile) {
                EXPECT_EQ(fileBytes(home + QStringLiteral("/other/q.pdf")), QByteArray("other"));
            }
        }
        return;
    }
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir dir;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const QString home = dir.filePath(QString::number(i));
        ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/closed")) && QDir().mkdir(home + QStringLiteral("/other")));
        ::chmod(QFile::encodeName(home + QStringLiteral("/closed")).constData(), 0755);
        SaveFile(home + QStringLiteral("/closed/q.pdf"), "old");
        QStringList nobodys = {home, home + QStringLiteral("/other"), home + QStringLiteral("/closed/q.pdf")};
        if (cases[i].otherFile) {
            SaveFile(home + QStringLiteral("/other/q.pdf"), "other");
            nobodys.append(home + QStringLiteral("/other/q.pdf"));
        }
        for (const QString &name : nobodys)
            ASSERT_EQ(::chown(QFile::encodeName(name).constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
    }
    QTemporaryDir temporary;
    PassAsNobody(dir.path(), TemporaryFolderVariable(NobodysTemporaryFolder(temporary)));
    if (IsSkipped())
        return;
    // Whatever stands at the folder's name holds no more than it did.
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const QStringList before = cases[i].otherFile ? QStringList{QStringLiteral("q.pdf")} : QStringList();
        EXPECT_EQ(AllEntries(dir.filePath(QStringLiteral("%1/aside").arg(i))), QStringList{QStringLiteral("q.pdf")});
        EXPECT_EQ(AllEntries(dir.filePath(QStringLiteral("%1/other").arg(i))), before);
        EXPECT_EQ(AllEntries(dir.filePath(QStringLiteral("%1/closed").arg(i))), before);
    }
    EXPECT_EQ(FilesIn(temporary.path()), QStringList());
}

namespace {

constexpr const char *AnotherSaveWriting = "Cannot write file \"%1\". The file is being written by another save.";

} // namespace

// Two saves in place over one file at once, on a disk slow to write it:
// the one that comes second waits for the first to finish its copy (or
// gives up with a message), so the file ends whole, as a save that
// succeeded wrote it.
TEST(SaveFileStream, TwoSavesInPlaceAtOnceLeaveTheFileWhole)
{
    if (NobodyRun::Child()) {
        const QString file = NobodyRun::Folder() + QStringLiteral("/q.pdf");
        const QByteArray contents[] = {QByteArray(1 << 20, 'a'), QByteArray(1 << 19, 'b')};
        const QString succeeded = QStringLiteral("(nothing raised)");
        for (int round = 0; round < 3; ++round) {
            TSaveFileStream first(file);
            TSaveFileStream second(file);
            TSaveFileStream *streams[] = {&first, &second};
            QString outcomes[2];
            std::latch ready(2);
            std::thread saves[2];
            for (int i = 0; i < 2; ++i) {
                ASSERT_TRUE(streams[i]->InPlace());
                streams[i]->WriteBuffer(contents[i]);
            }
            for (int i = 0; i < 2; ++i)
                saves[i] = std::thread([&, i] {
                    ready.arrive_and_wait();
                    outcomes[i] = MessageOf<EStreamError>([&] { streams[i]->Commit(); });
                });
            for (std::thread &save : saves)
                save.join();
            const QByteArray left = fileBytes(file);
            EXPECT_TRUE((left == contents[0] && outcomes[0] == succeeded)
                        || (left == contents[1] && outcomes[1] == succeeded))
                << "round " << round << ": " << left.count('a') << " a and " << left.count('b') << " b, "
                << outcomes[0].toStdString() << " / " << outcomes[1].toStdString();
            for (const QString &outcome : outcomes) {
                if (outcome != succeeded) {
                    EXPECT_EQ(outcome, QString::fromLatin1(AnotherSaveWriting).arg(file));
                }
            }
        }
        return;
    }
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir dir;
    const QString name = ClosedFolderWithNobodysFile(dir);
    QTemporaryDir temporary;
    QProcessEnvironment environment = TemporaryFolderVariable(NobodysTemporaryFolder(temporary));
    environment.insert(WritesTo(QStringLiteral("QVX_SLOW_FILE"), name));
    PassAsNobody(dir.path(), environment);
    if (IsSkipped())
        return;
    EXPECT_EQ(AllEntries(dir.path()), QStringList{QStringLiteral("q.pdf")});
    EXPECT_EQ(FilesIn(temporary.path()), QStringList());
}

// A save in place over a file that another save keeps locked waits a
// while, then gives up: the file keeps its content, and the error says
// why.
TEST(SaveFileStream, AnInPlaceSaveGivesUpOnAFileAnotherSaveKeepsLocked)
{
    if (NobodyRun::Child()) {
        const QString file = NobodyRun::Folder() + QStringLiteral("/q.pdf");
        const int held = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(held, 0);
        ASSERT_EQ(::flock(held, LOCK_EX), 0);
        const QString message = MessageOf<EWriteError>([&] {
            TSaveFileStream stream(file);
            ASSERT_TRUE(stream.InPlace());
            stream.WriteBuffer(QByteArray("new"));
            stream.Commit();
        });
        ::close(held);
        EXPECT_EQ(message, QString::fromLatin1(AnotherSaveWriting).arg(file));
        return;
    }
    RunOverNobodysFile("old");
}
