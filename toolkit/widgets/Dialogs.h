#pragma once

// Message boxes and one-line input boxes, run through the modal runner.

#include "toolkit/widgets/ControlTypes.h"

#include <QString>

// Buttons and icons of MessageBox.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_OKCANCEL = 0x01;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x02;
inline constexpr unsigned MB_YESNOCANCEL = 0x03;
inline constexpr unsigned MB_YESNO = 0x04;
inline constexpr unsigned MB_RETRYCANCEL = 0x05;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;

// Results of MessageBox, equal to the modal results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The caption of error boxes.
inline const QString kErrorCaption = QStringLiteral("Ошибка");

// A box with the MB_ buttons and icon of flags; answers the ID of the button
// pressed.
int MessageBox(const QString &text, const QString &caption, unsigned flags);
// A box of the type with the buttons of the set (OK when empty); answers the
// modal result of the button pressed.  Errors carry the error caption, the
// other types the application's title.  The help context is not used.
int MessageDlg(const QString &message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
void ShowMessage(const QString &message);

// The text entered, or defaultValue when the box was cancelled.
QString InputBox(const QString &caption, const QString &prompt, const QString &defaultValue);
// Shows value for editing; true (and value changed) when confirmed.
bool InputQuery(const QString &caption, const QString &prompt, QString &value);
