// Drives the questionnaire on a real X server (run under xvfb-run, with a
// window manager when one is installed), on whatever screen the server has:
// the window must lie wholly on the screen's work area; a multi-line text is
// pasted into each organisation field with Ctrl+V; the save button is
// clicked with the mouse where the screen shows it, and Qt's file dialog is
// answered by typing a name and pressing Return; the PDF's text is read
// back with pdftotext.  Then the save button is reached again with Tab and
// pressed with Space, and the dialog left with Escape.  With a folder
// argument, screenshots of the window and of the file dialog are written
// there (PPM), and the saved PDF is kept there.  Prints each failed check and exits 1 when any failed.

#include "app/AppTestSupport.h"
#include "app/AppUnits.h"
#include "app/ConstUnit.h"
#include "app/MainFrm.h"
#include "app/QtDialogs.h"
#include "controls/TCustomInspector.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Units.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/widgets/TBitBtn.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TMemo.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QDir>
#include <QFileSystemModel>
#include <QFontInfo>
#include <QRegularExpression>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace {

int failures = 0;
QString shots;

void check(bool ok, const QString &what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", qPrintable(what));
    failures += ok ? 0 : 1;
}

void settle(int rounds = 10)
{
    for (int i = 0; i < rounds; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void shoot(const QString &name)
{
    if (shots.isEmpty())
        return;
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    screen.save(shots + QLatin1Char('/') + name + QStringLiteral(".ppm"), "PPM");
}

void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString())
{
    QWidget *target = QApplication::focusWidget();
    if (!target)
        return;
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers, text);
    QApplication::sendEvent(target, &release);
}

// Runs answer on the file dialog once it is open (polled from the event
// loop the dialog runs).
void whenFileDialogOpens(std::function<void(QFileDialog *)> answer)
{
    auto *timer = new QTimer;
    timer->setInterval(50);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, waited] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || !dialog->windowHandle() || !dialog->windowHandle()->isExposed()) {
            if (++*waited < 200)
                return;
            check(false, QStringLiteral("the file dialog opens"));
            timer->deleteLater();
            return;
        }
        timer->stop();
        timer->deleteLater();
        settle(20);
        answer(dialog);
    });
    timer->start();
}

// Chooses the option with that caption in a row, as the drop-down's close
// does, or the first offered option when caption is empty.
void choose(TMainForm *form, int grid, int row, const QString &caption)
{
    TStringList items;
    TGridCell cell = GridCell(1, row);
    bool accept = true;
    if (grid == TSelectionRules::CharacteristicGrid) {
        form->InspectorGrid1GetEditList(nullptr, cell, &items);
        const int index = caption.isEmpty() ? 0 : items.IndexOf(caption);
        form->InspectorGrid1EditCloseUp(nullptr, cell, index, accept);
    } else {
        form->InspectorGrid2GetEditList(nullptr, cell, &items);
        form->InspectorGrid2EditCloseUp(nullptr, cell, 0, accept);
    }
}

