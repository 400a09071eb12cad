#include "controls/TGridListBox.h"

#include <QElapsedTimer>
#include <QFrame>

namespace {

qint64 monotonicMilliseconds()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

} // namespace

TGridListBox::TGridListBox(TComponent *owner) : TCustomListBox(owner), m_clock(monotonicMilliseconds)
{
    SetShowHint(false);
    SetIntegralHeight(true);
    SetPopup(true);
    // A thin black border, as a bordered window has.
    if (auto *frame = qobject_cast<QFrame *>(Widget())) {
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
    }
}

bool TGridListBox::ListKeyDown(int key)
{
    if (key == VK_BACK || key == VK_ESCAPE) {
        m_searchText.clear();
        return true;
    }
    return NavigateKey(key);
}

void TGridListBox::ListKeyPress(QChar key)
{
    if (!key.isPrint())
        return;
    const qint64 now = m_clock();
    if (now - m_searchTime > kSearchTimeout)
        m_searchText.clear();
    m_searchTime = now;
    if (m_searchText.size() >= kMaxSearchLength)
        return;
    m_searchText += key;
    SelectString(-1, m_searchText);
}
