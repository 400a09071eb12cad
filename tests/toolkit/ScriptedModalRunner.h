#pragma once

// A modal runner for tests: each kind of modal interaction is answered by
// a function the test sets, and every request is kept for inspection.
// Installed for the lifetime of the object.

#include "toolkit/widgets/ModalRunner.h"
#include "toolkit/widgets/TForm.h"

#include <functional>
#include <vector>

class ScriptedModalRunner : public ModalRunner
{
public:
    ScriptedModalRunner() : m_previous(ModalRunner::Install(this)) {}
    ~ScriptedModalRunner() override { ModalRunner::Install(m_previous); }

    std::function<void(TCustomForm &)> onForm;
    std::function<int(const TMessageBoxRequest &)> onMessage;
    std::function<bool(TInputRequest &)> onInput;
    std::function<bool(TFileDialogRequest &)> onFile;
    std::function<bool(TColor &)> onColor;
    std::function<bool(TFontData &)> onFont;
    std::function<bool(TPrintRequest &)> onPrint;

    std::vector<TMessageBoxRequest> messages;
    std::vector<TFileDialogRequest> fileRequests;

    int RunForm(TCustomForm &form) override
    {
        if (onForm)
            onForm(form);
        return form.ModalResult();
    }
    int MessageBox(const TMessageBoxRequest &request) override
    {
        messages.push_back(request);
        return onMessage ? onMessage(request) : mrOk;
    }
    bool InputQuery(TInputRequest &request) override { return onInput && onInput(request); }
    bool FileDialog(TFileDialogRequest &request) override
    {
        fileRequests.push_back(request);
        return onFile && onFile(request);
    }
    bool ColorDialog(TColor &color) override { return onColor && onColor(color); }
    bool FontDialog(TFontData &font) override { return onFont && onFont(font); }
    bool PrintDialog(TPrintRequest &request) override { return onPrint && onPrint(request); }

private:
    ModalRunner *m_previous;
};
