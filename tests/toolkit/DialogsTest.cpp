// Message boxes, input boxes and the common dialogs answered by a scripted
// modal runner.

#include "ScriptedModalRunner.h"

#include "toolkit/widgets/CommonDialogs.h"
#include "toolkit/widgets/Dialogs.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/classes/TStrings.h"

#include "common/MessageBoxText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(CommonDialogs, FiltersBecomeQtNameFilters)
{
    EXPECT_EQ(NameFiltersFromFilter(QStringLiteral("Text|*.txt;*.log|All|*.*")),
              QStringList({"Text (*.txt *.log)", "All (*.*)"}));
    // A description that already lists its patterns keeps them once.
    EXPECT_EQ(NameFiltersFromFilter(QStringLiteral("Файл Adobe PDF (*.pdf)|*.pdf")),
              QStringList({"Файл Adobe PDF (*.pdf)"}));
    EXPECT_EQ(NameFiltersFromFilter(QStringLiteral("Images (*.png;*.bmp)|*.png;*.bmp")),
              QStringList({"Images (*.png *.bmp)"}));
    EXPECT_TRUE(NameFiltersFromFilter(QString()).isEmpty());
    EXPECT_TRUE(NameFiltersFromFilter(QStringLiteral("Lonely description")).isEmpty());
}

TEST(CommonDialogs, SaveDialogAsksThroughTheRunnerAndAddsTheDefaultExtension)
{
    ScriptedModalRunner runner;
    TSaveDialog dialog(nullptr);
    dialog.SetFilter(QStringLiteral("Файл Adobe PDF (*.pdf)|*.pdf"));
    dialog.SetDefaultExt(QStringLiteral("pdf"));
    dialog.SetFileName(QStringLiteral("/tmp/previous.pdf"));
    dialog.SetOptions(dialog.Options() | ofOverwritePrompt);

    runner.onFile = [](TFileDialogRequest &request) {
        request.FileName = QStringLiteral("/tmp/order");
        return true;
    };
    ASSERT_TRUE(dialog.Execute());
    ASSERT_EQ(runner.fileRequests.size(), 1u);
    const TFileDialogRequest &asked = runner.fileRequests.front();
    EXPECT_TRUE(asked.Save);
    EXPECT_TRUE(asked.OverwritePrompt);
    EXPECT_EQ(asked.FileName, QStringLiteral("/tmp/previous.pdf"));
    EXPECT_EQ(asked.DefaultExt, QStringLiteral("pdf"));
    EXPECT_EQ(dialog.FileName(), QStringLiteral("/tmp/order.pdf"));
    EXPECT_EQ(dialog.Files()->Count(), 1);

    // A cancelled dialog keeps the previous name.
    runner.onFile = [](TFileDialogRequest &) { return false; };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), QStringLiteral("/tmp/order.pdf"));
}

TEST(CommonDialogs, OpenDialogReturnsEveryChosenFileAndTheFilterIndex)
{
    ScriptedModalRunner runner;
    TOpenDialog dialog(nullptr);
    dialog.SetFilter(QStringLiteral("A|*.a|B|*.b"));
    dialog.SetFilterIndex(2);
    dialog.SetOptions(ofAllowMultiSelect | ofFileMustExist);
    runner.onFile = [](TFileDialogRequest &request) {
        EXPECT_FALSE(request.Save);
        EXPECT_TRUE(request.MultiSelect);
        EXPECT_TRUE(request.FileMustExist);
        EXPECT_EQ(request.FilterIndex, 1);
        request.Files = {QStringLiteral("/x/1.b"), QStringLiteral("/x/2.b")};
        request.FileName = request.Files.first();
        request.FilterIndex = 0;
        return true;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Files()->Count(), 2);
    EXPECT_EQ(dialog.FileName(), QStringLiteral("/x/1.b"));
    EXPECT_EQ(dialog.FilterIndex(), 1);
}

