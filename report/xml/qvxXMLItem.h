#pragma once

// One element of a report XML document.
//
// An element keeps its attributes as one raw text ("a=\"1\" b=\"x\"") in which
// values are escaped; GetProp and SetProp search and edit that text.  Children
// are owned and kept in document order.  An Unloadable element may have its
// subtree swapped out of memory by its document (see TqvxXMLDocument); while
// it is out, Loaded is false and Offset tells where its text starts.
//
// A swapped-out child whose tag is the same as in its stream can be dropped
// down to its position there (TqvxXMLDocument::CompactItem): the parent then
// keeps one word for it instead of an element, and Items makes the element
// again, unloaded, from its tag when it is asked for.

#include <QString>

#include <cstdint>
#include <vector>

class TqvxXMLDocument;

class TqvxXMLItem
{
public:
    TqvxXMLItem() = default;
    // Frees the children and leaves the parent's child list.
    ~TqvxXMLItem();

    TqvxXMLItem(const TqvxXMLItem &) = delete;
    TqvxXMLItem &operator=(const TqvxXMLItem &) = delete;

    // Where an unloaded element's text was recorded.
    enum class OffsetSource { SourceStream, SwapFile };

    const QString &Name() const { return m_name; }
    void SetName(const QString &name)
    {
        m_name = name;
        m_tagChanged = true;
    }
    // The raw attribute text, values escaped.
    const QString &Text() const { return m_text; }
    void SetText(const QString &text)
    {
        m_text = text;
        m_tagChanged = true;
    }
    // Text content, written between the tags of an element without children;
    // the reader never fills it.
    const QString &Value() const { return m_value; }
    void SetValue(const QString &value) { m_value = value; }

    TqvxXMLItem *Parent() const { return m_parent; }

    int Count() const { return int(m_items.size()); }
    // A child dropped to its position is made again, unloaded, and stays
    // until it is dropped again.
    TqvxXMLItem *Items(int index) const
    {
        const Slot slot = m_items.at(std::size_t(index));
        return isPosition(slot) ? restore(index) : reinterpret_cast<TqvxXMLItem *>(slot);
    }
    // Whether child index is only its position in a stream (see above).
    bool Compacted(int index) const { return isPosition(m_items.at(std::size_t(index))); }

    // Creates a new last child.
    TqvxXMLItem *Add();
    // Appends an existing element, taking it from its former parent.
    void AddItem(TqvxXMLItem *item);
    // As AddItem, then moves the element to `index`.
    void InsertItem(int index, TqvxXMLItem *item);
    int IndexOf(const TqvxXMLItem *item) const;
    // Index of the first child named `name` (case-insensitive), -1 if none.
    int Find(const QString &name) const;
    // The first child named `name`, or a new child with that name.
    TqvxXMLItem *FindItem(const QString &name);

    // The decoded value of an attribute (names compare case-insensitively);
    // empty when absent.
    QString GetProp(const QString &name) const;
    // Replaces the attribute in place, or appends it to the attribute text.
    void SetProp(const QString &name, const QString &value);

    // Frees every child; an Unloadable element becomes not Loaded.
    void Clear();

    bool Loaded() const { return m_loaded; }
    void SetLoaded(bool loaded) { m_loaded = loaded; }
    bool Unloadable() const { return m_unloadable; }
    void SetUnloadable(bool unloadable) { m_unloadable = unloadable; }

    std::uint64_t GetOffset() const { return m_offset; }
    void SetOffset(std::uint64_t offset) { m_offset = offset; }
    OffsetSource GetOffsetSource() const { return m_offsetSource; }
    void SetOffsetSource(OffsetSource source) { m_offsetSource = source; }

private:
    friend class TqvxXMLDocument;
    friend class TqvxXMLReader;
    friend class TqvxXMLWriter;

    // A child: its element, or (odd) its offset and offset source.
    using Slot = std::uintptr_t;
    static_assert(sizeof(Slot) == sizeof(std::uint64_t), "offsets are kept in a pointer's room");
    static bool isPosition(Slot slot) { return (slot & 1) != 0; }
    static Slot positionSlot(std::uint64_t offset, OffsetSource source)
    {
        return Slot(offset << 2) | (source == OffsetSource::SwapFile ? 2 : 0) | 1;
    }
    static std::uint64_t slotOffset(Slot slot) { return std::uint64_t(slot) >> 2; }
    static OffsetSource slotSource(Slot slot)
    {
        return (slot & 2) != 0 ? OffsetSource::SwapFile : OffsetSource::SourceStream;
    }
    TqvxXMLItem *restore(int index) const;

    void detach();
    // Index in Text of the first letter of attribute `name`, -1 if absent.
    int findProp(const QString &name) const;

    QString m_name;
    QString m_text;
    QString m_value;
    TqvxXMLItem *m_parent = nullptr;
    mutable std::vector<Slot> m_items;
    // The document that reads compacted children back; set when the first
    // one is compacted.
    const TqvxXMLDocument *m_document = nullptr;
    bool m_loaded = true;
    bool m_unloadable = false;
    // Name or attribute text set since the tag was last read or written.
    bool m_tagChanged = true;
    std::uint64_t m_offset = 0;
    OffsetSource m_offsetSource = OffsetSource::SourceStream;
};
