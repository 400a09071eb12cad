// Starts the built questionnaire program as a user would, on a real X
// server with a window manager (scripts/xvfb-session), and reads its window
// from the screen.
//
//   program_start_drive QUESTIONNAIRE
//
// First without FONTCONFIG_FILE, from another folder: the program must find
// its own font configuration, so the labels of the organisation fields are
// drawn in the face it gives their font (Liberation Sans), which the
// program then has open.  Then with the system's configuration alone, which
// gives the labels a wider face.  Either way no edit may cover its label:
// on the screen, the ink of each label ends clear of its edit's left edge.
// Prints each check and exits 1 when any failed.

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>

#include <cstdio>
#include <optional>

namespace {

int failures = 0;

void check(bool ok, const QString &what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", qPrintable(what));
    failures += ok ? 0 : 1;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

// The visible top-level window of a process, 0 until it is mapped.
WId windowOf(qint64 pid)
{
    const QStringList ids = run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                            QStringLiteral("--pid"), QString::number(pid)})
                                .split(u'\n', Qt::SkipEmptyParts);
    return ids.isEmpty() ? 0 : WId(ids.last().toULongLong());
}

bool dark(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 110;
}

bool white(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) > 245;
}

struct Row {
    int editLeft = -1; // where the edit's white field begins
    int inkRight = -1; // the rightmost ink of the label left of it
};

// The organisation rows as the screen shows them: the panel lies below the
// 8-pixel border and the 24-pixel section header; its rows are 28 pixels
// apart, each edit 21 high.
std::optional<Row> rowOnScreen(const QImage &window, int row)
{
    const int top = 8 + 24 + 6 + 28 * row;
    const int middle = top + 10;
    Row found;
    for (int x = 0; x + 200 < window.width() && found.editLeft < 0; ++x) {
        bool field = true;
        for (int k = 0; k < 200 && field; k += 4)
            field = white(window, x + k, middle);
        if (field)
            found.editLeft = x;
    }
    if (found.editLeft < 0)
        return std::nullopt;
    // The edit's frame lies just left of its field.
    const int frame = found.editLeft - 3;
    for (int y = top; y < top + 21; ++y)
        for (int x = 0; x < frame; ++x)
            if (dark(window, x, y))
                found.inkRight = std::max(found.inkRight, x);
    return found;
}

// Starts the program with the environment given, waits for its window to
// show the organisation rows, and checks them; the program is closed
// after.  fontOpen is a font file the program must have open, or empty.
void startAndCheck(const QString &program, const QProcessEnvironment &environment, const QString &how,
                   const QString &fontOpen)
{
    QProcess questionnaire;
    questionnaire.setProcessEnvironment(environment);
    questionnaire.setWorkingDirectory(QStringLiteral("/"));
    questionnaire.start(program, {});
    if (!questionnaire.waitForStarted(30000)) {
        check(false, how + QStringLiteral(": the program starts"));
        return;
    }
    QElapsedTimer timer;
    timer.start();
    WId window = 0;
    while (timer.elapsed() < 60000 && !(window = windowOf(questionnaire.processId())))
        QThread::msleep(100);
    check(window != 0, how + QStringLiteral(": the window shows"));

    // The rows are read once two grabs in a row agree and every label has
    // ink (the window has painted).
    QImage shown;
    std::optional<Row> rows[3];
    bool painted = false;
    while (window && timer.elapsed() < 60000 && !painted) {
        const QImage grab = QGuiApplication::primaryScreen()->grabWindow(window).toImage();
        painted = !grab.isNull() && grab == shown;
        for (int i = 0; i < 3; ++i) {
            rows[i] = grab.isNull() ? std::nullopt : rowOnScreen(grab, i);
            painted = painted && rows[i] && rows[i]->inkRight > 8;
        }
        shown = grab;
        QThread::msleep(200);
    }
    check(painted, how + QStringLiteral(": the organisation rows are painted"));
    for (int i = 0; painted && i < 3; ++i)
        check(rows[i]->editLeft - rows[i]->inkRight >= 6,
              how + QStringLiteral(": label %1 ends at %2, clear of its edit at %3")
                        .arg(i + 1)
                        .arg(rows[i]->inkRight)
                        .arg(rows[i]->editLeft));

    if (!fontOpen.isEmpty()) {
        QFile maps(QStringLiteral("/proc/%1/maps").arg(questionnaire.processId()));
        const bool read = maps.open(QIODevice::ReadOnly);
        check(read && maps.readAll().contains(fontOpen.toUtf8()),
              how + QStringLiteral(": the labels are drawn in %1").arg(fontOpen));
    }
    questionnaire.terminate();
    if (!questionnaire.waitForFinished(30000))
        questionnaire.kill();
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::printf("usage: %s QUESTIONNAIRE\n", argv[0]);
        return 2;
    }
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("FONTCONFIG_FILE"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    startAndCheck(program, environment, QStringLiteral("without FONTCONFIG_FILE"),
                  QStringLiteral("LiberationSans-Regular.ttf"));

    if (QFile::exists(QStringLiteral("/etc/fonts/fonts.conf"))) {
        environment.insert(QStringLiteral("FONTCONFIG_FILE"), QStringLiteral("/etc/fonts/fonts.conf"));
        startAndCheck(program, environment, QStringLiteral("with the system's fonts"), QString());
    }
    std::printf("%s\n", failures ? "FAILED" : "PASSED");
    return failures ? 1 : 0;
}
