#include "report/model/qvxXMLSerializer.h"

#include "report/base/TWideStrings.h"
#include "report/model/qvxComponent.h"
#include "report/model/qvxComponentNames.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxResources.h"
#include "report/base/qvxStreamUtils.h"
#include "report/xml/qvxXMLDocument.h"
#include "report/xml/qvxXMLEscape.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/FloatText.h"
#include "toolkit/classes/CustomPropertyData.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/classes/Reflection.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace {

constexpr double ancestorTolerance = 1e-6;
// Sub-objects nest only a few levels (Frame.LeftLine.Color); a deeper chain
// can only be a cycle.
constexpr int maxObjectDepth = 16;

const QString lineBreak = QStringLiteral("\r\n");

// A stored attribute value with its character references replaced.
QString decodedValue(QStringView rawValue)
{
    // Without a reference the text is the value itself.
    if (!rawValue.contains(QLatin1Char('&')))
        return rawValue.toString();
    return qvxXMLDecode(rawValue);
}

// The text a list is set to from its stored value: the value's lines, the
// last one closed again.  Made in one piece at its size, it is in the form
// a wide list keeps as it is, however long.
QString listTextFromStored(QStringView rawValue)
{
    if (rawValue.isEmpty())
        return QString();
    QString text;
    text.reserve(qvxXMLDecodedSize(rawValue) + lineBreak.size());
    qvxAppendXMLDecoded(text, rawValue);
    text += lineBreak;
    return text;
}

// A coordinate as qvxStrToFloat reads it; plain digits, as the engine
// writes whole coordinates, are read directly.
double coordinateValue(QStringView rawValue)
{
    if (!rawValue.isEmpty() && rawValue.size() <= 15) {
        qint64 whole = 0;
        bool digits = true;
        for (const QChar c : rawValue) {
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            whole = whole * 10 + (c.unicode() - u'0');
        }
        if (digits)
            return double(whole);
    }
    return qvxStrToFloat(rawValue.toString());
}

QString attribute(const QString &prefix, const QString &name, const QString &value)
{
    return QLatin1Char(' ') + prefix + name + QStringLiteral("=\"") + value + QLatin1Char('"');
}

// Appends ` name="value"`, the value encoded, with room for `room`
// characters more: a long text is encoded once, straight into a string
// made at its size.
void appendEncodedAttribute(QString &out, QStringView name, QStringView value, qsizetype room = 0)
{
    out.reserve(out.size() + name.size() + 4 + qvxXMLEncodedSize(value) + room);
    out += QLatin1Char(' ');
    out += name;
    out += QStringLiteral("=\"");
    qvxAppendXMLEncoded(out, value);
    out += QLatin1Char('"');
}

// A list's text as stored: without the line break that closes its last
// line.
QStringView storedListView(const QString &text)
{
    return text.endsWith(lineBreak) ? QStringView(text).chopped(lineBreak.size()) : QStringView(text);
}

// The text of a memo view.
TWideStrings *memoOf(TPersistent *obj)
{
    const auto *component = qobject_cast<const TqvxComponent *>(obj);
    return component ? component->MemoText() : nullptr;
}

// Kinds written as numbers (enumerations by name).
bool isOrdinal(TTypeKind kind)
{
    switch (kind) {
    case TTypeKind::Integer:
    case TTypeKind::Int64:
    case TTypeKind::Char:
    case TTypeKind::WChar:
    case TTypeKind::Set:
    case TTypeKind::Enumeration:
        return true;
    default:
        return false;
    }
}

// Sub-objects that are stored within their holder, as X.Name attributes.
bool isNestedCategory(TClassCategory category)
{
    return category == TClassCategory::Persistent || category == TClassCategory::CollectionItem ||
           category == TClassCategory::Strings || category == TClassCategory::WideStrings;
}

bool isReport(const TObject *obj)
{
    return dynamic_cast<const TqvxReportLink *>(obj) != nullptr;
}

