// Forms and controls from scripts: constants, and a dialog built, wired and
// run modally by a script, with the answers scripted.

#include "ModuleTestSupport.h"

#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/widgets/TButton.h"

namespace {

TEST(zq_iformsrtti, Constants)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var ok, size, ctrl, dbl, bottom, f12, center: Integer;
begin
  ok := mrOk; size := crSize; ctrl := ssCtrl; dbl := ssDouble; bottom := akBottom; f12 := VK_F12; center := taCenter
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("ok")).AsInteger(), 1);
    EXPECT_EQ(r.Value(QStringLiteral("size")).AsInteger(), -22);
    EXPECT_EQ(r.Value(QStringLiteral("ctrl")).AsInteger(), 4);
    EXPECT_EQ(r.Value(QStringLiteral("dbl")).AsInteger(), 64);
    EXPECT_EQ(r.Value(QStringLiteral("bottom")).AsInteger(), 8);
    EXPECT_EQ(r.Value(QStringLiteral("f12")).AsInteger(), 123);
    EXPECT_EQ(r.Value(QStringLiteral("center")).AsInteger(), 2);
}

TEST(zq_iformsrtti, AScriptBuildsAFormAndRunsItModally)
{
    ScriptedModalRunner runner;
    runner.onForm = [](TCustomForm &form) {
        for (int i = 0; i < form.ComponentCount(); ++i) {
            if (auto *button = dynamic_cast<TButton *>(form.Components(i)))
                button->Click();
        }
    };
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var f: TForm; e: TEdit; b: TButton; l: TListBox; result, clicks, selected, parentGone: Integer; typed: String;

procedure ButtonClick(Sender: TObject);
begin
  clicks := clicks + 1;
  l.Items.Add(e.Text);
  l.ItemIndex := 0;
  f.ModalResult := mrOk
end;

begin
  f := TForm.Create(nil);
  e := TEdit.Create(f); e.Parent := f; e.Text := 'hello';
  b := TButton.Create(f); b.Parent := f; b.SetBounds(10, 40, 80, 25);
  l := TListBox.Create(f); l.Parent := f;
  b.OnClick := 'ButtonClick';
  result := f.ShowModal;
  typed := l.Items[0];
  selected := l.ItemIndex;
  e.Parent := nil;
  if e.Parent = nil then parentGone := 1;
  f.Free
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("result")).AsInteger(), 1);
    EXPECT_EQ(r.Value(QStringLiteral("clicks")).AsInteger(), 1);
    EXPECT_EQ(r.Text(QStringLiteral("typed")), QStringLiteral("hello"));
    EXPECT_EQ(r.Value(QStringLiteral("selected")).AsInteger(), 0);
    EXPECT_EQ(r.Value(QStringLiteral("parentGone")).AsInteger(), 1);
}

} // namespace
