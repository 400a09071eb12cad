#include "report/pages/qvxBands.h"

#include "report/model/qvxDiffText.h"
#include "report/xml/qvxXMLEscape.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"

#include <array>

namespace {

// The band class table: a band's number is the index of the last class it
// is or descends from.
std::array<TClass, BandClassCount> bandClasses()
{
    return {ClassOf<TqvxReportTitle>(), ClassOf<TqvxReportSummary>(), ClassOf<TqvxPageHeader>(),
            ClassOf<TqvxPageFooter>(),  ClassOf<TqvxHeader>(),        ClassOf<TqvxFooter>(),
            ClassOf<TqvxMasterData>(),  ClassOf<TqvxDetailData>(),    ClassOf<TqvxSubdetailData>(),
            ClassOf<TqvxDataBand4>(),   ClassOf<TqvxDataBand5>(),     ClassOf<TqvxDataBand6>(),
            ClassOf<TqvxGroupHeader>(), ClassOf<TqvxGroupFooter>(),   ClassOf<TqvxChild>(),
            ClassOf<TqvxColumnHeader>(), ClassOf<TqvxColumnFooter>(), ClassOf<TqvxOverlay>()};
}

} // namespace

int BandNumber(const TqvxBand *band)
{
    const std::array<TClass, BandClassCount> classes = bandClasses();
    for (int i = BandClassCount - 1; i >= 0; --i)
        if (band->InheritsFrom(classes[i]))
            return i;
    return 0;
}

TClass BandClassOf(int number)
{
    if (number < 0 || number >= BandClassCount)
        return nullptr;
    return bandClasses()[number];
}

QString TqvxGroupHeader::Diff(const TqvxComponent *source)
{
    TqvxDiffText diff(TqvxBand::Diff(source));
    if (m_drillDown)
        diff.Text(u"DrillName", m_drillName);
    return std::move(diff).Result();
}

TqvxNullBand::TqvxNullBand(TComponent *owner)
    : TqvxBand(owner)
{
    AddKind(ckNullBand);
}

namespace {

template <class T>
void declareBandFlags(std::initializer_list<const char *> names)
{
    PropertyTable table = DescribeProperties<T>();
    for (const char *name : names)
        table.Default(name, 0);
}

} // namespace

void InitializeQvxBands()
{
    DescribeProperties<TqvxBand>()
        .Default("ParentFont", 1)
        .Stored("Font", &TqvxComponent::IsFontStored)
        .Default("Restrictions", 0)
        .Default("Visible", 1)
        .Default("Vertical", 0)
        .Default("FillType", ftBrush);
    DescribeProperties<TqvxFillGap>().Default("Top", 0).Default("Left", 0).Default("Right", 0).Default("Bottom", 0);
    declareBandFlags<TqvxDataBand>({"AllowSplit", "Columns", "FooterAfterEach", "KeepChild", "KeepFooter",
                                    "KeepHeader", "KeepTogether", "PrintChildIfInvisible", "PrintIfDetailEmpty",
                                    "RowCount", "StartNewPage", "Stretched"});
    DescribeProperties<TqvxDataBand>().TypeName("DataSet", QStringLiteral("TqvxDataSet"));
    for (auto declare : {declareBandFlags<TqvxReportTitle>, declareBandFlags<TqvxReportSummary>,
                         declareBandFlags<TqvxChild>})
        declare({"AllowSplit", "KeepChild", "PrintChildIfInvisible", "StartNewPage", "Stretched"});
    declareBandFlags<TqvxPageHeader>({"PrintChildIfInvisible", "Stretched"});
    DescribeProperties<TqvxPageHeader>().Default("PrintOnFirstPage", 1);
    DescribeProperties<TqvxPageFooter>().Default("PrintOnFirstPage", 1).Default("PrintOnLastPage", 1);
    declareBandFlags<TqvxHeader>(
        {"AllowSplit", "KeepChild", "PrintChildIfInvisible", "ReprintOnNewPage", "StartNewPage", "Stretched"});
    declareBandFlags<TqvxFooter>({"AllowSplit", "KeepChild", "PrintChildIfInvisible", "Stretched"});
    declareBandFlags<TqvxGroupHeader>({"AllowSplit", "DrillDown", "ExpandDrillDown", "KeepChild", "KeepTogether",
                                       "PrintChildIfInvisible", "ReprintOnNewPage", "ResetPageNumbers",
                                       "ShowChildIfDrillDown", "ShowFooterIfDrillDown", "StartNewPage",
                                       "Stretched"});
    declareBandFlags<TqvxGroupFooter>(
        {"AllowSplit", "HideIfSingleDataRecord", "KeepChild", "PrintChildIfInvisible", "Stretched"});
    declareBandFlags<TqvxColumnHeader>({"Stretched"});
    declareBandFlags<TqvxOverlay>({"PrintOnTop"});

    RegisterClass<TqvxFillGap>();
    RegisterClass<TqvxReportTitle>();
    RegisterClass<TqvxReportSummary>();
    RegisterClass<TqvxPageHeader>();
    RegisterClass<TqvxPageFooter>();
    RegisterClass<TqvxHeader>();
    RegisterClass<TqvxFooter>();
    RegisterClass<TqvxMasterData>();
    RegisterClass<TqvxDetailData>();
    RegisterClass<TqvxSubdetailData>();
    RegisterClass<TqvxDataBand4>();
    RegisterClass<TqvxDataBand5>();
    RegisterClass<TqvxDataBand6>();
    RegisterClass<TqvxGroupHeader>();
    RegisterClass<TqvxGroupFooter>();
    RegisterClass<TqvxChild>();
    RegisterClass<TqvxColumnHeader>();
    RegisterClass<TqvxColumnFooter>();
    RegisterClass<TqvxOverlay>();
    RegisterClass<TqvxNullBand>();
}