// Marks a report object IsWriting for the scope.
class WritingScope
{
public:
    WritingScope(TPersistent *obj, TPersistent *ancestor)
        : m_obj(qobject_cast<TqvxComponent *>(obj)),
          m_ancestor(qobject_cast<TqvxComponent *>(ancestor))
    {
        if (m_obj)
            m_obj->SetIsWriting(true);
    }
    ~WritingScope()
    {
        if (m_obj)
            m_obj->SetIsWriting(false);
        if (m_ancestor)
            m_ancestor->SetIsWriting(false);
    }
    WritingScope(const WritingScope &) = delete;
    WritingScope &operator=(const WritingScope &) = delete;

private:
    TqvxComponent *m_obj;
    TqvxComponent *m_ancestor;
};

} // namespace

TqvxXMLSerializer::TqvxXMLSerializer(TStream *stream)
    : m_stream(stream),
      m_errors(std::make_unique<TStringList>())
{
    m_errors->SetSorted(true);
    m_errors->SetDuplicates(dupIgnore);
}

TqvxXMLSerializer::~TqvxXMLSerializer() = default;

QString TqvxXMLSerializer::StoredListText(QString text)
{
    if (text.endsWith(lineBreak))
        text.chop(lineBreak.size());
    return text;
}

QString TqvxXMLSerializer::FloatToText(double value)
{
    QString text;
    AppendFloatText(text, value);
    return text;
}

void TqvxXMLSerializer::AppendFloatText(QString &text, double value)
{
    // A whole number below 10^15 has at most the 15 significant digits of
    // FloatToStr, which writes it as it is (and -0 as 0).
    if (std::abs(value) < 1e15 && value == std::trunc(value)) {
        char digits[20];
        const auto end = std::to_chars(digits, digits + sizeof digits, qint64(value)).ptr;
        text += QLatin1StringView(digits, end);
        return;
    }
    static const TFormatSettings pointSettings;
    text += FloatToStr(value, pointSettings);
}

// Writing

QString TqvxXMLSerializer::ObjToXML(TPersistent *obj, const QString &prefix, TPersistent *ancestor)
{
    return objectText(obj, prefix, ancestor, 0);
}

QString TqvxXMLSerializer::objectText(TPersistent *obj, const QString &prefix, TPersistent *ancestor, int depth,
                                      QString lead)
{
    if (!obj)
        return lead;
    auto *component = qobject_cast<TqvxComponent *>(obj);
    if (!ancestor && component && OnGetAncestor) {
        TqvxComponent *found = nullptr;
        OnGetAncestor(component->Name(), found);
        ancestor = found;
    }
    WritingScope writing(obj, ancestor);

    QString result = std::move(lead);
    for (const TPropInfo *prop : GetPropList(obj->ClassType()))
        result += propertyText(obj, prop, prefix, ancestor, depth);
    const QString data = propDataText(obj, prefix, ancestor);
    if (depth == 0)
        appendMemoText(result, obj, ancestor, data.size());
    result += data;
    return result;
}

