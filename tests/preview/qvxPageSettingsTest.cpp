// The page settings dialog on a report page and the current printer's
// papers, in the units of the report's settings file.  Numbers show with
// the tests' decimal comma.

#include "DialogKeys.h"
#include "FakePrinters.h"

#include "engine/PreparedReport.h"
#include "preview/qvxPageSettings.h"
#include "report/model/qvxResources.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TComboBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TRadioButton.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PageSettings : public ::testing::Test
{
protected:
    // The settings file says units.
    void setUnits(int units)
    {
        const QString path = settingsDir.filePath(QStringLiteral("settings.ini"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[Form.TqvxDesignerForm]\nUnits=") + QByteArray::number(units) + "\n");
        prepared.report->SetIniFile(path);
    }
    TFakePrinter *office() { return static_cast<TFakePrinter *>(printers.list.GetItem(0)); }
    // Runs the dialog on page; answer works the controls before OK (or
    // Cancel when it says false).
    bool edit(TqvxReportPage *page, const std::function<bool(TqvxPageSettingsForm &)> &answer)
    {
        runner.onForm = [&](TCustomForm &form) {
            auto &dialog = dynamic_cast<TqvxPageSettingsForm &>(form);
            (answer(dialog) ? dialog.OKB : dialog.CancelB)->Click();
        };
        TqvxPageSetupRequest request;
        request.Page = page;
        request.Report = prepared.report.get();
        return qvxEditPageSettings(request);
    }

    QTemporaryDir settingsDir;
    TPreparedReport prepared;
    TFakePrinters printers{twoFakePrinters()};
    ScriptedModalRunner runner;
};

TEST_F(PageSettings, InchesShowTwoDecimalsAndTypedInchesAreStoredInMillimetres)
{
    setUnits(1);
    prepared.page->SetPaperSize(kA4Paper);
    EXPECT_TRUE(edit(prepared.page, [](TqvxPageSettingsForm &dialog) {
        EXPECT_EQ(dialog.WidthE->Text(), "8,27");
        EXPECT_EQ(dialog.UnitL1->Caption(), qvxResources()->Get("uInch"));
        EXPECT_EQ(dialog.SizeCB->Text(), "A4");
        dialog.WidthE->SetText(QStringLiteral("10"));
        EXPECT_EQ(dialog.SizeCB->Text(), qvxResources()->Get("prCustom")) << "typing a size chooses the custom one";
        return true;
    }));
    EXPECT_DOUBLE_EQ(prepared.page->PaperWidth(), 254);
    EXPECT_EQ(prepared.page->PaperSize(), kCustomPaper);
}

TEST_F(PageSettings, UnitsOfAnUnknownKindAreCentimetres)
{
    setUnits(7);
    prepared.page->SetPaperSize(kA4Paper);
    edit(prepared.page, [](TqvxPageSettingsForm &dialog) {
        EXPECT_EQ(dialog.Units(), TqvxPageUnits::Centimetres);
        EXPECT_EQ(dialog.WidthE->Text(), "21");
        EXPECT_EQ(dialog.MarginLeftE->Text(), "1");
        return true;
    });
    EXPECT_DOUBLE_EQ(prepared.page->PaperWidth(), 210);
    EXPECT_DOUBLE_EQ(prepared.page->PaperHeight(), 297);
    EXPECT_DOUBLE_EQ(prepared.page->LeftMargin(), 10);
}

TEST_F(PageSettings, ACustomSizeTurnsOnlyWithTheOrientation)
{
    edit(prepared.page, [](TqvxPageSettingsForm &dialog) {
        EXPECT_EQ(dialog.SizeCB->Text(), qvxResources()->Get("prCustom"));
        EXPECT_EQ(dialog.WidthE->Text(), "10");
        EXPECT_EQ(dialog.HeightE->Text(), "15");
        dialog.SizeCB->OnChange(dialog.SizeCB);
        dialog.SizeCB->OnChange(dialog.SizeCB);
        EXPECT_EQ(dialog.WidthE->Text(), "10") << "choosing the custom size again leaves it";
        dialog.LandscapeRB->SetChecked(true);
        EXPECT_EQ(dialog.WidthE->Text(), "15");
        EXPECT_EQ(dialog.HeightE->Text(), "10");
        return true;
    });
}

TEST_F(PageSettings, AStandardPaperShowsItsSizeInTheOrientation)
{
    edit(prepared.page, [](TqvxPageSettingsForm &dialog) {
        dialog.LandscapeRB->SetChecked(true);
        dialog.SizeCB->SetItemIndex(2);
        dialog.SizeCB->OnChange(dialog.SizeCB);
        EXPECT_EQ(dialog.SizeCB->Text(), "A3");
        EXPECT_EQ(dialog.WidthE->Text(), "42");
        EXPECT_EQ(dialog.HeightE->Text(), "29,70");
        return true;
    });
    EXPECT_EQ(prepared.page->PaperSize(), 8);
    EXPECT_EQ(prepared.page->Orientation(), ObjectTypes::poLandscape);
    EXPECT_DOUBLE_EQ(prepared.page->PaperWidth(), 420);
}

TEST_F(PageSettings, APaperThePrinterLacksShowsTheCustomEntry)
{
    prepared.page->SetPaperSize(11);
    edit(prepared.page, [](TqvxPageSettingsForm &dialog) {
        EXPECT_EQ(dialog.SizeCB->Text(), qvxResources()->Get("prCustom"));
        EXPECT_EQ(dialog.WidthE->Text(), "14,80");
        return false;
    });
}

TEST_F(PageSettings, CancelLeavesThePageAndThePrinterAlone)
{
    const int paper = office()->Paper();
    EXPECT_FALSE(edit(prepared.page, [](TqvxPageSettingsForm &dialog) {
        dialog.LandscapeRB->SetChecked(true);
        dialog.SizeCB->SetItemIndex(2);
        dialog.SizeCB->OnChange(dialog.SizeCB);
        dialog.MarginTopE->SetText(QStringLiteral("3"));
        return false;
    }));
    EXPECT_EQ(prepared.page->Orientation(), ObjectTypes::poPortrait);
    EXPECT_DOUBLE_EQ(prepared.page->PaperWidth(), 100);
    EXPECT_DOUBLE_EQ(prepared.page->TopMargin(), 10);
    EXPECT_EQ(office()->Paper(), paper);
    EXPECT_EQ(office()->viewParamsCalls, 0);
}

TEST_F(PageSettings, ANumberThatCannotBeReadKeepsTheDialogOpen)
{
    edit(prepared.page, [](TqvxPageSettingsForm &dialog) {
        dialog.MarginRightE->SetText(QStringLiteral("1..5"));
        dialog.OKB->Click();
        EXPECT_EQ(dialog.ModalResult(), mrNone);
        return false;
    });
    EXPECT_EQ(runner.messages.size(), 1u);
}

TEST_F(PageSettings, OKWithoutAChangeKeepsThePaperWithOrWithoutAnInstalledPrinter)
{
    for (const bool installed : {true, false}) {
        TFakePrinters virtualOnly{installed ? twoFakePrinters() : noInstalledPrinter()};
        for (const int paper : {kA4Paper, 8, 11, 68}) {
            if (installed && paper == 68)
                continue;
            SCOPED_TRACE(QStringLiteral("paper %1, installed %2").arg(paper).arg(installed).toStdString());
            prepared.page->SetPaperSize(paper);
            const double width = prepared.page->PaperWidth();
            const double height = prepared.page->PaperHeight();
            const bool confirmed = edit(prepared.page, [&](TqvxPageSettingsForm &dialog) {
                EXPECT_EQ(dialog.SizeCB->Text(), installed && paper == 11 ? qvxResources()->Get("prCustom")
                                                                          : PaperName(paper));
                if (!installed) {
                    EXPECT_EQ(dialog.SizeCB->Items()->Count(), 67) << "the custom size and every paper";
                }
                pressKey(dialog.SizeCB, Qt::Key_Return);
                return dialog.ModalResult() == mrOk;
            });
            EXPECT_TRUE(confirmed);
            EXPECT_EQ(prepared.page->PaperSize(), installed && paper == 11 ? kCustomPaper : paper);
            EXPECT_DOUBLE_EQ(prepared.page->PaperWidth(), width);
            EXPECT_DOUBLE_EQ(prepared.page->PaperHeight(), height);
        }
    }
}

TEST_F(PageSettings, SizesAndMarginsThatMakeNoPageAreRefusedNamingTheField)
{
    prepared.page->SetPaperSize(kA4Paper);
    const struct {
        TEdit *TqvxPageSettingsForm::*field;
        const char *text;
        const char *message;
    } cases[] = {
        {&TqvxPageSettingsForm::WidthE, "0", "dlgBadPaperSize"},
        {&TqvxPageSettingsForm::HeightE, "-5", "dlgBadPaperSize"},
        {&TqvxPageSettingsForm::WidthE, "1e3", "dlgBadNumber"},
        {&TqvxPageSettingsForm::WidthE, "900", "dlgBadPaperSize"},
        {&TqvxPageSettingsForm::MarginLeftE, "-1", "dlgBadMargin"},
        {&TqvxPageSettingsForm::MarginTopE, "", "dlgBadNumber"},
        {&TqvxPageSettingsForm::MarginLeftE, "20", "dlgMarginsTooWide"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        runner.messages.clear();
        edit(prepared.page, [&](TqvxPageSettingsForm &dialog) {
            TEdit *field = dialog.*c.field;
            typeOver(field, QString::fromLatin1(c.text));
            pressKey(field, Qt::Key_Return);
            EXPECT_EQ(dialog.ModalResult(), mrNone);
            EXPECT_EQ(dialog.ActiveControl(), field) << "the field to mend has the focus";
            return false;
        });
        ASSERT_EQ(runner.messages.size(), 1u);
        const QString message = runner.messages[0].Text;
        const QString expected = qvxResources()->Get(QLatin1String(c.message));
        for (const QString &piece : expected.split(QRegularExpression(QStringLiteral("%\\d"))))
            EXPECT_TRUE(message.contains(piece)) << message.toStdString();
        EXPECT_DOUBLE_EQ(prepared.page->PaperWidth(), 210) << "nothing is stored";
    }
}

// A page that notes, at each step of OK, the orientation and what is set.
class TRecordingPage : public TqvxReportPage
{
public:
    using TqvxReportPage::TqvxReportPage;

    void SetPaperWidth(double value) override
    {
        steps << QStringLiteral("width %1 %2").arg(value).arg(orientation());
        TqvxReportPage::SetPaperWidth(value);
    }
    void SetPaperHeight(double value) override
    {
        steps << QStringLiteral("height %1").arg(value);
        TqvxReportPage::SetPaperHeight(value);
    }
    void SetPaperSize(int value) override
    {
        steps << QStringLiteral("size %1").arg(value);
        TqvxReportPage::SetPaperSize(value);
    }
    void AlignChildren() override
    {
        steps << QStringLiteral("align, left margin %1").arg(LeftMargin());
        TqvxReportPage::AlignChildren();
    }

    QStringList steps;

private:
    QString orientation() const { return Orientation() == ObjectTypes::poLandscape ? "L" : "P"; }
};

TEST_F(PageSettings, OKTurnsThePageFirstAndAlignsItsChildrenLast)
{
    std::unique_ptr<TRecordingPage> page(NewObject<TRecordingPage>(nullptr));
    page->SetPaperSize(kA4Paper);
    page->steps.clear();
    edit(page.get(), [](TqvxPageSettingsForm &dialog) {
        dialog.LandscapeRB->SetChecked(true);
        dialog.MarginLeftE->SetText(QStringLiteral("2"));
        return true;
    });
    EXPECT_EQ(page->steps, QStringList({"width 297 L", "height 210", "size 9", "align, left margin 20"}));
}

} // namespace