QString pdfText(const QString &file)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), file, QStringLiteral("-")});
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput()).simplified();
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("FONTCONFIG_FILE", PROJECT_FONTS_CONF);
    UseRussianDates();
    QApplication app(argc, argv);
    if (argc > 1)
        shots = QString::fromLocal8Bit(argv[1]);
    RegisterAppUnits();
    Units::InitializeAll();
    Application->Initialize();
    Application->SetTitle(ProgramTitle());
    {
        TMainForm *form = nullptr;
        Application->CreateForm(form);
        form->Show();
        QElapsedTimer timer;
        timer.start();
        const auto exposed = [form] {
            return form->Widget()->windowHandle() && form->Widget()->windowHandle()->isExposed();
        };
        while (timer.elapsed() < 10000 && !exposed())
            settle(1);
        // The window manager frames the window, and the window fits itself
        // to the work area that leaves.
        timer.restart();
        while (timer.elapsed() < 5000 && form->Widget()->frameGeometry() == form->Widget()->geometry())
            settle(1);
        settle(50);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = form->Widget()->frameGeometry();
        const QString size = QStringLiteral("%1x%2").arg(area.width()).arg(area.height());
        check(area.contains(frame), QStringLiteral("the window (%1x%2 at %3,%4) lies on the %5 work area")
                                        .arg(frame.width()).arg(frame.height()).arg(frame.x()).arg(frame.y())
                                        .arg(size));
        shoot(QStringLiteral("window-") + size);

        const int options[] = {1, 1, 0, 0, 0, 0};
        for (int row = 0; row < TSelectionRules::ParamRowCount; ++row)
            if (form->Rules().Choice(TSelectionRules::CharacteristicGrid, row) < 0)
                choose(form, TSelectionRules::CharacteristicGrid, row,
                       row < 6 ? QString::fromUtf8(ParamLists[row][options[row]].Caption) : QString());
        for (int row = 0; row < TSelectionRules::AccessoryRowCount; ++row)
            if (form->Rules().Choice(TSelectionRules::AccessoryGrid, row) < 0)
                choose(form, TSelectionRules::AccessoryGrid, row, QString());
        settle();
        check(form->Button1->Enabled(), QStringLiteral("every row is chosen and the save button enabled"));

        // A line break or a tab pasted is one blank in the field; a soft
        // hyphen stays in it, unseen.
        const QStringList pasted = {QStringLiteral("ООО «Аль\u00ADфа»\nфилиал № 2"),
                                    QStringLiteral("г. Москва, ул. Лесная, д. 5\r\n+7 495 000-00-00"),
                                    QStringLiteral("Иванов\tИван 'Иванович'")};
        const QStringList held = {QStringLiteral("ООО «Аль\u00ADфа» филиал № 2"),
                                  QStringLiteral("г. Москва, ул. Лесная, д. 5 +7 495 000-00-00"),
                                  QStringLiteral("Иванов Иван 'Иванович'")};
        QList<TEdit *> fields = {form->Edit1, form->Edit2, form->Edit3};
        for (int i = 0; i < fields.size(); ++i) {
            QApplication::clipboard()->setText(pasted[i]);
            settle(2);
            fields[i]->SetFocus();
            settle(2);
            key(Qt::Key_V, Qt::ControlModifier);
            settle(2);
            check(fields[i]->Text() == held[i], QStringLiteral("Ctrl+V pastes into field %1 \"%2\"")
                                                    .arg(i + 1)
                                                    .arg(fields[i]->Text()));
        }
        shoot(QStringLiteral("filled-") + size);

        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("questionnaire.pdf"));
        int dialogs = 0;
        whenFileDialogOpens([&](QFileDialog *dialog) {
            ++dialogs;
            shoot(QStringLiteral("file-dialog-") + size);
            // The dialog speaks Russian, in an ordinary text face.
            check(QFontInfo(dialog->font()).family() == QLatin1String("DejaVu Sans")
                      || QFontInfo(dialog->font()).family() == QLatin1String("Liberation Sans"),
                  QStringLiteral("the file dialog's face is %1").arg(QFontInfo(dialog->font()).family()));
            // A folder holding one folder: its type and date as the list
            // shows them, once the dialog has read the folder.
            QDir(folder.path()).mkdir(QStringLiteral("sub"));
            QFile earlier(folder.filePath(QStringLiteral("earlier.pdf")));
            if (earlier.open(QIODevice::WriteOnly))
                earlier.write("%PDF-1.4\n");
            earlier.close();
            dialog->setDirectory(folder.path());
            QFileSystemModel *model = dialog->findChild<QFileSystemModel *>();
            const QModelIndex root = model->index(folder.path());
            QElapsedTimer reading;
            reading.start();
            while (reading.elapsed() < 10000 && model->data(model->index(0, 3, root)).toString().isEmpty())
                settle(1);
            const QString type = model->data(model->index(0, 2, root)).toString();
            check(type == QStringLiteral("Папка"), QStringLiteral("folders are of the type \"%1\"").arg(type));
            const QModelIndex pdf = model->index(folder.filePath(QStringLiteral("earlier.pdf")), 2);
            reading.restart();
            while (reading.elapsed() < 10000 && model->data(pdf).toString().isEmpty())
                settle(1);
            const QString pdfType = model->data(pdf).toString();
            check(!pdfType.isEmpty() && !pdfType.contains(QStringLiteral("document")),
                  QStringLiteral("PDF files are of the type \"%1\"").arg(pdfType));
            const QString date = model->data(model->index(0, 3, root)).toString();
            check(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}")).match(date).hasMatch(),
                  QStringLiteral("dates read \"%1\"").arg(date));
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            check(name != nullptr, QStringLiteral("the file dialog has a name field"));
            if (!name)
                return dialog->reject();
            name->setFocus();
            name->setText(file);
            key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        });
        check(ClickOnScreen(form->Button1), QStringLiteral("the save button is on screen, under the mouse"));
        settle();
        check(dialogs == 1, QStringLiteral("the click opens the file dialog"));
        const QString text = pdfText(file);
        if (!shots.isEmpty())
            QFile::copy(file, shots + QStringLiteral("/questionnaire-") + size + QStringLiteral(".pdf"));
        check(!text.isEmpty(), QStringLiteral("the PDF is written and has text"));
        for (const QString &expected : {QStringLiteral("ООО «Альфа» филиал № 2"),
                                        QStringLiteral("г. Москва, ул. Лесная, д. 5 +7 495 000-00-00"),
                                        QStringLiteral("Иванов Иван 'Иванович'")})
            check(text.contains(expected), QStringLiteral("the PDF shows \"%1\"").arg(expected));

        // The keyboard way: from the composition box Tab reaches the save
        // button, and Space presses it.
        QApplication::setActiveWindow(form->Widget());
        form->Memo3->SetFocus();
        settle(2);
        key(Qt::Key_Tab);
        settle(2);
        check(QApplication::focusWidget() == form->Button1->Widget(), QStringLiteral("Tab reaches the save button"));
        whenFileDialogOpens([&](QFileDialog *dialog) {
            ++dialogs;
            dialog->setFocus();
            key(Qt::Key_Escape);
        });
        key(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        settle();
        check(dialogs == 2, QStringLiteral("Space on the save button opens the file dialog"));
        form->Close();
        settle();
    }
    Application->DestroyComponents();
    Units::FinalizeAll();
    std::printf("%s\n", failures ? "FAILED" : "PASSED");
    return failures ? 1 : 0;
}
