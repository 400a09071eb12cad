#pragma once

// The enumerations and sets that controls, forms and their published
// properties use, in one namespace so that reflection and script bindings
// share them.

#include <QFlags>
#include <QObject>

namespace ControlTypes {
Q_NAMESPACE

enum TShiftStateFlag {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)
Q_FLAG_NS(TShiftState)

enum TMouseButton { mbLeft, mbRight, mbMiddle };
Q_ENUM_NS(TMouseButton)

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)

enum TAnchorKind { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
Q_FLAG_NS(TAnchors)

// Window borders of controls (bsNone, bsSingle) and of forms (all).
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
Q_ENUM_NS(TFormBorderStyle)

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)

enum TTextLayout { tlTop, tlCenter, tlBottom };
Q_ENUM_NS(TTextLayout)

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
Q_ENUM_NS(TBevelCut)

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
Q_ENUM_NS(TEditCharCase)

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
Q_ENUM_NS(TScrollStyle)

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
Q_ENUM_NS(TComboBoxStyle)

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
Q_ENUM_NS(TCheckBoxState)

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
Q_ENUM_NS(TListBoxStyle)

// The state of an owner-drawn list item.
enum TOwnerDrawStateFlag { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16 };
Q_DECLARE_FLAGS(TOwnerDrawState, TOwnerDrawStateFlag)
Q_FLAG_NS(TOwnerDrawState)

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
Q_ENUM_NS(TWindowState)

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
Q_ENUM_NS(TFormStyle)

enum TBorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
Q_FLAG_NS(TBorderIcons)

enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
Q_ENUM_NS(TPosition)

enum TCloseAction { caNone, caHide, caFree, caMinimize };
Q_ENUM_NS(TCloseAction)

enum TScrollBarKind { sbHorizontal, sbVertical };
Q_ENUM_NS(TScrollBarKind)

enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
Q_ENUM_NS(TScrollCode)

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
Q_ENUM_NS(TMsgDlgType)

enum TMsgDlgBtn {
    mbYes = 0x001, mbNo = 0x002, mbOK = 0x004, mbCancel = 0x008, mbAbort = 0x010, mbRetry = 0x020,
    mbIgnore = 0x040, mbAll = 0x080, mbNoToAll = 0x100, mbYesToAll = 0x200, mbHelp = 0x400
};
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_FLAG_NS(TMsgDlgButtons)

} // namespace ControlTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(ControlTypes::TShiftState)
Q_DECLARE_OPERATORS_FOR_FLAGS(ControlTypes::TAnchors)
Q_DECLARE_OPERATORS_FOR_FLAGS(ControlTypes::TBorderIcons)
Q_DECLARE_OPERATORS_FOR_FLAGS(ControlTypes::TMsgDlgButtons)
Q_DECLARE_OPERATORS_FOR_FLAGS(ControlTypes::TOwnerDrawState)

using ControlTypes::TAlign;
using ControlTypes::TAlignment;
using ControlTypes::TAnchorKind;
using ControlTypes::TAnchors;
using ControlTypes::TBevelCut;
using ControlTypes::TBorderIcon;
using ControlTypes::TBorderIcons;
using ControlTypes::TCheckBoxState;
using ControlTypes::TCloseAction;
using ControlTypes::TComboBoxStyle;
using ControlTypes::TEditCharCase;
using ControlTypes::TFormBorderStyle;
using ControlTypes::TFormStyle;
using ControlTypes::TListBoxStyle;
using ControlTypes::TMouseButton;
using ControlTypes::TMsgDlgBtn;
using ControlTypes::TMsgDlgButtons;
using ControlTypes::TMsgDlgType;
using ControlTypes::TOwnerDrawState;
using ControlTypes::TOwnerDrawStateFlag;
using ControlTypes::TPosition;
using ControlTypes::TScrollBarKind;
using ControlTypes::TScrollCode;
using ControlTypes::TScrollStyle;
using ControlTypes::TShiftState;
using ControlTypes::TShiftStateFlag;
using ControlTypes::TTextLayout;
using ControlTypes::TWindowState;
using enum ControlTypes::TAlign;
using enum ControlTypes::TAlignment;
using enum ControlTypes::TAnchorKind;
using enum ControlTypes::TBevelCut;
using enum ControlTypes::TBorderIcon;
using enum ControlTypes::TCheckBoxState;
using enum ControlTypes::TCloseAction;
using enum ControlTypes::TComboBoxStyle;
using enum ControlTypes::TEditCharCase;
using enum ControlTypes::TFormBorderStyle;
using enum ControlTypes::TFormStyle;
using enum ControlTypes::TListBoxStyle;
using enum ControlTypes::TMouseButton;
using enum ControlTypes::TMsgDlgBtn;
using enum ControlTypes::TMsgDlgType;
using enum ControlTypes::TOwnerDrawStateFlag;
using enum ControlTypes::TPosition;
using enum ControlTypes::TScrollBarKind;
using enum ControlTypes::TScrollCode;
using enum ControlTypes::TScrollStyle;
using enum ControlTypes::TShiftStateFlag;
using enum ControlTypes::TTextLayout;
using enum ControlTypes::TWindowState;

// Form border styles that controls use.
using TBorderStyle = TFormBorderStyle;

// Modal results.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;
