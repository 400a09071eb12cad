#pragma once

// The rows of a grid: how many there are and their one common height.
//
// With AutoHeight the height follows the fonts, check glyphs, images and
// grid lines of the grid (AutoRowHeight).  Count never exceeds MaxCount, so
// that the pixel height of all rows fits a 32-bit coordinate.

#include "toolkit/classes/Events.h"
#include "toolkit/classes/TPersistent.h"

class TCustomGridView;

// What the automatic row height depends on; an image height of -1 means
// the grid has no images.
struct TGridRowMetrics {
    int TextHeight = 0;
    int FixedTextHeight = 0;
    int TextTopIndent = 2;
    bool CheckBoxes = false;
    int CheckHeight = 16;
    int CheckTopIndent = 0;
    int ImageHeight = -1;
    int ImageTopIndent = 1;
    bool HorzLines = true;
    int GridLineWidth = 1;
    int FixedCount = 0;
    bool FixedFlat = true;
    bool FixedGridColor = false;
};

int AutoRowHeight(const TGridRowMetrics &metrics);
// The largest row count for rows of this height.
int MaxRowCount(int height);

class TCustomGridRows : public TPersistent
{
    Q_OBJECT

public:
    explicit TCustomGridRows(TCustomGridView *grid);
    ~TCustomGridRows() override;

    TCustomGridView *Grid() const { return m_grid; }

    int Count() const { return m_count; }
    void SetCount(int value);
    int Height() const { return m_height; }
    void SetHeight(int value);
    bool AutoHeight() const { return m_autoHeight; }
    void SetAutoHeight(bool value);
    int MaxCount() const { return MaxRowCount(m_height); }

    void Assign(const TPersistent *source) override;

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    TCustomGridView *m_grid;
    int m_count = 0;
    int m_height = 17;
    bool m_autoHeight = false;
};

class TGridRows : public TCustomGridRows
{
    Q_OBJECT
    Q_PROPERTY(int Count READ Count WRITE SetCount)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(bool AutoHeight READ AutoHeight WRITE SetAutoHeight)

public:
    using TCustomGridRows::TCustomGridRows;
};
