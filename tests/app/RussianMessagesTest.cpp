// The message boxes a user of the program meets in the preview, its dialogs
// and the PDF export speak Russian: the program's Russian texts are
// installed (the app's units), and each box is reached the way a user
// reaches it.

#include "engine/PreparedReport.h"
#include "report/RecordingRunner.h"

#include "codecs/png/qvxPngErrors.h"
#include "export/pdf/qvxExportPDF.h"
#include "preview/qvxPreview.h"
#include "preview/qvxPreviewDialogs.h"
#include "preview/qvxPreviewForm.h"
#include "preview/qvxPreviewWorkspace.h"
#include "report/components/qvxHyperlink.h"
#include "toolkit/core/SysUtils.h"
#include "toolkit/graphics/BitmapLimits.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
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
    static const QStringList names = {QStringLiteral("PDF"), QStringLiteral("JPEG")};
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

namespace {

// A message of the sources: where it stands and its text.
struct SourceMessage {
    QString file;
    QString text;
    // Given to Qt's translation (translate or QT_TRANSLATE_NOOP).
    bool translated = false;
};

// The C++ string literals that begin text, run together as the compiler
// does.
QString literalsAt(const QString &text)
{
    static const QRegularExpression literal(QStringLiteral("\\G\\s*\"((?:[^\"\\\\]|\\\\.)*)\""));
    QString joined;
    qsizetype at = 0;
    for (QRegularExpressionMatch match = literal.match(text, at); match.hasMatch(); match = literal.match(text, at)) {
        joined += match.captured(1);
        at = match.capturedEnd();
    }
    joined.replace(QStringLiteral("\\\""), QStringLiteral("\"")).replace(QStringLiteral("\\r\\n"), QStringLiteral("\r\n"));
    return joined;
}

// Every message of the engine, the PDF export and the pictures (the PNG
// codec and the toolkit's graphics): each text given to Qt's translation,
// and each literal text a failure is thrown, listed or warned with.
QList<SourceMessage> failureMessages()
{
    static const QRegularExpression translated(
        QStringLiteral("(?:QCoreApplication::translate|QT_TRANSLATE_NOOP)\\(\\s*\"[^\"]*\"\\s*,"));
    static const QRegularExpression literal(
        QStringLiteral("(?:throw\\s|Exception\\(|Errors\\(\\)->Add\\(|[Ww]arn(?:ing)?\\()[^;{]*?QStringLiteral\\("));
    const QDir root(QStringLiteral(TEST_DATA_DIR "/../.."));
    QList<SourceMessage> messages;
    for (const char *folder : {"engine", "export/pdf", "codecs/png", "toolkit/graphics"}) {
        QDirIterator files(root.filePath(QString::fromLatin1(folder)), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                           QDir::Files);
        while (files.hasNext()) {
            const QString name = files.next();
            QFile file(name);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            const QString source = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch &match : translated.globalMatch(source))
                messages.append({root.relativeFilePath(name), literalsAt(source.mid(match.capturedEnd())), true});
            for (const QRegularExpressionMatch &match : literal.globalMatch(source))
                messages.append({root.relativeFilePath(name), literalsAt(source.mid(match.capturedEnd())), false});
        }
    }
    return messages;
}

} // namespace

// A message a user may meet when a report is built, drawn or exported, or
// a picture read, speaks Russian; the few left in English are listed here,
// so that a new English one cannot slip in.
TEST(RussianMessages, EveryFailureMessageOfTheEngineTheExportAndThePicturesIsRussian)
{
    // Texts for developers (a program fault, not a user's), and those the
    // readers of damaged files give as they are: a prepared report's, a
    // PNG picture's and a CFF font's.
    const QStringList keptEnglish = {
        QStringLiteral("Export terminated"),
        QStringLiteral("No print dialog is installed"),
        QStringLiteral("No PDF options dialog is installed"),
        QStringLiteral("No page drawing is installed for the PDF export"),
        QStringLiteral("Canvas does not allow drawing"),
        QStringLiteral("No current prepared page"),
        QStringLiteral("The engine runs only for a report"),
        QStringLiteral("Assertion failed: %1 (qvxCrypto)"),
        QStringLiteral("Unknown picture class %1"),
        QStringLiteral("Resource %1 not found"),
        QStringLiteral("Invalid class typecast"),
        QStringLiteral("Cannot change the size of %1"),
        QStringLiteral("A recorded metafile cannot be saved"),
        QStringLiteral("Invalid file format"),
        QStringLiteral("CFF font format error"),
        QStringLiteral("This \"Portable Network Graphics\" image is not valid because it contains invalid pieces of "
                       "data (crc error)"),
        QStringLiteral("The \"Portable Network Graphics\" image could not be loaded because one of its main piece of "
                       "data (ihdr) might be corrupted"),
        QStringLiteral("This \"Portable Network Graphics\" image is invalid because it has missing image parts."),
        QStringLiteral("The \"Portable Network Graphics\" image contains an invalid palette."),
        QStringLiteral("The file being readed is not a valid \"Portable Network Graphics\" image because it contains "
                       "an invalid header. This file may be corruped, try obtaining it again."),
        QStringLiteral("This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n(IHDR "
                       "chunk is not the first)"),
        QStringLiteral("This \"Portable Network Graphics\" image is not supported because either it's width or "
                       "height exceeds the maximum size, which is 65535 pixels length."),
        QStringLiteral("This \"Portable Network Graphics\" image contains an unknown critical part which could not "
                       "be decoded."),
        QStringLiteral("This \"Portable Network Graphics\" image is encoded with an unknown compression scheme which "
                       "could not be decoded."),
        QStringLiteral("This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not be "
                       "decoded."),
        QStringLiteral("This \"Portable Network Graphics\" image is invalid because the decoder found an unexpected "
                       "end of the file."),
        QStringLiteral("This \"Portable Network Graphics\" image contains no data."),
        QStringLiteral("This operation is not valid because the current image contains no valid header."),
        QStringLiteral("The new size provided for image resizing is invalid."),
        QStringLiteral("Could not decompress the image because it contains invalid compressed data.\r\n Description: "),
    };
    const QList<SourceMessage> messages = failureMessages();
    ASSERT_GT(messages.size(), 20);
    QStringList untranslated;
    int translatedCount = 0;
    for (const SourceMessage &message : messages) {
        if (englishWords(message.text).isEmpty())
            continue;
        if (!message.translated) {
            if (!keptEnglish.contains(message.text))
                untranslated << message.file + QStringLiteral(": ") + message.text;
            continue;
        }
        ++translatedCount;
        const QString russian = QCoreApplication::translate("", message.text.toUtf8().constData());
        EXPECT_TRUE(englishWords(russian).isEmpty()) << message.file.toStdString() << ": " << message.text.toStdString();
    }
    EXPECT_TRUE(untranslated.isEmpty()) << untranslated.join(u'\n').toStdString();
    EXPECT_GE(translatedCount, 15);
}

// The limits a user meets with pictures, as the program words them.
TEST(RussianMessages, PictureLimits)
{
    try {
        CheckPictureSize(100000, 100000);
        ADD_FAILURE() << "no limit";
    } catch (const Exception &e) {
        expectRussian(e.Message());
    }
    expectRussian(EPNGOutMemory().Message());
}
