#include "export/pdf/qvxPDFPageContent.h"

#include "export/pdf/qvxPDFStrings.h"
#include "export/pdf/qvxPDFViewWriter.h"
#include "report/views/qvxChBox.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxReportLink.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "report/base/qvxObjectTypes.h"
#include "report/pages/qvxPage.h"
#include "report/views/qvxShapeView.h"
#include "toolkit/core/SysUtils.h"

#include <algorithm>

namespace {

bool isHTMLMemo(const TqvxCustomMemoView *memo, const TqvxPDFExport &pdf)
{
    if (!memo->AllowHTMLTags() || !pdf.HTMLTags())
        return false;
    const TWideStrings *lines = memo->Memo();
    for (int i = 0; i < lines->Count(); ++i)
        if (lines->View(i).contains(QLatin1Char('<')))
            return true;
    return false;
}

bool isTextMemo(TqvxView *view, const TqvxPDFExport &pdf)
{
    auto *memo = dynamic_cast<TqvxCustomMemoView *>(view);
    return memo && (memo->BrushStyle() == bsSolid || memo->BrushStyle() == bsClear) && !isHTMLMemo(memo, pdf);
}

// Lines and shapes set the pen of their frame with operators of their own,
// outside any memo.
void framePenWritten(TqvxPDFExport &pdf, const TqvxView *view)
{
    const TqvxFrame *frame = view->Frame();
    pdf.GraphicsState().PenWritten(pdf.GetPDFColor(frame->Color()), GetDashPattern(frame->Style(), frame->Width()),
                                   TqvxPDFNumber(frame->Width() * 0.75));
}

} // namespace

TqvxPDFPageInfo qvxPDFPageInfo(TqvxReportPage *page)
{
    TqvxPDFPageInfo info;
    if (!page)
        return info;
    info.Width = page->Width() > 0 ? page->Width() : page->PaperWidth() * qv01cm;
    info.Height = page->Height() > 0 ? page->Height() : page->PaperHeight() * qv01cm;
    info.LeftMargin = page->LeftMargin();
    info.TopMargin = page->TopMargin();
    info.RightMargin = page->RightMargin();
    info.BottomMargin = page->BottomMargin();
    info.AbsLeft = page->Left();
    info.AbsTop = page->Top();
    info.Color = page->Color();
    const TqvxFrame *frame = page->Frame();
    info.FrameHasSides = frame->Typ() != TqvxFrameTypes();
    info.FrameColor = frame->Color();
    info.FrameStyle = frame->Style();
    info.FrameWidth = frame->Width();
    return info;
}

void qvxPDFWriteView(TqvxPDFExport &pdf, TqvxView *view)
{
    TqvxPDFViewWriter writer(pdf, view);
    writer.WriteHyperlink();
    if (isTextMemo(view, pdf)) {
        writer.WriteMemo(static_cast<TqvxCustomMemoView *>(view));
    } else if (auto *line = dynamic_cast<TqvxCustomLineView *>(view)) {
        writer.WriteLine(line);
        framePenWritten(pdf, view);
    } else if (auto *shape = dynamic_cast<TqvxShapeView *>(view)) {
        writer.WriteShape(shape);
        framePenWritten(pdf, view);
    } else if (auto *box = dynamic_cast<TqvxCheckBoxView *>(view)) {
        writer.WriteCheckBox(box);
    } else {
        writer.WriteBitmap();
    }
}

TqvxPDFPageDrawing qvxPDFPageContent()
{
    return {qvxPDFPageInfo, qvxPDFWriteView};
}

void InitializeQvxPDFPageContent()
{
    qvxInstallPDFPageDrawing(qvxPDFPageContent());
}

// --- The view's box -------------------------------------------------------------

TqvxPDFViewWriter::TqvxPDFViewWriter(TqvxPDFExport &pdf, TqvxView *view)
    : m_pdf(pdf), m_view(view), m_content(pdf.PageContent()), m_text(pdf.OperatorText()), L(view->GetAbsLeft()),
      T(view->GetAbsTop()), W(view->Width()), H(view->Height())
{
    X1 = TqvxPDFNumber(pdf.PX(L));
    Y1 = TqvxPDFNumber(pdf.PY(T));
    X2 = TqvxPDFNumber(pdf.PX(L + W));
    Y2 = TqvxPDFNumber(pdf.PY(T + H));
    WW = TqvxPDFNumber(W * 0.75);
    HH = TqvxPDFNumber(H * 0.75);
}

QByteArray TqvxPDFViewWriter::point(double x, double y) const
{
    return PdfNumber(m_pdf.PX(x)) + ' ' + PdfNumber(m_pdf.PY(y));
}

// --- Hyperlinks -----------------------------------------------------------------

void TqvxPDFViewWriter::WriteHyperlink()
{
    const TqvxHyperlink *link = m_view->Hyperlink();
    const QString value = link->Value();
    if (value.isEmpty())
        return;
    m_text.Clear();
    m_text << X1 << ' ' << Y2 << ' ' << X2 << ' ' << Y1;
    const QByteArray rect(m_text.Data(), m_text.Size());
    switch (link->Kind()) {
    case hkURL:
        m_pdf.AddURILink(rect, value);
        break;
    case hkAnchor: {
        TqvxCustomPreviewPages *pages = m_pdf.Report() ? m_pdf.Report()->PreviewPages() : nullptr;
        int page = 0;
        int top = 0;
        if (pages && pages->FindAnchor(value, page, top))
            m_pdf.AddPageLink(rect, page, top);
        break;
    }
    case hkPageNumber:
        m_pdf.AddPageLink(rect, StrToInt(value) - 1, 0);
        break;
    default:
        break;
    }
}

