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

namespace {

bool isHTMLMemo(const TqvxCustomMemoView *memo, const TqvxPDFExport &pdf)
{
    return memo->AllowHTMLTags() && pdf.HTMLTags() && memo->Text().contains(QLatin1Char('<'));
}

bool isTextMemo(TqvxView *view, const TqvxPDFExport &pdf)
{
    auto *memo = dynamic_cast<TqvxCustomMemoView *>(view);
    return memo && (memo->BrushStyle() == bsSolid || memo->BrushStyle() == bsClear) && !isHTMLMemo(memo, pdf);
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
    if (isTextMemo(view, pdf))
        writer.WriteMemo(static_cast<TqvxCustomMemoView *>(view));
    else if (auto *line = dynamic_cast<TqvxCustomLineView *>(view))
        writer.WriteLine(line);
    else if (auto *shape = dynamic_cast<TqvxShapeView *>(view))
        writer.WriteShape(shape);
    else if (auto *box = dynamic_cast<TqvxCheckBoxView *>(view))
        writer.WriteCheckBox(box);
    else
        writer.WriteBitmap();
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
    : m_pdf(pdf), m_view(view), m_content(pdf.PageContent()), L(view->GetAbsLeft()), T(view->GetAbsTop()),
      W(view->Width()), H(view->Height())
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

void TqvxPDFViewWriter::WriteFrame()
{
    const TqvxFrame *frame = m_view->Frame();
    if (frame->Typ() == TqvxFrameTypes() || frame->Color() == clNone)
        return;
    TqvxPDFNumber xr = X2;
    TqvxPDFNumber yb = Y2;
    if (frame->DropShadow()) {
        xr = TqvxPDFNumber(m_pdf.PX(L + W - frame->ShadowWidth()));
        yb = TqvxPDFNumber(m_pdf.PY(T + H - frame->ShadowWidth()));
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
    TqvxPDFContentText &out = m_text;
    out.Clear();
    out << color(frame->Color()) << " RG\r\n";
    // Sides of the same colour, style and width share their pen text (colour,
    // dash and width), written once and repeated from where it stands.
    qint64 penStart = 0;
    qint64 penLength = 0;
    const TqvxFrameLine *penLine = nullptr;
    auto stroke = [&out](const TqvxPDFNumber &x1, const TqvxPDFNumber &y1, const TqvxPDFNumber &x2,
                         const TqvxPDFNumber &y2) {
        out << x1 << ' ' << y1 << " m\r\n" << x2 << ' ' << y2 << " l\r\nS\r\n";
    };
    for (const Side &side : sides) {
        // A side without a colour paints nothing, as on screen.
        if (!frame->Typ().testFlag(side.type) || side.line->Color() == clNone)
            continue;
        const TqvxFrameLine *line = side.line;
        if (!penLine || line->Color() != penLine->Color() || line->Style() != penLine->Style()
            || line->Width() != penLine->Width()) {
            penStart = out.Size();
            out << color(line->Color()) << " RG\r\n" << GetDashPattern(line->Style(), line->Width()) << "\r\n"
                << line->Width() * 0.75 << " w\r\n";
            penLength = out.Size() - penStart;
            penLine = line;
        } else {
            out.Repeat(penStart, penLength);
        }
        stroke(side.x1, side.y1, side.x2, side.y2);
        if (line->Style() == fsDouble) {
            inner();
            out.Repeat(penStart, penLength);
            stroke(side.ix1, side.iy1, side.ix2, side.iy2);
        }
    }
    m_content->WriteBuffer(out.Data(), out.Size());
}
