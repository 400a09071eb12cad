#pragma once

// Report objects as XML and back: the report file format, the copies of
// objects and the one-element texts of prepared pages.
//
// A file holds one element per object, nested as the report tree and named
// by the object's class ("inherited" for an object from an ancestor report
// unless class names are kept).  Every element but the root starts with
// Name="...", followed by the published properties that differ from their
// default (or from the ancestor object), inherited properties first and in
// declaration order:
//   - ordinals and sets as decimal numbers, enumerations by value name;
//   - floats always (unless within 1e-6 of the ancestor's), with a point;
//   - strings and variants escaped;
//   - references to components by name, resolved once the whole tree is
//     read, whatever the order of the elements; "nil" clears a reference;
//   - string lists as X.Text, without the final line end only;
//   - other persistent objects by their own properties as Font.Name;
//   - a memo's text (an object publishing a wide-string list Memo) as Text;
//   - custom properties (TPersistent::DefineProperties) as PropData in
//     upper-case hexadecimal.
// Objects with the csoNestedData flag add nested elements of their own
// before their children; a last element QvxCustomData is the host's.
//
// Reading never raises for a bad attribute: it is skipped.  An element of
// an unknown class adds one line to Errors, as does a reference whose
// setter refuses the object.  Malformed XML raises the document's
// TqvxInvalidXMLException.

#include "report/model/qvxReportLink.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/TObject.h"

#include <QByteArrayView>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

class TComponent;
class TPersistent;
class TPropInfo;
class TStream;
class TStringList;
class TWideStrings;
class TObject;
class TqvxComponent;
class TqvxXMLItem;

// Where one attribute of a parsed text lands on the objects made from it and
// the value it sets, worked out on the first such object.  Without a
// property the attribute is applied by its name every time.
struct TqvxResolvedAttribute {
    // The nested objects on the way, each with the class it was found on.
    QList<std::pair<const TPropInfo *, const QMetaObject *>> path;
    // The property set; without one, the text of a memo view may be.
    const TPropInfo *prop = nullptr;
    bool memoText = false;
    const QMetaObject *targetClass = nullptr;
    qint64 ordinal = 0;
    double number = 0;
    QString text;
};

// An object's attribute text read once: its class and its attributes in
// order, values as stored.
struct TqvxParsedComponent {
    QString className;
    // The registered report class of that name.
    TClass cls = nullptr;
    // The text read, never changed: the values are stretches of it, so that
    // a long memo text is not held twice.
    QString text;
    QList<std::pair<QString, QStringView>> attributes;
    // The text of a memo written without it, which every object read from
    // this text takes (shared) before the attributes read after these.
    std::shared_ptr<const TWideStrings> memoText;
    // One per attribute, filled by the first object read from this text:
    // every object of the class starts alike and takes the attributes in
    // the same order, so each lands where it landed on the first.
    mutable std::optional<std::vector<TqvxResolvedAttribute>> resolved;
};

// Supplies the ancestor of an object being written, by the object's name.
TOOLKIT_EVENT(TqvxGetAncestorEvent, void(const QString &name, TqvxComponent *&ancestor))

class TqvxXMLSerializer
{
public:
    explicit TqvxXMLSerializer(TStream *stream = nullptr);
    ~TqvxXMLSerializer();

    TqvxXMLSerializer(const TqvxXMLSerializer &) = delete;
    TqvxXMLSerializer &operator=(const TqvxXMLSerializer &) = delete;

    // Messages collected while reading; sorted, without duplicates.
    TStringList *Errors() const { return m_errors.get(); }

    // Where references are looked up (the report); the root being read
    // when not set.
    TqvxComponent *Owner() const { return m_owner; }
    void SetOwner(TqvxComponent *owner) { m_owner = owner; }

