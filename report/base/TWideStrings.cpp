#include "report/base/TWideStrings.h"

#include "report/base/qvxTextUtils.h"

#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStrings.h"

#include <QMutex>
#include <QtEndian>

#include <algorithm>
#include <limits>

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

TWideStrings::Data::Data(const Data &other)
    : QSharedData(other),
      text(other.text),
      count(other.count),
      objects(other.objects),
      ordered(other.ordered),
      unused(other.unused)
{
    // A list that changes detaches its shared data by this copy, outside
    // the indexing lock: lines another list is filling are not read.
    if (!other.indexed.loadAcquire()) {
        indexed.storeRelaxed(0);
        return;
    }
    lines = other.lines;
    count = int(lines.size());
}

TWideStrings::TWideStrings() : m_data(new Data) {}
TWideStrings::~TWideStrings() = default;

void TWideStrings::outOfBounds()
{
    throw Exception(QStringLiteral("Wide String Out of Bounds"));
}

namespace {

// Lines are stretches of one text, placed by 32-bit numbers.
void checkTextSize(qsizetype size)
{
    if (size > std::numeric_limits<qint32>::max())
        throw Exception(QStringLiteral("The text is too long"));
}

} // namespace

const std::vector<TWideStrings::Line> &TWideStrings::lines(const Data &d)
{
    if (d.indexed.loadAcquire())
        return d.lines;
    // Lists that share the text may be read from more than one thread.
    static QMutex indexing;
    const QMutexLocker locker(&indexing);
    if (!d.indexed.loadRelaxed()) {
        std::vector<Line> lines;
        lines.reserve(std::size_t(d.count));
        forEachLine(d.text, [&](qsizetype start, qsizetype length) { lines.push_back({qint32(start), qint32(length)}); });
        d.lines = std::move(lines);
        d.indexed.storeRelease(1);
    }
    return d.lines;
}

TWideStrings::Data &TWideStrings::changing()
{
    Data &d = *m_data;
    lines(d);
    return d;
}

int TWideStrings::Count() const
{
    const Data &d = data();
    return d.indexed.loadAcquire() ? int(d.lines.size()) : d.count;
}

QString TWideStrings::Get(int index) const
{
    return View(index).toString();
}

QStringView TWideStrings::View(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    const Line line = lines(data())[std::size_t(index)];
    return QStringView(data().text).mid(line.start, line.length);
}

void TWideStrings::Put(int index, const QString &s)
{
    if (index == Count()) {
        Add(s);
        return;
    }
    if (index < 0 || index > Count())
        outOfBounds();
    Data &d = changing();
    Line &line = d.lines[std::size_t(index)];
    if (s.size() == line.length) {
        std::copy(s.begin(), s.end(), d.text.begin() + line.start);
        return;
    }
    d.unused += line.length + 2;
    line = appendToText(d, s);
    d.ordered = false;
    compactIfWasteful(d);
}

TObjectRef TWideStrings::ObjectRefs(int index) const
{
    if (index < 0 || index >= int(data().objects.size()))
        return {};
    return data().objects[std::size_t(index)];
}

void TWideStrings::PutObject(int index, TObject *object)
{
    if (index >= 0 && index < Count())
        setObject(changing(), index, TObjectRef::To(object));
}

void TWideStrings::setObject(Data &d, int index, TObjectRef object)
{
    if (d.objects.empty() && !object.Object)
        return;
    d.objects.resize(d.lines.size());
    d.objects[std::size_t(index)] = object;
}

int TWideStrings::Add(const QString &s)
{
    return addItem(s, {});
}

int TWideStrings::AddObject(const QString &s, TObject *object)
{
    return addItem(s, TObjectRef::To(object));
}

int TWideStrings::addItem(QStringView s, TObjectRef object)
{
    Data &d = changing();
    d.lines.push_back(appendToText(d, s));
    const int index = int(d.lines.size()) - 1;
    if (!d.objects.empty())
        d.objects.emplace_back();
    setObject(d, index, object);
    return index;
}

