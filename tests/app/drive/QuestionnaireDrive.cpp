// Drives the questionnaire on a real X server with a window manager (run
// under scripts/xvfb-session), on whatever screen the server has, with real
// mouse and key input: the window must lie wholly on the screen's work
// area, come out at the same size as at three earlier starts of the
// program (each a process of its own), and give each grid whole rows; the
// grids are filled with the keyboard, "Сбросить" is clicked, and Tab into
// the accessory grid must land on its first row; the description and
// composition boxes, filled beyond what they show, must show whole lines
// wherever they are scrolled with the keyboard; a multi-line text is
// pasted into each organisation field with Ctrl+V; the save button is
// clicked with the mouse where the screen shows it, and Qt's file dialog is
// answered with a name and Return; the PDF's text is read back with
// pdftotext.  Then the save button is reached again with Tab and pressed
// with Space, and the dialog left with Escape.  Last, names are typed into
// the dialog: a read-only file's, whose long path is copied from the box
// that refuses it, and one with dots of its own.  With a folder argument,
// screenshots of the window, the file dialog and the boxes are written
// there (PPM), and the saved PDF is kept there.  With --measure the program
// only starts: its window must be framed and fitted on the work area with
// whole rows in the grids, and its sizes are printed; --measure
// --late-frame gives the window its frame only once it is shown.  Prints each failed
// check and exits 1 when any failed.

#include "app/AppTestSupport.h"
#include "app/AppUnits.h"
#include "app/ConstUnit.h"
#include "app/MainFrm.h"
#include "app/SelModelFrm.h"
#include "app/QtDialogs.h"
#include "controls/TCustomInspector.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Units.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/widgets/TBitBtn.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TMemo.h"

#include "common/MessageBoxText.h"
#include "common/XvfbDrive.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QDir>
#include <QFileSystemModel>
#include <QFontInfo>
#include <QRegularExpression>
#include <QFileDialog>
#include <QImage>
#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

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

// Runs answer on the modal window of class Modal (what it is for a person)
// once it is open and active, from the event loop the window runs.
template <class Modal>
void whenModalOpens(const QString &what, const std::function<void(Modal *)> &answer)
{
    const auto modal = [] { return qobject_cast<Modal *>(QApplication::activeModalWidget()); };
    XvfbDrive::WhenReady([modal] { return modal() && modal()->isVisible(); }, [modal, answer, what] {
        check(XvfbDrive::WaitForExposed(modal()) && XvfbDrive::WaitForActive(modal()),
              QStringLiteral("%1 is shown and active").arg(what));
        answer(modal());
    });
}

