#pragma once

// A modal runner for tests: records the message boxes and input boxes asked
// for and answers input boxes from a queue (cancelled when it is empty).
// Installed for its lifetime.

#include "toolkit/widgets/ModalRunner.h"

#include <QStringList>

#include <vector>

class RecordingRunner : public ModalRunner
{
public:
    RecordingRunner() : m_previous(ModalRunner::Install(this)) {}
    ~RecordingRunner() override { ModalRunner::Install(m_previous); }

    int RunForm(TCustomForm &) override { return 0; }
    int MessageBox(const TMessageBoxRequest &request) override
    {
        boxes.push_back(request);
        return mrOk;
    }
    bool InputQuery(TInputRequest &request) override
    {
        inputs.push_back(request);
        if (answers.isEmpty())
            return false;
        request.Value = answers.takeFirst();
        return true;
    }
    bool FileDialog(TFileDialogRequest &) override { return false; }
    bool ColorDialog(TColor &) override { return false; }
    bool FontDialog(TFontData &) override { return false; }
    bool PrintDialog(TPrintRequest &) override { return false; }

    std::vector<TMessageBoxRequest> boxes;
    std::vector<TInputRequest> inputs;
    QStringList answers;

private:
    ModalRunner *m_previous;
};