TWideStrings::Line TWideStrings::appendToText(Data &d, QStringView s)
{
    checkTextSize(d.text.size() + s.size() + 2);
    const Line line{qint32(d.text.size()), qint32(s.size())};
    d.text.append(s);
    d.text.append(u"\r\n");
    return line;
}

void TWideStrings::compactIfWasteful(Data &d)
{
    // Writing the text out again costs what the unused part took to make.
    if (d.unused < 4096 || d.unused < d.text.size() / 2)
        return;
    QString text;
    text.reserve(d.text.size() - d.unused);
    for (Line &line : d.lines) {
        const qint32 start = qint32(text.size());
        text.append(QStringView(d.text).mid(line.start, line.length));
        text.append(u"\r\n");
        line.start = start;
    }
    d.text = std::move(text);
    d.unused = 0;
    d.ordered = true;
}

void TWideStrings::AddStrings(const TWideStrings *other)
{
    // Holding other's lines keeps them as they are while this list, which
    // may be other, grows.
    const QSharedDataPointer<Data> source = other->m_data;
    const Data &from = *source;
    const std::vector<Line> &added = lines(from);
    for (std::size_t i = 0; i < added.size(); ++i)
        addItem(QStringView(from.text).mid(added[i].start, added[i].length),
                i < from.objects.size() ? from.objects[i] : TObjectRef());
}

void TWideStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        outOfBounds();
    Data &d = changing();
    const Line line = d.lines[std::size_t(index)];
    d.lines.erase(d.lines.begin() + index);
    if (!d.objects.empty())
        d.objects.erase(d.objects.begin() + index);
    if (d.ordered && index == int(d.lines.size())) {
        d.text.truncate(line.start);
        return;
    }
    d.unused += line.length + 2;
    d.ordered = false;
    compactIfWasteful(d);
}

void TWideStrings::Insert(int index, const QString &s)
{
    if (index < 0 || index > Count())
        outOfBounds();
    if (index == Count()) {
        Add(s);
        return;
    }
    Data &d = changing();
    d.lines.insert(d.lines.begin() + index, appendToText(d, s));
    if (!d.objects.empty())
        d.objects.insert(d.objects.begin() + index, TObjectRef());
    d.ordered = false;
}

int TWideStrings::IndexOf(const QString &s) const
{
    for (int i = 0; i < Count(); ++i)
        if (View(i) == s)
            return i;
    return -1;
}

void TWideStrings::Clear()
{
    m_data.reset(new Data);
}

QString TWideStrings::GetText() const
{
    const Data &d = data();
    if (d.ordered)
        return d.text;
    QString text;
    text.reserve(d.text.size() - d.unused);
    for (int i = 0; i < Count(); ++i) {
        text += View(i);
        text += u"\r\n";
    }
    return text;
}

void TWideStrings::SetText(const QString &text)
{
    QSharedDataPointer<Data> d(new Data);
    // Whether text is already in the form GetText gives, when it is kept as
    // it is; the lines are found again when one is asked for.
    bool ordered = true;
    qsizetype next = 0;
    int count = 0;
    forEachLine(text, [&](qsizetype start, qsizetype length) {
        const qsizetype end = start + length;
        ordered = ordered && start == next && end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n';
        next = end + 2;
        ++count;
    });
    d->text = ordered && next == text.size() ? text : TextOf(text);
    checkTextSize(d->text.size());
    qvxDropSpareRoom(d->text);
    d->count = count;
    d->indexed.storeRelaxed(0);
    m_data = d;
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
        m_data = wide->m_data;
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
    for (int i = 0; i < Count(); ++i)
        strings->AddObjectRef(Get(i), ObjectRefs(i));
    strings->EndUpdate();
}

void InitializeWideStrings()
{
    RegisterClass<TWideStrings>();
    RegisterClassCategory(ClassOf<TWideStrings>(), TClassCategory::WideStrings);
}
