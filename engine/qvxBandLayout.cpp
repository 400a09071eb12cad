#include "engine/qvxBandLayout.h"

#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/components/qvxRectArea.h"
#include "report/model/qvxResources.h"
#include "report/data/qvxUserDataSet.h"
#include "report/components/qvxView.h"
#include "toolkit/classes/TStrings.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Tolerance = 0.0001;

// Band numbers of the classes that take part in the position analysis.
constexpr int HeaderNumber = 4;
constexpr int MasterDataNumber = 6;
constexpr int DataBand6Number = 11;
constexpr int GroupFooterNumber = 13;

using BandList = QList<TqvxBand *>;

bool isDataBand(const TqvxBand *band)
{
    const int number = BandNumber(band);
    return number >= MasterDataNumber && number <= DataBand6Number;
}

bool hasDataSet(const TqvxBand *band)
{
    const auto *dataBand = qobject_cast<const TqvxDataBand *>(band);
    return dataBand && dataBand->DataSet();
}

void addError(TStrings *errors, const char *key, const TqvxBand *band)
{
    errors->Add(qvxResources()->Get(QLatin1String(key)) + QLatin1Char(' ') + band->Name());
}

QList<TqvxBand *> pageBands(TqvxReportPage *page, bool vertical)
{
    BandList bands;
    for (TqvxComponent *child : page->Objects())
        if (auto *band = qobject_cast<TqvxBand *>(child); band && band->Vertical() == vertical)
            bands.append(band);
    return bands;
}

// Forgets what an earlier check connected.
void clearLinks(TqvxBand *band)
{
    band->Details().clear();
    band->Groups().clear();
    band->SetHeader(nullptr);
    band->SetFooter(nullptr);
    band->SetGroup(nullptr);
    band->HostsVBands = false;
}

// A data band that prints RowCount rows of its own walks its own data set.
void attachRowDataSet(TqvxBand *band)
{
    auto *dataBand = qobject_cast<TqvxDataBand *>(band);
    if (!dataBand || dataBand->DataSet() || dataBand->RowCount() < 1)
        return;
    dataBand->SetDataSet(dataBand->VirtualDataSet());
    dataBand->VirtualDataSet()->Initialize();
}

// Moves the views of a horizontal band that lie within a vertical band's
// left and right edges into the vertical band.
void moveIntoVerticalBands(TqvxBand *band, const BandList &verticalBands)
{
    for (TqvxBand *vertical : verticalBands) {
        const double left = vertical->Left();
        const double right = left + vertical->Width();
        const QList<TqvxComponent *> objects = band->Objects();
        for (TqvxComponent *object : objects) {
            auto *view = qobject_cast<TqvxView *>(object);
            if (!view || view->Left() < left - Tolerance || view->Left() + view->Width() > right + Tolerance)
                continue;
            view->SetParentFont(false);
            view->SetParent(vertical);
            view->SetHomeBand(band);
            view->SetLeft(view->Left() - left);
        }
        for (TqvxComponent *object : vertical->Objects())
            if (auto *view = qobject_cast<TqvxView *>(object); view && view->HomeBand() == band)
                band->HostsVBands = true;
    }
}

// The bands of the position analysis in position order (to two decimals),
// bands at the same position in their order among the page's children.
BandList positionOrder(const BandList &bands, bool vertical)
{
    BandList ordered;
    for (TqvxBand *band : bands) {
        const int number = BandNumber(band);
        if (number >= HeaderNumber && number <= GroupFooterNumber)
            ordered.append(band);
    }
    const auto key = [vertical](const TqvxBand *band) {
        return std::round((vertical ? band->Left() : band->Top()) * 100);
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&key](const TqvxBand *a, const TqvxBand *b) { return key(a) < key(b); });
    return ordered;
}

void compact(BandList &list)
{
    list.removeAll(nullptr);
}

// Group headers chain with the headers that follow them directly and lead
// the next data band; group footers pair with the nearest header before
// them, from the inside out.
void CheckGroups(BandList &list, TStrings *errors)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        auto *group = qobject_cast<TqvxGroupHeader *>(list.at(i));
        if (!group)
            continue;
        group->Groups().append(group);
        qsizetype next = i + 1;
        for (; next < list.size() && qobject_cast<TqvxGroupHeader *>(list.at(next)); ++next)
            group->Groups().append(list.at(next));
        while (next < list.size() && !isDataBand(list.at(next)))
            ++next;
        if (next == list.size()) {
            addError(errors, "enUnconnGroup", group);
            continue;
        }
        list.at(next)->SetGroup(group);
        i = next;
    }

    for (qsizetype i = 0; i < list.size(); ++i) {
        if (!qobject_cast<TqvxGroupFooter *>(list.at(i)))
            continue;
        for (qsizetype j = i - 1; j >= 0; --j) {
            if (qobject_cast<TqvxGroupHeader *>(list.at(j))) {
                list.at(j)->SetFooter(list.at(i));
                list[j] = nullptr;
                list[i] = nullptr;
                break;
            }
        }
    }
    for (TqvxBand *&band : list) {
        if (qobject_cast<TqvxGroupHeader *>(band)) {
            band = nullptr;
        } else if (qobject_cast<TqvxGroupFooter *>(band)) {
            addError(errors, "enUnconnGFooter", band);
            band = nullptr;
        }
    }
    compact(list);
}

