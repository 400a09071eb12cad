#pragma once

// TGridListBox: the drop-down list of a grid cell editor.
//
// A frameless topmost list that never takes the focus; the editor keeps the
// focus and forwards the keys.  Typed characters build a search text (up to
// 32 characters, restarted after 2 seconds without a key) and select the
// first item that starts with it.

#include "toolkit/widgets/TListBox.h"


#include <functional>

class TCustomGridView;

class TGridListBox : public TCustomListBox
{
    Q_OBJECT

public:
    static constexpr int kMaxSearchLength = 32;
    static constexpr qint64 kSearchTimeout = 2000;

    explicit TGridListBox(TComponent *owner);

    TCustomGridView *Grid() const { return m_grid; }
    void SetGrid(TCustomGridView *grid) { m_grid = grid; }

    QString SearchText() const { return m_searchText; }
    // Milliseconds of a monotonic clock; tests put their own in.
    void SetClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // A key forwarded by the editor: navigation keys move the item,
    // Backspace and Escape clear the search text.  Answers whether the list
    // used the key.
    bool ListKeyDown(int key);
    // A character forwarded by the editor.
    void ListKeyPress(QChar key);

private:
    TCustomGridView *m_grid = nullptr;
    QString m_searchText;
    qint64 m_searchTime = 0;
    std::function<qint64()> m_clock;
};
