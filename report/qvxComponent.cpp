#include "report/qvxComponent.h"

#include "report/qvxReportLink.h"
#include "report/qvxResources.h"
#include "report/qvxXMLEscape.h"
#include "report/qvxXMLSerializer.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Format.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"

#include <QMutexLocker>
#include <QRecursiveMutex>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double diffTolerance = 1e-4;

bool differs(double a, double b)
{
    return std::abs(a - b) > diffTolerance;
}

QString boolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString attribute(const char *name, const QString &value)
{
    return QStringLiteral(" %1=\"%2\"").arg(QLatin1String(name), value);
}

// Keeps the report's current serializer set for the scope.
class CurrentSerializerScope
{
public:
    CurrentSerializerScope(TqvxReportLink *report, TqvxXMLSerializer *serializer) : m_report(report)
    {
        if (m_report)
            m_report->SetCurrentSerializer(serializer);
    }
    ~CurrentSerializerScope()
    {
        if (m_report)
            m_report->SetCurrentSerializer(nullptr);
    }
    CurrentSerializerScope(const CurrentSerializerScope &) = delete;
    CurrentSerializerScope &operator=(const CurrentSerializerScope &) = delete;

private:
    TqvxReportLink *m_report;
};

} // namespace

TComponent *TqvxComponent::classOwnerFor(TComponent *owner)
{
    if (auto *parent = qobject_cast<TqvxComponent *>(owner))
        return parent->GetReport();
    return owner;
}

TqvxComponent::TqvxComponent(TComponent *owner)
    : TComponent(classOwnerFor(owner)),
      m_font(new TFont)
{
    m_font->SetName(QStringLiteral("Arial"));
    m_font->SetSize(10);
    m_font->SetCharset(1);
    m_font->SetColor(0);
    m_font->OnChange = [this](TObject *) { FontChanged(); };
    if (auto *parent = qobject_cast<TqvxComponent *>(owner))
        attachTo(parent);
}

TqvxComponent::~TqvxComponent()
{
    TqvxComponent::BeforeDestruction();
    while (!m_objects.isEmpty()) {
        TqvxComponent *child = m_objects.takeLast();
        child->m_parent = nullptr;
        delete child;
    }
    m_font->OnChange = nullptr;
    delete m_font;
}

void TqvxComponent::BeforeDestruction()
{
    if (m_parent)
        m_parent->removeChild(this);
    m_parent = nullptr;
    TComponent::BeforeDestruction();
}

void TqvxComponent::removeChild(TqvxComponent *child)
{
    // Children mostly leave last first (a parent frees them so).
    const qsizetype index = m_objects.lastIndexOf(child);
    if (index >= 0)
        m_objects.removeAt(index);
}

void TqvxComponent::DesignCreate(int flags)
{
    Q_UNUSED(flags);
    m_isDesigning = true;
}

void TqvxComponent::attachTo(TqvxComponent *parent)
{
    if (m_parent)
        m_parent->removeChild(this);
    m_parent = parent;
    if (!m_parent)
        return;
    m_parent->m_objects.append(this);
    if (m_parentFont) {
        m_font->Assign(m_parent->Font());
        m_parentFont = true;
    }
}

void TqvxComponent::SetParent(TqvxComponent *value)
{
    if (value == m_parent)
        return;
    for (const TqvxComponent *c = value; c; c = c->m_parent)
        if (c == this)
            throw EInvalidOperation(QStringLiteral("%1 cannot be placed inside itself").arg(Name()));
    attachTo(value);
    if (m_parent)
        SetParentFont(m_parentFont);
}

void TqvxComponent::collectDescendants(QList<TqvxComponent *> &list) const
{
    for (TqvxComponent *child : m_objects) {
        list.append(child);
        child->collectDescendants(list);
    }
}

const QList<TqvxComponent *> &TqvxComponent::GetAllObjects()
{
    m_allObjects.clear();
    collectDescendants(m_allObjects);
    return m_allObjects;
}

TqvxComponent *TqvxComponent::FindObject(const QString &name)
{
    for (TqvxComponent *object : GetAllObjects())
        if (SameText(object->Name(), name))
            return object;
    return nullptr;
}

TqvxComponent *TqvxComponent::GetPage() const
{
    for (const TqvxComponent *c = this; c; c = c->m_parent)
        if (c->IsKind(ckPage))
            return const_cast<TqvxComponent *>(c);
    return nullptr;
}

