#include "report/model/qvxOptions.h"

#include "common/TestSupport.h"
#include "report/RecordingRunner.h"
#include "report/StubReport.h"
#include "report/model/qvxErrors.h"
#include "report/base/qvxNumbers.h"
#include "report/report/qvxReportOptions.h"
#include "report/xml/qvxXMLItem.h"
#include "report/model/qvxXMLSerializer.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/DateUtils.h"
#include "toolkit/core/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Expected {
    const char *property;
    Variant value;
};

// Every published value of a fresh object of T, compared with the table,
// and the declared default of each ordinal property with its value.
template <class T>
void expectDefaults(const T &options, std::initializer_list<Expected> table)
{
    const QList<const TPropInfo *> properties = GetPropList(ClassOf<T>());
    for (const Expected &expected : table) {
        const TPropInfo *property = GetPropInfo(&options, QString::fromLatin1(expected.property));
        ASSERT_NE(property, nullptr) << expected.property;
        EXPECT_EQ(VarToStr(property->GetValue(&options)), VarToStr(expected.value)) << expected.property;
    }
    for (const TPropInfo *property : properties) {
        if (property->HasDefault()) {
            EXPECT_EQ(property->GetOrd(&options), property->Default()) << property->Name().toStdString();
        }
    }
}

} // namespace

TEST(Options, DefaultsOfEveryField)
{
    const TqvxEngineOptions engine;
    expectDefaults(engine, {{"ConvertNulls", true},
                            {"DoublePass", false},
                            {"MaxMemSize", qint32(10)},
                            {"PrintIfEmpty", true},
                            {"SilentMode", false},
                            {"NewSilentMode", qint32(simMessageBoxes)},
                            {"TempDir", QString()},
                            {"UseFileCache", false},
                            {"IgnoreDevByZero", false}});
    EXPECT_TRUE(engine.DestroyForms());
    EXPECT_FALSE(engine.ThreadSafeMode());
    EXPECT_TRUE(engine.UseGlobalDataSetList());

    const TqvxPreviewOptions preview;
    expectDefaults(preview, {{"AllowEdit", true},
                             {"Buttons", qint32(0x0FFF)},
                             {"DoubleBuffered", true},
                             {"Maximized", true},
                             {"MDIChild", false},
                             {"Modal", true},
                             {"OutlineExpand", true},
                             {"OutlineVisible", false},
                             {"OutlineWidth", qint32(120)},
                             {"PagesInCache", qint32(50)},
                             {"ShowCaptions", false},
                             {"ThumbnailVisible", false},
                             {"Zoom", 1.0},
                             {"ZoomMode", qint32(zmDefault)},
                             {"PictureCacheInFile", false}});
    EXPECT_TRUE(preview.Buttons().testFlag(pbExportQuick));
    EXPECT_FALSE(preview.Buttons().testFlag(pbNoClose));
    EXPECT_FALSE(preview.RightToLeft());

    const TqvxPrintOptions print;
    expectDefaults(print, {{"Copies", qint32(1)},
                           {"Collate", true},
                           {"PageNumbers", QString()},
                           {"Printer", QString::fromUtf16(u"По умолчанию")},
                           {"PrintMode", qint32(pmDefault)},
                           {"PrintOnSheet", qint32(0)},
                           {"PrintPages", qint32(ppAll)},
                           {"Reverse", false},
                           {"ShowDialog", true},
                           {"SwapPageSize", false}});
    EXPECT_EQ(print.PrintFileName(), QString());
    EXPECT_EQ(print.DuplexOverride(), 0);
    EXPECT_EQ(print.SplitGap(), 3);

    const TDateTime before = Now();
    const TqvxReportOptions report;
    expectDefaults(report, {{"Author", QString()},
                            {"Compressed", false},
                            {"ConnectionName", QString()},
                            {"InitString", QString()},
                            {"Name", QString()},
                            {"Password", QString()},
                            {"VersionBuild", QString()},
                            {"VersionMajor", QString()},
                            {"VersionMinor", QString()},
                            {"VersionRelease", QString()}});
    EXPECT_GE(report.CreateDate(), before - 1e-6);
    EXPECT_EQ(report.LastChange(), report.CreateDate());
    EXPECT_EQ(report.Description()->Count(), 0);
    EXPECT_EQ(report.Picture()->Graphic(), nullptr);
    EXPECT_FALSE(report.InfoOnly());
}