QString TqvxXMLSerializer::propertyText(TPersistent *obj, const TPropInfo *prop, const QString &prefix,
                                        TPersistent *ancestor, int depth)
{
    if (!prop->IsReadable() || !prop->IsStored(obj))
        return QString();
    const TPropInfo *ancestorProp = ancestor ? GetPropInfo(ancestor, prop->Name()) : nullptr;
    if (ancestorProp && (ancestorProp->Kind() != prop->Kind() || !ancestorProp->IsReadable()))
        ancestorProp = nullptr;
    const bool allValues = m_serializeDefaultValues;

    if (isOrdinal(prop->Kind())) {
        if (!prop->IsWritable())
            return QString();
        const qint64 value = prop->GetOrd(obj);
        if (!allValues) {
            if (ancestorProp ? value == ancestorProp->GetOrd(ancestor) : prop->HasDefault() && value == prop->Default())
                return QString();
        }
        const QString name = prop->Kind() == TTypeKind::Enumeration ? prop->EnumName(value) : QString();
        return attribute(prefix, prop->Name(), name.isEmpty() ? QString::number(value) : name);
    }
    switch (prop->Kind()) {
    case TTypeKind::Float: {
        if (!prop->IsWritable())
            return QString();
        const double value = prop->GetFloat(obj);
        if (!allValues && ancestorProp && std::abs(value - ancestorProp->GetFloat(ancestor)) <= ancestorTolerance)
            return QString();
        return attribute(prefix, prop->Name(), FloatToText(value));
    }
    case TTypeKind::String:
    case TTypeKind::WideString: {
        if (!prop->IsWritable())
            return QString();
        const QString value = prop->GetStr(obj);
        if (!allValues && (ancestorProp ? value == ancestorProp->GetStr(ancestor) : value.isEmpty()))
            return QString();
        return attribute(prefix, prop->Name(), qvxXMLEncode(value));
    }
    case TTypeKind::Variant: {
        if (!prop->IsWritable())
            return QString();
        // An empty string is a value; only null and unassigned are none.
        const Variant value = prop->GetVariant(obj);
        const QString text = qvxVariantToXMLText(value);
        const bool none = VarIsNull(value) || VarIsEmpty(value);
        if (!allValues && ancestorProp) {
            const Variant ancestorValue = ancestorProp->GetVariant(ancestor);
            const bool ancestorNone = VarIsNull(ancestorValue) || VarIsEmpty(ancestorValue);
            if (none == ancestorNone && text == qvxVariantToXMLText(ancestorValue))
                return QString();
        } else if (!allValues && none) {
            return QString();
        }
        return attribute(prefix, prop->Name(), text);
    }
    case TTypeKind::Class:
        break;
    default:
        return QString();
    }

    TObject *value = prop->GetObject(obj);
    TObject *ancestorValue = ancestorProp ? ancestorProp->GetObject(ancestor) : nullptr;
    switch (prop->ClassCategory()) {
    case TClassCategory::Component: {
        if (!prop->IsWritable())
            return QString();
        const auto *target = qobject_cast<const TComponent *>(value);
        const auto *ancestorTarget = qobject_cast<const TComponent *>(ancestorValue);
        if (!target)
            return ancestorTarget || allValues ? attribute(prefix, prop->Name(), QStringLiteral("nil")) : QString();
        if (!allValues && ancestorTarget && ancestorTarget->Name() == target->Name())
            return QString();
        const auto *component = qobject_cast<const TqvxComponent *>(obj);
        const TComponent *report = m_owner ? m_owner : component ? component->GetReport() : nullptr;
        const QString name = qvxGetReferenceName(report, target);
        return name.isEmpty() ? QString() : attribute(prefix, prop->Name(), qvxXMLEncode(name));
    }
    case TClassCategory::Strings: {
        const auto *list = qobject_cast<const TStrings *>(value);
        if (!list)
            return QString();
        const auto *ancestorList = qobject_cast<const TStrings *>(ancestorValue);
        const QString text = list->Text();
        const QString ancestorText = ancestorList ? ancestorList->Text() : QString();
        if (listTextUnchanged(text, list->Count(), ancestorList ? &ancestorText : nullptr))
            return QString();
        QString result;
        appendEncodedAttribute(result, QString(prefix + prop->Name() + QStringLiteral(".Text")), storedListView(text));
        return result;
    }
    case TClassCategory::Persistent:
    case TClassCategory::CollectionItem:
        if (depth >= maxObjectDepth)
            return QString();
        return objectText(qobject_cast<TPersistent *>(value), prefix + prop->Name() + QLatin1Char('.'),
                          qobject_cast<TPersistent *>(ancestorValue), depth + 1);
    default:
        return QString();
    }
}

void TqvxXMLSerializer::appendMemoText(QString &out, TPersistent *obj, TPersistent *ancestor, qsizetype room) const
{
    const TWideStrings *memo = memoOf(obj);
    if (!memo)
        return;
    const QString text = memo->GetText();
    const TWideStrings *ancestorMemo = memoOf(ancestor);
    const QString ancestorText = ancestorMemo ? ancestorMemo->GetText() : QString();
    if (listTextUnchanged(text, memo->Count(), ancestorMemo ? &ancestorText : nullptr))
        return;
    appendEncodedAttribute(out, u"Text", storedListView(text), room);
}

