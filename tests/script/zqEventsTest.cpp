// Event adapters on real toolkit controls, through the events the forms
// module binds: each event kind hands its
// arguments to a script procedure and takes its var arguments back; a
// re-entrant event is skipped; adapters never outlive the script, the
// procedure or the control.

#include "HostSamples.h"
#include "ModuleTestSupport.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TForm.h"

#include <gtest/gtest.h>

namespace {

const char *const kHandlers = R"(
var clicks, closes, moved, pressed, lastButton, lastShift, lastXY: Integer;
procedure ButtonClick(Sender: TObject);
begin
  clicks := clicks + 1;
  ClickAgain
end;
procedure Query(Sender: TObject; var CanClose: Boolean);
begin
  CanClose := False
end;
procedure FormClose(Sender: TObject; var Action: Integer);
begin
  closes := closes + 1; Action := 2
end;
procedure KeyPress(Sender: TObject; var Key: Char);
begin
  if Key = 'a' then Key := 'b' else Key := ''
end;
procedure KeyDown(Sender: TObject; var Key: Integer; Shift: Integer);
begin
  Key := Key + Shift
end;
procedure MouseDown(Sender: TObject; Button, Shift, X, Y: Integer);
begin
  lastButton := Button; lastShift := Shift; lastXY := X * 1000 + Y
end;
procedure MouseMove(Sender: TObject; Shift, X, Y: Integer);
begin
  moved := X + Y
end;
procedure CanResize(Sender: TObject; var NewWidth, NewHeight: Integer; var Resize: Boolean);
begin
  NewWidth := NewWidth + 1; NewHeight := 50; Resize := False
end;
begin
  Button.OnClick := 'ButtonClick';
  Button.OnMouseDown := 'MouseDown';
  Button.OnMouseMove := 'MouseMove';
  Button.OnKeyDown := 'KeyDown';
  Button.OnKeyPress := 'KeyPress';
  Form.OnCanResize := 'CanResize';
  Form.OnCloseQuery := 'Query';
  Form.OnClose := 'FormClose'
end.
)";

class EventScript : public ModuleRunner
{
public:
    EventScript()
    {
        button = new TButton(&form);
        button->SetParent(&form);
        host.AddObject(QStringLiteral("Form"), &form);
        host.AddObject(QStringLiteral("Button"), button);
        // Clicks the button from inside its own click handler.
        host.AddMethod(QStringLiteral("procedure ClickAgain"), [this](TObject *, TClass, const QString &, TzqMethodHelper *) {
            button->Click();
            return Variant();
        });
        script.Parent = &host;
    }
    int Int(const QString &name) const { return Value(name).AsInteger(); }

    // Holds the host's objects and functions, which outlive each run.
    TzqScript host;
    TForm form{nullptr};
    TButton *button;
};

TEST(zqEvents, EveryEventKindHandsItsArgumentsAndTakesBackItsVarArguments)
{
    EventScript s;
    ASSERT_TRUE(s.Run(QString::fromUtf8(kHandlers)));

    s.button->Click();
    EXPECT_EQ(s.Int(QStringLiteral("clicks")), 1); // the click from the handler itself is skipped

    s.button->OnMouseDown(s.button, mbRight, TShiftState(ssShift | ssCtrl), 12, 34);
    EXPECT_EQ(s.Int(QStringLiteral("lastButton")), 1);
    EXPECT_EQ(s.Int(QStringLiteral("lastShift")), 5);
    EXPECT_EQ(s.Int(QStringLiteral("lastXY")), 12034);
    s.button->OnMouseMove(s.button, TShiftState(), 3, 4);
    EXPECT_EQ(s.Int(QStringLiteral("moved")), 7);

    int key = 65;
    s.button->OnKeyDown(s.button, key, TShiftState(ssAlt));
    EXPECT_EQ(key, 67);
    QChar typed(u'a');
    s.button->OnKeyPress(s.button, typed);
    EXPECT_EQ(typed, QChar(u'b'));
    typed = QChar(u'z');
    s.button->OnKeyPress(s.button, typed);
    EXPECT_EQ(typed, QChar(0));

    int width = 10, height = 20;
    bool resize = true;
    s.form.OnCanResize(&s.form, width, height, resize);
    EXPECT_EQ(width, 11);
    EXPECT_EQ(height, 50);
    EXPECT_FALSE(resize);

    // The close query keeps the form open: OnClose never runs.
    s.form.Close();
    EXPECT_EQ(s.Int(QStringLiteral("closes")), 0);
    TCloseAction action = caHide;
    s.form.OnClose(&s.form, action);
    EXPECT_EQ(action, caFree);
    EXPECT_EQ(s.Int(QStringLiteral("closes")), 1);
}