// --- Frames -------------------------------------------------------------------------

bool TqvxPDFViewWriter::WriteFrame()
{
    const TqvxFrame *frame = m_view->Frame();
    if (frame->Typ() == TqvxFrameTypes() || frame->Color() == clNone)
        return false;
    TqvxPDFNumber xr = X2;
    TqvxPDFNumber yb = Y2;
    if (frame->DropShadow()) {
        xr = TqvxPDFNumber(m_pdf.PX(L + W - frame->ShadowWidth()));
        yb = TqvxPDFNumber(m_pdf.PY(T + H - frame->ShadowWidth()));
    }
    TqvxPDFGraphicsState &state = m_pdf.GraphicsState();
    TqvxPDFContentText &out = m_text;
    out.Clear();
    const auto pen = [&](const TqvxFrameLine *line) {
        state.SetPen(out, color(line->Color()), GetDashPattern(line->Style(), line->Width()),
                     TqvxPDFNumber(line->Width() * 0.75));
    };

    // Four solid sides of one pen are one path of four strokes, each with
    // its own ends as when stroked alone (a closed rectangle would fill the
    // outer corners), drawn from the bottom-left corner moved to the origin:
    // the path is then the same text for every frame of the same size.
    const TqvxFrameLine *top = frame->TopLine();
    const auto samePen = [top](const TqvxFrameLine *line) {
        return line->Color() == top->Color() && line->Style() == top->Style() && line->Width() == top->Width();
    };
    m_frameReach = 0;
    if (frame->Typ() == (ftLeft | ftRight | ftTop | ftBottom) && top->Color() != clNone && top->Style() != fsDouble
        && samePen(frame->RightLine()) && samePen(frame->BottomLine()) && samePen(frame->LeftLine())) {
        const QByteArray dash = GetDashPattern(top->Style(), top->Width());
        if (dash == "[] 0 d") {
            state.SetPen(out, color(top->Color()), dash, TqvxPDFNumber(top->Width() * 0.75));
            const TqvxPDFNumber w(xr.Value() - X1.Value());
            const TqvxPDFNumber h(Y1.Value() - yb.Value());
            out << "q\n1 0 0 1 " << X1 << ' ' << yb << " cm\n0 " << h << " m " << w << ' ' << h << " l " << w
                << ' ' << h << " m " << w << " 0 l 0 0 m " << w << " 0 l 0 " << h << " m 0 0 l S\nQ\n";
            m_content->WriteBuffer(out.Data(), out.Size());
            m_frameReach = top->Width() / 2;
            return true;
        }
    }

    // The inner corners of double lines, written only where one is drawn.
    TqvxPDFNumber xi1, xi2, yi1, yi2;
    auto inner = [&] {
        if (!xi1.IsEmpty())
            return;
        xi1 = TqvxPDFNumber(m_pdf.PX(L) + 2);
        xi2 = TqvxPDFNumber(m_pdf.PX(L + W) - 2);
        yi1 = TqvxPDFNumber(m_pdf.PY(T) - 2);
        yi2 = TqvxPDFNumber(m_pdf.PY(T + H) + 2);
    };

    struct Side {
        TqvxFrameType type;
        const TqvxFrameLine *line;
        const TqvxPDFNumber &x1, &y1, &x2, &y2;     // the stroke
        const TqvxPDFNumber &ix1, &iy1, &ix2, &iy2; // the inner stroke of a double line
    };
    const Side sides[] = {
        {ftTop, frame->TopLine(), X1, Y1, xr, Y1, xi1, yi1, xi2, yi1},
        {ftRight, frame->RightLine(), xr, Y1, xr, yb, xi2, yi1, xi2, yi2},
        {ftBottom, frame->BottomLine(), X1, yb, xr, yb, xi1, yi2, xi2, yi2},
        {ftLeft, frame->LeftLine(), X1, Y1, X1, yb, xi1, yi1, xi1, yi2},
    };
    auto stroke = [&out](const TqvxPDFNumber &x1, const TqvxPDFNumber &y1, const TqvxPDFNumber &x2,
                         const TqvxPDFNumber &y2) {
        out << x1 << ' ' << y1 << " m\n" << x2 << ' ' << y2 << " l\nS\n";
    };
    bool drawn = false;
    for (const Side &side : sides) {
        // A side without a colour paints nothing, as on screen.
        if (!frame->Typ().testFlag(side.type) || side.line->Color() == clNone)
            continue;
        pen(side.line);
        stroke(side.x1, side.y1, side.x2, side.y2);
        m_frameReach = std::max(m_frameReach, side.line->Width() / 2);
        if (side.line->Style() == fsDouble) {
            inner();
            stroke(side.ix1, side.iy1, side.ix2, side.iy2);
        }
        drawn = true;
    }
    m_content->WriteBuffer(out.Data(), out.Size());
    return drawn;
}
