#include "toolkit/widgets/ModalRunner.h"

#include "toolkit/graphics/QtFonts.h"
#include "toolkit/printing/Printers.h"
#include "toolkit/widgets/TForm.h"

#include <QApplication>
#include <QColorDialog>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

InteractiveModalRunner &interactiveRunner()
{
    static InteractiveModalRunner runner;
    return runner;
}

ModalRunner *&installedRunner()
{
    static ModalRunner *runner = nullptr;
    return runner;
}

struct ButtonPair {
    TMsgDlgBtn button;
    QMessageBox::StandardButton qt;
    int result;
};

constexpr ButtonPair kButtons[] = {
    {mbYes, QMessageBox::Yes, mrYes},
    {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},
    {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbAbort, QMessageBox::Abort, mrAbort},
    {mbRetry, QMessageBox::Retry, mrRetry},
    {mbIgnore, QMessageBox::Ignore, mrIgnore},
    {mbAll, QMessageBox::YesToAll, mrAll},
    {mbNoToAll, QMessageBox::NoToAll, mrNoToAll},
    {mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
    {mbHelp, QMessageBox::Help, mrNone},
};

QMessageBox::Icon iconOf(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return QMessageBox::Warning;
    case mtError:
        return QMessageBox::Critical;
    case mtInformation:
        return QMessageBox::Information;
    case mtConfirmation:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

// Marks that steer where a message's lines break: a blank that holds the
// words on both sides together, and invisible ones that close or open a
// break.
constexpr QChar NoBreakSpace(0x00A0);
constexpr QChar WordJoiner(0x2060);
constexpr QChar ZeroWidthSpace(0x200B);

// The path as one unit of a line: every break opportunity inside it is
// closed, but those after its slashes when breakAtSlashes.
QString unbreakablePath(const QString &path, bool breakAtSlashes)
{
    QList<bool> breaksBefore(path.size() + 1, false);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, path);
    for (qsizetype at = finder.toNextBoundary(); at >= 0; at = finder.toNextBoundary())
        breaksBefore[at] = true;
    QString result;
    result.reserve(path.size() * 2);
    for (qsizetype at = 0; at < path.size(); ++at) {
        const bool afterSlash = at > 0 && path[at - 1] == QLatin1Char('/');
        if (afterSlash && breakAtSlashes) {
            if (!breaksBefore[at])
                result += ZeroWidthSpace;
        } else if (at > 0 && breaksBefore[at] && path[at - 1] != QLatin1Char(' ')) {
            result += WordJoiner;
        }
        result += path[at] == QLatin1Char(' ') ? NoBreakSpace : path[at];
    }
    return result;
}

// The text of a message box: each file path in it (a text in double quotes
// holding a slash) stays whole on its line, and breaks at its slashes only
// where it is wider than lineWidth.
QString withWholePaths(const QString &text, const QFontMetricsF &metrics, qreal lineWidth)
{
    static const QRegularExpression quotedPath(QStringLiteral("\"([^\"\n]*/[^\"\n]*)\""));
    QString result;
    qsizetype copied = 0;
    for (QRegularExpressionMatchIterator it = quotedPath.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString path = match.captured(1);
        result += QStringView(text).mid(copied, match.capturedStart(1) - copied);
        result += unbreakablePath(path, metrics.horizontalAdvance(path) > lineWidth);
        copied = match.capturedEnd(1);
    }
    result += QStringView(text).mid(copied);
    return result;
}

// The width up to which a message box widens its lines to hold a word (Qt's
// soft limit): a longer path would widen it further, or be cut anywhere.
qreal messageLineWidth(const QWidget *box)
{
    const QScreen *screen = box->screen() ? box->screen() : QGuiApplication::primaryScreen();
    return screen ? std::min(screen->availableGeometry().width() / 2, 500) : 500;
}

} // namespace

ModalRunner &ModalRunner::Current()
{
    ModalRunner *runner = installedRunner();
    return runner ? *runner : interactiveRunner();
}

ModalRunner *ModalRunner::Install(ModalRunner *runner)
{
    ModalRunner *previous = installedRunner();
    installedRunner() = runner;
    return previous;
}

int InteractiveModalRunner::RunForm(TCustomForm &form)
{
    QEventLoop loop;
    QObject::connect(&form, &TCustomForm::ModalEnded, &loop, &QEventLoop::quit);
    if (form.ModalResult() == mrNone && form.Widget()->isVisible())
        loop.exec();
    return form.ModalResult();
}