    // Writes values equal to their default or ancestor value too, empty
    // ones and cleared references included, so that a copy takes them all.
    bool SerializeDefaultValues() const { return m_serializeDefaultValues; }
    void SetSerializeDefaultValues(bool value) { m_serializeDefaultValues = value; }
    // True until a whole document is read; set from the document then.
    bool OldFormat() const { return m_oldFormat; }
    void SetOldFormat(bool value) { m_oldFormat = value; }
    // Lets objects with the csoNestedData flag write and read nested
    // elements (and keeps their PropData out of the attributes).
    bool HandleNestedProperties() const { return m_handleNestedProperties; }
    void SetHandleNestedProperties(bool value) { m_handleNestedProperties = value; }
    // Engine copies: string lists, memo texts and custom data are written
    // even when they equal the ancestor's.
    bool EngineCopy() const { return m_engineCopy; }
    void SetEngineCopy(bool value) { m_engineCopy = value; }

    TqvxGetAncestorEvent OnGetAncestor;
    TqvxCustomDataEvent OnGetCustomData;
    TqvxCustomDataEvent OnSaveCustomData;

    // Writes root (with its subtree when saveChildren) into item, or, when
    // item is nil, as a whole indented document to the stream.
    void WriteRootComponent(TqvxComponent *root, bool saveChildren = true, TqvxXMLItem *item = nullptr,
                            bool keepClassNames = false);
    // Reads root's tree from item, or, when item is nil, from a document
    // read whole from the stream.
    void ReadRootComponent(TqvxComponent *root, TqvxXMLItem *item = nullptr);

    // "<" + WriteComponentStr(obj) + "/>" to the stream, as UTF-8.
    void WriteComponent(TqvxComponent *obj);
    // The class name followed by ObjToXML(obj).
    QString WriteComponentStr(TqvxComponent *obj);
    // Makes one object of owner from "ClassName attributes" (a later
    // duplicate attribute wins).  An empty text gives nullptr; a class that
    // is not a registered report class raises EClassNotFound.  With
    // dontFixup, references are left unresolved.
    TqvxComponent *ReadComponent(TComponent *owner, const QString &text, bool dontFixup = false);
    // "ClassName attributes" split once, for objects made from it again and
    // again; raises EClassNotFound as ReadComponent does.
    static TqvxParsedComponent ParseComponent(const QString &text);
    // The object ReadComponent(nullptr, text + ' ' + more) makes, where
    // parsed is ParseComponent(text).
    TqvxComponent *ReadComponent(const TqvxParsedComponent &parsed, const QString &more);
    // Applies an attribute text to an existing object and resolves its
    // references within root (at the end of the whole read when one is in
    // progress, as for collections nested in a report's elements).
    void ReadPersistentStr(TqvxComponent *root, TPersistent *obj, const QString &text);

    // The attribute text of an object: ` name="value"` per stored property,
    // names prefixed with prefix.
    QString ObjToXML(TPersistent *obj, const QString &prefix = QString(), TPersistent *ancestor = nullptr);
    // Applies an attribute text to an object; references wait for the next
    // fix-up.
    void XMLToObj(const QString &text, TPersistent *obj);

    // A float as the files write it: FloatToStr with a point.
    static QString FloatToText(double value);
    // The same appended to text.
    static void AppendFloatText(QString &text, double value);
    // A list's text (each line closed by CR LF) as files keep it: without
    // the line end that closes the last line, so a trailing empty line
    // stays visible.
    static QString StoredListText(QString text);
    // Calls take with the name and stored value of each attribute of an
    // attribute text, both views into text, up to the first that is not
    // ` name="value"`.  The bytes of a text as a file holds it (UTF-8) are
    // read alike, their blanks the ASCII ones.
    template <class Take>
    static void ForEachAttribute(QStringView text, Take &&take)
    {
        forEachAttributeIn(text, take);
    }
    template <class Take>
    static void ForEachAttribute(QByteArrayView text, Take &&take)
    {
        forEachAttributeIn(text, take);
    }
    // A coordinate attribute (l, t, w or h) as an object takes it; raises
    // EConvertError for a value that is no number.
    static double CoordinateValue(QStringView rawValue);
    // The text a memo view holds once its text attribute (u, x or Text)
    // took rawValue.
    static QString StoredMemoText(QStringView rawValue);

private:
    struct Fixup {
        // Cleared should the object be freed before the end of the read.
        QPointer<TObject> instance;
        const TPropInfo *property;
        QString name;
    };