bool TqvxXMLSerializer::listTextUnchanged(const QString &text, int count, const QString *ancestorText) const
{
    if (m_serializeDefaultValues)
        return false;
    if (!ancestorText)
        return count == 0;
    // An engine copy keeps its text even when the template has the same.
    if (m_engineCopy)
        return text.isEmpty() && ancestorText->isEmpty();
    return text == *ancestorText;
}

QString TqvxXMLSerializer::propDataText(TPersistent *obj, const QString &prefix, TPersistent *ancestor) const
{
    const auto *component = qobject_cast<const TqvxComponent *>(obj);
    if (component && component->HasNestedData() && m_handleNestedProperties)
        return QString();
    const QByteArray data = WritePropertyData(*obj);
    if (data.isEmpty())
        return QString();
    if (ancestor && !m_engineCopy && !m_serializeDefaultValues && WritePropertyData(*ancestor) == data)
        return QString();
    return attribute(prefix, QStringLiteral("PropData"), qvxBytesToHex(data));
}

void TqvxXMLSerializer::writeElement(TqvxComponent *obj, TqvxXMLItem *item, bool isRoot, bool saveChildren,
                                     bool keepClassNames)
{
    item->SetName(!keepClassNames && obj->IsAncestor() ? QStringLiteral("inherited") : obj->ClassName());
    QString text = ObjToXML(obj);
    if (!isRoot)
        text.prepend(QStringLiteral("Name=\"") + qvxXMLEncode(obj->Name()) + QLatin1Char('"'));
    item->SetText(text);
    if (obj->HasNestedData() && m_handleNestedProperties)
        obj->WriteNestedProperties(item);
    if (!saveChildren)
        return;
    for (TqvxComponent *child : obj->Objects())
        writeElement(child, item->Add(), false, true, keepClassNames);
}

void TqvxXMLSerializer::WriteRootComponent(TqvxComponent *root, bool saveChildren, TqvxXMLItem *item,
                                           bool keepClassNames)
{
    std::unique_ptr<TqvxXMLDocument> document;
    if (!item) {
        document = std::make_unique<TqvxXMLDocument>();
        document->SetAutoIndent(true);
        item = document->Root();
    }
    writeElement(root, item, true, saveChildren, keepClassNames);
    if (OnSaveCustomData) {
        TqvxXMLItem *custom = item->Add();
        custom->SetName(QStringLiteral("QvxCustomData"));
        OnSaveCustomData(custom);
    }
    if (document)
        document->SaveToStream(m_stream);
}

void TqvxXMLSerializer::WriteComponent(TqvxComponent *obj)
{
    m_stream->WriteBuffer((QLatin1Char('<') + WriteComponentStr(obj) + QStringLiteral("/>")).toUtf8());
}

QString TqvxXMLSerializer::WriteComponentStr(TqvxComponent *obj)
{
    return objectText(obj, QString(), nullptr, 0, obj->ClassName());
}

// Reading

double TqvxXMLSerializer::CoordinateValue(QStringView rawValue)
{
    return coordinateValue(rawValue);
}

QString TqvxXMLSerializer::StoredMemoText(QStringView rawValue)
{
    return TWideStrings::TextOf(listTextFromStored(rawValue));
}

void TqvxXMLSerializer::XMLToObj(const QString &text, TPersistent *obj)
{
    ForEachAttribute(text, [&](QStringView name, QStringView value) { applyAttributeReporting(obj, name, value); });
}

void TqvxXMLSerializer::applyAttributeReporting(TPersistent *obj, QStringView name, QStringView rawValue)
{
    try {
        applyAttribute(obj, name, rawValue);
    } catch (const Exception &e) {
        // A value the property refuses is skipped and reported, naming the
        // object (a picture too large names its view and its size).
        const auto *component = qobject_cast<const TqvxComponent *>(obj);
        if (component && !component->Name().isEmpty())
            addError(component->Name() + QStringLiteral(": ") + e.Message());
        else
            addError(e.Message());
    }
}