TEST(MessageBoxes, ErrorsCarryTheErrorCaption)
{
    ScriptedModalRunner runner;
    Application->SetTitle(QStringLiteral("Program"));
    runner.onMessage = [](const TMessageBoxRequest &) { return mrNo; };
    EXPECT_EQ(MessageDlg(QStringLiteral("Broken"), mtError, mbYes | mbNo), mrNo);
    ShowMessage(QStringLiteral("Hello"));
    ASSERT_EQ(runner.messages.size(), 2u);
    EXPECT_EQ(runner.messages[0].Caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(runner.messages[0].Text, QStringLiteral("Broken"));
    EXPECT_EQ(runner.messages[0].Buttons, mbYes | mbNo);
    EXPECT_EQ(runner.messages[1].Caption, QStringLiteral("Program"));
}

TEST(MessageBoxes, EmptyOrHelpOnlyButtonSetsShowOk)
{
    ScriptedModalRunner runner;
    MessageDlg(QStringLiteral("x"), mtInformation, {});
    MessageDlg(QStringLiteral("x"), mtWarning, mbHelp);
    ASSERT_EQ(runner.messages.size(), 2u);
    EXPECT_EQ(runner.messages[0].Buttons, TMsgDlgButtons(mbOK));
    EXPECT_EQ(runner.messages[1].Buttons, TMsgDlgButtons(mbOK));
    EXPECT_EQ(int(mbOK), 4);
    EXPECT_EQ(int(mbHelp), 1024);
}

TEST(MessageBoxes, MessageBoxFlagsChooseButtonsAndIcon)
{
    ScriptedModalRunner runner;
    runner.onMessage = [](const TMessageBoxRequest &) { return IDRETRY; };
    EXPECT_EQ(MessageBox(QStringLiteral("t"), QStringLiteral("c"), MB_RETRYCANCEL | MB_ICONWARNING), IDRETRY);
    ASSERT_EQ(runner.messages.size(), 1u);
    EXPECT_EQ(runner.messages[0].Buttons, mbRetry | mbCancel);
    EXPECT_EQ(runner.messages[0].Type, mtWarning);
    EXPECT_EQ(runner.messages[0].Caption, QStringLiteral("c"));
}

TEST(InputBoxes, CancelKeepsTheValue)
{
    ScriptedModalRunner runner;
    QString value = QStringLiteral("old");
    runner.onInput = [](TInputRequest &request) {
        request.Value = QStringLiteral("typed");
        return false;
    };
    EXPECT_FALSE(InputQuery(QStringLiteral("c"), QStringLiteral("p"), value));
    EXPECT_EQ(value, QStringLiteral("old"));
    EXPECT_EQ(InputBox(QStringLiteral("c"), QStringLiteral("p"), QStringLiteral("default")),
              QStringLiteral("default"));

    runner.onInput = [](TInputRequest &request) {
        EXPECT_EQ(request.Value, QStringLiteral("old"));
        request.Value = QStringLiteral("new");
        return true;
    };
    EXPECT_TRUE(InputQuery(QStringLiteral("c"), QStringLiteral("p"), value));
    EXPECT_EQ(value, QStringLiteral("new"));
}

} // namespace

