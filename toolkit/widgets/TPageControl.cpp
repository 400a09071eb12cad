#include "toolkit/widgets/TPageControl.h"

#include "toolkit/widgets/KeyMapping.h"
#include "toolkit/widgets/TForm.h"

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

namespace {

// The row of tabs, as a control of the page control, so that it takes its
// place among the form's tab stops.
class TTabRow : public TWinControl
{
public:
    explicit TTabRow(TComponent *owner) : TWinControl(owner, new QTabBar)
    {
        static_cast<QTabBar *>(Widget())->setDrawBase(false);
        SetTabStop(true);
    }
};

} // namespace

TPageControl::TPageControl(TComponent *owner)
    : TWinControl(owner)
    , m_tabControl(NewObject<TTabRow>(this))
    , m_tabs(static_cast<QTabBar *>(m_tabControl->Widget()))
{
    m_tabControl->SetParent(this);
    QObject::connect(m_tabs, &QTabBar::currentChanged, this, [this] {
        // Hiding the page moves the focus away: ask where it was first.
        const bool focusWasOnPage = focusInPage(m_shownIndex);
        showActivePage();
        if (focusWasOnPage)
            focusActivePage();
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
    m_tabControl->SetBounds(0, 0, Width(), m_tabs->sizeHint().height());
    TWinControl::Resize();
}

void TPageControl::SelectNextPage(bool goForward)
{
    const int count = PageCount();
    if (count < 2)
        return;
    // The tab bar tells OnChange and moves the focus.
    m_tabs->setCurrentIndex((ActivePageIndex() + (goForward ? 1 : count - 1)) % count);
}

bool TPageControl::ChildKey(int key, TShiftState shift)
{
    if (!(shift & ssCtrl) || (shift & ssAlt))
        return false;
    if (key == VK_TAB)
        SelectNextPage(!(shift & ssShift));
    else if (key == VK_NEXT || key == VK_PRIOR)
        SelectNextPage(key == VK_NEXT);
    else
        return false;
    return true;
}

bool TPageControl::focusInPage(int index) const
{
    const TCustomForm *form = ParentForm();
    if (!form || index < 0 || index >= PageCount())
        return false;
    for (const TControl *c = form->ActiveControl(); c; c = c->Parent())
        if (c == m_pages.at(index))
            return true;
    return false;
}

void TPageControl::focusActivePage()
{
    TTabSheet *page = ActivePage();
    if (page && page->FindNextControl(nullptr, true, true))
        page->SelectNext(nullptr, true, true);
    else if (m_tabControl->CanFocus())
        m_tabControl->SetFocus();
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
    m_shownIndex = active;
    for (int i = 0; i < m_pages.size(); ++i)
        m_pages.at(i)->SetVisible(i == active);
}