TEST(Options, SilentModeIsAViewOfNewSilentMode)
{
    TqvxEngineOptions options;
    options.SetNewSilentMode(simReThrow);
    EXPECT_FALSE(options.SilentMode());
    options.SetSilentMode(false);
    EXPECT_EQ(options.NewSilentMode(), simMessageBoxes);
    options.SetSilentMode(true);
    EXPECT_EQ(options.NewSilentMode(), simSilent);
    EXPECT_TRUE(options.SilentMode());
}

TEST(Options, EngineOptionsCopyAndResetOnlyTheirShare)
{
    TqvxEngineOptions source;
    source.SetConvertNulls(false);
    source.SetDestroyForms(false);
    source.SetThreadSafeMode(true);
    source.SetMaxMemSize(64);
    source.SetNewSilentMode(simReThrow);
    source.SetTempDir(QStringLiteral("/tmp/reports"));
    source.SetIgnoreDevByZero(true);
    source.SetDoublePass(true);
    TqvxEngineOptions copy;
    copy.Assign(&source);
    EXPECT_FALSE(copy.ConvertNulls());
    EXPECT_TRUE(copy.DestroyForms());
    EXPECT_FALSE(copy.ThreadSafeMode());
    EXPECT_EQ(copy.MaxMemSize(), 64);
    EXPECT_EQ(copy.NewSilentMode(), simReThrow);
    EXPECT_EQ(copy.TempDir(), QStringLiteral("/tmp/reports"));

    copy.Clear();
    EXPECT_TRUE(copy.ConvertNulls());
    EXPECT_FALSE(copy.IgnoreDevByZero());
    EXPECT_FALSE(copy.DoublePass());
    EXPECT_EQ(copy.MaxMemSize(), 64);
    EXPECT_EQ(copy.NewSilentMode(), simReThrow);
}

TEST(Options, PreviewOptionsCopyAllAndResetTheOutline)
{
    TqvxPreviewOptions source;
    source.SetButtons(pbPrint | pbNoEmail);
    source.SetZoom(1.5);
    source.SetRightToLeft(true);
    source.SetOutlineVisible(true);
    source.SetOutlineWidth(200);
    source.SetModal(false);
    TqvxPreviewOptions copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Buttons(), pbPrint | pbNoEmail);
    EXPECT_EQ(copy.Zoom(), 1.5);
    EXPECT_TRUE(copy.RightToLeft());
    copy.Clear();
    EXPECT_FALSE(copy.OutlineVisible());
    EXPECT_EQ(copy.OutlineWidth(), 120);
    EXPECT_FALSE(copy.Modal());
}

TEST(Options, PrintOptionsCopyTheSplitGapButNotTheJobsChoices)
{
    TqvxPrintOptions source;
    source.SetCopies(3);
    source.SetPrintMode(pmSplit);
    source.SetSplitGap(7);
    source.SetPrintFileName(QStringLiteral("out.prn"));
    source.SetDuplexOverride(2);
    TqvxPrintOptions copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Copies(), 3);
    EXPECT_EQ(copy.PrintMode(), pmSplit);
    EXPECT_EQ(copy.SplitGap(), 7);
    EXPECT_EQ(copy.PrintFileName(), QString());
    EXPECT_EQ(copy.DuplexOverride(), 0);

    source.Clear();
    EXPECT_EQ(source.Copies(), 1);
    EXPECT_EQ(source.SplitGap(), 3);
    EXPECT_EQ(source.DuplexOverride(), 0);
    EXPECT_EQ(source.PrintFileName(), QStringLiteral("out.prn"));
}

