// Memo text as PDF text: clipped to the memo, over its shadow, fill and
// frame, laid out by the report's text layout.

#include "export/pdf/qvxPDFFont.h"
#include "export/pdf/qvxPDFStrings.h"
#include "export/pdf/qvxPDFViewWriter.h"
#include "report/base/TWideStrings.h"
#include "report/text/qvxDrawText.h"
#include "report/views/qvxMemoView.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxReportContext.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>
#include <mutex>

namespace {

// Held while a memo is written, after the text layout's lock.
std::mutex &memoSection()
{
    static std::mutex section;
    return section;
}

// The text layout's lock, then the memo section; left in the same order.
class MemoLocks
{
public:
    MemoLocks()
    {
        TqvxDrawText::Lock();
        memoSection().lock();
    }
    ~MemoLocks()
    {
        TqvxDrawText::Unlock();
        memoSection().unlock();
    }
    MemoLocks(const MemoLocks &) = delete;
    MemoLocks &operator=(const MemoLocks &) = delete;
};

TqvxDrawText *layoutOf(const TqvxCustomMemoView *memo)
{
    const TqvxReportContext *context = qvxReportContextOf(memo);
    TqvxDrawText *own = context ? context->DrawText() : nullptr;
    return own ? own : qvxDrawText();
}

const TqvxHighlight *activeHighlight(const TqvxCustomMemoView *memo)
{
    if (memo->Highlights()->Count() == 0 || !memo->Highlight()->Active())
        return nullptr;
    return memo->Highlight();
}

bool inRotatedQuarter(int rotation)
{
    return (rotation >= 45 && rotation <= 135) || (rotation >= 225 && rotation <= 315);
}

} // namespace

const TWideStrings *TqvxPDFViewWriter::exportedText(TqvxCustomMemoView *memo, TWideStrings &cut)
{
    const TWideStrings *text = memo->Memo();
    qint64 length = 0;
    for (int i = 0; i < text->Count(); ++i)
        length += text->View(i).size();
    if (length <= MaxExportedMemoChars)
        return text;
    qsizetype left = MaxExportedMemoChars;
    for (int i = 0; i < text->Count() && left > 0; ++i) {
        const QString line = text->Get(i);
        cut.Add(line.left(left));
        left -= std::min(left, line.size());
    }
    m_pdf.Warn(QCoreApplication::translate("qvxExportPDF", "%1: its text of %2 characters is longer than the %3 a memo "
                                                           "may show in a PDF file; the rest was left out")
                   .arg(memo->Name())
                   .arg(length)
                   .arg(MaxExportedMemoChars));
    return &cut;
}

