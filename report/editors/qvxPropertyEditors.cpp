#include "report/editors/qvxPropertyEditors.h"

#include "toolkit/classes/Reflection.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/DateUtils.h"
#include "toolkit/core/FormatDateTime.h"
#include "toolkit/core/SysUtils.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/FontCharsets.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/widgets/CommonDialogs.h"
#include "toolkit/widgets/Cursors.h"
#include "toolkit/widgets/KeyMapping.h"
#include "toolkit/widgets/ShortCuts.h"
#include "toolkit/widgets/TListBox.h"

#include <array>

namespace {

using IdentOf = bool (*)(int value, QString &ident);
using ValueOf = bool (*)(const QString &ident, int &value);

// The name of a value in a name table, or its decimal text.
QString identOrNumber(qint64 value, IdentOf toIdent)
{
    QString ident;
    return toIdent(int(value), ident) ? ident : IntToStr(value);
}

// The value of a name in a name table, or of a decimal text.
int identOrInteger(const QString &text, ValueOf toValue)
{
    int value = 0;
    return toValue(text, value) ? value : StrToInt(text);
}

// The swatch of a colour: a grey frame (the pen the base drawing leaves)
// around the colour.  The brush is left as it was.
void drawSwatch(TCanvas *canvas, const TRect &rect, TColor color)
{
    const TColor brushColor = canvas->Brush()->Color();
    canvas->Brush()->SetColor(color);
    canvas->Rectangle(rect);
    canvas->Brush()->SetColor(brushColor);
}

const std::array<QString, 11> &modalResultNames()
{
    static const std::array<QString, 11> names = {
        QStringLiteral("mrNone"),  QStringLiteral("mrOk"),      QStringLiteral("mrCancel"),
        QStringLiteral("mrAbort"), QStringLiteral("mrRetry"),   QStringLiteral("mrIgnore"),
        QStringLiteral("mrYes"),   QStringLiteral("mrNo"),      QStringLiteral("mrAll"),
        QStringLiteral("mrNoToAll"), QStringLiteral("mrYesToAll"),
    };
    return names;
}

// Ctrl and Ctrl+Alt with the letters; the function keys plain, with Ctrl,
// with Shift and with Shift+Ctrl; Ins and Del plain, with Shift and with
// Ctrl; Alt+BkSp and Shift+Alt+BkSp.
QList<TShortCut> standardShortCuts()
{
    QList<TShortCut> shortCuts;
    for (const TShiftState shift : {TShiftState(ssCtrl), ssCtrl | ssAlt})
        for (int letter = 'A'; letter <= 'Z'; ++letter)
            shortCuts.append(ShortCut(letter, shift));
    for (const TShiftState shift : {TShiftState(), TShiftState(ssCtrl), TShiftState(ssShift), ssShift | ssCtrl})
        for (int key = VK_F1; key <= VK_F12; ++key)
            shortCuts.append(ShortCut(key, shift));
    for (const int key : {VK_INSERT, VK_DELETE})
        for (const TShiftState shift : {TShiftState(), TShiftState(ssShift), TShiftState(ssCtrl)})
            shortCuts.append(ShortCut(key, shift));
    shortCuts.append(ShortCut(VK_BACK, ssAlt));
    shortCuts.append(ShortCut(VK_BACK, ssShift | ssAlt));
    return shortCuts;
}

using DateTimeToText = QString (*)(TDateTime value, const TFormatSettings &settings);
using TextToDateTime = TDateTime (*)(const QString &text, const TFormatSettings &settings);

QString dateTimeText(TDateTime value, DateTimeToText toText)
{
    return value == 0 ? QString() : toText(value, FormatSettings);
}

TDateTime dateTimeValue(const QString &text, TextToDateTime toValue)
{
    return text.isEmpty() ? 0 : toValue(text, FormatSettings);
}

} // namespace

QString TqvxIntegerProperty::GetValue() const
{
    return IntToStr(GetOrdValue());
}

void TqvxIntegerProperty::SetValue(const QString &value)
{
    SetOrdValue(StrToInt(value));
}

QString TqvxStringProperty::GetValue() const
{
    return GetStrValue();
}

void TqvxStringProperty::SetValue(const QString &value)
{
    SetStrValue(value);
}

QString TqvxClassProperty::GetValue() const
{
    return QLatin1Char('(') + firstProperty().TypeName() + QLatin1Char(')');
}

bool TqvxColorProperty::Edit()
{
    TColorDialog dialog(nullptr);
    dialog.SetColor(TColor(GetOrdValue()));
    const bool confirmed = dialog.Execute();
    if (confirmed)
        SetOrdValue(dialog.Color());
    return confirmed;
}

QString TqvxColorProperty::GetValue() const
{
    return identOrNumber(GetOrdValue(), ColorToIdent);
}

