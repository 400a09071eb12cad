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
var d: TSaveDialog; ok: Boolean;
begin
  d := TSaveDialog.Create(nil);
  ok := d.Execute;
  d.Free
end.
)")));
    EXPECT_TRUE(r.Value(QStringLiteral("ok")).AsBoolean());
    EXPECT_EQ(runner.fileRequests.size(), 1u);
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

} // namespace