int InteractiveModalRunner::MessageBox(const TMessageBoxRequest &request)
{
    QMessageBox box(iconOf(request.Type), request.Caption, QString());
    box.setText(withWholePaths(request.Text, QFontMetricsF(box.font()), messageLineWidth(&box)));
    const TMsgDlgButtons buttons = request.Buttons ? request.Buttons : TMsgDlgButtons(mbOK);
    for (const ButtonPair &pair : kButtons) {
        // mbAll and mbYesToAll share Qt's "Yes to All"; mbAll gets its own.
        if (buttons.testFlag(pair.button) && !(pair.button == mbAll && buttons.testFlag(mbYesToAll)))
            box.addButton(pair.qt);
    }
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const ButtonPair &pair : kButtons)
        if (pair.qt == clicked && buttons.testFlag(pair.button))
            return pair.result;
    return mrCancel;
}

bool InteractiveModalRunner::InputQuery(TInputRequest &request)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(nullptr, request.Caption, request.Prompt,
                              request.Masked ? QLineEdit::Password : QLineEdit::Normal, request.Value, &ok);
    if (ok)
        request.Value = text;
    return ok;
}

bool InteractiveModalRunner::FileDialog(TFileDialogRequest &request)
{
    // What the dialog remembers (folders visited, history, view) lasts for
    // the session and is handed from one dialog to the next.
    static QByteArray rememberedState;
    QFileDialog dialog(nullptr, request.Title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.restoreState(rememberedState);
    if (!request.InitialDir.isEmpty())
        dialog.setDirectory(request.InitialDir);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!request.Save)
        dialog.setFileMode(request.MultiSelect       ? QFileDialog::ExistingFiles
                           : request.FileMustExist ? QFileDialog::ExistingFile
                                                   : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
    if (!request.Filters.isEmpty()) {
        dialog.setNameFilters(request.Filters);
        dialog.selectNameFilter(request.Filters.value(request.FilterIndex, request.Filters.first()));
    }
    dialog.setDefaultSuffix(request.DefaultExt);
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    rememberedState = dialog.saveState();
    if (!accepted)
        return false;
    request.Files = dialog.selectedFiles();
    request.FileName = request.Files.first();
    request.FilterIndex = qMax(0, request.Filters.indexOf(dialog.selectedNameFilter()));
    return true;
}

bool InteractiveModalRunner::ColorDialog(TColor &color)
{
    const QColor chosen = QColorDialog::getColor(ColorToQColor(color));
    if (!chosen.isValid())
        return false;
    color = QColorToColor(chosen);
    return true;
}

bool InteractiveModalRunner::FontDialog(TFontData &font)
{
    TFont current;
    current.SetData(font);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, ToQFont(current));
    if (!ok)
        return false;
    font.Name = chosen.family();
    font.Height = -(chosen.pixelSize() > 0 ? chosen.pixelSize() : qRound(chosen.pointSizeF() * 96 / 72));
    TFontStyles style;
    style.setFlag(fsBold, chosen.bold());
    style.setFlag(fsItalic, chosen.italic());
    style.setFlag(fsUnderline, chosen.underline());
    style.setFlag(fsStrikeout, chosen.strikeOut());
    font.Style = style;
    return true;
}

namespace {

bool printerSetup(TPrintRequest &request)
{
    if (TPrinter::PrinterNames().isEmpty())
        return false;
    QPrinter printer;
    if (!request.PrinterName.isEmpty())
        printer.setPrinterName(request.PrinterName);
    printer.setPageOrientation(request.Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPageSetupDialog dialog(&printer);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request.PrinterName = printer.printerName();
    request.Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
    return true;
}

} // namespace

bool InteractiveModalRunner::PrintDialog(TPrintRequest &request)
{
    if (request.SetupOnly)
        return printerSetup(request);
    QPrinter printer;
    if (!request.PrinterName.isEmpty())
        printer.setPrinterName(request.PrinterName);
    printer.setCopyCount(request.Copies);
    printer.setCollateCopies(request.Collate);
    printer.setFromTo(request.FromPage, request.ToPage);
    QPrintDialog dialog(&printer);
    dialog.setMinMax(request.MinPage, request.MaxPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, request.Options.testFlag(poPageNums));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, request.Options.testFlag(poSelection));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, !request.Options.testFlag(poDisablePrintToFile));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request.PrinterName = printer.printerName();
    request.Copies = printer.copyCount();
    request.Collate = printer.collateCopies();
    request.FromPage = printer.fromPage();
    request.ToPage = printer.toPage();
    request.PrintToFile = !printer.outputFileName().isEmpty();
    switch (dialog.printRange()) {
    case QAbstractPrintDialog::Selection:
        request.PrintRange = prSelection;
        break;
    case QAbstractPrintDialog::PageRange:
        request.PrintRange = prPageNums;
        break;
    default:
        request.PrintRange = prAllPages;
    }
    return true;
}