void TqvxXMLSerializer::applyAttribute(TPersistent *obj, QStringView name, QStringView rawValue)
{
    TPersistent *target = obj;
    QStringView rest = name;
    for (qsizetype dot = rest.indexOf(QLatin1Char('.')); dot >= 0; dot = rest.indexOf(QLatin1Char('.'))) {
        // Only the paths the writer makes: into nested persistent objects
        // and string lists, never through a reference to another object.
        const TPropInfo *prop = GetPropInfo(target, rest.left(dot).toString());
        if (!prop || prop->Kind() != TTypeKind::Class || !prop->IsReadable() || !isNestedCategory(prop->ClassCategory()))
            break;
        auto *sub = qobject_cast<TPersistent *>(prop->GetObject(target));
        if (!sub)
            break;
        target = sub;
        rest = rest.mid(dot + 1);
    }
    if (applySpecialAttribute(target, rest, rawValue))
        return;
    const TPropInfo *prop = GetPropInfo(target, rest.toString());
    if (prop && prop->IsWritable())
        applyProperty(target, prop, rawValue);
}

bool TqvxXMLSerializer::applySpecialAttribute(TPersistent *obj, QStringView name, QStringView rawValue)
{
    // The object's kind is asked only for the names that need it.
    if (name.size() == 1) {
        const char letter = name.at(0).toLatin1();
        if (letter == 'l' || letter == 't' || letter == 'w' || letter == 'h') {
            auto *component = qobject_cast<TqvxComponent *>(obj);
            if (!component)
                return false;
            const double value = coordinateValue(rawValue);
            if (letter == 'l')
                component->SetLeft(value);
            else if (letter == 't')
                component->SetTop(value);
            else if (letter == 'w')
                component->SetWidth(value);
            else
                component->SetHeight(value);
            return true;
        }
        if (letter == 'u' || letter == 'x') {
            TWideStrings *memo = memoOf(obj);
            if (!memo)
                return false;
            memo->SetText(listTextFromStored(rawValue));
            return true;
        }
        return false;
    }
    if (name == QLatin1String("Text")) {
        if (auto *list = qobject_cast<TStrings *>(obj)) {
            list->SetText(listTextFromStored(rawValue));
            return true;
        }
        if (auto *wideList = qobject_cast<TWideStrings *>(obj)) {
            wideList->SetText(listTextFromStored(rawValue));
            return true;
        }
        if (TWideStrings *memo = memoOf(obj)) {
            memo->SetText(listTextFromStored(rawValue));
            return true;
        }
        return false;
    }
    if (name == QLatin1String("PropData")) {
        TMemoryStream data;
        qvxHexToStream(rawValue.toString(), &data);
        ReadPropertyData(*obj, data.Bytes());
        return true;
    }
    return name == QLatin1String("Name") && isReport(obj);
}

