#include "toolkit/widgets/TPageControl.h"

#include <QFrame>
#include <QTabBar>

TTabSheet::TTabSheet(TComponent *owner) : TWinControl(owner, new QFrame)
{
    auto *frame = static_cast<QFrame *>(Widget());
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    SetParentColor(true);
    SetAlign(alClient);
}

TTabSheet::~TTabSheet()
{
    SetPageControl(nullptr);
}

void TTabSheet::SetCaption(const QString &caption)
{
    TWinControl::SetCaption(caption);
    if (m_pageControl)
        m_pageControl->m_tabs->setTabText(PageIndex(), caption);
}

void TTabSheet::SetPageControl(TPageControl *pageControl)
{
    if (pageControl == m_pageControl)
        return;
    if (m_pageControl)
        m_pageControl->removePage(this);
    m_pageControl = pageControl;
    SetParent(pageControl);
    if (pageControl)
        pageControl->insertPage(this);
}

int TTabSheet::PageIndex() const
{
    return m_pageControl ? int(m_pageControl->m_pages.indexOf(this)) : -1;
}

TPageControl::TPageControl(TComponent *owner) : TWinControl(owner), m_tabs(new QTabBar(Widget()))
{
    m_tabs->setDrawBase(false);
    QObject::connect(m_tabs, &QTabBar::currentChanged, this, [this] {
        showActivePage();
        if (OnChange)
            OnChange(this);
    });
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl()
{
    while (!m_pages.isEmpty())
        m_pages.last()->SetPageControl(nullptr);
}

TTabSheet *TPageControl::ActivePage() const
{
    const int index = ActivePageIndex();
    return index == -1 ? nullptr : m_pages.at(index);
}

void TPageControl::SetActivePage(TTabSheet *page)
{
    SetActivePageIndex(int(m_pages.indexOf(page)));
}

int TPageControl::ActivePageIndex() const
{
    return m_tabs->currentIndex();
}

void TPageControl::SetActivePageIndex(int index)
{
    const QSignalBlocker blocker(m_tabs);
    m_tabs->setCurrentIndex(index);
    showActivePage();
}

TRect TPageControl::ClientRect() const
{
    return TRect(0, m_tabs->sizeHint().height(), Width(), Height());
}

void TPageControl::Resize()
{
    m_tabs->setGeometry(0, 0, Width(), m_tabs->sizeHint().height());
    TWinControl::Resize();
}

void TPageControl::insertPage(TTabSheet *page)
{
    m_pages.append(page);
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->addTab(page->Caption());
    }
    Resize();
    showActivePage();
}

void TPageControl::removePage(TTabSheet *page)
{
    const int index = int(m_pages.indexOf(page));
    m_pages.removeAt(index);
    const QSignalBlocker blocker(m_tabs);
    m_tabs->removeTab(index);
    showActivePage();
}

void TPageControl::showActivePage()
{
    const int active = ActivePageIndex();
    for (int i = 0; i < m_pages.size(); ++i)
        m_pages.at(i)->SetVisible(i == active);
}