namespace {

TEST(CommonDialogs, FontDialogKeepsTheChosenSizeWithinItsLimits)
{
    ScriptedModalRunner runner;
    TFontDialog dialog(nullptr);
    dialog.Font()->SetName(QStringLiteral("Arial"));
    dialog.SetMinFontSize(8);
    dialog.SetMaxFontSize(12);
    QString shown;
    runner.onFont = [&](TFontData &font) {
        shown = font.Name;
        font.Name = QStringLiteral("Tahoma");
        font.Height = -48; // 36 points
        return true;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(shown, QStringLiteral("Arial"));
    EXPECT_EQ(dialog.Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(dialog.Font()->Size(), 36); // limits apply only with fdLimitSize
    dialog.SetOptions(dialog.Options() | fdLimitSize);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font()->Size(), 12);
}

TEST(CommonDialogs, PrinterSetupChoosesThePrinterAndOrientation)
{
    ScriptedModalRunner runner;
    TPrinterSetupDialog dialog(nullptr);
    runner.onPrint = [](TPrintRequest &request) {
        EXPECT_TRUE(request.SetupOnly);
        request.PrinterName = QStringLiteral("Office");
        request.Orientation = poLandscape;
        return true;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.PrinterName(), QStringLiteral("Office"));
    EXPECT_EQ(dialog.Orientation(), poLandscape);

    runner.onPrint = [](TPrintRequest &request) {
        request.Orientation = poPortrait;
        return false;
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Orientation(), poLandscape);
}

TEST(CommonDialogs, PrintDialogOffersItsOptionsAndTakesTheChoice)
{
    ScriptedModalRunner runner;
    TPrintDialog dialog(nullptr);
    dialog.SetMinPage(1);
    dialog.SetMaxPage(9);
    dialog.SetOptions(poPageNums | poDisablePrintToFile);
    runner.onPrint = [](TPrintRequest &request) {
        EXPECT_EQ(request.MaxPage, 9);
        EXPECT_TRUE(request.Options.testFlag(poPageNums));
        EXPECT_TRUE(request.Options.testFlag(poDisablePrintToFile));
        request.PrintRange = prPageNums;
        request.FromPage = 2;
        request.ToPage = 4;
        request.Copies = 3;
        return true;
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.PrintRange(), prPageNums);
    EXPECT_EQ(dialog.FromPage(), 2);
    EXPECT_EQ(dialog.ToPage(), 4);
    EXPECT_EQ(dialog.Copies(), 3);

    runner.onPrint = [](TPrintRequest &request) {
        request.Copies = 7;
        return false;
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Copies(), 3);
}

} // namespace

namespace {

// A path of some 250 characters through folders with Cyrillic names, with
// blanks and hyphens where lines could break.
QString longCyrillicPath()
{
    return QStringLiteral("/home/пользователь/Документы/Заказы выключателей на 2026 год/"
                          "Автоматические выключатели в литом корпусе серии ZMT-ZMR/"
                          "Отдел главного энергетика - согласование/Опросные листы - черновики и окончательные/"
                          "Опросный лист на выключатель ZMT-250 от 08.12.2026.pdf");
}

// Shows request in a real message box and, once it is up and active (its
// focus set), runs act on the view of its text; closes the box after it
// unless act answered it.  Answers the box's answer.
int actOnShownBox(const TMessageBoxRequest &request, const std::function<void(QMessageBox &, QTextEdit &)> &act)
{
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    poll.setInterval(10);
    bool acted = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QTextEdit *view = MessageBoxText(box);
        if ((!view || !view->isVisible() || !box->isActiveWindow()) && waited.elapsed() < 30000)
            return;
        poll.stop();
        if (view) {
            act(*box, *view);
            acted = true;
        }
        if (box && box->isVisible())
            box->reject();
    });
    poll.start();
    const int answer = InteractiveModalRunner().MessageBox(request);
    EXPECT_TRUE(acted) << "the box showed no view of its text";
    return answer;
}

void pressKey(QWidget &widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&widget, &release);
}

} // namespace

// The box breaks a long path over its lines on the screen only: the text
// selected in it and copied, all of it or the path alone, is the message's
// own, byte for byte.
TEST(MessageBoxes, WhatIsCopiedFromABoxIsTheMessagesText)
{
    const QString path = longCyrillicPath();
    ASSERT_GE(path.size(), 240);
    TMessageBoxRequest request{kErrorCaption,
                               QStringLiteral("Файл \"%1\" доступен только для чтения и не может быть заменён.").arg(path),
                               mtError, mbOK};
    actOnShownBox(request, [&](QMessageBox &box, QTextEdit &view) {
        const QStringList lines = ShownLines(&view);
        EXPECT_GT(lines.size(), 2) << "the path is not broken over lines";
        EXPECT_EQ(lines.join(QString()), request.Text);
        EXPECT_TRUE(LinesInside(&view)) << "a line is cut off";
        EXPECT_LE(box.width(), box.screen()->availableGeometry().width());

        QApplication::clipboard()->clear();
        view.setFocus();
        pressKey(view, Qt::Key_A, Qt::ControlModifier);
        pressKey(view, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text().toUtf8(), request.Text.toUtf8());

        QTextCursor selection(view.document());
        selection.setPosition(int(request.Text.indexOf(path)));
        selection.setPosition(int(request.Text.indexOf(path) + path.size()), QTextCursor::KeepAnchor);
        view.setTextCursor(selection);
        view.copy();
        EXPECT_EQ(QApplication::clipboard()->text().toUtf8(), path.toUtf8());
    });
}