namespace {

// The value of a stored attribute for a property of a plain kind, kept in
// resolved; false for the other kinds.  Raises for a value the property
// cannot take.
bool readPlainValue(const TPropInfo *prop, const QString &value, TqvxResolvedAttribute &resolved)
{
    if (isOrdinal(prop->Kind())) {
        bool isNumber = false;
        qint64 ordinal = value.trimmed().toLongLong(&isNumber);
        if (!isNumber)
            ordinal = prop->Kind() == TTypeKind::Enumeration ? prop->EnumOrdinal(value.trimmed()) : -1;
        if (!isNumber && ordinal < 0)
            throw EPropertyError(QStringLiteral("Invalid value %1 for property %2").arg(value, prop->Name()));
        resolved.ordinal = ordinal;
        return true;
    }
    switch (prop->Kind()) {
    case TTypeKind::Float:
        resolved.number = qvxStrToFloat(value);
        return true;
    case TTypeKind::String:
    case TTypeKind::WideString:
    case TTypeKind::Variant:
        resolved.text = value;
        return true;
    default:
        return false;
    }
}

void setPlainValue(TPersistent *obj, const TPropInfo *prop, const TqvxResolvedAttribute &resolved)
{
    if (isOrdinal(prop->Kind()))
        prop->SetOrd(obj, resolved.ordinal);
    else if (prop->Kind() == TTypeKind::Float)
        prop->SetFloat(obj, resolved.number);
    else if (prop->Kind() == TTypeKind::Variant)
        prop->SetVariant(obj, Variant(resolved.text));
    else
        prop->SetStr(obj, resolved.text);
}

// Names applySpecialAttribute may take on obj.
bool maybeSpecial(const TPersistent *obj, QStringView name)
{
    return name.size() <= 1 || name == QLatin1String("Text") || name == QLatin1String("PropData")
        || (name == QLatin1String("Name") && isReport(obj));
}

// Whether name on obj is a memo view's text, which every object of obj's
// class takes alike.
bool isMemoText(TPersistent *obj, QStringView name)
{
    const bool textName = name == QLatin1String("u") || name == QLatin1String("x") || name == QLatin1String("Text");
    return textName && qobject_cast<TqvxComponent *>(obj) && memoOf(obj);
}

} // namespace

void TqvxXMLSerializer::applyProperty(TPersistent *obj, const TPropInfo *prop, QStringView rawValue)
{
    const QString value = decodedValue(rawValue);
    if (prop->Kind() == TTypeKind::Class) {
        if (prop->ClassCategory() == TClassCategory::Component)
            m_fixups.append({obj, prop, value});
        return;
    }
    TqvxResolvedAttribute resolved;
    if (readPlainValue(prop, value, resolved))
        setPlainValue(obj, prop, resolved);
}

TqvxResolvedAttribute TqvxXMLSerializer::resolveAttribute(TPersistent *obj, const QString &name,
                                                          QStringView rawValue)
{
    TqvxResolvedAttribute resolved;
    TPersistent *target = obj;
    QStringView rest = name;
    // The same walk as applyAttribute's; where it would stop short, the
    // attribute keeps going through it.
    for (qsizetype dot = rest.indexOf(QLatin1Char('.')); dot >= 0; dot = rest.indexOf(QLatin1Char('.'))) {
        const TPropInfo *prop = GetPropInfo(target, rest.left(dot).toString());
        if (!prop || prop->Kind() != TTypeKind::Class || !prop->IsReadable() || !isNestedCategory(prop->ClassCategory()))
            return {};
        auto *sub = qobject_cast<TPersistent *>(prop->GetObject(target));
        if (!sub)
            return {};
        resolved.path.append({prop, target->metaObject()});
        target = sub;
        rest = rest.mid(dot + 1);
    }
    if (maybeSpecial(target, rest)) {
        if (!isMemoText(target, rest))
            return {};
        resolved.memoText = true;
        resolved.text = listTextFromStored(rawValue);
        resolved.targetClass = target->metaObject();
        return resolved;
    }
    const TPropInfo *prop = GetPropInfo(target, rest.toString());
    if (!prop || !prop->IsWritable())
        return {};
    try {
        if (!readPlainValue(prop, decodedValue(rawValue), resolved))
            return {};
    } catch (const Exception &) {
        // Refused again, and reported, on each object.
        return {};
    }
    resolved.prop = prop;
    resolved.targetClass = target->metaObject();
    return resolved;
}

