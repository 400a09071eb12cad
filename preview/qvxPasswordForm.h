#pragma once

// The prompt for the password of a protected report.

#include "toolkit/widgets/TForm.h"

class TButton;
class TEdit;
class TImage;
class TLabel;

class TqvxPasswordForm : public TForm
{
    Q_OBJECT

public:
    explicit TqvxPasswordForm(TComponent *owner = nullptr);

    TLabel *PasswordL;
    TImage *Image1;
    TEdit *PasswordE;
    TButton *OkB;
    TButton *CancelB;
};

// Asks for a password; answers false when the user cancelled.
bool qvxAskPassword(QString &password);

// Unit start-up installs the prompt as the one reports use; shut-down
// removes it.
void InitializeQvxPasswordForm();
void FinalizeQvxPasswordForm();
