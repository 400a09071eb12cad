// Forms and controls from scripts: constants, and a dialog built, wired and
// run modally by a script, with the answers scripted.

#include "ModuleTestSupport.h"

#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/widgets/TButton.h"

#include <QCoreApplication>

namespace {

// The modal runner's user: clicks each button of the running form.
void clickEveryButton(TCustomForm &form)
{
    for (int i = 0; i < form.ComponentCount(); ++i) {
        if (auto *button = dynamic_cast<TButton *>(form.Components(i)))
            button->Click();
    }
}

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
    runner.onForm = clickEveryButton;
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

TEST(zq_iformsrtti, RadioButtonsScrollBoxesAndGraphicControls)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var f: TForm; r1, r2: TRadioButton; box: TScrollBox; e: TEdit; g: TGraphicControl;
    first, second, range, top, last: Integer; kind: String;
begin
  f := TForm.Create(nil);
  r1 := TRadioButton.Create(f); r1.Parent := f;
  r2 := TRadioButton.Create(f); r2.Parent := f;
  r1.Checked := True; r2.Checked := True;
  if r1.Checked then first := 1;
  if r2.Checked then second := 1;
  box := TScrollBox.Create(f); box.Parent := f;
  box.BorderStyle := bsNone; box.SetBounds(0, 0, 200, 100);
  e := TEdit.Create(f); e.Parent := box; e.SetBounds(0, 150, 50, 20);
  range := box.VertScrollBar.Range;
  box.VertScrollBar.Position := 40;
  top := e.Top;
  box.VertScrollBar.Position := 500;
  last := box.VertScrollBar.Position;
  g := TGraphicControl.Create(f); g.Parent := box; g.SetBounds(0, 0, 10, 10);
  kind := g.ClassName;
  f.Free
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("first")).AsInteger(), 0);
    EXPECT_EQ(r.Value(QStringLiteral("second")).AsInteger(), 1);
    EXPECT_EQ(r.Value(QStringLiteral("range")).AsInteger(), 170);
    EXPECT_EQ(r.Value(QStringLiteral("top")).AsInteger(), 110);
    EXPECT_EQ(r.Value(QStringLiteral("last")).AsInteger(), 70);
    EXPECT_EQ(r.Text(QStringLiteral("kind")), QStringLiteral("TGraphicControl"));

    ModuleRunner js;
    ASSERT_TRUE(js.Run(QStringLiteral("JScript"), QStringLiteral(R"(
var f = new TForm(nil), a = new TRadioButton(f), b = new TRadioButton(f), checked;
a.Parent = f; b.Parent = f;
b.Checked = true; a.Checked = true;
checked = b.Checked;
var box = new TScrollBox(f), e = new TEdit(f), range;
box.Parent = f; box.SetBounds(0, 0, 100, 100); e.Parent = box; e.SetBounds(300, 0, 20, 20);
range = box.HorzScrollBar.Range;
f.Free();
)")));
    EXPECT_FALSE(js.Value(QStringLiteral("checked")).AsBoolean());
    EXPECT_EQ(js.Value(QStringLiteral("range")).AsInteger(), 320);
}

TEST(zq_iformsrtti, TheApplicationMinimizesAndRestoresWhileAFormRunsModally)
{
    ScriptedModalRunner runner;
    runner.onForm = clickEveryButton;
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var owner, f: TForm; b: TButton; during, after, result: Integer; exe: String;

procedure ButtonClick(Sender: TObject);
begin
  Application.Minimize;
  Application.ProcessMessages;
  during := owner.WindowState;
  Application.Restore;
  f.ModalResult := mrOk
end;

begin
  owner := TForm.Create(nil); owner.Show;
  f := TForm.Create(owner);
  b := TButton.Create(f); b.Parent := f; b.OnClick := 'ButtonClick';
  result := f.ShowModal;
  after := owner.WindowState;
  exe := Application.ExeName;
  owner.Free
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("during")).AsInteger(), 1); // wsMinimized
    EXPECT_EQ(r.Value(QStringLiteral("after")).AsInteger(), 0);
    EXPECT_EQ(r.Value(QStringLiteral("result")).AsInteger(), 1);
    EXPECT_EQ(r.Text(QStringLiteral("exe")), QCoreApplication::applicationFilePath());
}

TEST(zq_iformsrtti, AParentCycleIsRefused)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var f: TForm; a, b: TGroupBox; self, cycle: String; kept: Boolean;
begin
  f := TForm.Create(nil);
  a := TGroupBox.Create(f); a.Name := 'A';
  b := TGroupBox.Create(f); b.Name := 'B';
  a.Parent := f;
  b.Parent := a;
  try b.Parent := b except self := ExceptionClassName + ': ' + ExceptionMessage end;
  try a.Parent := b except cycle := ExceptionMessage end;
  kept := (b.Parent = a) and (a.Parent = f);
  f.Free
end.
)")));
    EXPECT_EQ(r.Text(QStringLiteral("self")),
              QStringLiteral("EInvalidOperation: Control 'B' cannot have itself or a control it contains as its parent"));
    EXPECT_EQ(r.Text(QStringLiteral("cycle")),
              QStringLiteral("Control 'A' cannot have itself or a control it contains as its parent"));
    EXPECT_TRUE(r.Value(QStringLiteral("kept")).AsBoolean());
}

} // namespace

// The lines of a combo box, a list box and a memo keep the objects put
// beside them as a string list does: one freed since never resolves, not
// even to a string list made later at its address, also after the line was
// moved or the lines copied to another list.
TEST(zq_iformsrtti, AFreedObjectKeptByAControlsLinesIsAnInvalidObject)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var f: TForm; cb: TComboBox; lb: TListBox; m: TMemo; copied: TStringList;
    sl, later: TStringList; i: Integer; seen, kept: String;

procedure Probe(Lines: TStrings; Index: Integer);
begin
  try seen := seen + TStringList(Lines.Objects[Index]).Text except seen := seen + ExceptionClassName + ';' end
end;

begin
  f := TForm.Create(nil);
  cb := TComboBox.Create(f); cb.Parent := f;
  lb := TListBox.Create(f); lb.Parent := f;
  m := TMemo.Create(f); m.Parent := f;
  copied := TStringList.Create;
  for i := 1 to 20 do
  begin
    sl := TStringList.Create; sl.Text := 'freed';
    cb.Items.AddObject('a', sl); lb.Items.AddObject('a', sl); m.Lines.AddObject('a', sl);
    lb.Items.Move(lb.Items.Count - 1, 0);
    sl.Free;
    later := TStringList.Create; later.Text := 'second';
    copied.Assign(m.Lines);
    Probe(cb.Items, i - 1); Probe(lb.Items, 0); Probe(m.Lines, i - 1); Probe(copied, i - 1);
    later.Free
  end;
  sl := TStringList.Create; sl.Text := 'alive';
  cb.Items.Objects[0] := sl;
  kept := TStringList(cb.Items.Objects[0]).Text;
  sl.Free; copied.Free; f.Free
end.
)")));
    const QString seen = r.Text(QStringLiteral("seen"));
    EXPECT_FALSE(seen.contains(QStringLiteral("second"))) << qPrintable(seen);
    EXPECT_EQ(seen.count(QStringLiteral("EInvalidObject;")), 80) << qPrintable(seen);
    EXPECT_EQ(r.Text(QStringLiteral("kept")), QStringLiteral("alive\r\n"));
}