void TqvxXMLSerializer::applyResolved(TPersistent *obj, const TqvxResolvedAttribute &resolved, const QString &name,
                                      QStringView rawValue, TqvxLanding &last)
{
    // The object the property is set on, nullptr where obj is not like the
    // first object after all.  Attributes in a row on the same nested
    // object (Font.Name, Font.Size) find it once.
    auto landing = [&]() -> TPersistent * {
        if (last.resolved && last.resolved->path == resolved.path && last.target->metaObject() == resolved.targetClass)
            return last.target;
        TPersistent *target = obj;
        for (const auto &[prop, owner] : resolved.path) {
            if (target->metaObject() != owner)
                return nullptr;
            target = qobject_cast<TPersistent *>(prop->GetObject(target));
            if (!target)
                return nullptr;
        }
        return target->metaObject() == resolved.targetClass ? target : nullptr;
    };
    TPersistent *target = resolved.prop || resolved.memoText ? landing() : nullptr;
    last = {target ? &resolved : nullptr, target};
    if (!target) {
        applyAttributeReporting(obj, name, rawValue);
        return;
    }
    try {
        if (resolved.prop)
            setPlainValue(target, resolved.prop, resolved);
        else
            memoOf(target)->SetText(resolved.text);
    } catch (const Exception &e) {
        addError(e.Message());
    }
}

void TqvxXMLSerializer::addError(const QString &message)
{
    m_errors->Add(message);
}

void TqvxXMLSerializer::readElement(TqvxXMLItem *item, TqvxComponent *root, TqvxComponent *parent,
                                    QList<TqvxComponent *> &read)
{
    if (SameText(item->Name(), QStringLiteral("QvxCustomData"))) {
        if (OnGetCustomData)
            OnGetCustomData(item);
        return;
    }
    const bool inherited = SameText(item->Name(), QStringLiteral("inherited"));
    TClass cls = nullptr;
    if (!inherited) {
        cls = GetClass(item->Name());
        if (!ClassInheritsFrom(cls, ClassOf<TqvxComponent>())) {
            addError(item->Name() + QLatin1Char(' ') + qvxResources()->Get(QStringLiteral("xrCantFindClass")));
            return;
        }
    }

    TqvxComponent *object = root;
    if (!object) {
        object = qobject_cast<TqvxComponent *>(m_owner->FindComponent(item->GetProp(QStringLiteral("Name"))));
        if (!object && inherited)
            return;
        if (!object) {
            try {
                object = static_cast<TqvxComponent *>(CreateObject(cls, parent));
                // A class made without an owner still belongs to the tree.
                object->SetParent(parent);
            } catch (const Exception &e) {
                addError(e.Message());
                return;
            }
        }
    }

    object->SetIsLoading(true);
    read.append(object);
    XMLToObj(item->Text(), object);
    const bool nested = object->HasNestedData() && m_handleNestedProperties;
    for (int i = 0; i < item->Count(); ++i) {
        TqvxXMLItem *child = item->Items(i);
        if (nested && object->ReadNestedProperty(child))
            continue;
        readElement(child, nullptr, object, read);
    }
}

void TqvxXMLSerializer::fixupReferences()
{
    const QList<Fixup> fixups = std::exchange(m_fixups, {});
    for (const Fixup &fixup : fixups) {
        if (!fixup.instance)
            continue;
        TObject *target = nullptr;
        if (fixup.name != QLatin1String("nil")) {
            target = m_owner ? m_owner->FindObject(fixup.name) : nullptr;
            if (!target)
                target = qvxFindComponent(m_owner, fixup.name);
            if (!target)
                continue;
        }
        try {
            fixup.property->SetObject(fixup.instance, target);
        } catch (const Exception &e) {
            addError(e.Message());
        }
    }
}

void TqvxXMLSerializer::finishLoading(std::span<TqvxComponent *const> objects)
{
    for (TqvxComponent *object : objects)
        object->SetIsLoading(false);
    for (TqvxComponent *object : objects) {
        if (object->IsReport())
            continue;
        try {
            object->Loaded();
        } catch (const Exception &e) {
            addError(e.Message());
        }
    }
}

