// Shows each report dialog on a real X server, writes a screenshot of it
// (PPM) into the folder given as the first argument, and checks through
// the widget tree that the dialog shows its captions.  Run under
// scripts/xvfb-session.

#include "../FakePrinters.h"

#include "preview/PreviewUnits.h"
#include "preview/qvxDialogForm.h"
#include "preview/qvxPDFExportDialog.h"
#include "preview/qvxPageSettings.h"
#include "preview/qvxPasswordForm.h"
#include "preview/qvxPrintDialog.h"
#include "preview/qvxSearchDialog.h"
#include "report/model/qvxResources.h"
#include "report/pages/qvxPage.h"
#include "report/model/qvxOptions.h"
#include "report/report/qvxReport.h"
#include "toolkit/core/Units.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/widgets/TPageControl.h"

#include "common/XvfbDrive.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>

#include <cstdio>
#include <memory>

namespace {

// Every text the window shows: its title, labels, buttons, group and tab
// captions, and the items of its lists.
QStringList textsOf(QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<QLabel *>(widget))
            texts << label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts << button->text();
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            texts << group->title();
        else if (auto *tabs = qobject_cast<QTabBar *>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        else if (auto *list = qobject_cast<QComboBox *>(widget))
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
    }
    return texts;
}

// Shows the form (it stays shown), saves its picture as name.ppm and
// checks that each resource text in captions (numbers or keys) is among
// its texts.
bool check(TCustomForm *form, const QString &folder, const QString &name, const QStringList &captions)
{
    form->Show();
    QWidget *window = form->Widget()->window();
    bool good = XvfbDrive::WaitForExposed(window);
    if (!good)
        std::printf("%s: window not exposed\n", qPrintable(name));
    window->grab().toImage().save(QDir(folder).filePath(name + QStringLiteral(".ppm")), "PPM");
    const QStringList texts = textsOf(window);
    for (const QString &caption : captions) {
        const QString text = qvxResources()->Get(caption);
        if (!texts.contains(text)) {
            std::printf("%s: caption %s (%s) not shown\n", qPrintable(name), qPrintable(caption),
                        qPrintable(text));
            good = false;
        }
    }
    return good;
}

QStringList keys(std::initializer_list<int> numbers, QStringList named = {})
{
    for (const int number : numbers)
        named << QString::number(number);
    return named;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    RegisterPreviewUnits();
    Units::InitializeAll();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    bool good = true;
    {
        TFakePrinters printers{twoFakePrinters()};
        auto report = std::make_unique<TqvxReport>();
        auto *page = NewObject<TqvxReportPage>(report.get());
        page->SetParent(report.get());
        page->SetPaperSize(kA4Paper);

        std::unique_ptr<TqvxPrintDialog> print(NewObject<TqvxPrintDialog>(nullptr));
        print->SetOptions(report.get(), 0);
        good &= check(print.get(), folder, QStringLiteral("print"),
                      keys({200, 201, 212, 209, 208, 210, 202, 3, 4, 5, 9, 205, 203, 204, 207, 206, 211, 216, 213, 214,
                            1, 2},
                           {"ppAll", "ppOdd", "ppEven", "poDirect", "poReverse", "dupDefault", "dupVert", "dupHorz",
                            "dupSimpl", "pmDefault", "pmSplit", "pmJoin", "pmScale", "pgDefault"}));

        std::unique_ptr<TqvxPageSettingsForm> settings(NewObject<TqvxPageSettingsForm>(nullptr));
        settings->SetPage(report.get(), page);
        good &= check(settings.get(), folder, QStringLiteral("pagesettings"),
                      keys({400, 403, 401, 402, 404, 410, 411, 409, 405, 406, 407, 408, 412, 413, 414, 1, 2},
                           {"uCm"}));

        std::unique_ptr<TqvxPDFExportDialog> pdf(NewObject<TqvxPDFExportDialog>(nullptr));
        const QStringList pdfCaptions =
            keys({8700, 107, 8972, 8962, 8981, 8706, 8, 8701, 8702, 8703, 8704, 8705, 7, 3, 4, 5, 9, 8971, 8973, 8974,
                  8975, 8976, 8977, 8978, 8979, 8964, 8965, 8980, 8966, 8967, 8968, 8969, 8982, 8983, 8984, 8985,
                  8986, 8987, 8988, 1, 2});
        const char *const pages[] = {"pdf-export", "pdf-info", "pdf-security", "pdf-viewer"};
        for (int i = 0; i < 4; ++i) {
            pdf->PageControl1->SetActivePageIndex(i);
            good &= check(pdf.get(), folder, QString::fromLatin1(pages[i]), pdfCaptions);
        }
    }
    {
        // No printer installed: the virtual printer's papers by name.
        TFakePrinters printers{noInstalledPrinter()};
        auto report = std::make_unique<TqvxReport>();
        auto *page = NewObject<TqvxReportPage>(report.get());
        page->SetParent(report.get());
        page->SetPaperSize(11);
        report->PrintOptions()->SetPrintMode(pmScale);
        report->PrintOptions()->SetPrintOnSheet(68);

        std::unique_ptr<TqvxPrintDialog> print(NewObject<TqvxPrintDialog>(nullptr));
        print->SetOptions(report.get(), 0);
        good &= check(print.get(), folder, QStringLiteral("print-noprinter"), keys({200}, {"prVirtual"}));
        std::unique_ptr<TqvxPageSettingsForm> settings(NewObject<TqvxPageSettingsForm>(nullptr));
        settings->SetPage(report.get(), page);
        good &= check(settings.get(), folder, QStringLiteral("pagesettings-noprinter"), keys({400}));
        for (const int paper : {9, 11, 68})
            if (!textsOf(settings->Widget()->window()).contains(PaperName(paper))) {
                std::printf("pagesettings-noprinter: paper %d not listed by name\n", paper);
                good = false;
            }
    }
    std::unique_ptr<TqvxSearchDialog> search(NewObject<TqvxSearchDialog>(nullptr));
    good &= check(search.get(), folder, QStringLiteral("search"), keys({300, 301, 302, 304, 305, 1, 2}));
    std::unique_ptr<TqvxPasswordForm> password(NewObject<TqvxPasswordForm>(nullptr));
    good &= check(password.get(), folder, QStringLiteral("password"), keys({5000, 5001, 1, 2}));
    std::unique_ptr<TqvxDialogForm> dialogForm(NewObject<TqvxDialogForm>(nullptr));
    good &= check(dialogForm.get(), folder, QStringLiteral("dialogform"), {});

    std::printf("%s\n", good ? "every dialog shows its captions" : "captions missing");
    Units::FinalizeAll();
    return good ? 0 : 1;
}
