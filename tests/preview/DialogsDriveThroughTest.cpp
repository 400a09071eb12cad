// A report printed into a file through the print dialog and exported
// through the PDF options dialog with a password, as a user would.

#include "FakePrinters.h"

#include "engine/PreparedReport.h"
#include "export/pdf/ToolTestSupport.h"
#include "export/pdf/qvxExportPDF.h"
#include "preview/qvxPDFExportDialog.h"
#include "preview/qvxPrintDialog.h"
#include "report/model/qvxOptions.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TSpinEdit.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DialogsDriveThrough, PrintIntoAFileThenExportAProtectedPDF)
{
    QTemporaryDir dir;
    TPreparedReport prepared;
    TFakePrinters printers{twoFakePrinters()};
    ScriptedModalRunner runner;

    runner.onForm = [](TCustomForm &form) {
        auto &dialog = dynamic_cast<TqvxPrintDialog &>(form);
        dialog.FileCB->SetChecked(true);
        dialog.CopiesE->SetValue(2);
        dialog.OkB->Click();
    };
    runner.onFile = [&](TFileDialogRequest &request) {
        request.FileName = dir.filePath(QStringLiteral("order"));
        return true;
    };
    prepared.report->PrintOptions()->SetShowDialog(true);
    ASSERT_TRUE(prepared.store()->Print());
    QFile printed(dir.filePath(QStringLiteral("order.prn")));
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_EQ(printed.readAll(), "Page 1\nPage 2\nPage 3\nPage 1\nPage 2\nPage 3");

    TqvxPDFExport filter;
    runner.onForm = [](TCustomForm &form) {
        auto &dialog = dynamic_cast<TqvxPDFExportDialog &>(form);
        dialog.UserPassE->SetText(QStringLiteral("reader"));
        dialog.OwnPassE->SetText(QStringLiteral("owner"));
        dialog.PageNumbersE->SetText(QStringLiteral("2-"));
        dialog.OkB->Click();
    };
    const QString pdf = dir.filePath(QStringLiteral("order.pdf"));
    runner.onFile = [&](TFileDialogRequest &request) {
        request.FileName = pdf;
        return true;
    };
    ASSERT_TRUE(prepared.report->Export(&filter));

    QString output;
    EXPECT_NE(runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf}, &output), 0)
        << "the document asks for its password";
    EXPECT_EQ(runTool(QStringLiteral("qpdf"), {QStringLiteral("--password=reader"), QStringLiteral("--check"), pdf},
                      &output),
              0)
        << output.toStdString();
    EXPECT_EQ(runTool(QStringLiteral("pdftotext"),
                      {QStringLiteral("-upw"), QStringLiteral("reader"), pdf, QStringLiteral("-")}, &output),
              0);
    EXPECT_FALSE(output.contains("Page 1"));
    EXPECT_TRUE(output.contains("Page 2"));
    EXPECT_TRUE(output.contains("Page 3"));
}

} // namespace