TEST(zqEvents, ASkippedReentrantEventLeavesTheVarArgumentsAlone)
{
    EventScript s;
    // Host fires the event again from inside the handler.
    int innerKey = 0;
    s.host.AddMethod(QStringLiteral("procedure Host"),
                     [&s, &innerKey](TObject *, TClass, const QString &, TzqMethodHelper *) {
                         innerKey = 99;
                         s.button->OnKeyDown(s.button, innerKey, TShiftState(ssShift));
                         return Variant();
                     });
    ASSERT_TRUE(s.Run(QStringLiteral(R"(

procedure KeyDown(Sender: TObject; var Key: Integer; Shift: Integer);
begin
  Key := 1;
  if Shift = 0 then Host
end;
begin
  Button.OnKeyDown := 'KeyDown'
end.
)")));
    int key = 5;
    s.button->OnKeyDown(s.button, key, TShiftState());
    EXPECT_EQ(key, 1);
    EXPECT_EQ(innerKey, 99);
}

TEST(zqEvents, AHandlerThatFiresItsOwnEventRunsOnceThroughPropertiesAndSlotsAlike)
{
    EventScript s;
    THostItem item(nullptr);
    RegisterClass<THostItem>();
    s.host.AddClass(ClassOf<THostItem>(), QStringLiteral("TComponent"))->AddEvent(QStringLiteral("OnChange"));
    s.host.AddObject(QStringLiteral("Item"), &item);
    // The host changes the item again from inside the change handler, as
    // setting a text fires OnChange.
    s.host.AddMethod(QStringLiteral("procedure ChangeAgain"),
                     [&item](TObject *, TClass, const QString &, TzqMethodHelper *) {
                         item.onChange(&item);
                         return Variant();
                     });
    ASSERT_TRUE(s.Run(QStringLiteral(R"(
var changes, clicks: Integer;
procedure Changed(Sender: TObject);
begin
  changes := changes + 1;
  ChangeAgain
end;
procedure Clicked(Sender: TObject);
begin
  clicks := clicks + 1;
  ClickAgain
end;
begin
  Item.OnChange := 'Changed';
  Button.OnClick := 'Clicked'
end.
)")));
    item.onChange(&item);
    s.button->Click();
    EXPECT_EQ(s.Int(QStringLiteral("changes")), 1);
    EXPECT_EQ(s.Int(QStringLiteral("clicks")), 1);
    // Not re-entered, the handler runs again.
    item.onChange(&item);
    EXPECT_EQ(s.Int(QStringLiteral("changes")), 2);
}

TEST(zqEvents, AdaptersGoWithTheScriptAndTheOwnersItemsAndOutliveNoControl)
{
    EventScript s;
    ASSERT_TRUE(s.Run(QString::fromUtf8(kHandlers)));
    ASSERT_TRUE(bool(s.button->OnClick));
    s.script.Clear();
    EXPECT_FALSE(bool(s.button->OnClick));
    EXPECT_FALSE(bool(s.form.OnCloseQuery));

    const int owner = 0;
    s.script.AddedBy = &owner;
    ASSERT_TRUE(s.Run(QString::fromUtf8(kHandlers)));
    s.script.AddedBy = nullptr;
    ASSERT_TRUE(bool(s.button->OnKeyPress));
    s.script.ClearItems(&owner);
    EXPECT_FALSE(bool(s.button->OnKeyPress));

    ASSERT_TRUE(s.Run(QString::fromUtf8(kHandlers)));
    delete s.button;
    s.script.Clear();

    // Assigning "0" clears the slot.
    EventScript t;
    ASSERT_TRUE(t.Run(QStringLiteral(R"(
procedure P(Sender: TObject); begin end;
begin Button.OnClick := 'P'; Button.OnClick := '0' end.
)")));
    EXPECT_FALSE(bool(t.button->OnClick));
}

} // namespace
