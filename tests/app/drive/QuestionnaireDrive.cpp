// Drives the questionnaire on a real X server with a window manager (run
// under scripts/xvfb-session), on whatever screen the server has, with real
// mouse and key input: the window must lie wholly on the screen's work
// area; a multi-line text is pasted into each organisation field with
// Ctrl+V; the save button is clicked with the mouse where the screen shows
// it, and Qt's file dialog is answered with a name and Return; the PDF's
// text is read back with pdftotext.  Then the save button is reached again
// with Tab and pressed with Space, and the dialog left with Escape.  With a
// folder argument, screenshots of the window and of the file dialog are
// written there (PPM), and the saved PDF is kept there.  Prints each failed
// check and exits 1 when any failed.

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

#include "common/XvfbDrive.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QDir>
#include <QFileSystemModel>
#include <QFontInfo>
#include <QRegularExpression>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>

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

void shoot(const QString &name)
{
    if (shots.isEmpty())
        return;
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    screen.save(shots + QLatin1Char('/') + name + QStringLiteral(".ppm"), "PPM");
}

// Runs answer on the file dialog once it is open and active, from the
// event loop the dialog runs.
void whenFileDialogOpens(const std::function<void(QFileDialog *)> &answer)
{
    const auto dialog = [] { return qobject_cast<QFileDialog *>(QApplication::activeModalWidget()); };
    XvfbDrive::WhenReady([dialog] { return dialog() && dialog()->isVisible(); }, [dialog, answer] {
        check(XvfbDrive::WaitForExposed(dialog()) && XvfbDrive::WaitForActive(dialog()),
              QStringLiteral("the file dialog is shown and active"));
        answer(dialog());
    });
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
        QWidget *window = form->Widget()->window();
        check(XvfbDrive::WaitForExposed(window) && XvfbDrive::Activate(window),
              QStringLiteral("the window is shown and active"));
        // The window manager frames the window, and the window fits itself
        // to the work area that leaves.
        const auto area = [] { return QGuiApplication::primaryScreen()->availableGeometry(); };
        XvfbDrive::WaitUntil([&] {
            return window->frameGeometry() != window->geometry() && area().contains(window->frameGeometry());
        });
        const QRect frame = window->frameGeometry();
        const QString size = QStringLiteral("%1x%2").arg(area().width()).arg(area().height());
        check(area().contains(frame), QStringLiteral("the window (%1x%2 at %3,%4) lies on the %5 work area")
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
        check(XvfbDrive::WaitUntil([form] { return form->Button1->Enabled(); }),
              QStringLiteral("every row is chosen and the save button enabled"));

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
            QWidget *field = fields[i]->Widget();
            XvfbDrive::Click(field);
            check(XvfbDrive::WaitUntil([field] { return QApplication::focusWidget() == field; }),
                  QStringLiteral("a click focuses field %1").arg(i + 1));
            XvfbDrive::Key(QStringLiteral("ctrl+v"));
            check(XvfbDrive::WaitUntil([&] { return fields[i]->Text() == held[i]; }),
                  QStringLiteral("Ctrl+V pastes into field %1 \"%2\"").arg(i + 1).arg(fields[i]->Text()));
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
            XvfbDrive::WaitUntil([&] { return !model->data(model->index(0, 3, root)).toString().isEmpty(); });
            const QString type = model->data(model->index(0, 2, root)).toString();
            check(type == QStringLiteral("Папка"), QStringLiteral("folders are of the type \"%1\"").arg(type));
            const QModelIndex pdf = model->index(folder.filePath(QStringLiteral("earlier.pdf")), 2);
            XvfbDrive::WaitUntil([&] { return !model->data(pdf).toString().isEmpty(); });
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
            XvfbDrive::WaitUntil([name] { return name->hasFocus(); });
            XvfbDrive::Key(QStringLiteral("Return"));
        });
        check(OnScreen(form->Button1), QStringLiteral("the save button is on screen, under the mouse"));
        XvfbDrive::Click(form->Button1->Widget());
        check(XvfbDrive::WaitUntil([&] { return dialogs == 1 && QFile::exists(file); }),
              QStringLiteral("the click opens the file dialog"));
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
        XvfbDrive::Activate(window);
        form->Memo3->SetFocus();
        XvfbDrive::Key(QStringLiteral("Tab"));
        check(XvfbDrive::WaitUntil([form] { return QApplication::focusWidget() == form->Button1->Widget(); }),
              QStringLiteral("Tab reaches the save button"));
        bool dialogLeft = false;
        whenFileDialogOpens([&](QFileDialog *dialog) {
            ++dialogs;
            XvfbDrive::Key(QStringLiteral("Escape"));
            dialogLeft = XvfbDrive::WaitUntil([dialog] { return !dialog->isVisible(); });
        });
        XvfbDrive::Key(QStringLiteral("space"));
        check(XvfbDrive::WaitUntil([&] { return dialogs == 2 && dialogLeft && !QApplication::activeModalWidget(); }),
              QStringLiteral("Space on the save button opens the file dialog, and Escape leaves it"));
        form->Close();
    }
    Application->DestroyComponents();
    Units::FinalizeAll();
    std::printf("%s\n", failures ? "FAILED" : "PASSED");
    return failures ? 1 : 0;
}