TEST(Options, ReportOptionsKeepTheirDescriptionWhenInfoOnly)
{
    TqvxReportOptions options;
    options.SetAuthor(QStringLiteral("Quorvel"));
    options.Description()->SetText(QStringLiteral("Опросный лист\n"));
    options.SetName(QStringLiteral("Questionnaire"));
    options.SetPassword(QStringLiteral("secret"));
    options.SetVersionMajor(QStringLiteral("2"));
    options.SetCreateDate(EncodeDate(2020, 1, 2));

    TqvxReportOptions copy;
    copy.Assign(&options);
    EXPECT_EQ(copy.Author(), QStringLiteral("Quorvel"));
    EXPECT_EQ(copy.Description()->Text(), options.Description()->Text());
    EXPECT_EQ(copy.Password(), QStringLiteral("secret"));
    EXPECT_EQ(copy.CreateDate(), EncodeDate(2020, 1, 2));

    options.SetInfoOnly(true);
    options.Clear();
    EXPECT_EQ(options.Name(), QString());
    EXPECT_EQ(options.Password(), QString());
    EXPECT_EQ(options.Author(), QStringLiteral("Quorvel"));
    EXPECT_EQ(options.VersionMajor(), QStringLiteral("2"));
    EXPECT_EQ(options.CreateDate(), EncodeDate(2020, 1, 2));

    options.SetInfoOnly(false);
    options.Clear();
    EXPECT_EQ(options.Author(), QString());
    EXPECT_EQ(options.Description()->Count(), 0);
    EXPECT_GT(options.CreateDate(), EncodeDate(2020, 1, 2));
}

TEST(Password, AKnownPasswordIsNotAskedFor)
{
    RecordingRunner runner;
    TStubReport report;
    TqvxReportOptions options(&report);
    EXPECT_TRUE(options.CheckPassword());
    options.SetPassword(QStringLiteral("secret"));
    options.SetPresetPassword(QStringLiteral("secret"));
    EXPECT_TRUE(options.CheckPassword());
    options.SetPresetPassword(QString());
    options.SetAcceptedPassword(QStringLiteral("secret"));
    EXPECT_TRUE(options.CheckPassword());
    EXPECT_TRUE(runner.inputs.empty());
    EXPECT_EQ(report.reports, 0);
}

TEST(Password, TheRightEntryIsAcceptedOnce)
{
    RecordingRunner runner;
    runner.answers << QStringLiteral("secret");
    TStubReport report;
    TqvxReportOptions options(&report);
    options.SetPassword(QStringLiteral("secret"));
    EXPECT_TRUE(options.CheckPassword());
    ASSERT_EQ(runner.inputs.size(), 1u);
    EXPECT_TRUE(runner.inputs[0].Masked);
    EXPECT_EQ(options.AcceptedPassword(), QStringLiteral("secret"));
    EXPECT_TRUE(options.CheckPassword());
    EXPECT_EQ(runner.inputs.size(), 1u);
}

TEST(Password, AWrongEntryIsReportedOnce)
{
    RecordingRunner runner;
    runner.answers << QStringLiteral("guess");
    TStubReport report;
    TqvxReportOptions options(&report);
    options.SetPassword(QStringLiteral("secret"));
    EXPECT_FALSE(options.CheckPassword());
    ASSERT_EQ(report.errors->Count(), 1);
    EXPECT_EQ(report.errors->Strings(0), QStringLiteral("Invalid password"));
    EXPECT_EQ(report.reports, 1);
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_TRUE(runner.boxes[0].Text.startsWith(QString::fromUtf16(u"Были обнаружены следующие ошибки:\nInvalid password")));

    // Cancelling fails the same way.
    report.engineOptions->SetNewSilentMode(simSilent);
    EXPECT_FALSE(options.CheckPassword());
    EXPECT_EQ(report.reports, 2);
    EXPECT_EQ(runner.boxes.size(), 1u);
}

