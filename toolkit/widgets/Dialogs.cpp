#include "toolkit/widgets/Dialogs.h"

#include "toolkit/widgets/ModalRunner.h"
#include "toolkit/widgets/TApplication.h"

namespace {

TMsgDlgButtons buttonsOf(unsigned flags)
{
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        return mbOK | mbCancel;
    case MB_ABORTRETRYIGNORE:
        return mbAbort | mbRetry | mbIgnore;
    case MB_YESNOCANCEL:
        return mbYes | mbNo | mbCancel;
    case MB_YESNO:
        return mbYes | mbNo;
    case MB_RETRYCANCEL:
        return mbRetry | mbCancel;
    default:
        return mbOK;
    }
}

TMsgDlgType typeOf(unsigned flags)
{
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        return mtError;
    case MB_ICONQUESTION:
        return mtConfirmation;
    case MB_ICONWARNING:
        return mtWarning;
    case MB_ICONINFORMATION:
        return mtInformation;
    default:
        return mtCustom;
    }
}

QString applicationTitle()
{
    return Application ? Application->Title() : QString();
}

} // namespace

int MessageBox(const QString &text, const QString &caption, unsigned flags)
{
    return ModalRunner::Current().MessageBox({caption, text, typeOf(flags), buttonsOf(flags)});
}

int MessageDlg(const QString &message, TMsgDlgType type, TMsgDlgButtons buttons, int)
{
    // Help opens nothing here, so a box of help alone still needs OK.
    buttons &= ~TMsgDlgButtons(mbHelp);
    if (!buttons)
        buttons = mbOK;
    const QString caption = type == mtError ? kErrorCaption : applicationTitle();
    return ModalRunner::Current().MessageBox({caption, message, type, buttons});
}

void ShowMessage(const QString &message)
{
    ModalRunner::Current().MessageBox({applicationTitle(), message, mtCustom, mbOK});
}

QString InputBox(const QString &caption, const QString &prompt, const QString &defaultValue)
{
    QString value = defaultValue;
    return InputQuery(caption, prompt, value) ? value : defaultValue;
}

bool InputQuery(const QString &caption, const QString &prompt, QString &value)
{
    TInputRequest request{caption, prompt, value};
    if (!ModalRunner::Current().InputQuery(request))
        return false;
    value = request.Value;
    return true;
}
