#pragma once

// Colour values as the classic toolkit keeps them.
//
// A fixed colour is 0x00BBGGRR (red in the low byte).  A value whose top
// byte is 0xFF (a negative number) names a system colour by the index in its
// low byte; system colours resolve through a fixed table of the classic
// desktop scheme, so drawing never depends on the machine's theme.  Two
// special values stand for "no colour" (clNone) and "the default colour"
// (clDefault).

#include "toolkit/core/IdentMaps.h"

#include <QColor>
#include <QString>


using TColor = qint32;

constexpr TColor SystemColor(int index) { return TColor(0xFF000000u | quint32(index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);
constexpr TColor clMenuHighlight = SystemColor(29);
constexpr TColor clMenuBar = SystemColor(30);

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The fixed colour of a system colour; other values come back unchanged
// (clNone and clDefault included).
TColor ColorToRGB(TColor color);

// The colour to paint with: system colours resolved, opaque.  clNone and
// clDefault give a transparent QColor.
QColor ColorToQColor(TColor color);
// The TColor of a painted pixel (alpha ignored).
TColor QColorToColor(const QColor &color);

// The colour-name table ("clBlack" ... "clWindowText", 52 names): the name
// of a colour and the colour of a name (case-insensitive).  Both answer
// false when the table has no entry.
bool ColorToIdent(TColor color, QString &ident);
bool IdentToColor(const QString &ident, TColor &color);

// Calls proc with each name of the table in table order.
void GetColorValues(const TGetStrProc &proc);
