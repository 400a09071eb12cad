#include "report/ReportTestClasses.h"

#include "report/model/qvxCollectionXML.h"
#include "report/xml/qvxXMLItem.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/PropertyDeclarations.h"

#include <mutex>

TTestView::TTestView(TComponent *owner)
    : TqvxReportComponent(owner)
{
    AddKind(ckView);
}

TTestView::~TTestView()
{
    delete frame;
    delete lines;
}

void TTestView::SetNext(TTestView *value)
{
    for (TTestView *v = value; v; v = v->next)
        if (v == this)
            throw EInvalidOperation(QStringLiteral("Circular chain at %1").arg(Name()));
    next = value;
}

void TTestView::DefineProperties(TFiler &filer)
{
    filer.DefineProperty(
        QStringLiteral("Secret"), [this](TReader &reader) { secret = reader.ReadInteger(); },
        [this](TWriter &writer) { writer.WriteInteger(secret); }, secret != 0);
}

void TTestView::Loaded()
{
    TqvxReportComponent::Loaded();
    ++loadedCount;
}

TTestBand::TTestBand(TComponent *owner)
    : TTestView(owner)
{
    AddKind(ckBand);
    SetStyleFlags(StyleFlags() | csoNestedData);
}

void TTestBand::WriteNestedProperties(TqvxXMLItem *item)
{
    if (variables.Count() == 0)
        return;
    TqvxXMLItem *element = item->Add();
    element->SetName(QStringLiteral("Variables"));
    qvxWriteCollectionXML(&variables, element, this);
}

bool TTestBand::ReadNestedProperty(TqvxXMLItem *item)
{
    if (item->Name() != QLatin1String("Variables"))
        return false;
    variables.Clear();
    qvxReadCollectionXML(&variables, item, this);
    return true;
}

TTestReport::TTestReport(TComponent *owner)
    : TqvxComponent(owner)
{
    errors->SetSorted(true);
    errors->SetDuplicates(dupIgnore);
}

TqvxComponent *TTestReport::DoGetAncestor(const QString &name)
{
    if (!parentReport)
        return nullptr;
    if (name.compare(Name(), Qt::CaseInsensitive) == 0)
        return parentReport;
    return parentReport->FindObject(name);
}

void TTestReport::DoProgressStart(TqvxProgressType type)
{
    progress.append(QStringLiteral("start %1").arg(int(type)));
}

void TTestReport::InternalOnProgress(TqvxProgressType type, int value)
{
    progress.append(QStringLiteral("progress %1 %2").arg(int(type)).arg(value));
}

void TTestReport::DoProgressStop(TqvxProgressType type)
{
    progress.append(QStringLiteral("stop %1").arg(int(type)));
}

void RegisterReportTestClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterClass<TTestView>();
        RegisterClass<TTestBand>();
        RegisterClass<TTestPage>();
        RegisterClass<TTestMemo>();
        RegisterClass<TTestReport>();
        DescribeProperties<TTestView>()
            .Default("Align", baNone)
            .Default("Shape", TestTypes::tsBox)
            .Default("Restrictions", 0)
            .Default("Visible", 1)
            .Default("Color", 0x1FFFFFFF)
            .Default("ParentFont", 1)
            .Stored("Font", &TqvxComponent::IsFontStored);
        DescribeProperties<TTestFrame>().Default("Typ", 0).Default("Color", 0);
    });
}