void TqvxColorProperty::GetValues()
{
    TqvxIntegerProperty::GetValues();
    GetColorValues([this](const QString &name) { AddValue(name); });
}

void TqvxColorProperty::SetValue(const QString &value)
{
    SetOrdValue(identOrInteger(value, IdentToColor));
}

void TqvxColorProperty::DrawListItem(TCustomListBox *list, int index, const TRect &rect, TOwnerDrawState state)
{
    TqvxIntegerProperty::DrawListItem(list, index, rect, state);
    const int side = rect.Bottom - rect.Top;
    drawSwatch(list->Canvas(), Rect(rect.Left + 2, rect.Top + 2, rect.Left + side - 2, rect.Bottom - 2),
               identOrInteger(list->Items()->Strings(index), IdentToColor));
}

void TqvxColorProperty::DrawValue(TCanvas *canvas, const TRect &rect)
{
    TqvxIntegerProperty::DrawValue(canvas, rect);
    const int side = rect.Bottom - rect.Top;
    drawSwatch(canvas, Rect(rect.Left, rect.Top + 1, rect.Left + side - 5, rect.Bottom - 4), TColor(GetOrdValue()));
}

bool TqvxFontProperty::Edit()
{
    const TPropInfo &property = firstProperty();
    TFontDialog dialog(nullptr);
    dialog.SetFont(qobject_cast<TFont *>(property.GetObject(firstComponent())));
    dialog.SetDevice(fdBoth);
    dialog.SetOptions(dialog.Options() | fdForceFontExist);
    const bool confirmed = dialog.Execute();
    if (confirmed)
        SetOrdValue(dialog.Font()->Handle());
    return confirmed;
}

void TqvxFontNameProperty::GetValues()
{
    TqvxStringProperty::GetValues();
    for (const QString &family : TFontEngine::Families())
        AddValue(family);
}

QString TqvxFontCharsetProperty::GetValue() const
{
    return identOrNumber(GetOrdValue(), CharsetToIdent);
}

void TqvxFontCharsetProperty::GetValues()
{
    TqvxIntegerProperty::GetValues();
    GetCharsetValues([this](const QString &name) { AddValue(name); });
}

void TqvxFontCharsetProperty::SetValue(const QString &value)
{
    SetOrdValue(identOrInteger(value, IdentToCharset));
}

QString TqvxModalResultProperty::GetValue() const
{
    const qint64 value = GetOrdValue();
    const auto &names = modalResultNames();
    return value >= 0 && value < qint64(names.size()) ? names[value] : IntToStr(value);
}

void TqvxModalResultProperty::GetValues()
{
    TqvxIntegerProperty::GetValues();
    for (const QString &name : modalResultNames())
        AddValue(name);
}

void TqvxModalResultProperty::SetValue(const QString &value)
{
    const auto &names = modalResultNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (SameText(value, names[i])) {
            SetOrdValue(qint64(i));
            return;
        }
    }
    SetOrdValue(value.isEmpty() ? 0 : StrToInt(value));
}

QString TqvxShortCutProperty::GetValue() const
{
    const TShortCut shortCut = TShortCut(GetOrdValue());
    return shortCut == scNone ? NoShortCutText() : ShortCutToText(shortCut);
}

void TqvxShortCutProperty::GetValues()
{
    TqvxPropertyEditor::GetValues();
    AddValue(NoShortCutText());
    for (const TShortCut shortCut : standardShortCuts())
        AddValue(ShortCutToText(shortCut));
}

void TqvxShortCutProperty::SetValue(const QString &value)
{
    const bool none = value.isEmpty() || SameText(value, NoShortCutText());
    SetOrdValue(none ? TShortCut(scNone) : TextToShortCut(value));
}

QString TqvxCursorProperty::GetValue() const
{
    return identOrNumber(GetOrdValue(), CursorToIdent);
}

void TqvxCursorProperty::GetValues()
{
    TqvxIntegerProperty::GetValues();
    GetCursorValues([this](const QString &name) { AddValue(name); });
}

void TqvxCursorProperty::SetValue(const QString &value)
{
    SetOrdValue(identOrInteger(value, IdentToCursor));
}

QString TqvxDateTimeProperty::GetValue() const
{
    return dateTimeText(GetFloatValue(), DateTimeToStr);
}

void TqvxDateTimeProperty::SetValue(const QString &value)
{
    SetFloatValue(dateTimeValue(value, StrToDateTime));
}

QString TqvxDateProperty::GetValue() const
{
    return dateTimeText(GetFloatValue(), DateToStr);
}

void TqvxDateProperty::SetValue(const QString &value)
{
    SetFloatValue(dateTimeValue(value, StrToDate));
}

QString TqvxTimeProperty::GetValue() const
{
    return dateTimeText(GetFloatValue(), TimeToStr);
}

void TqvxTimeProperty::SetValue(const QString &value)
{
    SetFloatValue(dateTimeValue(value, StrToTime));
}