void whenFileDialogOpens(const std::function<void(QFileDialog *)> &answer)
{
    whenModalOpens<QFileDialog>(QStringLiteral("the file dialog"), answer);
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

// The window is framed and fitted: the window manager's frame is known,
// and the window is as tall as designed or as the work area.
bool fitted(TMainForm *form)
{
    const QWindow *window = form->Widget()->windowHandle();
    if (!window || !window->isExposed() || window->frameMargins().isNull())
        return false;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    return area.contains(frame) && window->height() == form->ClientHeight() + 2 * form->BorderWidth()
           && (frame.height() == area.height() || form->ClientHeight() == 744);
}

// What the window looks like once fitted: its size and those of its grids.
QString windowSizes(TMainForm *form)
{
    const QWindow *window = form->Widget()->windowHandle();
    return QStringLiteral("window %1x%2, grids %3 and %4 high")
        .arg(window->width())
        .arg(window->height())
        .arg(form->InspectorGrid1->Height())
        .arg(form->InspectorGrid2->Height());
}

// Each grid shows whole rows, and a scroll bar only for rows it cannot
// show.
void checkWholeRows(TMainForm *form, const QString &size)
{
    for (TInspectorGrid *grid : {form->InspectorGrid1, form->InspectorGrid2}) {
        const int row = grid->Rows()->Height();
        const int rows = grid->Rows()->Count();
        const int height = grid->ClientHeight();
        const bool whole = height % row <= 1 || height >= rows * row;
        const bool scrolls = grid->VertScrollBar()->Max() > grid->VertScrollBar()->PageStep();
        check(whole, QStringLiteral("at %1 the grid of %2 rows, %3 pixels high inside, shows whole rows")
                         .arg(size).arg(rows).arg(height));
        check(scrolls == (height < rows * row),
              QStringLiteral("at %1 the grid of %2 rows, %3 pixels high inside, %4 a scroll bar")
                  .arg(size).arg(rows).arg(height).arg(scrolls ? QStringLiteral("has") : QStringLiteral("has no")));
    }
}

// A window the user drags partly below the screen stays where it was put,
// however soon after the start; dragged back up by its title bar, it lies
// on the work area again.  A drag counts once the window stands where it
// was dragged, the button still down; one the window manager did not take
// (it was busy framing the window) is made again.  Only a window seen
// where it was dragged is judged on whether it stays there.
void checkDraggedBelow(QWidget *window, const QString &size)
{
    const QRect placed = XvfbDrive::ServerGeometry(window);
    // The title bar is right above the client area.
    const QPoint title(placed.center().x(), placed.top() - 8);
    // Drags from the title bar where the window is now.
    const auto dragUntil = [&](QPoint to, const std::function<bool()> &moved) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const QPoint at = title + XvfbDrive::ServerGeometry(window).topLeft() - placed.topLeft();
            if (XvfbDrive::Drag(at, to, moved, 10000))
                return true;
        }
        return false;
    };
    const auto where = [&] {
        const QRect now = XvfbDrive::ServerGeometry(window);
        return QStringLiteral("at %1,%2, placed at %3,%4").arg(now.x()).arg(now.y()).arg(placed.x()).arg(placed.y());
    };
    const QPoint down(0, 200);
    const QRect dragged = placed.translated(down);
    const bool taken = dragUntil(title + down, [&] { return XvfbDrive::ServerGeometry(window) == dragged; });
    check(taken, QStringLiteral("at %1 the window is dragged 200 pixels down by its title bar (%2)").arg(size, where()));
    if (taken) {
        const bool jumped = XvfbDrive::WaitUntil([&] { return XvfbDrive::ServerGeometry(window) != dragged; }, 2000);
        check(!jumped, QStringLiteral("at %1 the dragged window stays partly below the screen (%2)").arg(size, where()));
    }
    // Dragged back to where it was, it lies on the area again.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const bool back = dragUntil(title, [&] { return area.contains(window->windowHandle()->frameGeometry()); });
    const QRect frame = window->windowHandle()->frameGeometry();
    check(back, QStringLiteral("at %1 the window is dragged back onto the work area (its frame at %2,%3 %4x%5)")
                    .arg(size).arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height()));
}

// The window is dragged 500 pixels right or more, partly off the screen;
// the model selection dialog, centred on it, opens wholly on the work area
// all the same, and is left with Escape.  Then the window is dragged back.
void checkModelDialogBesideTheScreen(TMainForm *form, const QString &size)
{
    QWidget *window = form->Widget();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect placed = window->windowHandle()->frameGeometry();
    const QPoint title(placed.center().x(), placed.top() + window->windowHandle()->frameMargins().top() / 2);
    // 500 pixels, or as far as it takes to put 200 pixels off the screen.
    const QPoint right(std::max(500, area.right() - placed.right() + 200), 0);
    // The window manager tells the window where it went once the button
    // is let go.
    const auto serverFrame = [window] {
        return XvfbDrive::ServerGeometry(window).marginsAdded(XvfbDrive::FrameExtents(window));
    };
    const bool dragged =
            XvfbDrive::Drag(title, title + right, [&] { return serverFrame().right() > area.right() + 100; })
            && XvfbDrive::WaitUntil([&] { return form->BoundsRect().ToQRect() == serverFrame(); });
    check(dragged, QStringLiteral("at %1 the window is dragged partly off the screen").arg(size));
    if (!dragged)
        return;
    QRect shown;
    whenModalOpens<QWidget>(QStringLiteral("the model selection dialog"), [&](QWidget *dialog) {
        // Framed, and where Qt has it.
        XvfbDrive::WaitUntil([&] {
            const QMargins margins = XvfbDrive::FrameExtents(dialog);
            shown = XvfbDrive::ServerGeometry(dialog).marginsAdded(margins);
            return !margins.isNull() && shown == dialog->windowHandle()->frameGeometry();
        });
        shoot(QStringLiteral("model-dialog-") + size);
        XvfbDrive::Key(QStringLiteral("Escape"));
    });
    SelectModel(form, {{QStringLiteral("ZMT-160"), 1}, {QStringLiteral("ZMR-160"), 2}});
    check(area.contains(shown), QStringLiteral("at %1 the model selection dialog of a window partly off the screen "
                                               "opens on the work area (its frame at %2,%3 %4x%5)")
                                        .arg(size).arg(shown.x()).arg(shown.y()).arg(shown.width()).arg(shown.height()));
    const QPoint at = title + window->windowHandle()->frameGeometry().topLeft() - placed.topLeft();
    check(XvfbDrive::Drag(at, title, [&] { return area.contains(serverFrame()); })
                  && XvfbDrive::WaitUntil([&] { return form->BoundsRect().ToQRect() == serverFrame(); }),
          QStringLiteral("at %1 the window is dragged back onto the work area").arg(size));
}

