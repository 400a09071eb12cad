#include "engine/qvxAnchors.h"

#include "engine/qvxPreparedItems.h"
#include "report/base/qvxNumbers.h"
#include "report/xml/qvxXMLDocument.h"
#include "report/xml/qvxXMLItem.h"
#include "toolkit/core/CodePages.h"

TqvxXMLItem *TqvxAnchors::Item() const
{
    return m_document->Root()->FindItem(QStringLiteral("anchors"));
}

void TqvxAnchors::Add(const QString &text, int page, double top)
{
    TqvxXMLItem *item = Item()->Add();
    item->SetName(QStringLiteral("item"));
    item->SetProp(QStringLiteral("text"), text);
    qvxSetIntProp(item, QStringLiteral("page"), page);
    qvxSetIntProp(item, QStringLiteral("top"), qvxRound(top));
}

TqvxXMLItem *TqvxAnchors::Find(const QString &text) const
{
    const TqvxXMLItem *anchors = Item();
    for (int i = anchors->Count() - 1; i >= 0; --i)
        if (AnsiSameText(anchors->Items(i)->GetProp(QStringLiteral("text")), text))
            return anchors->Items(i);
    return nullptr;
}

int TqvxAnchors::GetPage(const QString &text) const
{
    const TqvxXMLItem *anchor = Find(text);
    return anchor ? qvxIntProp(anchor, QStringLiteral("page")) + 1 : 1;
}

int TqvxAnchors::GetCurPosition() const
{
    return Item()->Count() - 1;
}

void TqvxAnchors::Shift(int from, int page, int newTop)
{
    TqvxXMLItem *anchors = Item();
    const int first = from + 1;
    if (first < 0 || first >= anchors->Count())
        return;
    const int delta = newTop - qvxIntProp(anchors->Items(first), QStringLiteral("top"));
    for (int i = first; i < anchors->Count(); ++i) {
        TqvxXMLItem *anchor = anchors->Items(i);
        qvxSetIntProp(anchor, QStringLiteral("page"), page);
        qvxSetIntProp(anchor, QStringLiteral("top"), qvxIntProp(anchor, QStringLiteral("top")) + delta);
    }
}