// A header directly above a data band and a footer directly below it
// belong to it.
void CheckHeaderFooter(BandList &list, TStrings *errors)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        TqvxBand *band = list.at(i);
        if (!band || !isDataBand(band))
            continue;
        if (i > 0 && qobject_cast<TqvxHeader *>(list.at(i - 1))) {
            band->SetHeader(list.at(i - 1));
            list[i - 1] = nullptr;
        }
        if (i + 1 < list.size() && qobject_cast<TqvxFooter *>(list.at(i + 1))) {
            band->SetFooter(list.at(i + 1));
            list[i + 1] = nullptr;
        }
    }
    compact(list);
    for (TqvxBand *&band : list) {
        if (qobject_cast<TqvxHeader *>(band) || qobject_cast<TqvxFooter *>(band)) {
            addError(errors, "enUnconnHeader", band);
            band = nullptr;
        }
    }
    compact(list);
}

// The data bands one level deeper than owner that follow it, up to the
// next band of owner's level or above, are its details.
void checkDetails(TqvxBand *owner, qsizetype start, BandList &list)
{
    const int level = BandNumber(owner);
    for (qsizetype i = start; i < list.size(); ++i) {
        TqvxBand *band = list.at(i);
        if (!band)
            continue;
        const int number = BandNumber(band);
        if (number <= level)
            return;
        if (number != level + 1)
            continue;
        if (hasDataSet(band))
            owner->Details().append(band);
        list[i] = nullptr;
        if (number != DataBand6Number)
            checkDetails(band, i + 1, list);
    }
}

void CheckMasterDetail(TqvxReportPage *page, bool vertical, BandList &list)
{
    BandList &topLevel = vertical ? page->VDataBands() : page->HDataBands();
    for (qsizetype i = 0; i < list.size(); ++i) {
        TqvxBand *band = list.at(i);
        if (!qobject_cast<TqvxMasterData *>(band))
            continue;
        if (hasDataSet(band))
            topLevel.append(band);
        list[i] = nullptr;
        checkDetails(band, i + 1, list);
    }
    compact(list);
}

} // namespace

void CheckBands(TqvxReportPage *page, TStrings *errors, bool vertical)
{
    page->AlignChildren();
    (vertical ? page->VDataBands() : page->HDataBands()).clear();

    const BandList bands = pageBands(page, vertical);
    const BandList verticalBands = vertical ? BandList() : pageBands(page, true);
    for (TqvxBand *band : bands) {
        clearLinks(band);
        attachRowDataSet(band);
        if (!vertical && !qobject_cast<TqvxOverlay *>(band))
            moveIntoVerticalBands(band, verticalBands);
        // After the move, so that a band pushes only objects it holds.
        BuildShiftTree(band);
    }

    BandList list = positionOrder(bands, vertical);
    CheckGroups(list, errors);
    CheckHeaderFooter(list, errors);
    CheckMasterDetail(page, vertical, list);
    for (const TqvxBand *band : list)
        addError(errors, "enBandPos", band);
}

void BuildShiftTree(TqvxBand *band)
{
    if (!band->ShiftList().isEmpty())
        return;

    QList<TqvxView *> views;
    for (TqvxComponent *object : band->Objects())
        if (auto *view = qobject_cast<TqvxView *>(object)) {
            view->ClearShifts();
            views.append(view);
        }
    std::stable_sort(views.begin(), views.end(), [](const TqvxView *a, const TqvxView *b) {
        return std::round(a->Top() * 100) < std::round(b->Top() * 100);
    });

    // The root, a strip 2 pixels above the band, stands for the band: what
    // it would push down has nothing above it.
    const TqvxRectArea bandArea = qvxRectAreaOf(band);
    QList<TqvxRectArea> areas{{bandArea.X, bandArea.Y - 2, bandArea.X1, bandArea.Y - 1}};
    for (const TqvxView *view : views)
        areas.append(qvxRectAreaOf(view));
    const auto shifter = [&](qsizetype index) -> TqvxReportComponent * {
        return index == 0 ? static_cast<TqvxReportComponent *>(band) : views.at(index - 1);
    };

    for (qsizetype i = 0; i < areas.size(); ++i) {
        const TqvxRectArea &above = areas.at(i);
        for (qsizetype j = i + 1; j < areas.size(); ++j) {
            const TqvxRectArea &below = areas.at(j);
            if (above.InterceptsY(below) || above.Y >= below.Y)
                continue;
            const std::optional<TqvxRectArea> overlap = above.InterceptX(below);
            if (!overlap)
                continue;
            bool between = false;
            for (qsizetype k = j - 1; k > i && !between; --k) {
                const TqvxRectArea &other = areas.at(k);
                between = !other.InterceptsY(above) && !other.InterceptsY(below) && other.InterceptsX(*overlap);
            }
            if (!between)
                shifter(i)->AddShift(views.at(j - 1));
        }
    }
}
