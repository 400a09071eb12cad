// Drawing prepared pages and answering the mouse over their objects.

#include "engine/qvxPreviewPages.h"

#include "report/pages/qvxBands.h"
#include "report/model/qvxCustomEngine.h"
#include "report/model/qvxCustomPreview.h"
#include "report/model/qvxErrors.h"
#include "report/views/qvxMemoView.h"
#include "report/base/qvxNumbers.h"
#include "report/base/qvxObjectTypes.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/model/qvxServices.h"
#include "report/model/qvxVariables.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/SysUtils.h"
#include "toolkit/widgets/ShellOpen.h"

#include <QCoreApplication>
#include <QPaintDevice>

namespace {

// The rectangle of an object at scale, in canvas pixels, widened by grow on
// every side.
TRect ObjectRect(const TqvxComponent *object, double scaleX, double scaleY, double offsetX, double offsetY,
                 int grow)
{
    const double left = object->GetAbsLeft();
    const double top = object->GetAbsTop();
    const TRect rect(qvxRound(left * scaleX) - grow, qvxRound(top * scaleY) - grow,
                     qvxRound((left + object->Width()) * scaleX + grow),
                     qvxRound((top + object->Height()) * scaleY + grow));
    return rect.Offset(qvxRound(offsetX), qvxRound(offsetY));
}

// Whether rect meets the canvas's clip on its device.  A recording (a metafile) has no
// clip to test against: everything counts.
bool rectVisible(TCanvas *canvas, const TRect &rect)
{
    if (canvas->IsRecording())
        return true;
    QRegion area(canvas->Transform().mapRect(rect.ToQRect()));
    if (const std::optional<QRegion> clip = canvas->ClipRegion())
        area &= *clip;
    if (const QPaintDevice *device = canvas->Device())
        area &= QRect(0, 0, device->width(), device->height());
    return !area.isEmpty();
}

// The parts of a hint: the short one before "|", the long one after it;
// a hint without "|" is both.
QString shortHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString longHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void setReportVariable(TqvxReport *report, const QString &name, const QString &value)
{
    TqvxVariables *variables = report->Variables();
    const int index = variables->IndexOf(name);
    if (index != -1)
        variables->Items(index)->SetValue(Variant(value));
}

} // namespace

TqvxReport *TqvxPreviewPages::report() const
{
    return dynamic_cast<TqvxReport *>(Report());
}

// --- drawing ------------------------------------------------------------------------

bool TqvxPreviewPages::ObjectVisible(TCanvas *canvas, TqvxComponent *object, double scaleX, double scaleY,
                                     double offsetX, double offsetY) const
{
    // The margin keeps frames and shadows that overhang the object.
    return rectVisible(canvas, ObjectRect(object, scaleX, scaleY, offsetX, offsetY, 20));
}

