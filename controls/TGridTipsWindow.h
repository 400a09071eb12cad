#pragma once

// TGridTipsWindow: shows the whole text of a clipped grid cell over the
// cell, drawn exactly as the cell draws it, on the hint colour.

#include "toolkit/widgets/THintWindow.h"


class TCustomGridView;

class TGridTipsWindow : public THintWindow
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TGridTipsWindow(TComponent *owner);

    TCustomGridView *Grid() const { return m_grid; }
    void SetGrid(TCustomGridView *grid) { m_grid = grid; }

protected:
    void Paint() override;

private:
    TCustomGridView *m_grid = nullptr;
};