// Fills both grids with the keyboard alone, through the X server: from the
// first organisation field Tab reaches grid 1; in each row Alt+Down opens
// the list, Home and Return take its first option, Down goes on to the
// next row; Tab goes on to grid 2.  A model dialog is answered with Return.
bool fillByKeys(TMainForm *form)
{
    form->Edit1->SetFocus();
    if (!XvfbDrive::Key(QStringLiteral("Tab Tab Tab"))
        || !XvfbDrive::WaitUntil([form] { return form->InspectorGrid1->Widget()->isAncestorOf(QApplication::focusWidget()); }))
        return false;
    for (TInspectorGrid *grid : {form->InspectorGrid1, form->InspectorGrid2}) {
        const int grid1 = grid == form->InspectorGrid1;
        if (!grid1 && (!XvfbDrive::Key(QStringLiteral("Tab")) || !XvfbDrive::WaitUntil([form] {
                return form->InspectorGrid2->Widget()->isAncestorOf(QApplication::focusWidget());
            })))
            return false;
        for (int row = 0; row < grid->Rows()->Count(); ++row) {
            if (row > 0 && (!XvfbDrive::Key(QStringLiteral("Down")) || !XvfbDrive::WaitUntil([grid, row] {
                    return grid->CellFocused().Row == row;
                })))
                return false;
            const int g = grid1 ? TSelectionRules::CharacteristicGrid : TSelectionRules::AccessoryGrid;
            if (form->Rules().Choice(g, row) >= 0)
                continue;
            if (!XvfbDrive::Key(QStringLiteral("alt+Down"))
                || !XvfbDrive::WaitUntil([grid] { return grid->Edit() && grid->Edit()->DroppedDown(); })
                || !XvfbDrive::Key(QStringLiteral("Home Return")))
                return false;
            if (!XvfbDrive::WaitUntil([form, g, row] {
                    if (qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                        XvfbDrive::Key(QStringLiteral("Return"));
                    return form->Rules().Choice(g, row) >= 0 && !QApplication::activeModalWidget();
                }))
                return false;
        }
    }
    return form->Button1->Enabled();
}

// Reset returns both grids to their first row and scroll position: after
// a keyboard fill "Сбросить" is clicked, and Tab from the first
// organisation field into the accessory grid lands on its first row.
void checkReset(TMainForm *form, const QString &size)
{
    check(fillByKeys(form), QStringLiteral("at %1 the keyboard fills both grids").arg(size));
    shoot(QStringLiteral("filled-by-keys-") + size);
    check(XvfbDrive::Click(form->Button3->Widget()) && XvfbDrive::WaitUntil([form] { return form->Rules().Choice(TSelectionRules::AccessoryGrid, 0) < 0; }),
          QStringLiteral("at %1 a click on \"Сбросить\" resets the choices").arg(size));
    form->Edit1->SetFocus();
    check(XvfbDrive::Key(QStringLiteral("Tab Tab Tab Tab"))
              && XvfbDrive::WaitUntil([form] { return form->InspectorGrid2->Widget()->isAncestorOf(QApplication::focusWidget()); }),
          QStringLiteral("at %1 Tab reaches the accessory grid").arg(size));
    shoot(QStringLiteral("reset-") + size);
    for (TInspectorGrid *grid : {form->InspectorGrid1, form->InspectorGrid2})
        check(grid->CellFocused().Row == 0 && grid->VisOrigin().Row == 0,
              QStringLiteral("at %1 after the reset a grid is on row %2, scrolled to row %3")
                  .arg(size).arg(grid->CellFocused().Row + 1).arg(grid->VisOrigin().Row + 1));
}

void whenMessageBoxOpens(const std::function<void(QMessageBox *)> &answer)
{
    whenModalOpens<QMessageBox>(QStringLiteral("the message box"), answer);
}

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The point of the view's viewport, on the screen, just inside the
// character boundary at position: after it (toward the right) or before.
QPoint boundaryPoint(const QTextEdit *view, int position, bool after)
{
    QTextCursor cursor(view->document());
    cursor.setPosition(position);
    const QRect rect = view->cursorRect(cursor);
    return view->viewport()->mapToGlobal(QPoint(rect.left() + (after ? 1 : -1), rect.center().y()));
}

// Names typed into the save dialog: a read-only file, deep in folders with
// Russian names, is refused at once, in one message whose path wraps inside
// the box; the path selected there with the mouse and copied with Ctrl+C is
// the path, and the whole text selected with Ctrl+A and copied is the
// message, byte for byte; Return answers the box, and the dialog stays for
// another name.  A name with dots of its own is written with ".pdf", and
// the question before replacing a file asks about that name.
void checkSaveDialog(TMainForm *form, const QString &size)
{
    QTemporaryDir top;
    const QString deep = QStringLiteral("Заказы выключателей на 2026 год/Автоматические выключатели в литом корпусе/"
                                        "Отдел главного энергетика - согласование/Опросные листы - черновики и окончательные");
    QDir(top.path()).mkpath(deep);
    const QDir folder(top.filePath(deep));
    const QString readOnly = folder.filePath(QStringLiteral("Опросный лист на выключатель ZMT-250 от 08.12.2026 только для чтения.pdf"));
    const QString dotted = folder.filePath(QStringLiteral("Заказ от 08.12.2026"));
    for (const QString &name : {readOnly, dotted, dotted + QStringLiteral(".pdf")}) {
        QFile file(name);
        if (file.open(QIODevice::WriteOnly))
            file.write("earlier");
    }
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QString refusal =
        QStringLiteral("Файл \"%1\" доступен только для чтения и не может быть заменён.").arg(readOnly);
    QString copiedPath;
    QString copiedText;
    int lines = 0;
    bool linesInside = false;
    bool boxOnScreen = false;
    QString question;
    bool dialogStayed = false;
    whenFileDialogOpens([&](QFileDialog *dialog) {
        dialog->setDirectory(folder.path());
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!name)
            return dialog->reject();
        whenMessageBoxOpens([&](QMessageBox *box) {
            shoot(QStringLiteral("read-only-") + size);
            QTextEdit *view = MessageBoxText(box);
            if (!view)
                return box->reject();
            lines = int(ShownLines(view).size());
            linesInside = LinesInside(view);
            boxOnScreen = box->screen()->availableGeometry().contains(box->frameGeometry());
            const QString shown = view->document()->toRawText();
            const int at = int(shown.indexOf(readOnly));
            QApplication::clipboard()->clear();
            XvfbDrive::Drag(boundaryPoint(view, at, true), boundaryPoint(view, at + int(readOnly.size()), false),
                            [view, &readOnly] { return view->textCursor().selectedText().size() == readOnly.size(); });
            XvfbDrive::Key(QStringLiteral("ctrl+c"));
            XvfbDrive::WaitUntil([] { return !QApplication::clipboard()->text().isEmpty(); });
            copiedPath = QApplication::clipboard()->text();
            shoot(QStringLiteral("read-only-selected-") + size);
            QApplication::clipboard()->clear();
            XvfbDrive::Key(QStringLiteral("ctrl+a ctrl+c"));
            XvfbDrive::WaitUntil([] { return !QApplication::clipboard()->text().isEmpty(); });
            copiedText = QApplication::clipboard()->text();
            XvfbDrive::Key(QStringLiteral("Return"));
        });
        name->setFocus();
        name->setText(QFileInfo(readOnly).completeBaseName());
        XvfbDrive::WaitUntil([name] { return name->hasFocus(); });
        XvfbDrive::Key(QStringLiteral("Return"));
        dialogStayed = XvfbDrive::WaitUntil([&] {
            return !copiedText.isEmpty() && QApplication::activeModalWidget() == dialog && dialog->isVisible();
        });
        whenMessageBoxOpens([&](QMessageBox *box) {
            question = box->text();
            shoot(QStringLiteral("question-") + size);
            if (QAbstractButton *yes = box->button(QMessageBox::Yes))
                XvfbDrive::Click(yes);
            else
                box->reject();
        });
        // Back in the name field, as the user who closed the box is.
        name->setFocus();
        XvfbDrive::WaitUntil([name] { return name->hasFocus(); });
        name->setText(QFileInfo(dotted).fileName());
        XvfbDrive::Key(QStringLiteral("Return"));
    });
    XvfbDrive::Activate(form->Widget()->window());
    XvfbDrive::Click(form->Button1->Widget());
    check(XvfbDrive::WaitUntil([&] { return fileBytes(dotted + QStringLiteral(".pdf")).startsWith("%PDF"); }),
          QStringLiteral("at %1 \"%2\" is saved as \"%2.pdf\"").arg(size, QFileInfo(dotted).fileName()));
    check(dialogStayed, QStringLiteral("at %1 the dialog stays open after the read-only file is refused").arg(size));
    check(readOnly.size() >= 240 && lines > 2 && linesInside && boxOnScreen,
          QStringLiteral("at %1 the refusal's path of %2 characters wraps inside the box on the screen (%3 lines)")
              .arg(size).arg(readOnly.size()).arg(lines));
    check(copiedPath.toUtf8() == readOnly.toUtf8(),
          QStringLiteral("at %1 the path selected with the mouse copies as \"%2\"").arg(size, copiedPath));
    check(copiedText.toUtf8() == refusal.toUtf8(),
          QStringLiteral("at %1 the whole refusal copies as \"%2\"").arg(size, copiedText));
    check(question.contains(QFileInfo(dotted).fileName() + QStringLiteral(".pdf")),
          QStringLiteral("at %1 the question asks about the name written: \"%2\"").arg(size, question));
    check(fileBytes(readOnly) == "earlier" && fileBytes(dotted) == "earlier",
          QStringLiteral("at %1 the read-only file and the file without the extension are kept").arg(size));
    check(pdfText(dotted + QStringLiteral(".pdf")).contains(QStringLiteral("Иванов Иван 'Иванович'")),
          QStringLiteral("at %1 the PDF written over the earlier one has the questionnaire's text").arg(size));
}