TqvxComponent *TqvxComponent::GetReport() const
{
    for (const TqvxComponent *c = this; c; c = c->m_parent)
        if (dynamic_cast<const TqvxReportLink *>(c))
            return const_cast<TqvxComponent *>(c);
    return nullptr;
}

TqvxReportLink *TqvxComponent::ReportLink() const
{
    return dynamic_cast<TqvxReportLink *>(GetReport());
}

void TqvxComponent::SetName(const QString &name)
{
    if (SameText(name, Name()))
        return;
    if (!name.isEmpty()) {
        if (TqvxComponent *report = GetReport()) {
            TqvxComponent *holder = SameText(report->Name(), name) ? report : report->FindObject(name);
            if (holder && holder != this)
                throw EComponentError(Format(qvxResources()->Get(QStringLiteral("prDupl")), {name}));
            if (IsAncestor())
                throw EComponentError(Format(qvxResources()->Get(QStringLiteral("clCantRen")), {Name()}));
        }
    }
    TComponent::SetName(name);
}

void TqvxComponent::CreateUniqueName()
{
    TStringList names;
    names.SetSorted(true);
    names.SetDuplicates(dupIgnore);
    names.SetCaseSensitive(false);
    if (TqvxComponent *report = GetReport()) {
        names.Add(report->Name());
        for (TqvxComponent *object : report->GetAllObjects())
            names.Add(object->Name());
    } else if (m_parent) {
        for (TqvxComponent *object : m_parent->GetAllObjects())
            names.Add(object->Name());
    }
    const QString base = BaseName();
    int index = 0;
    for (int n = 1;; ++n) {
        const QString candidate = base + QString::number(n);
        if (!names.Find(candidate, index)) {
            SetName(candidate);
            return;
        }
    }
}

QString TqvxComponent::BaseName() const
{
    if (!m_baseName.isEmpty())
        return m_baseName;
    QString name = ClassName();
    const qsizetype prefix = name.indexOf(QLatin1String("Tqvx"));
    if (prefix >= 0)
        name.remove(prefix, 4);
    const qsizetype view = name.indexOf(QLatin1String("View"));
    if (view >= 0)
        name.remove(view, 4);
    return name;
}

bool TqvxComponent::restricted(TqvxRestriction restriction) const
{
    return m_isDesigning && m_restrictions.testFlag(restriction);
}

void TqvxComponent::SetLeft(double value)
{
    if (!restricted(rfDontMove))
        m_left = value;
}

void TqvxComponent::SetTop(double value)
{
    if (!restricted(rfDontMove))
        m_top = value;
}

void TqvxComponent::SetWidth(double value)
{
    if (!restricted(rfDontSize))
        m_width = value;
}

void TqvxComponent::SetHeight(double value)
{
    if (!restricted(rfDontSize))
        m_height = value;
}

void TqvxComponent::SetBounds(double left, double top, double width, double height)
{
    SetLeft(left);
    SetTop(top);
    SetWidth(width);
    SetHeight(height);
}

double TqvxComponent::GetAbsLeft() const
{
    if (m_parent && !m_parent->IsKind(ckDialogPage))
        return m_left + m_parent->GetAbsLeft();
    return m_left;
}

double TqvxComponent::GetAbsTop() const
{
    if (m_parent && !m_parent->IsKind(ckDialogPage))
        return m_top + m_parent->GetAbsTop();
    return m_top;
}

void TqvxComponent::SetVisible(bool value)
{
    m_visible = value;
}

void TqvxComponent::SetFont(const TFont *value)
{
    m_font->Assign(value);
    m_parentFont = false;
}

void TqvxComponent::SetParentFont(bool value)
{
    if (value && m_parent)
        SetFont(m_parent->Font());
    m_parentFont = value;
}

void TqvxComponent::FontChanged()
{
    // While the serializer applies Font.* attributes the stored ParentFont
    // decides; clearing it here would lose the link on every reload.
    if (!m_isLoading)
        m_parentFont = false;
    for (TqvxComponent *child : m_objects)
        if (child->ParentFont())
            child->SetParentFont(true);
}

bool TqvxComponent::IsAncestor() const
{
    return ComponentState().testFlag(csAncestor) || m_isInherited;
}

