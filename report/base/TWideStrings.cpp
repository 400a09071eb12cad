#include "report/base/TWideStrings.h"

#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStrings.h"

#include <QtEndian>

#include <algorithm>

namespace {

constexpr char16_t LineSeparator = 0x2028;
const QByteArray utf16Mark("\xFF\xFE");

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar(LineSeparator);
}

// Calls take with the start and length in text of each line SetText makes
// of it.
template <class Take>
void forEachLine(const QString &text, Take &&take)
{
    // The text ends at its first NUL character.
    const auto lineEnd = [](QChar c) { return isLineBreak(c) || c == u'\0'; };
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] != u'\0') {
        const qsizetype start = pos;
        pos = std::find_if(text.begin() + start, text.end(), lineEnd) - text.begin();
        take(start, pos - start);
        for (const char16_t skipped : {u'\r', u'\n', LineSeparator})
            if (pos < text.size() && text[pos] == QChar(skipped))
                ++pos;
    }
}

} // namespace

TWideStrings::TWideStrings() = default;
TWideStrings::~TWideStrings() = default;

void TWideStrings::outOfBounds()
{
    throw Exception(QStringLiteral("Wide String Out of Bounds"));
}

QString TWideStrings::Get(int index) const
{
    if (index < 0 || index >= Count())
        return QString();
    return m_items[std::size_t(index)].text;
}

void TWideStrings::Put(int index, const QString &s)
{
    if (index == Count()) {
        Add(s);
        return;
    }
    if (index < 0 || index > Count())
        outOfBounds();
    m_items[std::size_t(index)].text = s;
}

TObjectRef TWideStrings::ObjectRefs(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return m_items[std::size_t(index)].object;
}

void TWideStrings::PutObject(int index, TObject *object)
{
    if (index >= 0 && index < Count())
        m_items[std::size_t(index)].object = TObjectRef::To(object);
}

int TWideStrings::Add(const QString &s)
{
    return addItem(s, {});
}

int TWideStrings::AddObject(const QString &s, TObject *object)
{
    return addItem(s, TObjectRef::To(object));
}

int TWideStrings::addItem(const QString &s, TObjectRef object)
{
    m_items.push_back({s, object});
    return Count() - 1;
}

void TWideStrings::AddStrings(const TWideStrings *other)
{
    // A copy first: other may be this list.
    const std::vector<Item> items = other->m_items;
    m_items.insert(m_items.end(), items.begin(), items.end());
}

void TWideStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        outOfBounds();
    m_items.erase(m_items.begin() + index);
}

void TWideStrings::Insert(int index, const QString &s)
{
    if (index < 0 || index > Count())
        outOfBounds();
    m_items.insert(m_items.begin() + index, Item{s, {}});
}

int TWideStrings::IndexOf(const QString &s) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_items[std::size_t(i)].text == s)
            return i;
    return -1;
}

void TWideStrings::Clear()
{
    m_items.clear();
}

QString TWideStrings::GetText() const
{
    qsizetype size = 0;
    for (const Item &item : m_items)
        size += item.text.size() + 2;
    QString text;
    text.reserve(size);
    for (const Item &item : m_items) {
        text += item.text;
        text += u"\r\n";
    }
    return text;
}

void TWideStrings::SetText(const QString &text)
{
    Clear();
    forEachLine(text, [&](qsizetype start, qsizetype length) { Add(text.mid(start, length)); });
}

QString TWideStrings::TextOf(const QString &text)
{
    QString result;
    result.reserve(text.size() + 2);
    forEachLine(text, [&](qsizetype start, qsizetype length) {
        result += QStringView(text).mid(start, length);
        result += u"\r\n";
    });
    return result;
}

void TWideStrings::LoadFromStream(TStream *stream)
{
    const QByteArray bytes = stream->ReadToEnd();
    if (bytes.startsWith(utf16Mark)) {
        QString text(qsizetype((bytes.size() - 2) / 2), Qt::Uninitialized);
        qFromLittleEndian<char16_t>(bytes.constData() + 2, text.size(), text.data());
        SetText(text);
    } else {
        SetText(StreamBytesToText(bytes));
    }
}

void TWideStrings::SaveToStream(TStream *stream) const
{
    const QString text = GetText();
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.constData(), text.size(), bytes.data());
    stream->WriteBuffer(utf16Mark);
    stream->WriteBuffer(bytes);
}

void TWideStrings::LoadFromFile(const QString &fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TWideStrings::SaveToFile(const QString &fileName) const
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(&stream);
}

void TWideStrings::Assign(const TPersistent *source)
{
    if (const auto *wide = qobject_cast<const TWideStrings *>(source)) {
        if (wide != this)
            m_items = wide->m_items;
        return;
    }
    if (const auto *strings = qobject_cast<const TStrings *>(source)) {
        Clear();
        for (int i = 0; i < strings->Count(); ++i)
            addItem(strings->Strings(i), strings->ObjectRefs(i));
        return;
    }
    TPersistent::Assign(source);
}

void TWideStrings::AssignTo(TPersistent *dest) const
{
    auto *strings = qobject_cast<TStrings *>(dest);
    if (!strings) {
        TPersistent::AssignTo(dest);
        return;
    }
    strings->BeginUpdate();
    strings->Clear();
    for (const Item &item : m_items)
        strings->AddObjectRef(item.text, item.object);
    strings->EndUpdate();
}

void InitializeWideStrings()
{
    RegisterClass<TWideStrings>();
    RegisterClassCategory(ClassOf<TWideStrings>(), TClassCategory::WideStrings);
}