void TqvxPreviewPages::DrawPage(int index, TCanvas *canvas, double scaleX, double scaleY, double offsetX,
                                double offsetY)
{
    const std::shared_ptr<TqvxComponent> pinned = SharedPage(index);
    auto *page = qobject_cast<TqvxReportPage *>(pinned.get());
    if (!page)
        return;

    const double leftMargin = page->LeftMargin();
    const double rightMargin = page->RightMargin();
    if (page->MirrorMargins() && index % 2 == 1) {
        page->SetLeftMargin(rightMargin);
        page->SetRightMargin(leftMargin);
    }
    const bool printing = canvas->IsPrinter();
    if (!printing) {
        canvas->SaveClip();
        canvas->IntersectClipRect(TRect(qvxRound(offsetX), qvxRound(offsetY),
                                        qvxRound(offsetX + page->PaperWidth() * qv01cm * scaleX) - 1,
                                        qvxRound(offsetY + page->PaperHeight() * qv01cm * scaleY) - 1));
    }
    const auto restore = [&] {
        page->SetLeftMargin(leftMargin);
        page->SetRightMargin(rightMargin);
        if (!printing)
            canvas->RestoreClip();
    };

    try {
        page->SetIsPrinting(printing);
        page->DrawBackground(canvas, scaleX, scaleY, offsetX, offsetY);
        offsetX += scaleX * qv01cm * page->LeftMargin();
        offsetY += scaleY * qv01cm * page->TopMargin();
        const TqvxVisibilityType wanted = printing ? vsPrint : vsPreview;
        for (TqvxComponent *object : page->GetAllObjects()) {
            auto *view = qobject_cast<TqvxView *>(object);
            if (!view || !(view->Visibility() & wanted) ||
                !ObjectVisible(canvas, view, scaleX, scaleY, offsetX, offsetY))
                continue;
            view->SetIsPrinting(printing);
            if (auto *memo = qobject_cast<TqvxCustomMemoView *>(view)) {
                memo->SetTotalPages(Count());
                memo->SetCopyNo(CopyNo());
                memo->SetPrintScale(m_printScale);
            }
            view->Draw(canvas, scaleX, scaleY, offsetX, offsetY);
            view->SetIsPrinting(false);
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

// --- the mouse ------------------------------------------------------------------------

struct TqvxPreviewPages::HitState {
    int index;
    TqvxReportPage *page;
    int x;
    int y;
    TMouseButton button;
    TShiftState shift;
    TqvxMouseAction action;
    TCursor &cursor;
    bool refresh = false;
    bool found = false;
    TqvxGroupHeader *drill = nullptr;
};

void TqvxPreviewPages::ObjectOver(int index, int x, int y, TMouseButton button, TShiftState shift, double scale,
                                  double offsetX, double offsetY, TCursor &cursor, TqvxMouseAction action)
{
    TqvxReport *rep = report();
    if (!rep || index < 0 || index >= Count() || (Engine() && Engine()->Running()))
        return;
    // Held for the whole call: a link may rebuild the report under it.
    const std::shared_ptr<TqvxComponent> pinned = SharedPage(index);
    auto *page = qobject_cast<TqvxReportPage *>(pinned.get());
    if (!page)
        return;

    const double margin = page->MirrorMargins() && index % 2 == 1 ? page->RightMargin() : page->LeftMargin();
    offsetX += qv01cm * scale * margin;
    offsetY += qv01cm * scale * page->TopMargin();
    rep->SetProgressMessage(QString(), false);
    rep->SetProgressMessage(QString(), true);

    HitState state{index, page, x, y, button, shift, action, cursor};
    const QList<TqvxComponent *> objects = page->GetAllObjects();
    for (qsizetype i = objects.size() - 1; i >= 0; --i) {
        TqvxComponent *object = objects[i];
        const bool hit = ObjectRect(object, scale, scale, offsetX, offsetY, 0).ToQRect().contains(x, y);
        if (auto *header = qobject_cast<TqvxGroupHeader *>(object); header && hit && header->DrillDown())
            state.drill = header;
        auto *view = qobject_cast<TqvxView *>(object);
        if (!view)
            continue;
        if (hit) {
            handleView(view, state);
            break;
        }
        TqvxCustomPreview *preview = rep->Preview();
        if (view->ShowHint() && preview && preview->UseReportHints())
            preview->SetShowHint(false);
    }

    if (!state.found && m_mouseOverObject) {
        rep->DoMouseLeave(m_mouseOverObject, state.refresh);
        m_mouseOverObject = nullptr;
    }
    if (state.refresh && rep->Preview())
        rep->Preview()->InvalidatePages();
    if (state.drill) {
        cursor = crHandPoint;
        if (action == maClick && button == mbLeft)
            toggleDrillDown(state.drill);
    }
}

void TqvxPreviewPages::handleView(TqvxView *view, HitState &state)
{
    TqvxReport *rep = report();
    state.found = true;
    if (m_mouseOverObject && m_mouseOverObject != view)
        rep->DoMouseLeave(m_mouseOverObject, state.refresh);
    if (view != m_mouseOverObject) {
        rep->DoMouseEnter(view, state.refresh);
        m_mouseOverObject = view;
    }
    if (auto *header = qobject_cast<TqvxGroupHeader *>(view->Parent()); header && header->DrillDown())
        state.drill = header;
    if (view->Cursor() != crDefault)
        state.cursor = view->Cursor();
    if (const QString value = view->Hyperlink()->Value(); !value.isEmpty()) {
        rep->SetProgressMessage(value, false);
        if (view->Cursor() == crDefault)
            state.cursor = crHandPoint;
    }
    TqvxCustomPreview *preview = rep->Preview();
    if (!view->Hint().isEmpty() && view->ShowHint() && preview && preview->UseReportHints()) {
        rep->SetProgressMessage(longHint(view->Hint()), true);
        preview->SetHint(shortHint(view->Hint()));
        preview->SetShowHint(true);
    }
    view->MouseOverHook(state.x, state.y, state.button, state.shift, state.refresh);
    if (state.action == maMouseUp)
        rep->DoMouseUp(view, state.x, state.y, state.button, state.shift, state.refresh);

    bool modified = false;
    const bool clicked = state.action == maClick || state.action == maDblClick;
    if (clicked) {
        const bool doubleClick = state.action == maDblClick;
        rep->DoPreviewClick(view, state.button, state.shift, modified, doubleClick);
        view->MouseButtonHook(doubleClick, state.refresh, modified);
    }
    if (clicked && !state.drill) {
        followHyperlink(view);
        if (modified) {
            ModifyPage(state.index, state.page);
            if (TqvxCustomPreview *current = rep->Preview())
                current->Invalidate();
            m_mouseOverObject = nullptr;
        }
    } else if (rep->OnMouseOverObject) {
        rep->OnMouseOverObject(view);
    }
}

void TqvxPreviewPages::followHyperlink(TqvxView *view)
{
    TqvxHyperlink *link = view->Hyperlink();
    const QString value = link->Value();
    TqvxCustomPreview *preview = report()->Preview();
    switch (link->Kind()) {
    case hkURL:
        if (QString refusal; !value.isEmpty() && !OpenWebOrMailLink(value, &refusal))
            qvxErrorMsg(QCoreApplication::translate("qvxPreparedPages", "The link \"%1\" was not opened: %2.")
                                .arg(value, refusal));
        break;
    case hkAnchor:
        if (!value.isEmpty())
            JumpToAnchor(value);
        break;
    case hkPageNumber:
        if (!value.isEmpty() && preview)
            preview->SetPageNo(StrToInt(value));
        break;
    case hkDetailReport:
        openDetailReport(link);
        break;
    case hkDetailPage:
        openDetailPage(link);
        break;
    case hkCustom:
        break;
    }
}

void TqvxPreviewPages::JumpToAnchor(const QString &text)
{
    TqvxReport *rep = report();
    int page = 0;
    int top = 0;
    if (rep && rep->Preview() && FindAnchor(text, page, top))
        rep->Preview()->SetPosition(page + 1, top);
}

TqvxCustomPreview *TqvxPreviewPages::previewForNewTab(const QString &caption)
{
    TqvxCustomPreview *preview = report()->Preview();
    if (preview && preview->HasTab(caption)) {
        preview->SwitchToTab(caption);
        return nullptr;
    }
    return preview;
}

void TqvxPreviewPages::openDetailReport(TqvxHyperlink *link)
{
    TqvxReport *rep = report();
    const QString caption = link->Value();
    TqvxCustomPreview *preview = previewForNewTab(caption);
    if (!preview)
        return;
    auto detail = std::make_unique<TqvxReport>(preview);
    const bool loaded = (rep->OnLoadDetailTemplate && rep->OnLoadDetailTemplate(detail.get(), link->DetailReport(), link))
                        || detail->LoadFromFile(link->DetailReport());
    if (!loaded)
        return;
    setReportVariable(detail.get(), link->ReportVariable(), caption);
    detail->PrepareReport(true);
    preview->AddPreviewTab(detail.release(), caption, true, link->TabCaption());
    m_mouseOverObject = nullptr;
}

void TqvxPreviewPages::openDetailPage(TqvxHyperlink *link)
{
    TqvxReport *rep = report();
    const QString caption = link->Value();
    TqvxCustomPreview *preview = previewForNewTab(caption);
    if (!preview)
        return;
    auto *detailPage = qobject_cast<TqvxReportPage *>(rep->FindObject(link->DetailPage()));
    if (!detailPage)
        return;
    setReportVariable(rep, link->ReportVariable(), caption);
    // The detail is built into a store of its own, which this store keeps;
    // the report shows it from now on.
    m_detailStores.emplace_back(qvxNewPreviewPages(rep));
    rep->SetPreviewPages(m_detailStores.back().get());
    rep->SetPreview(nullptr);
    rep->PreparePage(detailPage);
    // The tab shows the report but does not own it: the report belongs to
    // whoever made it.
    preview->AddPreviewTab(rep, caption, false, link->TabCaption());
    m_mouseOverObject = nullptr;
}

void TqvxPreviewPages::toggleDrillDown(TqvxGroupHeader *header)
{
    TqvxReport *rep = report();
    TStringList *state = rep->DrillState();
    const int index = state->IndexOf(header->DrillName());
    if (index == -1)
        state->Add(header->DrillName());
    else
        state->Delete(index);
    if (TqvxCustomPreview *preview = rep->Preview())
        preview->RefreshReport();
    m_mouseOverObject = nullptr;
}
