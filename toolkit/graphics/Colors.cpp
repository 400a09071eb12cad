#include "toolkit/graphics/Colors.h"

#include <iterator>

namespace {

// The classic desktop colour scheme, one entry per system colour index.
constexpr TColor systemColors[] = {
    0xC8D0D4, // scroll bar
    0xA56E3A, // desktop background
    0x6A240A, // active caption
    0x808080, // inactive caption
    0xC8D0D4, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC8D0D4, // active border
    0xC8D0D4, // inactive border
    0x808080, // application workspace
    0x6A240A, // highlight
    0xFFFFFF, // highlight text
    0xC8D0D4, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xC8D0D4, // inactive caption text
    0xFFFFFF, // button highlight
    0x404040, // 3D dark shadow
    0xC8D0D4, // 3D light
    0x000000, // info text
    0xE1FFFF, // info background
    0xB5B5B5, // (no name)
    0x800000, // hot-tracked item
    0xF0CAA6, // gradient of the active caption
    0xC0C0C0, // gradient of the inactive caption
    0x6A240A, // highlighted menu item
    0xC8D0D4, // menu bar
};

constexpr TIdentMapEntry colorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

} // namespace

TColor ColorToRGB(TColor color)
{
    if (color >= 0)
        return color;
    const int index = color & 0xFF;
    return index < int(std::size(systemColors)) ? systemColors[index] : clBlack;
}

QColor ColorToQColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    if (rgb == clNone || rgb == clDefault)
        return QColor(Qt::transparent);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor QColorToColor(const QColor &color)
{
    return TColor(color.red() | (color.green() << 8) | (color.blue() << 16));
}

bool ColorToIdent(TColor color, QString &ident)
{
    return IntToIdent(color, ident, colorNames);
}

bool IdentToColor(const QString &ident, TColor &color)
{
    return IdentToInt(ident, color, colorNames);
}

void GetColorValues(const TGetStrProc &proc)
{
    GetIdentValues(proc, colorNames);
}
