#include "report/editors/qvxPropertyEditor.h"

#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/classes/TList.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/TListBox.h"

namespace {

qint64 readOrdinal(const TPropInfo &property, const TObject *component)
{
    if (property.Kind() == TTypeKind::Class)
        return ObjectHandleRegistry::Acquire(property.GetObject(component));
    return property.GetOrd(component);
}

void writeOrdinal(const TPropInfo &property, TObject *component, qint64 value)
{
    if (property.Kind() == TTypeKind::Class)
        property.SetObject(component, ObjectHandleRegistry::Resolve(qint32(value)));
    else
        property.SetOrd(component, value);
}

} // namespace

TqvxPropertyEditor::TqvxPropertyEditor(TqvxDesigner *designer)
    : m_designer(designer), m_components(std::make_unique<TList>()), m_values(std::make_unique<TStringList>())
{
}

TqvxPropertyEditor::~TqvxPropertyEditor() = default;

void TqvxPropertyEditor::AddComponent(TObject *component, const TPropInfo *property)
{
    m_components->Add(component);
    m_properties.append(property);
}

bool TqvxPropertyEditor::Edit()
{
    GetValues();
    const int count = m_values->Count();
    if (count == 0)
        return false;
    const int current = m_values->IndexOf(GetValue());
    const int next = current < 0 || current == count - 1 ? 0 : current + 1;
    SetValue(m_values->Strings(next));
    return true;
}

QString TqvxPropertyEditor::GetName() const
{
    return m_properties.isEmpty() || !m_properties.first() ? QString() : m_properties.first()->Name();
}

QString TqvxPropertyEditor::GetValue() const
{
    return QStringLiteral("(Unknown)");
}

void TqvxPropertyEditor::GetValues()
{
    m_values->Clear();
    m_values->SetSorted(GetAttributes().testFlag(paSortList));
}

void TqvxPropertyEditor::SetValue(const QString &)
{
}

void TqvxPropertyEditor::DrawListItem(TCustomListBox *list, int index, const TRect &rect, TOwnerDrawState)
{
    TCanvas *canvas = list->Canvas();
    canvas->FillRect(rect);
    canvas->TextOut(rect.Left + m_itemHeight + 4, rect.Top + 1, list->Items()->Strings(index));
    canvas->Pen()->SetColor(clGray);
}

void TqvxPropertyEditor::DrawValue(TCanvas *canvas, const TRect &rect)
{
    canvas->TextOut(rect.Left + m_itemHeight - 2, rect.Top, GetValue());
    canvas->Pen()->SetColor(clGray);
}

const TPropInfo &TqvxPropertyEditor::firstProperty() const
{
    if (m_properties.isEmpty() || !m_properties.first())
        throw EPropertyError(QStringLiteral("The property editor has no property to read"));
    return *m_properties.first();
}

TObject *TqvxPropertyEditor::firstComponent() const
{
    return m_components->Items(0);
}

qint64 TqvxPropertyEditor::GetOrdValue() const
{
    const TPropInfo &property = firstProperty();
    return readOrdinal(property, firstComponent());
}

double TqvxPropertyEditor::GetFloatValue() const
{
    const TPropInfo &property = firstProperty();
    return property.GetFloat(firstComponent());
}

QString TqvxPropertyEditor::GetStrValue() const
{
    const TPropInfo &property = firstProperty();
    return property.GetStr(firstComponent());
}

void TqvxPropertyEditor::assignToAll(const std::function<void(const TPropInfo &, TObject *)> &assign)
{
    for (int i = 0; i < m_components->Count(); ++i)
        if (const TPropInfo *property = m_properties.at(i))
            assign(*property, m_components->Items(i));
}

void TqvxPropertyEditor::SetOrdValue(qint64 value)
{
    const bool notify = m_designer && m_components->Count() > 0;
    if (notify)
        m_designer->BeforeChange();
    assignToAll([value](const TPropInfo &property, TObject *component) { writeOrdinal(property, component, value); });
    if (notify)
        m_designer->AfterChange();
}

void TqvxPropertyEditor::SetFloatValue(double value)
{
    assignToAll([value](const TPropInfo &property, TObject *component) { property.SetFloat(component, value); });
}

void TqvxPropertyEditor::SetStrValue(const QString &value)
{
    assignToAll([&value](const TPropInfo &property, TObject *component) { property.SetStr(component, value); });
}

void TqvxPropertyEditor::AddValue(const QString &value)
{
    m_values->Add(value);
}