// The last line that ends inside a box's text area, and the line after it:
// the one the text area's bottom cuts, or the first one below it.
struct BottomLine {
    QRect above;
    QRect cut;
};

BottomLine bottomLine(QPlainTextEdit *edit)
{
    const int bottom = edit->viewport()->height();
    BottomLine found;
    for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        for (int i = 0; layout && i < layout->lineCount(); ++i) {
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + layout->lineAt(i).textStart());
            const QRect line = edit->cursorRect(cursor);
            if (line.y() + line.height() > bottom) {
                found.cut = line;
                return found;
            }
            found.above = line;
        }
    }
    return found;
}

// The description and composition boxes show whole lines, filled with more
// lines than they can show, scrolled to the top, a line down, to the middle
// and to the end, with the keyboard.
void checkWholeLines(TMainForm *form, const QString &size)
{
    const QString description = form->Memo1->Text();
    const QString shownComposition = form->Memo3->Text();
    QStringList composition;
    for (int i = 0; i < 12; ++i)
        composition.append(QStringLiteral("Строка состава %1 (ДхШхВ)").arg(i + 1));
    form->Memo1->SetText(description.repeated(4));
    form->Memo3->SetText(composition.join(QStringLiteral("\r\n")));
    for (TMemo *memo : {form->Memo1, form->Memo3}) {
        auto *edit = static_cast<QPlainTextEdit *>(memo->Widget());
        QScrollBar *bar = edit->verticalScrollBar();
        memo->SetFocus();
        XvfbDrive::WaitUntil([edit] { return edit->hasFocus(); });
        const QString box = memo == form->Memo1 ? QStringLiteral("description") : QStringLiteral("composition");
        const auto checkAt = [&](const QString &where) {
            const BottomLine line = bottomLine(edit);
            const int bottom = edit->viewport()->height();
            check(line.above.isValid() && line.above.y() + line.above.height() <= bottom
                      && (!line.cut.isValid() || line.cut.y() >= bottom),
                  QStringLiteral("at %1 the %2 box scrolled to %3 shows whole lines (text area %4 high, last whole line "
                                 "at %5, the next at %6)")
                      .arg(size, box, where).arg(bottom).arg(line.above.y()).arg(line.cut.isValid() ? line.cut.y() : -1));
        };
        const auto press = [&](const QString &keys, const std::function<bool()> &done) {
            XvfbDrive::Key(keys);
            XvfbDrive::WaitUntil(done);
            QApplication::processEvents();
        };
        check(bar->maximum() > 1, QStringLiteral("at %1 the %2 box has more lines than it shows").arg(size, box));
        press(QStringLiteral("ctrl+Home"), [bar] { return bar->value() == 0; });
        checkAt(QStringLiteral("the top"));
        shoot(QStringLiteral("%1-top-%2").arg(box, size));
        for (int line = 1; line <= bar->maximum() / 2; ++line) {
            press(QStringLiteral("ctrl+Down"), [bar, line] { return bar->value() == line; });
            checkAt(QStringLiteral("line %1").arg(line + 1));
        }
        shoot(QStringLiteral("%1-middle-%2").arg(box, size));
        // The end shows the last line whole, with no line under it.
        press(QStringLiteral("ctrl+End"), [edit] { return edit->textCursor().atEnd() && !bottomLine(edit).cut.isValid(); });
        checkAt(QStringLiteral("the end"));
        shoot(QStringLiteral("%1-end-%2").arg(box, size));
    }
    form->Memo1->SetText(description);
    form->Memo3->SetText(shownComposition);
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("FONTCONFIG_FILE", PROJECT_FONTS_CONF);
    UseRussianDates();
    QApplication app(argc, argv);
    const bool measuring = argc > 1 && qstrcmp(argv[1], "--measure") == 0;
    // Under the window manager of tests/common/openbox, which opens the
    // window without a frame and frames it on Super+F12.
    const bool lateFrame = measuring && argc > 2 && qstrcmp(argv[2], "--late-frame") == 0;
    if (argc > 1 && !measuring)
        shots = QString::fromLocal8Bit(argv[1]);
    // Earlier starts of the program, each in a process of its own: the
    // sizes its window came out at, and the checks of its placing that
    // failed.
    QStringList startSizes;
    QStringList startFailures;
    if (!measuring)
        for (int start = 0; start < 3; ++start) {
            QProcess again;
            again.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--measure")});
            again.waitForFinished(3 * XvfbDrive::kDeadline);
            const QStringList lines = QString::fromUtf8(again.readAllStandardOutput()).split(QLatin1Char('\n'));
            startSizes.append(lines.filter(QRegularExpression(QStringLiteral("^window "))).value(0));
            startFailures.append(lines.filter(QRegularExpression(QStringLiteral("^FAILED: "))).join(u'\n'));
        }
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
        if (lateFrame)
            check(XvfbDrive::FrameExtents(window).isNull() && XvfbDrive::Key(QStringLiteral("super+F12")),
                  QStringLiteral("the window opens without a frame and is given one"));
        // The window manager frames the window, and the window fits itself
        // to the work area that leaves.
        check(XvfbDrive::WaitUntil([form] { return fitted(form); }), QStringLiteral("the window is framed and fitted"));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = window->windowHandle()->frameGeometry();
        const QString size = QStringLiteral("%1x%2").arg(area.width()).arg(area.height());
        check(area.contains(frame), QStringLiteral("the window (%1x%2 at %3,%4) lies on the %5 work area")
                                        .arg(frame.width()).arg(frame.height()).arg(frame.x()).arg(frame.y())
                                        .arg(size));
        shoot(QStringLiteral("window-") + size);
        checkWholeRows(form, size);
        if (!measuring) {
            checkDraggedBelow(window, size);
            checkModelDialogBesideTheScreen(form, size);
        }
        if (measuring) {
            std::printf("%s\n", qPrintable(windowSizes(form)));
            form->Close();
            XvfbDrive::WaitUntil([window] { return !window->isVisible(); });
            Application->DestroyComponents();
            Units::FinalizeAll();
            return failures ? 1 : 0;
        }

        // Started again, the program's window comes out at the same size,
        // whenever the window manager gets round to framing it.
        for (int start = 0; start < startSizes.size(); ++start) {
            check(startSizes[start] == windowSizes(form), QStringLiteral("at %1 start %2 gives %3 as this one: %4")
                                                              .arg(size).arg(start + 1).arg(startSizes[start], windowSizes(form)));
            check(startFailures[start].isEmpty(), QStringLiteral("at %1 start %2 is framed and fitted on the work area%3")
                                                      .arg(size).arg(start + 1)
                                                      .arg(startFailures[start].isEmpty() ? QString()
                                                                                          : u'\n' + startFailures[start]));
        }

        checkReset(form, size);

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
        checkWholeLines(form, size);

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
        checkSaveDialog(form, size);
        form->Close();
    }
    Application->DestroyComponents();
    Units::FinalizeAll();
    std::printf("%s\n", failures ? "FAILED" : "PASSED");
    return failures ? 1 : 0;
}
