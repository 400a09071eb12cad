// What a script may free: not an object another one holds and frees (a
// control's items, lines and font, a canvas's pen), but what it made, what
// an owner lets go and what no holder handed it.

#include "HeldObjectsWalk.h"
#include "ModuleTestSupport.h"

#include "toolkit/widgets/TApplication.h"

TEST(zqHeldObjects, NoBoundObjectItsHolderFreesIsFreedByAScriptInAnyLanguage)
{
    ModuleRunner r;
    const QHash<QString, QString> refused = freeEveryHeldObject(r.script);
    for (const char *property : {"TComboBox.Items", "TListBox.Items", "TMemo.Lines", "TForm.Font", "TButton.Font",
                                 "TCanvas.Pen", "TCanvas.Brush", "TCanvas.Font", "TBitmap.Canvas", "TForm.Canvas",
                                 "TFontDialog.Font", "TOpenDialog.Files", "TScrollBox.HorzScrollBar"})
        EXPECT_EQ(refused.value(QLatin1String(property), QStringLiteral("not tried")), QStringLiteral("EInvalidOperation"))
            << property;
    // A document makes itself a new root when its root goes.
    EXPECT_EQ(refused.value(QStringLiteral("TzqXMLDocument.Root"), QStringLiteral("not tried")), QString());
}

TEST(zqHeldObjects, AFreedPartRaisesAndItsHolderKeepsWorking)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var f: TForm; cb: TComboBox; items: TStrings; message: String; n: Integer;
begin
  f := TForm.Create(nil);
  cb := TComboBox.Create(f);
  items := cb.Items;
  try items.Free except message := ExceptionMessage end;
  cb.Items.Add('kept');
  n := cb.Items.Count;
  f.Font.Size := 12;
  f.Free
end.
)")));
    EXPECT_EQ(r.Text(QStringLiteral("message")),
              QStringLiteral("Cannot free TControlStrings: the object that holds it frees it"));
    EXPECT_EQ(r.Value(QStringLiteral("n")).AsInteger(), 1);

    const ::testing::AssertionResult uncaught = r.Run(QStringLiteral("C++Script"), QStringLiteral(R"(
TForm f; TListBox lb;
{
  f = new TForm(nil);
  lb = new TListBox(f);
  try { delete lb.Items; } finally { f.Free; }
}
)"));
    EXPECT_FALSE(uncaught);
    EXPECT_TRUE(QString::fromUtf8(uncaught.message()).startsWith(QStringLiteral("EInvalidOperation")))
        << uncaught.message();
}

TEST(zqHeldObjects, AScriptFreesWhatItMadeWhatAnOwnerLetsGoAndWhatNoHolderHandedIt)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var f, g: TForm; b: TButton; e: TEdit; gone: String; parentLeft: Boolean;
begin
  f := TForm.Create(nil);
  b := TButton.Create(f);
  b.Free;
  try b.Caption := 'x' except gone := ExceptionClassName end;
  f.Free;
  g := TForm.Create(nil);
  e := TEdit.Create(nil);
  e.Parent := g;
  e.Parent.Free;
  parentLeft := e.Parent = nil;
  e.Free
end.
)")));
    EXPECT_EQ(r.Text(QStringLiteral("gone")), QStringLiteral("EInvalidObject"));
    EXPECT_TRUE(r.Value(QStringLiteral("parentLeft")).AsBoolean());
}

TEST(zqHeldObjects, TheHostsObjectsAreNotTheScriptsToFree)
{
    ModuleRunner r;
    EXPECT_TRUE(r.Raised(QStringLiteral("begin Application.Free end.")).startsWith(QStringLiteral("EInvalidOperation")));

    TStringList hostList;
    r.script.Clear();
    r.script.AddObject(QStringLiteral("HostList"), &hostList);
    r.script.Lines()->SetText(QStringLiteral("begin HostList.Add('kept'); HostList.Free end."));
    ASSERT_TRUE(r.script.Compile()) << qPrintable(r.script.ErrorMsg);
    EXPECT_THROW(r.script.Execute(), EInvalidOperation);
    EXPECT_EQ(hostList.Count(), 1);
}