TEST(Password, TheStoredFormSurvivesAnXMLRoundTrip)
{
    const QString password = QString::fromUtf16(u"Пароль 1 с\tпробелом\u0001");
    const QString stored = qvxEncodePassword(password);
    EXPECT_EQ(qvxEncodePassword(QStringLiteral("a")), QStringLiteral("W"));
    EXPECT_EQ(qvxDecodePassword(stored), password);

    TqvxReportOptions options;
    options.SetPassword(stored);
    TqvxXMLSerializer serializer;
    const QString text = serializer.ObjToXML(&options);
    for (QChar c : text)
        EXPECT_GE(c.unicode(), 0x20) << "raw control character in " << text.toStdString();

    TqvxReportOptions read;
    serializer.XMLToObj(text, &read);
    EXPECT_EQ(qvxDecodePassword(read.Password()), password);
}

TEST(ConnectionName, TheFirstStoredConnectionIsHandedOverOnce)
{
    QTemporaryDir machine;
    QTemporaryDir user;
    auto write = [](const QTemporaryDir &dir, const QByteArray &text) {
        QDir(dir.path()).mkdir(QStringLiteral("Quorvel Labs"));
        QFile file(dir.path() + QStringLiteral("/Quorvel Labs/registry.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write(machine, "[ConnectionsFIB]\nMain=machine-fib\nOnlyFib=fib\n");
    write(user, "[Connections]\nMain=user\n[ConnectionsFIB]\nOnlyFib=user-fib\n");
    const QByteArray savedDirs = qgetenv("XDG_CONFIG_DIRS");
    const QByteArray savedHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_DIRS", machine.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", user.path().toUtf8());

    TStubReport report;
    QStringList received;
    report.onSetConnection = [&](const QString &connection) { received << connection; };
    TqvxReportOptions options(&report);
    options.SetConnectionName(QStringLiteral("Main"));
    options.SetConnectionName(QStringLiteral("OnlyFib"));
    options.SetConnectionName(QStringLiteral("Absent"));
    options.SetConnectionName(QString());

    qputenv("XDG_CONFIG_DIRS", savedDirs);
    qputenv("XDG_CONFIG_HOME", savedHome);
    EXPECT_EQ(received, QStringList({QStringLiteral("user"), QStringLiteral("fib")}));
    EXPECT_EQ(options.ConnectionName(), QString());
}

TEST(qvxReportError, FollowsTheSilentMode)
{
    RecordingRunner runner;
    TStubReport report;
    qvxReportError(&report, QStringLiteral("shown"));
    report.engineOptions->SetNewSilentMode(simSilent);
    qvxReportError(&report, QStringLiteral("silent"));
    report.engineOptions->SetNewSilentMode(simReThrow);
    try {
        qvxReportError(&report, QStringLiteral("thrown"));
        ADD_FAILURE() << "no exception";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("thrown"));
    }
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(runner.boxes[0].Text, QStringLiteral("shown"));
}

TEST(qvxRound8, CutsToEightDecimalsWithoutOverflow)
{
    EXPECT_EQ(qvxRound8(210.0000000049), 210.0);
    EXPECT_EQ(qvxRound8(-0.123456785), -0.12345678);
    EXPECT_EQ(qvxRound8(297.00000001), 297.00000001);
    EXPECT_EQ(qvxRound8(1e11), 1e11);
    EXPECT_EQ(qvxRound8(-1e300), -1e300);
    EXPECT_TRUE(std::isinf(qvxRound8(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(qvxRound8(std::nan(""))));

    EXPECT_EQ(qvxRoundToPixel(10.6), 11);
    EXPECT_EQ(qvxRoundToPixel(10.5), 10);
    EXPECT_EQ(qvxRoundToPixel(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(qvxRoundToPixel(std::nan("")), 0);
}

TEST(Options, ACopyWithEveryValueKeepsTheSilentMode)
{
    TqvxEngineOptions options;
    options.SetNewSilentMode(simReThrow);
    options.SetMaxMemSize(32);
    TqvxXMLSerializer serializer;
    serializer.SetSerializeDefaultValues(true);
    const QString text = serializer.ObjToXML(&options);
    EXPECT_LT(text.indexOf(QStringLiteral("SilentMode=")), text.indexOf(QStringLiteral("NewSilentMode=")));

    TqvxEngineOptions read;
    serializer.XMLToObj(text, &read);
    EXPECT_EQ(read.NewSilentMode(), simReThrow);
    EXPECT_EQ(read.MaxMemSize(), 32);
}
