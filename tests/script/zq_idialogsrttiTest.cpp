// Dialogs and message boxes from scripts, answered by the scripted modal
// runner.

#include "ModuleTestSupport.h"

#include "toolkit/ScriptedModalRunner.h"

namespace {

TEST(zq_idialogsrtti, SetsCountBitsFromTheFirstName)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(
        "var a, b, c, d: Integer;\nbegin a := ofEnableSizing; b := mbOK; c := mbHelp; d := mtConfirmation end.")));
    EXPECT_EQ(r.Value(QStringLiteral("a")).AsInteger(), 524288);
    EXPECT_EQ(r.Value(QStringLiteral("b")).AsInteger(), 4);
    EXPECT_EQ(r.Value(QStringLiteral("c")).AsInteger(), 1024);
    EXPECT_EQ(r.Value(QStringLiteral("d")).AsInteger(), 3);
}

TEST(zq_idialogsrtti, MessageAndInputBoxesGoThroughTheModalRunner)
{
    ScriptedModalRunner runner;
    runner.onMessage = [](const TMessageBoxRequest &) { return 6; };
    int inputs = 0;
    runner.onInput = [&inputs](TInputRequest &request) {
        request.Value = QStringLiteral("typed");
        return ++inputs == 1;
    };
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var answer: Integer; first, second: Boolean; v, w, boxed: String;
begin
  answer := MessageDlg('Sure?', mtConfirmation, mbYes + mbNo, 0);
  v := 'old'; first := InputQuery('T', 'P', v);
  w := 'kept'; second := InputQuery('T', 'P', w);
  boxed := InputBox('T', 'P', 'default')
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("answer")).AsInteger(), 6);
    ASSERT_EQ(runner.messages.size(), 1u);
    EXPECT_EQ(runner.messages[0].Text, QStringLiteral("Sure?"));
    EXPECT_EQ(int(runner.messages[0].Buttons.toInt()), 3);
    EXPECT_TRUE(r.Value(QStringLiteral("first")).AsBoolean());
    EXPECT_EQ(r.Text(QStringLiteral("v")), QStringLiteral("typed"));
    EXPECT_FALSE(r.Value(QStringLiteral("second")).AsBoolean());
    EXPECT_EQ(r.Text(QStringLiteral("w")), QStringLiteral("kept"));
    EXPECT_EQ(r.Text(QStringLiteral("boxed")), QStringLiteral("default"));
}

TEST(zq_idialogsrtti, ASaveDialogRunsThroughTheCommonExecute)
{
    ScriptedModalRunner runner;
    runner.onFile = [](TFileDialogRequest &) { return true; };
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var d: TSaveDialog; ok: Boolean; name: String;
begin
  d := TSaveDialog.Create(nil);
  d.FileName := 'report';
  d.DefaultExt := 'pdf';
  d.Options := ofOverwritePrompt;
  ok := d.Execute;
  name := d.FileName;
  d.Free
end.
)")));
    EXPECT_TRUE(r.Value(QStringLiteral("ok")).AsBoolean());
    ASSERT_EQ(runner.fileRequests.size(), 1u);
    EXPECT_TRUE(runner.fileRequests[0].Save);
    EXPECT_TRUE(runner.fileRequests[0].OverwritePrompt);
    EXPECT_EQ(r.Text(QStringLiteral("name")), QStringLiteral("report.pdf"));
}

TEST(zq_idialogsrtti, PrinterSetupDialogsRunThroughTheModalRunner)
{
    ScriptedModalRunner runner;
    bool setup = false;
    runner.onPrint = [&setup](TPrintRequest &request) {
        setup = request.SetupOnly;
        return true;
    };
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("BasicScript"), QStringLiteral(R"(
Dim d, ok
Set d = New TPrinterSetupDialog(Nil)
ok = d.Execute
d.Free
)")));
    EXPECT_TRUE(r.Value(QStringLiteral("ok")).AsBoolean());
    EXPECT_TRUE(setup);
}

