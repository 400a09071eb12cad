#include "report/xml/qvxXMLItem.h"

#include "report/xml/qvxXMLDocument.h"
#include "report/xml/qvxXMLEscape.h"

#include <algorithm>
#include <iterator>
#include <memory>

TqvxXMLItem::~TqvxXMLItem()
{
    Clear();
    detach();
}

TqvxXMLItem *TqvxXMLItem::Add()
{
    auto *item = new TqvxXMLItem;
    AddItem(item);
    return item;
}

void TqvxXMLItem::AddItem(TqvxXMLItem *item)
{
    item->detach();
    m_items.push_back(Slot(item));
    item->m_parent = this;
}

void TqvxXMLItem::InsertItem(int index, TqvxXMLItem *item)
{
    AddItem(item);
    m_items.pop_back();
    const auto position = std::clamp<std::size_t>(std::size_t(std::max(index, 0)), 0, m_items.size());
    m_items.insert(m_items.begin() + std::ptrdiff_t(position), Slot(item));
}

int TqvxXMLItem::IndexOf(const TqvxXMLItem *item) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), Slot(item));
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

int TqvxXMLItem::Find(const QString &name) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->m_name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TqvxXMLItem *TqvxXMLItem::FindItem(const QString &name)
{
    const int index = Find(name);
    if (index >= 0)
        return Items(index);
    TqvxXMLItem *item = Add();
    item->m_name = name;
    return item;
}

int TqvxXMLItem::findProp(const QString &name) const
{
    // An attribute begins the text or follows a blank.
    const QString needle = name + QLatin1String("=\"");
    for (qsizetype at = m_text.indexOf(needle, 0, Qt::CaseInsensitive); at >= 0;
         at = m_text.indexOf(needle, at + 1, Qt::CaseInsensitive))
        if (at == 0 || m_text[at - 1] == QLatin1Char(' '))
            return int(at);
    return -1;
}

QString TqvxXMLItem::GetProp(const QString &name) const
{
    const int start = findProp(name);
    if (start < 0)
        return QString();
    const int valueStart = start + name.size() + 2;
    const int valueEnd = m_text.indexOf(QLatin1Char('"'), valueStart);
    const int length = valueEnd < 0 ? -1 : valueEnd - valueStart;
    return qvxXMLDecode(m_text.mid(valueStart, length));
}

void TqvxXMLItem::SetProp(const QString &name, const QString &value)
{
    m_tagChanged = true;
    const QString attribute = name + QLatin1String("=\"") + qvxXMLEncode(value) + QLatin1Char('"');
    const int start = findProp(name);
    if (start >= 0) {
        const int valueEnd = m_text.indexOf(QLatin1Char('"'), start + name.size() + 2);
        const int end = valueEnd < 0 ? m_text.size() : valueEnd + 1;
        m_text.replace(start, end - start, attribute);
        return;
    }
    if (!m_text.isEmpty() && !m_text.endsWith(QLatin1Char(' ')))
        m_text += QLatin1Char(' ');
    m_text += attribute;
}

void TqvxXMLItem::Clear()
{
    // Children detach themselves in their destructors; take the list first.
    std::vector<Slot> items;
    items.swap(m_items);
    for (const Slot slot : items) {
        if (isPosition(slot))
            continue;
        auto *item = reinterpret_cast<TqvxXMLItem *>(slot);
        item->m_parent = nullptr;
        delete item;
    }
    if (m_unloadable)
        m_loaded = false;
}

TqvxXMLItem *TqvxXMLItem::restore(int index) const
{
    Slot &slot = m_items[std::size_t(index)];
    std::unique_ptr<TqvxXMLItem> item = m_document->ReadTag(slotOffset(slot), slotSource(slot));
    item->m_parent = const_cast<TqvxXMLItem *>(this);
    slot = Slot(item.get());
    return item.release();
}

void TqvxXMLItem::detach()
{
    if (!m_parent)
        return;
    // Elements mostly go from the end of long lists: search from there.
    auto &siblings = m_parent->m_items;
    const auto found = std::find(siblings.rbegin(), siblings.rend(), Slot(this));
    if (found != siblings.rend())
        siblings.erase(std::next(found).base());
    m_parent = nullptr;
}
