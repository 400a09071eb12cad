#include "report/model/qvxComponent.h"

#include "report/model/qvxDiffText.h"
#include "report/model/qvxReportContext.h"
#include "report/model/qvxReportLink.h"
#include "report/model/qvxResources.h"
#include "report/xml/qvxXMLEscape.h"
#include "report/model/qvxXMLSerializer.h"
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
#include <typeinfo>
#include <utility>
#include <vector>

namespace {

constexpr double diffTolerance = 1e-4;

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

// The first object of a name keeps its entry.
void addToIndex(QHash<QString, TqvxComponent *> &index, const QString &name, TqvxComponent *object)
{
    const QString key = NameKey(name);
    if (!index.contains(key))
        index.insert(key, object);
}

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
        // Leaving the parent here spares the child its search of the list
        // and of the name index.
        TqvxComponent *child = m_objects.takeLast();
        child->m_parent = nullptr;
        child->forgetReport();
        delete child;
    }
    m_font->OnChange = nullptr;
    delete m_font;
}

void TqvxComponent::BeforeDestruction()
{
    leaveParent();
    TComponent::BeforeDestruction();
}

void TqvxComponent::leaveParent()
{
    if (!m_parent)
        return;
    if (NameIndex *index = m_parent->nameIndex(false))
        unindexSubtree(*index);
    // Children mostly leave last first (a parent frees them so).
    const qsizetype position = m_parent->m_objects.lastIndexOf(this);
    if (position >= 0)
        m_parent->m_objects.removeAt(position);
    m_parent = nullptr;
    forgetReport();
}

void TqvxComponent::forgetReport()
{
    m_report = nullptr;
    m_reportContext = nullptr;
    for (TqvxComponent *child : std::as_const(m_objects))
        child->forgetReport();
}

TqvxComponent::NameIndex *TqvxComponent::nameIndex(bool build) const
{
    TqvxComponent *report = GetReport();
    if (!report || report->ComponentState().testFlag(csDestroying))
        return nullptr;
    if (!report->m_nameIndex && build) {
        report->m_nameIndex = std::make_unique<NameIndex>();
        for (TqvxComponent *child : report->m_objects)
            child->indexSubtree(*report->m_nameIndex);
    }
    return report->m_nameIndex.get();
}

void TqvxComponent::indexSubtree(NameIndex &index)
{
    if (!Name().isEmpty())
        addToIndex(index, Name(), this);
    for (TqvxComponent *child : std::as_const(m_objects))
        child->indexSubtree(index);
}

void TqvxComponent::unindexSubtree(NameIndex &index)
{
    if (!Name().isEmpty()) {
        const auto it = index.constFind(NameKey(Name()));
        if (it != index.constEnd() && *it == this)
            index.erase(it);
    }
    for (TqvxComponent *child : std::as_const(m_objects))
        child->unindexSubtree(index);
}

bool TqvxComponent::isBelow(const TqvxComponent *ancestor) const
{
    for (const TqvxComponent *c = m_parent; c; c = c->m_parent)
        if (c == ancestor)
            return true;
    return false;
}

void TqvxComponent::DesignCreate(int flags)
{
    Q_UNUSED(flags);
    m_isDesigning = true;
}

