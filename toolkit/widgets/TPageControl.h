#pragma once

// Pages behind a row of tabs: TPageControl and its TTabSheet pages.
//
// A sheet joins a page control through SetPageControl and fills the area
// below the tabs; its caption is its tab's text.  Only the active page is
// shown.  OnChange fires when the user picks another tab.

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

    TNotifyEvent OnChange;

protected:
    void Resize() override;

private:
    friend class TTabSheet;

    void insertPage(TTabSheet *page);
    void removePage(TTabSheet *page);
    void showActivePage();

    QTabBar *m_tabs;
    QList<TTabSheet *> m_pages;
};