    template <class View, class Take>
    static void forEachAttributeIn(View text, Take &&take);
    QString propertyText(TPersistent *obj, const TPropInfo *prop, const QString &prefix, TPersistent *ancestor,
                         int depth);
    // The attributes after lead.
    QString objectText(TPersistent *obj, const QString &prefix, TPersistent *ancestor, int depth,
                       QString lead = QString());
    // Appends the text of a memo view with room for `room` characters more.
    void appendMemoText(QString &out, TPersistent *obj, TPersistent *ancestor, qsizetype room) const;
    // Whether a list's text needs no attribute; ancestorText is the same
    // list's text in the ancestor, when there is one.
    bool listTextUnchanged(const QString &text, int count, const QString *ancestorText) const;
    QString propDataText(TPersistent *obj, const QString &prefix, TPersistent *ancestor) const;
    void applyAttribute(TPersistent *obj, QStringView name, QStringView rawValue);
    // The same, a refused value added to the errors.
    void applyAttributeReporting(TPersistent *obj, QStringView name, QStringView rawValue);
    // The report class of that name; raises EClassNotFound for another.
    static TClass reportClass(const QString &className);
    // An object of cls made by read, its references fixed up.
    TqvxComponent *readComponent(TComponent *owner, TClass cls, bool dontFixup,
                                 const std::function<void(TqvxComponent *)> &read);
    bool applySpecialAttribute(TPersistent *obj, QStringView name, QStringView rawValue);
    void applyProperty(TPersistent *obj, const TPropInfo *prop, QStringView rawValue);
    // Where an attribute lands on obj as it now is; no property when it is
    // special, refused or not a plain value.
    static TqvxResolvedAttribute resolveAttribute(TPersistent *obj, const QString &name, QStringView rawValue);
    // Where the attribute before landed, when it did.
    struct TqvxLanding {
        const TqvxResolvedAttribute *resolved = nullptr;
        TPersistent *target = nullptr;
    };
    void applyResolved(TPersistent *obj, const TqvxResolvedAttribute &resolved, const QString &name,
                       QStringView rawValue, TqvxLanding &last);

    void writeElement(TqvxComponent *obj, TqvxXMLItem *item, bool isRoot, bool saveChildren, bool keepClassNames);
    void readElement(TqvxXMLItem *item, TqvxComponent *root, TqvxComponent *parent, QList<TqvxComponent *> &read);
    void addError(const QString &message);
    void fixupReferences();
    void finishLoading(std::span<TqvxComponent *const> objects);

    TStream *m_stream;
    std::unique_ptr<TStringList> m_errors;
    QList<Fixup> m_fixups;
    // Whole reads in progress; references wait for the outermost to end.
    int m_readDepth = 0;
    TqvxComponent *m_owner = nullptr;
    bool m_serializeDefaultValues = false;
    bool m_oldFormat = true;
    bool m_handleNestedProperties = false;
    bool m_engineCopy = false;
};

template <class View, class Take>
void TqvxXMLSerializer::forEachAttributeIn(View text, Take &&take)
{
    using Char = std::remove_cvref_t<decltype(text[0])>;
    const auto isBlank = [](Char c) {
        if constexpr (std::is_same_v<Char, QChar>)
            return c.isSpace();
        else
            return c == ' ' || (c >= '\t' && c <= '\r');
    };
    const qsizetype length = text.size();
    qsizetype pos = 0;
    for (;;) {
        while (pos < length && isBlank(text[pos]))
            ++pos;
        const qsizetype equals = text.indexOf(Char(u'='), pos);
        if (equals < 0)
            return;
        const View name = text.sliced(pos, equals - pos).trimmed();
        if (name.isEmpty())
            return;
        const qsizetype open = text.indexOf(Char(u'"'), equals + 1);
        if (open < 0)
            return;
        const qsizetype close = text.indexOf(Char(u'"'), open + 1);
        if (close < 0)
            return;
        pos = close + 1;
        take(name, text.sliced(open + 1, close - open - 1));
    }
}