namespace {

bool overlapVertically(const TqvxComponent *a, const TqvxComponent *b)
{
    const double aTop = a->GetAbsTop();
    const double bTop = b->GetAbsTop();
    return aTop < bTop + b->Height() - diffTolerance && bTop < aTop + a->Height() - diffTolerance;
}

// The nearest view of the sorted list beside views[index], looking left
// (step -1) or right (step +1).
const TqvxComponent *neighbour(const QList<TqvxComponent *> &views, qsizetype index, int step)
{
    const TqvxComponent *view = views.at(index);
    const bool widthAligned = view->ViewAlign() == baWidth;
    for (qsizetype i = index + step; i >= 0 && i < views.size(); i += step) {
        const TqvxComponent *candidate = views.at(i);
        if (!overlapVertically(view, candidate))
            continue;
        if (widthAligned && step < 0 && candidate->Left() > view->Left())
            continue;
        if (widthAligned && step > 0 && candidate->Left() + candidate->Width() < view->Left() + view->Width())
            continue;
        return candidate;
    }
    return nullptr;
}

} // namespace

void TqvxComponent::AlignChildren()
{
    QList<TqvxComponent *> views;
    for (TqvxComponent *child : m_objects)
        if (child->IsKind(ckView))
            views.append(child);

    // Sorted by Left to two decimals; views at equal places keep child order.
    QList<TqvxComponent *> sorted = views;
    std::stable_sort(sorted.begin(), sorted.end(), [](const TqvxComponent *a, const TqvxComponent *b) {
        return std::round(a->Left() * 100) < std::round(b->Left() * 100);
    });

    for (qsizetype i = 0; i < sorted.size(); ++i) {
        TqvxComponent *view = sorted.at(i);
        const TqvxAlign align = view->ViewAlign();
        if (align != baLeft && align != baWidth)
            continue;
        const TqvxComponent *left = neighbour(sorted, i, -1);
        view->SetLeft(left ? left->Left() + left->Width() : 0);
    }
    for (qsizetype i = sorted.size() - 1; i >= 0; --i) {
        TqvxComponent *view = sorted.at(i);
        const TqvxAlign align = view->ViewAlign();
        if (align != baRight && align != baWidth)
            continue;
        const TqvxComponent *right = neighbour(sorted, i, +1);
        const double edge = right ? right->Left() : m_width;
        if (align == baRight)
            view->SetLeft(edge - view->Width());
        else
            view->SetWidth(edge - view->Left());
    }
    for (TqvxComponent *view : views) {
        switch (view->ViewAlign()) {
        case baCenter:
            view->SetLeft((m_width - view->Width()) / 2);
            break;
        case baBottom:
            view->SetTop(m_height - view->Height());
            break;
        case baClient:
            view->SetBounds(0, 0, m_width, m_height);
            break;
        default:
            break;
        }
    }
}

QString TqvxComponent::GetDescription() const
{
    return ClassName();
}

void TqvxComponent::Clear()
{
    const QList<TqvxComponent *> children = m_objects;
    for (TqvxComponent *child : children) {
        if (child->IsAncestor())
            child->Clear();
        else
            delete child;
    }
}

void TqvxComponent::LoadFromStream(TStream *stream)
{
    if (!m_isEngineCopy)
        Clear();
    TqvxComponent *report = GetReport();
    TqvxReportLink *link = ReportLink();

    TqvxXMLSerializer serializer(stream);
    serializer.SetHandleNestedProperties(true);
    serializer.SetOwner(report);
    if (link)
        serializer.OnGetCustomData = link->OnGetCustomData();
    CurrentSerializerScope current(link, &serializer);
    {
        std::optional<QMutexLocker<QRecursiveMutex>> lock;
        if (link && link->LoadLock())
            lock.emplace(link->LoadLock());
        serializer.ReadRootComponent(this);
    }
    if (TStrings *errors = link ? link->Errors() : nullptr)
        for (int i = 0; i < serializer.Errors()->Count(); ++i)
            errors->Add(serializer.Errors()->Strings(i));
}

