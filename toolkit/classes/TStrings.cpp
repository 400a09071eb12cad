#include "toolkit/classes/TStrings.h"

#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"
#include "toolkit/classes/Streams.h"

namespace {

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= ' ';
}

bool needsQuotes(const QString &s)
{
    for (QChar c : s)
        if (isBlankOrControl(c) || c == u'"' || c == u',')
            return true;
    return false;
}

QString quoted(const QString &s)
{
    QString result = s;
    result.replace(u'"', QStringLiteral("\"\""));
    return u'"' + result + u'"';
}

// The text of a quoted item starting at text[pos] == '"'; moves pos past the
// closing quote (or to the end when there is none).  Doubled quotes inside
// stand for one.
QString extractQuoted(const QString &text, qsizetype &pos)
{
    QString result;
    ++pos;
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c != u'"') {
            result += c;
            continue;
        }
        if (pos < text.size() && text[pos] == u'"') {
            result += c;
            ++pos;
            continue;
        }
        break;
    }
    return result;
}

void skipBlanks(const QString &text, qsizetype &pos)
{
    while (pos < text.size() && isBlankOrControl(text[pos]))
        ++pos;
}

} // namespace

TStrings::TStrings() = default;
TStrings::~TStrings() = default;

int TStrings::Add(const QString &s)
{
    const int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObjectRef(const QString &s, TObjectRef object)
{
    const int index = Add(s);
    PutObjectRef(index, object);
    return index;
}

void TStrings::InsertObject(int index, const QString &s, TObject *object)
{
    Insert(index, s);
    PutObjectRef(index, TObjectRef::To(object));
}

void TStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    if (newIndex < 0 || newIndex >= Count())
        IndexError(newIndex);
    const QString s = Get(curIndex);
    const TObjectRef object = GetObjectRef(curIndex);
    const UpdateScope update(*this);
    Delete(curIndex);
    Insert(newIndex, s);
    PutObjectRef(newIndex, object);
}

int TStrings::IndexOf(const QString &s) const
{
    for (int i = 0, n = Count(); i < n; ++i)
        if (CompareStrings(Get(i), s) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject *object) const
{
    for (int i = 0, n = Count(); i < n; ++i)
        if (GetObjectRef(i).Object == object)
            return i;
    return -1;
}

QString TStrings::Names(int index) const
{
    const QString s = Get(index);
    const qsizetype eq = s.indexOf(u'=');
    return eq < 0 ? QString() : s.left(eq);
}

int TStrings::IndexOfName(const QString &name) const
{
    for (int i = 0, n = Count(); i < n; ++i) {
        const QString s = Get(i);
        const qsizetype eq = s.indexOf(u'=');
        if (eq >= 0 && CompareStrings(s.left(eq), name) == 0)
            return i;
    }
    return -1;
}

QString TStrings::Values(const QString &name) const
{
    const int index = IndexOfName(name);
    if (index < 0)
        return {};
    const QString s = Get(index);
    return s.mid(s.indexOf(u'=') + 1);
}

void TStrings::SetValues(const QString &name, const QString &value)
{
    int index = IndexOfName(name);
    if (value.isEmpty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    if (index < 0)
        index = Add(QString());
    Put(index, name + u'=' + value);
}

QString TStrings::CommaText() const
{
    const int n = Count();
    if (n == 1 && Get(0).isEmpty())
        return QStringLiteral("\"\"");
    QString result;
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            result += u',';
        const QString s = Get(i);
        result += needsQuotes(s) ? quoted(s) : s;
    }
    return result;
}

void TStrings::SetCommaText(const QString &text)
{
    const UpdateScope update(*this);
    Clear();
    qsizetype pos = 0;
    skipBlanks(text, pos);
    while (pos < text.size()) {
        if (text[pos] == u'"') {
            Add(extractQuoted(text, pos));
        } else {
            const qsizetype start = pos;
            while (pos < text.size() && !isBlankOrControl(text[pos]) && text[pos] != u',')
                ++pos;
            Add(text.mid(start, pos - start));
        }
        skipBlanks(text, pos);
        if (pos < text.size() && text[pos] == u',') {
            if (pos + 1 == text.size())
                Add(QString());
            ++pos;
            skipBlanks(text, pos);
        }
    }
}

QString TStrings::Text() const
{
    QString result;
    for (int i = 0, n = Count(); i < n; ++i)
        result += Get(i) + QStringLiteral("\r\n");
    return result;
}

void TStrings::SetText(const QString &text)
{
    const UpdateScope update(*this);
    Clear();
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        Add(text.mid(start, end - start));
        if (end < text.size() && text[end] == u'\r')
            ++end;
        if (end < text.size() && text[end] == u'\n')
            ++end;
        start = end;
    }
}

void TStrings::LoadFromStream(TStream *stream)
{
    SetText(StreamBytesToText(stream->ReadToEnd()));
}

void TStrings::SaveToStream(TStream *stream) const
{
    stream->WriteBuffer(TextToStreamBytes(Text()));
}

void TStrings::LoadFromFile(const QString &fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TStrings::SaveToFile(const QString &fileName) const
{
    SaveFile(fileName, TextToStreamBytes(Text()));
}

void TStrings::BeginUpdate()
{
    if (m_updateCount++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0)
        SetUpdateState(false);
}

void TStrings::Assign(const TPersistent *source)
{
    const auto *strings = qobject_cast<const TStrings *>(source);
    if (!strings) {
        TPersistent::Assign(source);
        return;
    }
    if (strings == this)
        return;
    const UpdateScope update(*this);
    Clear();
    for (int i = 0, n = strings->Count(); i < n; ++i)
        AddObjectRef(strings->Get(i), strings->GetObjectRef(i));
}

int TStrings::CompareStrings(const QString &a, const QString &b) const
{
    return AnsiCompareText(a, b);
}

void TStrings::Put(int index, const QString &s)
{
    const TObjectRef object = GetObjectRef(index);
    const UpdateScope update(*this);
    Delete(index);
    Insert(index, s);
    PutObjectRef(index, object);
}

TObjectRef TStrings::GetObjectRef(int) const
{
    return {};
}

void TStrings::PutObjectRef(int, TObjectRef) {}

void TStrings::SetUpdateState(bool) {}

void TStrings::IndexError(int index)
{
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}
