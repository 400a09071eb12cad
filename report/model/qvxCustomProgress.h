#pragma once

// The progress display of a long report operation as the report model knows
// it: a window with a message, a progress bar and a cancel button.  The
// report makes one through the installed services when a run, an export or
// a print starts without an attached preview, and frees it at the end.

#include <QString>

class TqvxCustomProgress
{
public:
    virtual ~TqvxCustomProgress() = default;

    // Shows the window: the bar runs from 0 to maxValue; the cancel button
    // and the bar are shown as asked.  Clears Terminated.
    virtual void Execute(int maxValue, const QString &message, bool showCancel, bool showProgress) = 0;
    virtual QString Message() const = 0;
    virtual void SetMessage(const QString &value) = 0;
    virtual void SetPosition(int value) = 0;
    // Set when the user pressed the cancel button.
    virtual bool Terminated() const = 0;
};
