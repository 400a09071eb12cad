// The message boxes a user of the program meets in the preview, its dialogs
// and the PDF export speak Russian: the program's Russian texts are
// installed (the app's units), and each box is reached the way a user
// reaches it.

#include "engine/PreparedReport.h"
#include "report/RecordingRunner.h"

#include "export/pdf/qvxExportPDF.h"
#include "preview/qvxPreview.h"
#include "preview/qvxPreviewDialogs.h"
#include "preview/qvxPreviewForm.h"
#include "preview/qvxPreviewWorkspace.h"
#include "report/components/qvxHyperlink.h"
#include "toolkit/core/SysUtils.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The Latin words of text, leaving out what it quotes (the user's input, a
// file or a link), file paths and names.
QStringList englishWords(const QString &text)
{
    static const QRegularExpression quoted(QStringLiteral("\"[^\"]*\"|'[^']*'|\\S*/\\S*"));
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    static const QStringList names = {QStringLiteral("PDF")};
    QString rest = text;
    rest.remove(quoted);
    QStringList words;
    for (const QRegularExpressionMatch &match : word.globalMatch(rest))
        if (!names.contains(match.captured()))
            words << match.captured();
    return words;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// The preview window of a prepared report, not modal; its boxes are recorded.
struct RussianPreview {
    explicit RussianPreview(const std::function<void(TPreparedReport &)> &setUp = {}) : prepared(3, 100, 150, setUp)
    {
        prepared.report->EngineOptions()->SetNewSilentMode(simMessageBoxes);
        prepared.report->PreviewOptions()->SetModal(false);
        prepared.report->PreviewOptions()->SetMaximized(false);
        prepared.report->ShowPreparedReport();
        window = qobject_cast<TqvxPreviewForm *>(prepared.report->PreviewForm());
        window->SetBounds(0, 0, 1000, 700);
        settle();
    }
    ~RussianPreview() { delete window; }

    // The one box shown since the last call.
    QString box()
    {
        const QString text = runner.boxes.size() == 1 ? runner.boxes.front().Text : QString();
        EXPECT_EQ(runner.boxes.size(), 1u);
        runner.boxes.clear();
        return text;
    }

    TPreparedReport prepared;
    TqvxPreviewForm *window = nullptr;
    RecordingRunner runner;
};

void expectRussian(const QString &text)
{
    EXPECT_FALSE(text.isEmpty());
    EXPECT_TRUE(englishWords(text).isEmpty()) << text.toStdString();
}

} // namespace

TEST(RussianMessages, TheCheckFindsEnglishButNotNamesOrWhatTheUserTyped)
{
    EXPECT_EQ(englishWords(QStringLiteral("'abc' is not a valid floating point value")).size(), 6);
    EXPECT_TRUE(englishWords(QStringLiteral("'abc' не является числом")).isEmpty());
    EXPECT_TRUE(englishWords(QStringLiteral("Поле \"Пароль\": PDF-программы, /tmp/a.pdf")).isEmpty());
}

TEST(RussianMessages, ConversionErrorsOfTheToolkit)
{
    for (const auto &convert : std::initializer_list<std::function<void()>>{
                 [] { StrToInt(QStringLiteral("abc")); }, [] { StrToFloat(QStringLiteral("abc")); },
                 [] { StrToBool(QStringLiteral("abc")); }}) {
        try {
            convert();
            ADD_FAILURE() << "no conversion error";
        } catch (const EConvertError &e) {
            expectRussian(e.Message());
        }
    }
}

TEST(RussianMessages, LettersTypedIntoTheZoomBox)
{
    RussianPreview view;
    QLineEdit *editor = static_cast<QComboBox *>(view.window->ZoomBox()->Widget())->lineEdit();
    editor->setFocus();
    editor->setText(QStringLiteral("abc"));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &release);
    settle();
    expectRussian(view.box());
}

TEST(RussianMessages, ALinkThePreviewRefusesToFollow)
{
    RussianPreview view([](TPreparedReport &prepared) {
        prepared.memo->Hyperlink()->SetKind(hkURL);
        prepared.memo->Hyperlink()->SetValue(QStringLiteral("file:///etc/passwd"));
    });
    TqvxPreviewWorkspace *workspace = view.window->Preview()->Workspace();
    const TRect page = workspace->PageRect(0);
    const double zoom = view.window->Preview()->Zoom();
    // The memo lies at (20, 30) inside 10 mm margins.
    const QPoint at(page.Left + int((10 * 3.77953 + 40) * zoom), page.Top + int((10 * 3.77953 + 50) * zoom));
    QWidget *target = workspace->Widget()->childAt(at) ? workspace->Widget()->childAt(at) : workspace->Widget();
    const QPoint local = target->mapFrom(workspace->Widget(), at);
    QMouseEvent press(QEvent::MouseButtonPress, local, target->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, target->mapToGlobal(local), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    settle();
    expectRussian(view.box());
}

TEST(RussianMessages, TheSearchThatFindsNothing)
{
    RussianPreview view;
    qvxPreviewDialogs().Find = [](TqvxFindRequest &request) {
        request.Text = QStringLiteral("nowhere");
        request.FromTop = true;
        return true;
    };
    view.window->Button(QStringLiteral("FindB"))->trigger();
    settle();
    qvxPreviewDialogs().Find = nullptr;
    expectRussian(view.box());
}

TEST(RussianMessages, ThePdfExportsRefusals)
{
    QTemporaryDir folder;
    const auto exported = [&](const std::function<void(TqvxPDFExport &)> &setUp) {
        RussianPreview view;
        TqvxPDFExport pdf(nullptr);
        pdf.SetShowDialog(false);
        pdf.SetFileName(folder.filePath(QStringLiteral("refused.pdf")));
        setUp(pdf);
        view.window->Preview()->Export(&pdf);
        return view.box();
    };
    expectRussian(exported([](TqvxPDFExport &pdf) { pdf.SetUserPassword(QStringLiteral("пароль")); }));
    expectRussian(exported([](TqvxPDFExport &pdf) { pdf.SetOwnerPassword(QStringLiteral("владелец")); }));
    expectRussian(exported([](TqvxPDFExport &pdf) { pdf.SetPageNumbers(QStringLiteral("99")); }));
}
