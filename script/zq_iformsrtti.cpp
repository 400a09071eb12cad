#include "script/zq_iformsrtti.h"

#include "script/zqClassBinding.h"
#include "script/zqFunctionTable.h"
#include "script/zqHeldObjects.h"
#include "toolkit/classes/TDataModule.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TComboBox.h"
#include "toolkit/widgets/TCustomControl.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TGraphicControl.h"
#include "toolkit/widgets/TGroupBox.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TListBox.h"
#include "toolkit/widgets/TMemo.h"
#include "toolkit/widgets/TRadioButton.h"
#include "toolkit/widgets/TScrollBox.h"

namespace zq_iformsrtti
{

namespace
{

void addCursors(TzqScript *script)
{
    zqRegisterConstants(script, {{"crDefault", 0},     {"crNone", -1},       {"crArrow", -2},    {"crCross", -3},
                                 {"crIBeam", -4},      {"crSize", -22},      {"crSizeNESW", -6}, {"crSizeNS", -7},
                                 {"crSizeNWSE", -8},   {"crSizeWE", -9},     {"crUpArrow", -10}, {"crHourGlass", -11},
                                 {"crDrag", -12},      {"crNoDrop", -13},    {"crHSplit", -14},  {"crVSplit", -15},
                                 {"crMultiDrag", -16}, {"crSQLWait", -17},   {"crNo", -18},      {"crAppStart", -19},
                                 {"crHelp", -20},      {"crHandPoint", -21}, {"crSizeAll", -22}});
}

void registerConstants(TzqScript *script)
{
    zqRegisterConstants(script, {{"mrNone", 0},
                                 {"mrOk", 1},
                                 {"mrCancel", 2},
                                 {"mrAbort", 3},
                                 {"mrRetry", 4},
                                 {"mrIgnore", 5},
                                 {"mrYes", 6},
                                 {"mrNo", 7},
                                 {"mrAll", 8},
                                 {"mrNoToAll", 9},
                                 {"mrYesToAll", 10}});
    addCursors(script);
    zqRegisterConstants(script, {{"bsNone", 0},
                                 {"bsSingle", 1},
                                 {"bsSizeable", 2},
                                 {"bsDialog", 3},
                                 {"bsToolWindow", 4},
                                 {"bsSizeToolWin", 5}});
    zqRegisterConstants(
        script,
        {{"VK_RBUTTON", 2},    {"VK_CANCEL", 3},    {"VK_MBUTTON", 4},    {"VK_BACK", 8},      {"VK_TAB", 9},
         {"VK_RETURN", 13},    {"VK_SHIFT", 16},    {"VK_CONTROL", 17},   {"VK_MENU", 18},     {"VK_PAUSE", 19},
         {"VK_CAPITAL", 20},   {"VK_ESCAPE", 27},   {"VK_SPACE", 32},     {"VK_PRIOR", 33},    {"VK_NEXT", 34},
         {"VK_END", 35},       {"VK_HOME", 36},     {"VK_LEFT", 37},      {"VK_UP", 38},       {"VK_RIGHT", 39},
         {"VK_DOWN", 40},      {"VK_INSERT", 45},   {"VK_DELETE", 46},    {"VK_HELP", 47},     {"VK_LWIN", 91},
         {"VK_RWIN", 92},      {"VK_APPS", 93},     {"VK_NUMPAD0", 96},   {"VK_NUMPAD1", 97},  {"VK_NUMPAD2", 98},
         {"VK_NUMPAD3", 99},   {"VK_NUMPAD4", 100}, {"VK_NUMPAD5", 101},  {"VK_NUMPAD6", 102}, {"VK_NUMPAD7", 103},
         {"VK_NUMPAD8", 104},  {"VK_NUMPAD9", 105}, {"VK_MULTIPLY", 106}, {"VK_ADD", 107},     {"VK_SEPARATOR", 108},
         {"VK_SUBTRACT", 109}, {"VK_DECIMAL", 110}, {"VK_DIVIDE", 111},   {"VK_F1", 112},      {"VK_F2", 113},
         {"VK_F3", 114},       {"VK_F4", 115},      {"VK_F5", 116},       {"VK_F6", 117},      {"VK_F7", 118},
         {"VK_F8", 119},       {"VK_F9", 120},      {"VK_F10", 121},      {"VK_F11", 122},     {"VK_F12", 123},
         {"VK_NUMLOCK", 144},  {"VK_SCROLL", 145}});
    // The second pass leaves every cursor as the first one registered it.
    addCursors(script);
    for (const char *name : {"TFormBorderStyle", "TBorderStyle", "TAlignment", "TLeftRight"})
        script->AddType(QString::fromLatin1(name), fvtInt);
    zqRegisterConstants(script, {{"taLeftJustify", 0}, {"taRightJustify", 1}, {"taCenter", 2}});
    zqRegisterEnums(
        script,
        {
            {"TShiftState", "ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble", true},
            {"TAlign", "alNone, alTop, alBottom, alLeft, alRight, alClient", false},
            {"TMouseButton", "mbLeft, mbRight, mbMiddle", false},
            {"TAnchors", "akLeft, akTop, akRight, akBottom", true},
            {"TBevelCut", "bvNone, bvLowered, bvRaised, bvSpace", false},
            {"TTextLayout", "tlTop, tlCenter, tlBottom", false},
            {"TEditCharCase", "ecNormal, ecUpperCase, ecLowerCase", false},
            {"TScrollStyle", "ssNone, ssHorizontal, ssVertical, ssBoth", false},
            {"TComboBoxStyle", "csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable", false},
            {"TCheckBoxState", "cbUnchecked, cbChecked, cbGrayed", false},
            {"TListBoxStyle", "lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable", false},
            {"TWindowState", "wsNormal, wsMinimized, wsMaximized", false},
            {"TFormStyle", "fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop", false},
            {"TBorderIcons", "biSystemMenu, biMinimize, biMaximize, biHelp", true},
            {"TPosition", "poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter",
             false},
            {"TCloseAction", "caNone, caHide, caFree, caMinimize", false},
        });
}

void registerControls(TzqScript *script)
{
    TzqClassBinding<TControl>(script, QStringLiteral("TComponent"))
        .Property(
            "Parent", "TWinControl", [](TControl *control) { return zqHeldObjectValue(control->Parent()); },
            [](TControl *control, const Variant &v) {
                TObject *parent = zqObjectOf(v);
                control->SetParent(parent ? zqInstanceAs<TWinControl>(parent) : nullptr);
            })
        .Procedure("procedure Hide", [](TControl *control, TzqMethodHelper *) { control->Hide(); })
        .Procedure("procedure Show", [](TControl *control, TzqMethodHelper *) { control->Show(); })
        .Procedure("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Integer)",
                   [](TControl *control, TzqMethodHelper *c) {
                       control->SetBounds(zqInt(c, 0), zqInt(c, 1), zqInt(c, 2), zqInt(c, 3));
                   })
        .Event<TCanResizeEvent>("OnCanResize", &TControl::OnCanResize)
        .Event<TNotifyEvent>("OnClick", &TControl::OnClick)
        .Event<TNotifyEvent>("OnDblClick", &TControl::OnDblClick)
        .Event<TMouseEvent>("OnMouseDown", &TControl::OnMouseDown)
        .Event<TMouseMoveEvent>("OnMouseMove", &TControl::OnMouseMove)
        .Event<TMouseEvent>("OnMouseUp", &TControl::OnMouseUp)
        .Event<TNotifyEvent>("OnResize", &TControl::OnResize);
    TzqClassBinding<TWinControl>(script, QStringLiteral("TControl"))
        .Procedure("procedure SetFocus", [](TWinControl *control, TzqMethodHelper *) { control->SetFocus(); })
        .Event<TNotifyEvent>("OnEnter", &TWinControl::OnEnter)
        .Event<TNotifyEvent>("OnExit", &TWinControl::OnExit)
        .Event<TKeyEvent>("OnKeyDown", &TWinControl::OnKeyDown)
        .Event<TKeyPressEvent>("OnKeyPress", &TWinControl::OnKeyPress)
        .Event<TKeyEvent>("OnKeyUp", &TWinControl::OnKeyUp);
    TzqClassBinding<TCustomControl>(script, QStringLiteral("TWinControl"));
    TzqClassBinding<TGraphicControl>(script, QStringLiteral("TControl"));
    TzqClassBinding<TGroupBox>(script, QStringLiteral("TWinControl"));
    TzqClassBinding<TLabel>(script, QStringLiteral("TControl"));
    TzqClassBinding<TEdit>(script, QStringLiteral("TWinControl"));
    TzqClassBinding<TMemo>(script, QStringLiteral("TWinControl"));
    TzqClassBinding<TCustomComboBox>(script, QStringLiteral("TWinControl"))
        .Property(
            "DroppedDown", "Boolean", [](TCustomComboBox *box) { return Variant(box->DroppedDown()); },
            [](TCustomComboBox *box, const Variant &v) { box->SetDroppedDown(v.AsBoolean()); })
        .Property(
            "ItemIndex", "Integer", [](TCustomComboBox *box) { return Variant(box->ItemIndex()); },
            [](TCustomComboBox *box, const Variant &v) { box->SetItemIndex(v.AsInteger()); })
        .Event<TNotifyEvent>("OnChange", &TCustomComboBox::OnChange)
        .Event<TNotifyEvent>("OnDropDown", &TCustomComboBox::OnDropDown)
        .Event<TNotifyEvent>("OnCloseUp", &TCustomComboBox::OnCloseUp);
    TzqClassBinding<TComboBox>(script, QStringLiteral("TCustomComboBox"));
    TzqClassBinding<TButton>(script, QStringLiteral("TWinControl"));
    TzqClassBinding<TCheckBox>(script, QStringLiteral("TWinControl"));
    TzqClassBinding<TRadioButton>(script, QStringLiteral("TWinControl"));
    TzqClassBinding<TCustomListBox>(script, QStringLiteral("TWinControl"))
        .Property(
            "ItemIndex", "Integer", [](TCustomListBox *list) { return Variant(list->ItemIndex()); },
            [](TCustomListBox *list, const Variant &v) { list->SetItemIndex(v.AsInteger()); })
        .Property("SelCount", "Integer", [](TCustomListBox *list) { return Variant(list->SelCount()); })
        .IndexProperty(
            "Selected", "Integer", "Boolean",
            [](TCustomListBox *list, TzqMethodHelper *c) { return Variant(list->Selected(zqInt(c, 0))); },
            [](TCustomListBox *list, TzqMethodHelper *c) {
                list->SetSelected(zqInt(c, 0), zqBool(c, 1));
                return Variant();
            });
    TzqClassBinding<TListBox>(script, QStringLiteral("TCustomListBox"));
    TzqClassBinding<TControlScrollBar>(script, QStringLiteral("TPersistent"));
    TzqClassBinding<TScrollingWinControl>(script, QStringLiteral("TWinControl"));
    TzqClassBinding<TScrollBox>(script, QStringLiteral("TScrollingWinControl"));
}

void registerForms(TzqScript *script)
{
    TzqClassBinding<TCustomForm>(script, QStringLiteral("TScrollingWinControl"))
        .Procedure("procedure Close", [](TCustomForm *form, TzqMethodHelper *) { form->Close(); })
        .Procedure("procedure Hide", [](TCustomForm *form, TzqMethodHelper *) { form->Hide(); })
        .Procedure("procedure Show", [](TCustomForm *form, TzqMethodHelper *) { form->Show(); })
        .Method("function ShowModal: Integer",
                [](TCustomForm *form, TzqMethodHelper *) { return Variant(form->ShowModal()); })
        .Event<TNotifyEvent>("OnActivate", &TCustomForm::OnActivate)
        .Event<TCloseEvent>("OnClose", &TCustomForm::OnClose)
        .Event<TCloseQueryEvent>("OnCloseQuery", &TCustomForm::OnCloseQuery)
        .Event<TNotifyEvent>("OnCreate", &TCustomForm::OnCreate)
        .Event<TNotifyEvent>("OnDestroy", &TCustomForm::OnDestroy)
        .Event<TNotifyEvent>("OnDeactivate", &TCustomForm::OnDeactivate)
        .Event<TNotifyEvent>("OnHide", &TCustomForm::OnHide)
        .Event<TNotifyEvent>("OnPaint", &TCustomForm::OnPaint)
        .Event<TNotifyEvent>("OnShow", &TCustomForm::OnShow)
        .Property("Canvas", "TCanvas", [](TCustomForm *form) { return zqHeldObjectValue(form->Canvas()); })
        .Property(
            "ModalResult", "Integer", [](TCustomForm *form) { return Variant(form->ModalResult()); },
            [](TCustomForm *form, const Variant &v) { form->SetModalResult(v.AsInteger()); });
    TzqClassBinding<TForm>(script, QStringLiteral("TCustomForm"));
    TzqClassBinding<TDataModule>(script, QStringLiteral("TComponent"));
    TzqClassBinding<TApplication>(script, QStringLiteral("TComponent"))
        .Procedure("procedure Minimize", [](TApplication *application, TzqMethodHelper *) { application->Minimize(); })
        .Procedure("procedure ProcessMessages",
                   [](TApplication *application, TzqMethodHelper *) { application->ProcessMessages(); })
        .Procedure("procedure Restore", [](TApplication *application, TzqMethodHelper *) { application->Restore(); })
        .Property("ExeName", "String", [](TApplication *application) { return Variant(application->ExeName()); });
    if (Application)
        script->AddObject(QStringLiteral("Application"), Application);
}

} // namespace

TFunctions::TFunctions(TzqScript *script) : TzqRTTIModule(script)
{
    registerConstants(script);
    registerControls(script);
    registerForms(script);
}

void Register()
{
    RTTIModuleList()->push_back([](TzqScript *script) { return std::make_unique<TFunctions>(script); });
}

} // namespace zq_iformsrtti
