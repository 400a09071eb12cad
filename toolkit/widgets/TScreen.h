#pragma once

// The screen: its size, the work area that windows may use, the cursor
// shown over every window, the form that has the focus and the modal form
// that blocks the others.

#include "toolkit/widgets/Cursors.h"
#include "toolkit/graphics/Rects.h"
#include "toolkit/classes/TComponent.h"

class TCustomForm;

class TScreen : public TComponent
{
    Q_OBJECT

public:
    explicit TScreen(TComponent *owner = nullptr);
    ~TScreen() override;

    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int PixelsPerInch() const { return 96; }

    // crDefault lets every control show its own cursor.
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor cursor);

    TCustomForm *ActiveForm() const;
    // The modal form shown last and not yet closed, or nullptr.
    TCustomForm *ActiveModalForm() const;

private:
    TCursor m_cursor = crDefault;
};

extern TScreen *Screen;