void TqvxXMLSerializer::ReadRootComponent(TqvxComponent *root, TqvxXMLItem *item)
{
    if (!m_owner)
        m_owner = root;
    std::unique_ptr<TqvxXMLDocument> document;
    if (!item) {
        document = std::make_unique<TqvxXMLDocument>();
        document->LoadFromStream(m_stream);
        m_oldFormat = document->OldVersion();
        item = document->Root();
    }
    // While the owner is loading it passes no insertion on to what it
    // owns: that would cost a notification of every object per object.
    const bool ownerWasLoading = m_owner->ComponentState().testFlag(csLoading);
    m_owner->Loading();
    QList<TqvxComponent *> read;
    ++m_readDepth;
    try {
        readElement(item, root, nullptr, read);
    } catch (...) {
        --m_readDepth;
        if (!ownerWasLoading)
            m_owner->EndLoading();
        for (TqvxComponent *object : read)
            object->SetIsLoading(false);
        throw;
    }
    --m_readDepth;
    if (!ownerWasLoading)
        m_owner->EndLoading();
    // References are resolved once the whole tree is read, whatever nested
    // elements were read on the way.
    if (m_readDepth == 0)
        fixupReferences();
    finishLoading(read);
}

TqvxComponent *TqvxXMLSerializer::ReadComponent(TComponent *owner, const QString &text, bool dontFixup)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return nullptr;
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    const QString className = blank < 0 ? trimmed : trimmed.left(blank);
    return readComponent(owner, reportClass(className), dontFixup, [&](TqvxComponent *object) {
        XMLToObj(blank < 0 ? QString() : trimmed.mid(blank + 1), object);
    });
}

TqvxParsedComponent TqvxXMLSerializer::ParseComponent(const QString &text)
{
    TqvxParsedComponent parsed;
    parsed.text = text;
    const QStringView trimmed = QStringView(parsed.text).trimmed();
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    parsed.className = (blank < 0 ? trimmed : trimmed.left(blank)).toString();
    parsed.cls = reportClass(parsed.className);
    if (blank >= 0)
        ForEachAttribute(trimmed.mid(blank + 1), [&](QStringView name, QStringView value) {
            parsed.attributes.append({name.toString(), value});
        });
    return parsed;
}

TqvxComponent *TqvxXMLSerializer::ReadComponent(const TqvxParsedComponent &parsed, const QString &more)
{
    return readComponent(nullptr, parsed.cls, false, [&](TqvxComponent *object) {
        TqvxLanding last;
        if (!parsed.resolved) {
            std::vector<TqvxResolvedAttribute> resolved;
            resolved.reserve(parsed.attributes.size());
            for (const auto &[name, value] : parsed.attributes) {
                resolved.push_back(resolveAttribute(object, name, value));
                applyResolved(object, resolved.back(), name, value, last);
            }
            parsed.resolved = std::move(resolved);
        } else {
            for (qsizetype i = 0; i < parsed.attributes.size(); ++i)
                applyResolved(object, (*parsed.resolved)[i], parsed.attributes[i].first,
                              parsed.attributes[i].second, last);
        }
        if (parsed.memoText)
            if (TWideStrings *memo = memoOf(object))
                memo->Assign(parsed.memoText.get());
        XMLToObj(more, object);
    });
}

TClass TqvxXMLSerializer::reportClass(const QString &className)
{
    const TClass cls = FindClass(className);
    if (!ClassInheritsFrom(cls, ClassOf<TqvxComponent>()))
        throw EClassNotFound(QStringLiteral("Class %1 not found").arg(className));
    return cls;
}

TqvxComponent *TqvxXMLSerializer::readComponent(TComponent *owner, TClass cls, bool dontFixup,
                                                const std::function<void(TqvxComponent *)> &read)
{
    auto *object = static_cast<TqvxComponent *>(CreateObject(cls, owner));
    if (!m_owner)
        m_owner = object->GetReport();
    object->SetIsLoading(true);
    const qsizetype pending = m_fixups.size();
    read(object);
    if (dontFixup)
        m_fixups.resize(pending);
    else if (m_readDepth == 0)
        fixupReferences();
    finishLoading({&object, 1});
    return object;
}

void TqvxXMLSerializer::ReadPersistentStr(TqvxComponent *root, TPersistent *obj, const QString &text)
{
    if (!m_owner)
        m_owner = root;
    XMLToObj(text, obj);
    if (m_readDepth == 0)
        fixupReferences();
}
