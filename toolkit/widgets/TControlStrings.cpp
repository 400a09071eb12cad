#include "toolkit/widgets/TControlStrings.h"

#include <algorithm>
#include <numeric>

TControlStrings::TControlStrings(std::function<void()> sync) : m_sync(std::move(sync)) {}

TControlStrings::~TControlStrings() = default;

void TControlStrings::checkIndex(int index, int limit) const
{
    if (index < 0 || index > limit)
        IndexError(index);
}

int TControlStrings::Add(const QString &s)
{
    int index = Count();
    if (m_sorted) {
        const auto at = std::upper_bound(m_lines.cbegin(), m_lines.cend(), s,
                                         [this](const QString &a, const QString &b) { return CompareStrings(a, b) < 0; });
        index = int(at - m_lines.cbegin());
    }
    Insert(index, s);
    return index;
}

void TControlStrings::Insert(int index, const QString &s)
{
    checkIndex(index, Count());
    m_lines.insert(index, s);
    m_objects.insert(index, TObjectRef());
    changed();
}

void TControlStrings::Delete(int index)
{
    checkIndex(index, Count() - 1);
    m_lines.removeAt(index);
    m_objects.removeAt(index);
    changed();
}

void TControlStrings::Clear()
{
    if (m_lines.isEmpty())
        return;
    m_lines.clear();
    m_objects.clear();
    changed();
}

void TControlStrings::SetSorted(bool sorted)
{
    m_sorted = sorted;
    if (!sorted)
        return;
    QList<int> order(Count());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return CompareStrings(m_lines[a], m_lines[b]) < 0; });
    QStringList lines;
    QList<TObjectRef> objects;
    for (int i : order) {
        lines.append(m_lines[i]);
        objects.append(m_objects[i]);
    }
    m_lines = lines;
    m_objects = objects;
    changed();
}

void TControlStrings::Reload(const QStringList &lines)
{
    m_lines = lines;
    m_objects = QList<TObjectRef>(lines.size());
}

QString TControlStrings::Get(int index) const
{
    checkIndex(index, Count() - 1);
    return m_lines[index];
}

void TControlStrings::Put(int index, const QString &s)
{
    checkIndex(index, Count() - 1);
    m_lines[index] = s;
    changed();
}

TObjectRef TControlStrings::GetObjectRef(int index) const
{
    checkIndex(index, Count() - 1);
    return m_objects[index];
}

void TControlStrings::PutObjectRef(int index, TObjectRef object)
{
    checkIndex(index, Count() - 1);
    m_objects[index] = object;
}

void TControlStrings::SetUpdateState(bool updating)
{
    if (!updating)
        m_sync();
}

void TControlStrings::changed()
{
    if (!Updating())
        m_sync();
}
