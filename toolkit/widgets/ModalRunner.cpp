#include "toolkit/widgets/ModalRunner.h"

#include "toolkit/classes/SaveFileStream.h"
#include "toolkit/graphics/QtFonts.h"
#include "toolkit/printing/Printers.h"
#include "toolkit/widgets/MessageTextView.h"
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
#include <QScreen>

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
    const qreal lineWidth = messageLineWidth(box);
    box.setText(request.Text);
    // The box's own label gives way to a view that breaks the lines without
    // putting line feeds into the text.
    if (QLabel *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
        auto *view = new MessageTextView(request.Text, lineWidth, &box);
        view->setObjectName(QStringLiteral("messageText"));
        delete box.layout()->replaceWidget(label, view);
        label->hide();
    }
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
