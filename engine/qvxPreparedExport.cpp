#include "engine/qvxPreparedStore.h"

#include "engine/qvxPreparedItems.h"
#include "report/model/qvxComponent.h"
#include "report/model/qvxCustomPreview.h"
#include "report/report/qvxExportFilter.h"
#include "report/views/qvxMemoView.h"
#include "report/base/qvxObjectTypes.h"
#include "report/model/qvxReportLink.h"
#include "report/base/qvxTextUtils.h"
#include "report/components/qvxView.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/widgets/TApplication.h"

#include <QCoreApplication>
#include <QSet>

#include <new>

#include <algorithm>

namespace {

// The pages of a range text, from 1; empty for all pages.
QSet<int> pageSet(const QString &range, int pageCount)
{
    TStringList list;
    qvxParsePageRange(range, &list, pageCount);
    QSet<int> pages;
    for (int i = 0; i < list.Count(); ++i)
        pages.insert(list.Strings(i).toInt());
    return pages;
}

} // namespace

QString qvxRangeWithoutPagesError(const QString &range, const QList<int> &pages, int count)
{
    if (pages.isEmpty() || std::ranges::any_of(pages, [count](int page) { return page >= 1 && page <= count; }))
        return QString();
    return QCoreApplication::translate("qvxPreparedPages",
                                       "The page range \"%1\" names no page of the report (it has %2)")
            .arg(range)
            .arg(count);
}

bool TqvxPreparedStore::Export(TqvxCustomExportFilter *filter)
{
    SetCopyNo(0);
    if (!filter || !filter->BeginExport(Report()))
        return false;
    if (filter->CurrentPageOnly())
        filter->SetPageNumbers(Report()->Preview() ? QString::number(CurrentPreviewPage()) : QStringLiteral("1"));
    Report()->SetTerminated(false);

    bool progress = false;
    bool result = false;
    // The objects kept for refilling live as long as the walk.
    struct SparesGuard {
        TqvxPreparedStore *store;
        ~SparesGuard() { store->clearSpares(); }
    } sparesGuard{this};
    try {
        const QSet<int> pages = pageSet(filter->PageNumbers(), Count());
        // A range naming none of the report's pages would give a document
        // without a page.
        if (const QString error = qvxRangeWithoutPagesError(filter->PageNumbers(), pages.values(), Count());
            !error.isEmpty())
            throw Exception(error);
        // A memo sizing its own width draws once on this to find it: a
        // bitmap without pixels gives no canvas to draw on.
        TBitmap scratch;
        scratch.SetSize(1, 1);
        if (filter->StartExport()) {
            if (TqvxCustomPreview *preview = Report()->Preview()) {
                preview->Lock();
                preview->Repaint();
            }
            if (filter->ShowProgress()) {
                Report()->DoProgressStart(ptExporting);
                progress = true;
            }
            const bool pump = !Options().threadSafeMode && Application;
            for (int i = 0; i < Count(); ++i) {
                exportPage(filter, i, pages, &scratch);
                if (pump)
                    Application->ProcessMessages();
            }
            if (TqvxCustomPreview *preview = Report()->Preview())
                preview->Repaint();
            filter->FinishExport();
            result = true;
        }
    } catch (const EExportTerminated &) {
        filter->AbortExport();
    } catch (const Exception &e) {
        filter->AbortExport();
        Report()->Errors()->Add(e.Message());
    } catch (const std::bad_alloc &) {
        filter->AbortExport();
        Report()->Errors()->Add(QCoreApplication::translate(
                "qvxPreparedPages", "The report needs more memory than there is; its export was stopped"));
    } catch (const std::exception &e) {
        filter->AbortExport();
        Report()->Errors()->Add(QString::fromLocal8Bit(e.what()));
    }
    if (progress)
        Report()->DoProgressStop(ptExporting);
    return result;
}