// Characters a plain-text conversion would change (no-break spaces, a
// line separator) copy as they are, and so do the line breaks between
// paragraphs, CR LF or line feed.
TEST(MessageBoxes, CopiedTextKeepsEveryCharacterAndTheParagraphs)
{
    const QString text = QStringLiteral("Были обнаружены следующие ошибки:\r\n"
                                        "Не удалось создать файл \"/tmp/Отчёт\u00A0№\u00A05/заказ.pdf\".\n"
                                        "\nПроверьте папку\u2028и права на неё.\r\n");
    actOnShownBox({QString(), text, mtWarning, mbOK | mbCancel}, [&](QMessageBox &, QTextEdit &view) {
        QApplication::clipboard()->clear();
        view.selectAll();
        view.copy();
        EXPECT_EQ(QApplication::clipboard()->text().toUtf8(), text.toUtf8());

        // The second paragraph with the CR LF before it: the document has
        // one character for the two.
        const qsizetype start = text.indexOf(u'\r');
        const qsizetype end = text.indexOf(u'\n', start + 2);
        QTextCursor selection(view.document());
        selection.setPosition(int(start));
        selection.setPosition(int(end - 1), QTextCursor::KeepAnchor);
        view.setTextCursor(selection);
        QApplication::clipboard()->clear();
        view.copy();
        EXPECT_EQ(QApplication::clipboard()->text().toUtf8(), text.mid(start, end - start).toUtf8());
    });
}

// Every character of a message stands on a line of the box: a tab as a
// blank, a line or paragraph separator as the end of a line.  What is
// copied is still the message's own text.
TEST(MessageBoxes, TabsAndSeparatorsHideNothingAfterThem)
{
    const QString text = QStringLiteral("Файл \"/tmp/a\tb.pdf\" не найден.\u2028Скрипт вернул\t\t2 ошибки\u2029конец");
    actOnShownBox({QString(), text, mtError, mbOK}, [&](QMessageBox &, QTextEdit &view) {
        EXPECT_EQ(ShownLines(&view), QStringList({QStringLiteral("Файл \"/tmp/a b.pdf\" не найден."),
                                                  QStringLiteral("Скрипт вернул  2 ошибки"), QStringLiteral("конец")}));
        EXPECT_TRUE(LinesInside(&view)) << "a line is cut off";

        QApplication::clipboard()->clear();
        view.selectAll();
        view.copy();
        EXPECT_EQ(QApplication::clipboard()->text().toUtf8(), text.toUtf8());

        // The line between the separators alone.
        const qsizetype start = text.indexOf(QChar::LineSeparator) + 1;
        const qsizetype end = text.indexOf(QChar::ParagraphSeparator);
        QTextCursor selection(view.document());
        selection.setPosition(int(start));
        selection.setPosition(int(end), QTextCursor::KeepAnchor);
        view.setTextCursor(selection);
        QApplication::clipboard()->clear();
        view.copy();
        EXPECT_EQ(QApplication::clipboard()->text().toUtf8(), text.mid(start, end - start).toUtf8());
    });
}

// A box opens with the focus on a button, and the view of its text, once
// clicked, leaves Enter and Escape to the box.
TEST(MessageBoxes, EnterAndEscapeAnswerTheBoxFromItsText)
{
    const TMessageBoxRequest request{QString(), QStringLiteral("Заменить файл?"), mtConfirmation, mbOK | mbCancel};
    const auto answerBy = [&](int key) {
        return actOnShownBox(request, [&](QMessageBox &, QTextEdit &view) {
            EXPECT_TRUE(qobject_cast<QAbstractButton *>(QApplication::focusWidget()));
            view.setFocus(Qt::MouseFocusReason);
            pressKey(view, key);
        });
    };
    EXPECT_EQ(answerBy(Qt::Key_Return), mrOk);
    EXPECT_EQ(answerBy(Qt::Key_Escape), mrCancel);
}
