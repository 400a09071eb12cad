#include "toolkit/widgets/ModalRunner.h"

#include "toolkit/classes/SaveFileStream.h"
#include "toolkit/graphics/QtFonts.h"
#include "toolkit/printing/Printers.h"
#include "toolkit/widgets/TForm.h"

#include <QApplication>
#include <QColorDialog>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
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

// Where a line of text may break: after each position of the result.
QList<bool> breakOpportunities(const QString &text)
{
    QList<bool> breaks(text.size() + 1, false);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    for (qsizetype at = finder.toNextBoundary(); at >= 0; at = finder.toNextBoundary())
        breaks[at] = true;
    return breaks;
}

// Where the lines of a paragraph may break, and which of its characters
// belong to a file path.
struct LineBreaks {
    QList<bool> before; // a line may begin at each position
    QList<bool> inPath;
};

// Keeps each file path of text (a text in double quotes holding a slash)
// whole: no break inside it, but after its slashes when it is (with its
// quotes) wider than lineWidth, and where it would break anyway inside a
// part between slashes that is wider than lineWidth still.
void keepPathsWhole(const QString &text, LineBreaks &breaks, const QFontMetricsF &metrics, qreal lineWidth)
{
    static const QRegularExpression quoted(QStringLiteral("\"([^\"\n]*)\""));
    for (QRegularExpressionMatchIterator it = quoted.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (!match.captured(1).contains(QLatin1Char('/')))
            continue;
        // The path with its quotes and what holds on to them.
        qsizetype unitEnd = match.capturedEnd(0);
        while (unitEnd < text.size() && !breaks.before[unitEnd])
            ++unitEnd;
        const QString unit = text.mid(match.capturedStart(0), unitEnd - match.capturedStart(0)).trimmed();
        const bool overlong = metrics.horizontalAdvance(unit) > lineWidth;
        qsizetype part = match.capturedStart(1);
        for (qsizetype at = part; at < match.capturedEnd(1); ++at) {
            breaks.inPath[at] = true;
            if (text[at] != QLatin1Char('/') && at + 1 < match.capturedEnd(1))
                continue;
            const bool partOverlong = overlong && metrics.horizontalAdvance(text.mid(part, at + 1 - part)) > lineWidth;
            for (qsizetype inside = part + 1; inside <= at; ++inside)
                breaks.before[inside] = breaks.before[inside] && partOverlong;
            breaks.before[at + 1] = overlong;
            part = at + 1;
        }
        breaks.before[match.capturedEnd(1)] = false;
    }
}

// One paragraph broken into lines of at most lineWidth at its opportunities
// (a unit wider than a line stands alone on its line); the blanks a line
// ends with give way to the line break, but for those of a path.
QStringList paragraphLines(const QString &text, const LineBreaks &breaks, const QFontMetricsF &metrics,
                           qreal lineWidth)
{
    const auto lineAt = [&](qsizetype start, qsizetype end) {
        while (end > start && text[end - 1] == QLatin1Char(' ') && !breaks.inPath[end - 1])
            --end;
        return text.mid(start, end - start);
    };
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = -1;
        for (qsizetype at = start + 1; at <= text.size(); ++at) {
            if (!breaks.before[at] && at < text.size())
                continue;
            if (end >= 0 && metrics.horizontalAdvance(lineAt(start, at)) > lineWidth)
                break;
            end = at;
        }
        lines.append(lineAt(start, end));
        start = end;
    }
    return lines;
}

// The text of a message box broken into lines no wider than lineWidth,
// with each file path in it whole on its line: only a path wider than a
// line breaks, after one of its slashes where it can.  The characters stay
// the text's own, so that a path selected in the box is the path.
QString withWholePaths(const QString &text, const QFontMetricsF &metrics, qreal lineWidth)
{
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        LineBreaks breaks{breakOpportunities(paragraph), QList<bool>(paragraph.size(), false)};
        keepPathsWhole(paragraph, breaks, metrics, lineWidth);
        const QStringList broken = paragraphLines(paragraph, breaks, metrics, lineWidth);
        lines += broken.isEmpty() ? QStringList{QString()} : broken;
    }
    return lines.join(QLatin1Char('\n'));
}

// The width of a message box's lines: Qt widens a box up to its soft limit
// to show its lines unbroken, and breaks them itself beyond it.
qreal messageLineWidth(QMessageBox &box)
{
    const QScreen *screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int softLimit = screen ? std::min(screen->availableGeometry().width() / 2, 500) : 500;
    // What the box takes beside its text: margins, the icon and the gap.
    const QString probe(200, QLatin1Char('x'));
    box.setText(probe);
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    if (label)
        label->setWordWrap(false);
    box.layout()->activate();
    const qreal beside = box.layout()->totalMinimumSize().width() - QFontMetricsF(box.font()).horizontalAdvance(probe);
    return softLimit - std::max<qreal>(beside, 0) - 1;
}

int showMessageBox(const TMessageBoxRequest &request, QWidget *parent)
{
    QMessageBox box(iconOf(request.Type), request.Caption, QString(), QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    box.setText(withWholePaths(request.Text, QFontMetricsF(box.font()), messageLineWidth(box)));
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

// Qt's file dialog, which answers for saving the name that is written:
// the typed name with the default extension (SaveFileName), and asks
// about that name: a file that may not be replaced is refused at once,
// with the dialog left open for another name, and an existing one is
// replaced only when the user says so.
class ChoosingFileDialog : public QFileDialog
{
public:
    explicit ChoosingFileDialog(const TFileDialogRequest &request)
        : QFileDialog(nullptr, request.Title), m_defaultExt(request.DefaultExt),
          m_overwritePrompt(request.OverwritePrompt)
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite);
    }

    // The file chosen for saving.
    QString Chosen() const { return m_chosen; }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (acceptMode() != AcceptSave || files.isEmpty() || QFileInfo(files.first()).isDir())
            return QFileDialog::accept();
        const QString name = SaveFileName(files.first(), m_defaultExt);
        if (IsReadOnlyFile(name)) {
            TMessageBoxRequest refusal;
            refusal.Caption = windowTitle();
            refusal.Text = ReadOnlyFileMessage(name);
            refusal.Type = mtWarning;
            showMessageBox(refusal, this);
            return;
        }
        if (m_overwritePrompt && QFileInfo::exists(name) && !replaceConfirmed(name))
            return;
        m_chosen = name;
        QFileDialog::accept();
    }

private:
    bool replaceConfirmed(const QString &name)
    {
        const QString question = QFileDialog::tr("%1 already exists.\nDo you want to replace it?");
        return QMessageBox::warning(this, windowTitle(), question.arg(QFileInfo(name).fileName()),
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    }

    QString m_defaultExt;
    bool m_overwritePrompt;
    QString m_chosen;
};

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
    return showMessageBox(request, nullptr);
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
    ChoosingFileDialog dialog(request);
    dialog.restoreState(rememberedState);
    if (!request.InitialDir.isEmpty())
        dialog.setDirectory(request.InitialDir);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!request.Save)
        dialog.setFileMode(request.MultiSelect       ? QFileDialog::ExistingFiles
                           : request.FileMustExist ? QFileDialog::ExistingFile
                                                   : QFileDialog::AnyFile);
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
    request.Files = request.Save ? QStringList{dialog.Chosen()} : dialog.selectedFiles();
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