void TqvxComponent::SaveToStream(TStream *stream, bool saveChildren, bool saveDefaultValues, bool keepClassNames)
{
    TqvxComponent *report = GetReport();
    TqvxReportLink *link = ReportLink();

    TqvxXMLSerializer serializer(stream);
    serializer.SetHandleNestedProperties(true);
    serializer.SetOwner(report);
    serializer.SetSerializeDefaultValues(saveDefaultValues);
    serializer.SetEngineCopy(m_isEngineCopy);
    if (link && (report == this || m_isEngineCopy))
        serializer.OnGetAncestor = [link](const QString &name, TqvxComponent *&ancestor) {
            ancestor = link->DoGetAncestor(name);
        };
    if (link && !m_isEngineCopy)
        serializer.OnSaveCustomData = link->OnSaveCustomData();
    CurrentSerializerScope current(link, &serializer);
    serializer.WriteRootComponent(this, saveChildren, nullptr, keepClassNames);
}

void TqvxComponent::Assign(const TPersistent *source)
{
    const auto *component = qobject_cast<const TqvxComponent *>(source);
    if (!component) {
        TComponent::Assign(source);
        return;
    }
    TMemoryStream stream;
    // Writing marks the source IsWriting for the time it is written.
    const_cast<TqvxComponent *>(component)->SaveToStream(&stream, false, true, false);
    stream.SetPosition(0);
    LoadFromStream(&stream);
}

void TqvxComponent::AssignAll(const TqvxComponent *source, bool keepClassNames)
{
    TMemoryStream stream;
    const_cast<TqvxComponent *>(source)->SaveToStream(&stream, true, true, keepClassNames);
    stream.SetPosition(0);
    LoadFromStream(&stream);
}

QString TqvxComponent::Diff(const TqvxComponent *source)
{
    return InternalDiff(source);
}

QString TqvxComponent::InternalDiff(const TqvxComponent *source)
{
    QString result;
    if (differs(m_left, source->m_left))
        result += attribute("l", TqvxXMLSerializer::FloatToText(m_left));
    if (IsKind(ckBand) || differs(m_top, source->m_top))
        result += attribute("t", TqvxXMLSerializer::FloatToText(m_top));
    if (differs(m_width, source->m_width) && !SizesOwnWidth())
        result += attribute("w", TqvxXMLSerializer::FloatToText(m_width));
    if (differs(m_height, source->m_height))
        result += attribute("h", TqvxXMLSerializer::FloatToText(m_height));
    if (m_visible != source->m_visible)
        result += attribute("Visible", boolText(m_visible));
    if (!m_parentFont) {
        const TFont *font = source->Font();
        if (m_font->Name() != font->Name())
            result += attribute("Font.Name", qvxXMLEncode(m_font->Name()));
        if (m_font->Size() != font->Size())
            result += attribute("Font.Size", QString::number(m_font->Size()));
        if (m_font->Color() != font->Color())
            result += attribute("Font.Color", QString::number(m_font->Color()));
        if (m_font->Style() != font->Style())
            result += attribute("Font.Style", QString::number(m_font->Style().toInt()));
        if (m_font->Charset() != font->Charset())
            result += attribute("Font.Charset", QString::number(m_font->Charset()));
    }
    if (m_parentFont != source->m_parentFont)
        result += attribute("ParentFont", boolText(m_parentFont));
    if (Tag() != source->Tag())
        result += attribute("Tag", QString::number(Tag()));
    return result;
}

QString TqvxComponent::AllDiff(const TqvxComponent *source)
{
    TqvxXMLSerializer serializer;
    QString result = serializer.ObjToXML(this);
    if (source)
        result += QLatin1Char(' ') + InternalDiff(source);
    if (IsKind(ckNullBand))
        result += attribute("l", TqvxXMLSerializer::FloatToText(m_left)) +
                  attribute("t", TqvxXMLSerializer::FloatToText(m_top));
    return result;
}

void TqvxComponent::WriteNestedProperties(TqvxXMLItem *item)
{
    Q_UNUSED(item);
}

bool TqvxComponent::ReadNestedProperty(TqvxXMLItem *item)
{
    Q_UNUSED(item);
    return false;
}

void TqvxComponent::GetChildren(const std::function<void(TComponent *)> &proc, TComponent *root)
{
    Q_UNUSED(root);
    for (TqvxComponent *child : m_objects)
        proc(child);
}

void InitializeQvxComponent()
{
    // The writer puts the name first on every element but the root.
    DescribeProperties<TqvxComponent>().Stored("Name", [](const TObject *) { return false; });
}