void TqvxPDFViewWriter::WriteMemo(TqvxCustomMemoView *memo)
{
    const TqvxFrame *frame = memo->Frame();
    const double fw = frame->Width();
    const double sw = frame->ShadowWidth();
    // The memo is put together apart: it is clipped to its box grown by the
    // frame's width only when its text may reach outside that box.
    TqvxPDFGraphicsState &state = m_pdf.GraphicsState();
    const TqvxPDFPen before = state.Current;
    TStream *const page = m_content;
    m_content = m_pdf.MemoContent();
    m_clipLeft = m_pdf.PX(L - fw);
    m_clipBottom = m_pdf.PY(T + H + fw);
    m_clipWidth = (W + 2 * fw) * 0.75;
    m_clipHeight = (H + 2 * fw) * 0.75;
    m_needsClip = memo->Rotation() > 0 || memo->Underlines();
    m_dashSet = false;
    const auto finish = [&] {
        auto *own = static_cast<TMemoryStream *>(m_content);
        m_content = page;
        if (m_needsClip) {
            writeParts("q\n", m_clipLeft, ' ', m_clipBottom, ' ', m_clipWidth, ' ', m_clipHeight,
                       " re\nW\nn\n");
            m_content->WriteBuffer(own->Memory(), own->Size());
            write("Q\n");
            state.Current = before;
        } else {
            m_content->WriteBuffer(own->Memory(), own->Size());
        }
    };
    try {
        const double w = W - sw;
        const double h = H - sw;
        if (frame->DropShadow()) {
            WW = TqvxPDFNumber(w * 0.75);
            HH = TqvxPDFNumber(h * 0.75);
            X2 = TqvxPDFNumber(m_pdf.PX(L + w));
            Y2 = TqvxPDFNumber(m_pdf.PY(T + h));
            const QByteArray s = color(frame->ShadowColor());
            // The strips' borders are drawn with the pen outside the memo.
            m_text.Clear();
            state.SetFill(m_text, s);
            state.SetPen(m_text, s, state.Outside.Dash, state.Outside.Width);
            m_text << m_pdf.PX(L + w) << ' ' << m_pdf.PY(T + h + sw) << ' ' << sw * 0.75 << ' ' << HH
                   << " re\nB\n" << m_pdf.PX(L + sw) << ' ' << m_pdf.PY(T + h + sw) << ' ' << WW << ' '
                   << sw * 0.75 << " re\nB\n";
            m_content->WriteBuffer(m_text.Data(), m_text.Size());
            m_dashSet = true;
        }

        MemoLocks locks;
        // The highlight is read here, not applied: the view stays as it is
        // for a preview showing the same page.
        const TqvxHighlight *highlight = activeHighlight(memo);
        const TFont &font = *(highlight && highlight->ApplyFont() ? highlight->Font() : memo->Font());
        const TColor fill = highlight && highlight->ApplyFill() ? highlight->Color() : memo->Color();

        TqvxDrawText *layout = layoutOf(memo);
        layout->UseDefaultCharset = memo->UseDefaultCharset();
        layout->ForceBlackText = false;
        layout->SetFont(&font);
        layout->SetOptions(memo->WordWrap(), memo->AllowHTMLTags(), memo->RTLReading(), memo->WordBreak(),
                           memo->Clipped(), memo->Wysiwyg(), memo->Rotation());
        layout->SetGaps(memo->ParagraphGap(), memo->CharSpacing(), memo->LineSpacing());
        const TqvxFrameTypes sides = frame->Typ();
        TRect box(qvxRound(L) + qvxRound(memo->GapX()), qvxRound(T) + qvxRound(memo->GapY()),
                  qvxRound(L + W) - qvxRound(memo->GapX()) + 1, qvxRound(T + H) - qvxRound(memo->GapY()) + 1);
        if (sides.testFlag(ftLeft))
            box.Left += qvxRound((fw - 1) / 2);
        if (sides.testFlag(ftTop))
            box.Top += qvxRound((fw - 1) / 2);
        if (sides.testFlag(ftRight))
            box.Right -= qvxRound(fw / 2);
        if (sides.testFlag(ftBottom))
            box.Bottom -= qvxRound(fw / 2);
        // The text keeps off the shadow, as on screen.
        if (frame->DropShadow()) {
            box.Right -= qvxRound(sw);
            box.Bottom -= qvxRound(sw);
        }
        layout->SetDimensions(1, 1, 1, box, box);
        TWideStrings cut;
        layout->SetText(exportedText(memo, cut));
        const double lineHeight = layout->LineHeight();

        // A brush fills with its colour; a gradient or glass fill lies
        // under the text as an image.
        const TqvxCustomFill *fillKind = highlight && highlight->ApplyFill() ? highlight->Fill() : memo->Fill();
        if (qvxFillTypeOf(fillKind) != ftBrush) {
            writeFillImage(fillKind, frame->DropShadow() ? w : W, frame->DropShadow() ? h : H);
        } else if (fill != clNone) {
            m_text.Clear();
            state.SetFill(m_text, color(fill));
            m_text << X1 << ' ' << Y2 << ' ' << WW << ' ' << HH << " re\nf\n";
            m_content->WriteBuffer(m_text.Data(), m_text.Size());
        }
        if (WriteFrame()) {
            m_dashSet = true;
            // The clip cuts sides wider than twice the frame's width.
            if (m_frameReach > fw)
                m_needsClip = true;
        }

        const int rotation = memo->Rotation();
        if (rotation > 0) {
            const double a = rotation * M_PI / 180;
            const double co = std::cos(a);
            const double si = std::sin(a);
            double cx, cy;
            if (rotation == 90 || rotation == 180 || rotation == 270) {
                cx = m_pdf.PX(L + (font.Size() * 0.8 + W) / 2);
                cy = m_pdf.PY(T + H / 2);
            } else {
                const double A = inRotatedQuarter(rotation) ? H : W;
                const double B = inRotatedQuarter(rotation) ? W : H;
                cx = m_pdf.PX(L + (A * co + B * si) * 0.5);
                cy = m_pdf.PY(T + (A * si + B * co) * 0.5);
            }
            writeParts(co, ' ', si, ' ', -si, ' ', co, ' ', cx, ' ', cy, " cm\n");
        }

        // A font without height draws no ruled lines.
        if (memo->Underlines() && lineHeight > 0) {
            const int n = int(H / lineHeight);
            for (int i = 0; i < n; ++i) {
                const double y = m_pdf.PY(T + memo->GapY() + 1 + (i + 1) * lineHeight);
                m_text.Clear();
                setInheritedDash(m_text);
                state.SetStroke(m_text, color(frame->Color()));
                state.SetWidth(m_text, TqvxPDFNumber(fw * 0.75));
                m_text << X1 << ' ' << y << " m\n" << X2 << ' ' << y << " l\nS\n";
                m_content->WriteBuffer(m_text.Data(), m_text.Size());
            }
        }
        writeMemoLines(memo, layout, font, box, lineHeight);
    } catch (...) {
        m_needsClip = true;
        finish();
        throw;
    }
    finish();
}