void TqvxComponent::attachTo(TqvxComponent *parent)
{
    leaveParent();
    m_parent = parent;
    if (!m_parent)
        return;
    forgetReport();
    m_parent->m_objects.append(this);
    if (NameIndex *index = m_parent->nameIndex(false))
        indexSubtree(*index);
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

void TqvxComponent::MoveToFront()
{
    if (!m_parent)
        return;
    m_parent->m_objects.removeOne(this);
    m_parent->m_objects.prepend(this);
}

void TqvxComponent::collectDescendants(QList<TqvxComponent *> &list) const
{
    for (TqvxComponent *child : m_objects) {
        list.append(child);
        child->collectDescendants(list);
    }
}

QList<TqvxComponent *> TqvxComponent::GetAllObjects() const
{
    QList<TqvxComponent *> list;
    collectDescendants(list);
    return list;
}

TqvxComponent *TqvxComponent::FindObject(const QString &name)
{
    if (const NameIndex *index = name.isEmpty() ? nullptr : nameIndex(true)) {
        TqvxComponent *found = index->value(NameKey(name));
        return found && found->isBelow(this) ? found : nullptr;
    }
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

namespace {

// Whether an object is a report: the answer of a cross cast, kept per
// dynamic type (an object under construction counts as the type built so
// far, whose answer is the same for every object of it).
bool isReportLink(const TqvxComponent *object)
{
    thread_local std::vector<std::pair<const std::type_info *, bool>> known;
    const std::type_info &type = typeid(*object);
    // A type's description has one address within a program; comparing
    // descriptions by value compares their names.
    for (const auto &[knownType, link] : known)
        if (knownType == &type)
            return link;
    for (const auto &[knownType, link] : known)
        if (*knownType == type)
            return link;
    const bool link = dynamic_cast<const TqvxReportLink *>(object) != nullptr;
    known.emplace_back(&type, link);
    return link;
}

} // namespace

bool TqvxComponent::IsReport() const
{
    return isReportLink(this);
}

TqvxComponent *TqvxComponent::GetReport() const
{
    if (m_report)
        return m_report;
    for (const TqvxComponent *c = this; c; c = c->m_parent) {
        if (isReportLink(c)) {
            m_report = const_cast<TqvxComponent *>(c);
            m_reportContext = dynamic_cast<TqvxReportContext *>(m_report);
            break;
        }
    }
    return m_report;
}

TqvxReportContext *TqvxComponent::ReportContext() const
{
    GetReport();
    return m_reportContext;
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
    const QString previous = Name();
    TComponent::SetName(name);
    NameIndex *index = m_parent ? m_parent->nameIndex(false) : nullptr;
    if (!index)
        return;
    const auto it = index->constFind(NameKey(previous));
    if (it != index->constEnd() && *it == this)
        index->erase(it);
    if (!name.isEmpty())
        addToIndex(*index, name, this);
}

void TqvxComponent::CreateUniqueName()
{
    TqvxComponent *report = GetReport();
    auto taken = [this, report](const QString &candidate) {
        if (report)
            return SameText(report->Name(), candidate) || report->FindObject(candidate) != nullptr;
        return m_parent && m_parent->FindObject(candidate) != nullptr;
    };
    const QString base = BaseName();
    for (int n = 1;; ++n) {
        const QString candidate = base + QString::number(n);
        if (!taken(candidate)) {
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

double TqvxComponent::ClampCoordinate(double value)
{
    if (std::isnan(value))
        return 0;
    return std::clamp(value, -MaxCoordinate, MaxCoordinate);
}

void TqvxComponent::SetLeft(double value)
{
    if (!restricted(rfDontMove))
        m_left = ClampCoordinate(value);
}

void TqvxComponent::SetTop(double value)
{
    if (!restricted(rfDontMove))
        m_top = ClampCoordinate(value);
}

void TqvxComponent::SetWidth(double value)
{
    if (!restricted(rfDontSize))
        m_width = ClampCoordinate(value);
}

void TqvxComponent::SetHeight(double value)
{
    if (!restricted(rfDontSize))
        m_height = ClampCoordinate(value);
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
    for (TqvxComponent *child : std::as_const(m_objects))
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
    // Most views are not aligned: with none that is, nothing moves.
    const bool anyAligned = std::any_of(m_objects.cbegin(), m_objects.cend(), [](const TqvxComponent *child) {
        return child->IsKind(ckView) && child->ViewAlign() != baNone;
    });
    if (!anyAligned)
        return;
    QList<TqvxComponent *> views;
    for (TqvxComponent *child : std::as_const(m_objects))
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
    for (qsizetype i = m_objects.size() - 1; i >= 0; i = std::min(i - 1, m_objects.size() - 1)) {
        TqvxComponent *child = m_objects.at(i);
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
    TqvxDiffText diff;
    if (qvxDiffers(m_left, source->m_left))
        diff.Float(u"l", m_left);
    if (IsKind(ckBand) || qvxDiffers(m_top, source->m_top))
        diff.Float(u"t", m_top);
    if (qvxDiffers(m_width, source->m_width) && !SizesOwnWidth())
        diff.Float(u"w", m_width);
    if (qvxDiffers(m_height, source->m_height))
        diff.Float(u"h", m_height);
    if (m_visible != source->m_visible)
        diff.Bool(u"Visible", m_visible);
    if (!m_parentFont) {
        const TFont *font = source->Font();
        if (m_font->Name() != font->Name())
            diff.Text(u"Font.Name", m_font->Name());
        if (m_font->Size() != font->Size())
            diff.Number(u"Font.Size", m_font->Size());
        if (m_font->Color() != font->Color())
            diff.Number(u"Font.Color", m_font->Color());
        if (m_font->Style() != font->Style())
            diff.Number(u"Font.Style", m_font->Style().toInt());
        if (m_font->Charset() != font->Charset())
            diff.Number(u"Font.Charset", m_font->Charset());
    }
    if (m_parentFont != source->m_parentFont)
        diff.Bool(u"ParentFont", m_parentFont);
    if (Tag() != source->Tag())
        diff.Number(u"Tag", Tag());
    return std::move(diff).Result();
}

QString TqvxComponent::AllDiff(const TqvxComponent *source)
{
    TqvxXMLSerializer serializer;
    TqvxDiffText diff(serializer.ObjToXML(this));
    if (source)
        diff.Append(QLatin1Char(' ') + InternalDiff(source));
    if (IsKind(ckNullBand)) {
        diff.Float(u"l", m_left);
        diff.Float(u"t", m_top);
    }
    return std::move(diff).Result();
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
    for (TqvxComponent *child : std::as_const(m_objects))
        proc(child);
}

void InitializeQvxComponent()
{
    // The writer puts the name first on every element but the root.
    DescribeProperties<TqvxComponent>().Stored("Name", [](const TObject *) { return false; });
}