void TqvxPreparedStore::exportPage(TqvxCustomExportFilter *filter, int index, const QSet<int> &pages,
                                   TBitmap *scratch)
{
    if (index >= Count() || (!pages.isEmpty() && !pages.contains(index + 1)))
        return;
    const auto exportObjects = [&](TqvxComponent *page) {
        if (filter->ShowProgress())
            Report()->InternalOnProgress(ptExporting, index + 1);
        TqvxReportPage *reportPage = ReportPageOf(page);
        filter->StartPage(reportPage, index);
        try {
            const TqvxPageMargins margins = PageMargins(page);
            const bool mirrored = margins.mirror && index % 2 == 1;
            const double left = qv01cm * (mirrored ? margins.right : margins.left);
            const double top = qv01cm * margins.top;
            page->SetLeft(left);
            page->SetTop(top);
            std::unique_ptr<TqvxComponent> background =
                NewPageBackground(page, left, top, page->Width() - qv01cm * (margins.left + margins.right),
                                  page->Height() - qv01cm * (margins.top + margins.bottom));
            if (background)
                exportObject(filter, background.get(), scratch);

            const bool outerOnly = filter->OuterHeadersFootersOnly();
            for (TqvxComponent *object : page->Objects()) {
                const TqvxStoreBand band = BandOf(object);
                if (outerOnly && ((band == TqvxStoreBand::PageHeader && index != 0) ||
                                  (band == TqvxStoreBand::PageFooter && index != Count() - 1)))
                    continue;
                exportObject(filter, object, scratch);
                for (TqvxComponent *child : object->Objects())
                    exportObject(filter, child, scratch);
            }
        } catch (...) {
            filter->FinishPage(reportPage, index);
            throw;
        }
        filter->FinishPage(reportPage, index);
    };

    // Without a preview nobody sees the page but this walk: it is read for
    // the walk alone, from objects of pages exported before where they can
    // be refilled, and the cache keeps no page after.
    if (!Report()->Preview()) {
        ReadPageObject(index, [&](TqvxComponent *page) {
            if (page)
                exportObjects(page);
        });
        ClearPageCache();
        return;
    }
    // A page read back from the swap file goes out again once exported, so
    // the export keeps no more pages in memory than the run did.
    TqvxXMLItem *item = PagesItem()->Items(index);
    const bool swappedOut = item->Unloadable() && !item->Loaded();
    const std::shared_ptr<TqvxComponent> page = SharedPage(index);
    if (!page)
        return;
    struct SwapBack {
        TqvxXMLDocument &doc;
        TqvxXMLItem *item;
        bool swappedOut;
        ~SwapBack()
        {
            if (swappedOut) {
                doc.ReleaseItem(item);
                doc.CompactItem(item);
            }
        }
    } swapBack{m_doc, item, swappedOut};
    exportObjects(page.get());
    page->SetLeft(0);
    page->SetTop(0);
}

void TqvxPreparedStore::exportObject(TqvxCustomExportFilter *filter, TqvxComponent *object, TBitmap *scratch)
{
    if (filter->DataOnly() && (!object->Parent() || BandOf(object->Parent()) != TqvxStoreBand::DataBand))
        return;
    if (const auto *view = qobject_cast<const TqvxView *>(object); view && !(view->Visibility() & vsExport))
        return;
    if (auto *memo = qobject_cast<TqvxCustomMemoView *>(object)) {
        memo->SetTotalPages(Count());
        memo->SetCopyNo(1);
        // As the memo's own drawing does: text that allows no expressions
        // holds no macros.
        if (memo->AllowExpressions())
            memo->SubstituteTotalPages();
        // A memo that sizes its own width finds it while it draws.
        if (memo->AutoWidth())
            memo->Draw(scratch->Canvas(), 1, 1, 0, 0);
    }
    filter->ExportObject(object);
    if (Report()->Terminated())
        throw EExportTerminated(QStringLiteral("Export terminated"));
}
