#include "engine/qvxOutline.h"

#include "engine/qvxPreparedItems.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/xml/qvxXMLDocument.h"
#include "report/xml/qvxXMLItem.h"

namespace {

void shiftSubtree(TqvxXMLItem *item, int page, int delta)
{
    qvxSetIntProp(item, QStringLiteral("page"), page);
    qvxSetIntProp(item, QStringLiteral("top"), qvxIntProp(item, QStringLiteral("top")) + delta);
    for (int i = 0; i < item->Count(); ++i)
        shiftSubtree(item->Items(i), page, delta);
}

} // namespace

TqvxOutline::TqvxOutline(TqvxCustomPreviewPages *previewPages, TqvxXMLDocument *document)
    : TqvxCustomOutline(previewPages), m_document(document)
{
}

TqvxXMLItem *TqvxOutline::outlineItem() const
{
    return m_document->Root()->FindItem(QStringLiteral("outline"));
}

int TqvxOutline::Count()
{
    return m_curItem ? m_curItem->Count() : 0;
}

void TqvxOutline::AddItem(const QString &text, int top)
{
    if (!m_curItem)
        LevelRoot();
    TqvxXMLItem *item = m_curItem->Add();
    item->SetName(QStringLiteral("item"));
    item->SetProp(QStringLiteral("text"), text);
    qvxSetIntProp(item, QStringLiteral("page"), PreviewPages()->CurPage());
    qvxSetIntProp(item, QStringLiteral("top"), top);
    m_curItem = item;
}

void TqvxOutline::LevelDown(int index)
{
    if (m_curItem && index >= 0 && index < m_curItem->Count())
        m_curItem = m_curItem->Items(index);
}

void TqvxOutline::LevelRoot()
{
    m_curItem = outlineItem();
}

void TqvxOutline::LevelUp()
{
    if (m_curItem && m_curItem != outlineItem() && m_curItem->Parent())
        m_curItem = m_curItem->Parent();
}

void TqvxOutline::GetItem(int index, QString &text, int &page, int &top)
{
    const TqvxXMLItem *item = m_curItem->Items(index);
    text = item->GetProp(QStringLiteral("text"));
    page = qvxIntPropOr(item, QStringLiteral("page"), page);
    top = qvxIntPropOr(item, QStringLiteral("top"), top);
}

void TqvxOutline::ShiftItems(TqvxXMLItem *from, int newTop)
{
    TqvxXMLItem *parent = from ? from->Parent() : m_curItem;
    if (!parent)
        return;
    const int first = from ? parent->IndexOf(from) + 1 : 0;
    if (first >= parent->Count())
        return;
    const int delta = newTop - qvxIntProp(parent->Items(first), QStringLiteral("top"));
    const int page = PreviewPages()->CurPage();
    for (int i = first; i < parent->Count(); ++i)
        shiftSubtree(parent->Items(i), page, delta);
}

TqvxXMLItem *TqvxOutline::GetCurPosition()
{
    return m_curItem && m_curItem->Count() > 0 ? m_curItem->Items(m_curItem->Count() - 1) : nullptr;
}