void TqvxPDFViewWriter::setInheritedDash(TqvxPDFContentText &out)
{
    // Nothing of the memo has set a dash yet: the one outside it holds.
    if (!m_dashSet)
        m_pdf.GraphicsState().SetDash(out, m_pdf.GraphicsState().Outside.Dash);
    m_dashSet = true;
}

bool TqvxPDFViewWriter::outsideBox(TqvxCustomMemoView *memo, int i, int n, double lineHeight) const
{
    if (lineHeight <= 0)
        return false;
    const double shadow = memo->Frame()->ShadowWidth();
    const double high = H - shadow - 2 * memo->GapY();
    double baseline = (i + 1) * lineHeight;
    if (memo->VAlign() == vaCenter)
        baseline += (high - n * lineHeight) / 2;
    else if (memo->VAlign() == vaBottom)
        baseline = high - (n - i - 1) * lineHeight;
    // A line's glyphs reach a line height above and below its baseline at
    // most; the frame's width is inside the clip as well.
    const double margin = lineHeight + memo->Frame()->Width() + memo->GapY() + memo->Font()->Size();
    return baseline + margin < 0 || baseline - margin > H;
}

void TqvxPDFViewWriter::writeMemoLines(TqvxCustomMemoView *memo, TqvxDrawText *layout, const TFont &font,
                                       const TRect &textBox, double lineHeight)
{
    QStringList lines;
    for (int i = 0; i < layout->LineCount(); ++i)
        lines.append(layout->Line(i));
    if (std::all_of(lines.cbegin(), lines.cend(), [](const QString &line) { return line.isEmpty(); }))
        return;

    TqvxPDFGraphicsState &state = m_pdf.GraphicsState();
    TqvxPDFFont *pdfFont = m_pdf.FindFont(font);
    // The document's font has the report font's name.
    const bool cjk = pdfFont->IsCJK();
    const bool fakeBold = cjk && font.Style().testFlag(fsBold);
    const bool fakeItalic = cjk && font.Style().testFlag(fsItalic);
    const int fontSize = font.Size();
    const TColor textColor = font.Color() == clNone ? clBlack : font.Color();
    // The spacing the layout measured the lines with.
    const double cs = TqvxDrawText::LaidOutSpacing(memo->CharSpacing()) * 0.75;
    m_text.Clear();
    state.SetFont(m_text, pdfFont->FontOperands(fontSize));
    state.SetFill(m_text, color(textColor));
    state.SetCharSpacing(m_text, TqvxPDFNumber(cs));
    m_content->WriteBuffer(m_text.Data(), m_text.Size());
    const double underlineOffset = fontSize * 0.12;
    const double strikeOutOffset = fontSize * 0.28;
    layout->SetGaps(0, memo->CharSpacing(), memo->LineSpacing());
    // Decorated text is drawn inside the clip as it always was.
    if (font.Style().testFlag(fsUnderline) || font.Style().testFlag(fsStrikeout) || fakeBold || fakeItalic)
        m_needsClip = true;

    const TqvxFrame *frame = memo->Frame();
    const double w = W - frame->ShadowWidth();
    const double h = H - frame->ShadowWidth();
    const double gapY = memo->GapY();
    const int n = int(lines.size());
    const int rotation = memo->Rotation();
    // A line's width ends with the spacing after its last glyph, which
    // shows nothing: right-aligned lines move by it, centred ones by half.
    const double rs = memo->HAlign() == haRight ? cs : memo->HAlign() == haCenter ? cs / 2 : 0;
    // The width of a line places right and centred text and ends its
    // underline and strike-out: the width of the line laid out alone.
    const bool needsWidth = memo->HAlign() == haRight || memo->HAlign() == haCenter
        || font.Style().testFlag(fsUnderline) || font.Style().testFlag(fsStrikeout);
    // The ink of a line must keep this far inside the clip for the clip to
    // change no pixel of it (a device pixel at 72 dots per inch).
    const double margin = 1;
    for (int i = 0; i < n; ++i) {
        if (lines[i].isEmpty() || (rotation == 0 && outsideBox(memo, i, n, lineHeight)))
            continue;
        const double pg = i == 0 ? memo->ParagraphGap() : 0;
        double tw = 0;
        if (needsWidth && !layout->WidthAlone(lines[i], tw)) {
            TWideStrings single;
            single.Add(lines[i]);
            layout->SetText(&single);
            tw = layout->CalcWidth();
        }

        double x, y;
        if (rotation > 0) {
            const double A = inRotatedQuarter(rotation) ? h : w;
            const double B = inRotatedQuarter(rotation) ? w : h;
            double x0 = -A / 2;
            if (memo->HAlign() == haRight)
                x0 = A / 2 - tw;
            else if (memo->HAlign() == haCenter)
                x0 = -tw / 2;
            x = x0 * 0.75 + rs;
            double y1 = (i + 1) * lineHeight - B / 2;
            if (memo->VAlign() == vaCenter)
                y1 = (i + 1) * lineHeight - n * lineHeight / 2;
            else if (memo->VAlign() == vaBottom)
                y1 = B / 2 - (n - i - 1) * lineHeight;
            y = -y1 * 0.75 + fontSize * 0.4;
        } else {
            // Lines start where the layout's rectangle does, as on screen,
            // or at the memo's gap where that rectangle's whole pixels begin
            // further right; so they end within the gap at the right.  Lines
            // placed right or centred keep to the right edge the layout
            // wrapped them against (the shadow is already outside it), or to
            // the memo's gap where that edge's whole pixels end further
            // right.
            const double left = std::min<double>(textBox.Left, L + memo->GapX()) + pg;
            const double right = textBox.Right - 1 - std::max(0.0, qvxRound(L + W) - (L + W));
            const double avail = right - left;
            double x0 = left;
            if (memo->HAlign() == haRight)
                x0 = left + avail - tw;
            else if (memo->HAlign() == haCenter)
                x0 = left + (avail - tw) / 2;
            x = m_pdf.PX(x0) + rs;
            const double top = T + gapY - fontSize * 0.1;
            const double high = h - 2 * gapY;
            double y0 = top + (i + 1) * lineHeight;
            if (memo->VAlign() == vaCenter)
                y0 = top + (high - n * lineHeight) / 2 + (i + 1) * lineHeight;
            else if (memo->VAlign() == vaBottom)
                y0 = top + high - (n - i - 1) * lineHeight;
            y = m_pdf.PY(y0);
        }

        // The text object starts at the numbers as written.
        const TqvxPDFNumber tx(x);
        const TqvxPDFNumber ty(y);
        m_text.Clear();
        m_text << "BT\n" << tx << ' ' << ty << " Td\n";
        if (fakeItalic)
            m_text << "1 0 0.3333 1 " << tx << ' ' << ty << " Tm\n";
        if (fakeBold) {
            m_text << "2 Tr\n";
            state.SetWidth(m_text, TqvxPDFNumber(fontSize / 35.0));
            state.SetStroke(m_text, color(textColor));
            setInheritedDash(m_text);
        }
        const TqvxPDFInkLimits limits{tx.Value(),
                                      ty.Value(),
                                      m_clipLeft + margin,
                                      m_clipLeft + m_clipWidth - margin,
                                      m_clipBottom + margin,
                                      m_clipBottom + m_clipHeight - margin};
        const bool within = m_pdf.ShowText(m_text, pdfFont, fontSize, lines[i], memo->RTLReading(), cs,
                                           m_needsClip ? nullptr : &limits);
        m_text << "ET\n";
        if (fakeBold)
            m_text << "0 Tr\n";
        m_content->WriteBuffer(m_text.Data(), m_text.Size());
        if (!within)
            m_needsClip = true;
        // Underline and strike-out: a stroke at an offset from the baseline.
        const auto decoration = [&](double offset) {
            m_text.Clear();
            setInheritedDash(m_text);
            state.SetStroke(m_text, color(textColor));
            state.SetWidth(m_text, TqvxPDFNumber(fontSize * 0.08));
            m_text << x << ' ' << y + offset << " m\n" << x + tw * 0.75 << ' ' << y + offset << " l\nS\n";
            m_content->WriteBuffer(m_text.Data(), m_text.Size());
        };
        if (font.Style().testFlag(fsUnderline)) {
            m_text.Clear();
            state.SetDash(m_text, "[] 0 d");
            m_content->WriteBuffer(m_text.Data(), m_text.Size());
            m_dashSet = true;
            decoration(-underlineOffset);
        }
        if (font.Style().testFlag(fsStrikeout))
            decoration(strikeOutOffset);
    }
}
