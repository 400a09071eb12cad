#pragma once

// Pages behind a row of tabs: TPageControl and its TTabSheet pages.
//
// A sheet joins a page control through SetPageControl and fills the area
// below the tabs; its caption is its tab's text.  Only the active page is
// shown.  OnChange fires when the user picks another tab.
//
// The row of tabs is a tab stop of its own, before the controls of the
// active page: Tab and Shift+Tab reach it like any control, and the arrow
// keys then pick tabs.  Ctrl+Tab and Ctrl+PgDn (Ctrl+Shift+Tab and
// Ctrl+PgUp) pick the next (previous) page wherever the focus is inside the
// page control, round from the last page to the first.  A page picked by
// the user while the focus was on the page before takes the focus to its
// first control.

#include "toolkit/widgets/TWinControl.h"

#include <QList>

class QTabBar;
class TPageControl;

class TTabSheet : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TTabSheet(TComponent *owner);
    ~TTabSheet() override;

    void SetCaption(const QString &caption) override;
    TPageControl *PageControl() const { return m_pageControl; }
    void SetPageControl(TPageControl *pageControl);
    // The index among the page control's pages, -1 outside one.
    int PageIndex() const;

private:
    TPageControl *m_pageControl = nullptr;
};

class TPageControl : public TWinControl
{
    Q_OBJECT

public:
    explicit TPageControl(TComponent *owner);
    ~TPageControl() override;

    int PageCount() const { return int(m_pages.size()); }
    TTabSheet *Pages(int index) const { return m_pages.at(index); }
    TTabSheet *ActivePage() const;
    void SetActivePage(TTabSheet *page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);

    // Below the tabs.
    TRect ClientRect() const override;
    // The next page (or the previous one), round from the last to the
    // first, as picked by the user.
    void SelectNextPage(bool goForward);
    bool ChildKey(int key, TShiftState shift) override;

    TNotifyEvent OnChange;

protected:
    void Resize() override;

private:
    friend class TTabSheet;

    void insertPage(TTabSheet *page);
    void removePage(TTabSheet *page);
    void showActivePage();
    // Whether the form's focus is on page index or a control inside it.
    bool focusInPage(int index) const;
    // The first tab stop of the active page takes the focus, or the tabs
    // when the page has none.
    void focusActivePage();

    TWinControl *m_tabControl;
    QTabBar *m_tabs;
    int m_shownIndex = -1;
    QList<TTabSheet *> m_pages;
};