TEST(zq_idialogsrtti, FileDialogsAreSetUpAndAnsweredThroughTheirProperties)
{
    ScriptedModalRunner runner;
    runner.onFile = [](TFileDialogRequest &request) {
        request.Files = {QStringLiteral("/tmp/a"), QStringLiteral("/tmp/b.txt")};
        request.FilterIndex = 1;
        return true;
    };
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var d: TOpenDialog; ok: Boolean; name, files: String; index: Integer;
begin
  d := TOpenDialog.Create(nil);
  d.FileName := 'a.pdf';
  d.Filter := 'PDF|*.pdf|Text|*.txt';
  d.FilterIndex := 2;
  d.InitialDir := '/tmp';
  d.DefaultExt := 'pdf';
  d.Title := 'Choose';
  d.Options := ofAllowMultiSelect + ofFileMustExist;
  ok := d.Execute;
  name := d.FileName; files := d.Files.CommaText; index := d.FilterIndex;
  d.Free
end.
)")));
    ASSERT_EQ(runner.fileRequests.size(), 1u);
    const TFileDialogRequest &shown = runner.fileRequests[0];
    EXPECT_EQ(shown.FileName, QStringLiteral("a.pdf"));
    EXPECT_EQ(shown.Filters, QStringList({QStringLiteral("PDF (*.pdf)"), QStringLiteral("Text (*.txt)")}));
    EXPECT_EQ(shown.FilterIndex, 1);
    EXPECT_EQ(shown.InitialDir, QStringLiteral("/tmp"));
    EXPECT_EQ(shown.Title, QStringLiteral("Choose"));
    EXPECT_TRUE(shown.MultiSelect);
    EXPECT_TRUE(shown.FileMustExist);
    EXPECT_TRUE(r.Value(QStringLiteral("ok")).AsBoolean());
    EXPECT_EQ(r.Text(QStringLiteral("name")), QStringLiteral("/tmp/a.pdf"));
    EXPECT_EQ(r.Text(QStringLiteral("files")), QStringLiteral("/tmp/a.pdf,/tmp/b.txt"));
    EXPECT_EQ(r.Value(QStringLiteral("index")).AsInteger(), 2);
}

TEST(zq_idialogsrtti, ColourAndFontDialogsAreSetUpAndAnsweredThroughTheirProperties)
{
    ScriptedModalRunner runner;
    TColor shownColor = 0;
    runner.onColor = [&shownColor](TColor &color) {
        shownColor = color;
        color = 0x00FF00;
        return true;
    };
    QString shownFace;
    runner.onFont = [&shownFace](TFontData &font) {
        shownFace = font.Name;
        font.Height = -40; // 30 points at 96 pixels per inch
        return true;
    };
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var c: TColorDialog; f: TFontDialog; color, size, device: Integer;
begin
  c := TColorDialog.Create(nil);
  c.Color := $0000FF;
  c.Options := cdFullOpen;
  c.Execute;
  color := c.Color;
  f := TFontDialog.Create(nil);
  f.Font.Name := 'Arial';
  f.Device := fdBoth;
  f.Options := fdLimitSize;
  f.MaxFontSize := 20;
  f.Execute;
  size := f.Font.Size; device := f.Device;
  c.Free; f.Free
end.
)")));
    EXPECT_EQ(shownColor, 0x0000FF);
    EXPECT_EQ(r.Value(QStringLiteral("color")).AsInteger(), 0x00FF00);
    EXPECT_EQ(shownFace, QStringLiteral("Arial"));
    EXPECT_EQ(r.Value(QStringLiteral("size")).AsInteger(), 20) << "limited to MaxFontSize";
    EXPECT_EQ(r.Value(QStringLiteral("device")).AsInteger(), 2);
}

TEST(zq_idialogsrtti, PrintDialogsAreSetUpAndAnsweredThroughTheirProperties)
{
    ScriptedModalRunner runner;
    TPrintRequest shown;
    runner.onPrint = [&shown](TPrintRequest &request) {
        if (!request.SetupOnly)
            shown = request;
        request.Copies = 3;
        request.PrintRange = prAllPages;
        request.PrinterName = QStringLiteral("Office");
        return true;
    };
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var p: TPrintDialog; s: TPrinterSetupDialog; copies, range: Integer; printer, setupPrinter: String;
begin
  p := TPrintDialog.Create(nil);
  p.MinPage := 1; p.MaxPage := 10; p.FromPage := 2; p.ToPage := 5;
  p.PrintRange := prPageNums;
  p.Options := poPageNums;
  p.Collate := True;
  p.Execute;
  copies := p.Copies; range := p.PrintRange; printer := p.PrinterName;
  s := TPrinterSetupDialog.Create(nil);
  s.Execute;
  setupPrinter := s.PrinterName;
  p.Free; s.Free
end.
)")));
    EXPECT_EQ(shown.FromPage, 2);
    EXPECT_EQ(shown.ToPage, 5);
    EXPECT_EQ(shown.MinPage, 1);
    EXPECT_EQ(shown.MaxPage, 10);
    EXPECT_EQ(shown.PrintRange, prPageNums);
    EXPECT_TRUE(shown.Options.testFlag(poPageNums));
    EXPECT_TRUE(shown.Collate);
    EXPECT_EQ(r.Value(QStringLiteral("copies")).AsInteger(), 3);
    EXPECT_EQ(r.Value(QStringLiteral("range")).AsInteger(), int(prAllPages));
    EXPECT_EQ(r.Text(QStringLiteral("printer")), QStringLiteral("Office"));
    EXPECT_EQ(r.Text(QStringLiteral("setupPrinter")), QStringLiteral("Office"));
}

} // namespace
