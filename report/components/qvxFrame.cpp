#include "report/components/qvxFrame.h"

#include "report/model/qvxDiffText.h"
#include "report/base/qvxGraphicUtils.h"
#include "report/base/qvxNumbers.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/graphics/Canvas.h"

namespace {

// A side of the frame in its own terms: it lies across at `across`, runs
// along from `from` to `to` (both ends on the side), and may have
// neighbours meeting its two ends.
struct Side {
    bool vertical = true;
    int across = 0;
    int from = 0;
    int to = 0;
    bool startMet = false;
    bool endMet = false;
};

void fillArea(TCanvas *canvas, const Side &side, int acrossStart, int acrossEnd, int alongStart, int alongEnd)
{
    canvas->FillRect(side.vertical ? TRect(acrossStart, alongStart, acrossEnd, alongEnd)
                                   : TRect(alongStart, acrossStart, alongEnd, acrossEnd));
}

// A solid line of width w centred on `across`, with square caps that reach
// over the corners where another side meets it and are pulled back by half
// the width where none does.
void solidLine(TCanvas *canvas, const Side &side, int across, int w)
{
    const int half = w / 2;
    const int start = side.startMet ? side.from - half : side.from;
    const int end = side.endMet ? side.to - half + w : side.to - half + w - half;
    fillArea(canvas, side, across - half, across - half + w, start, end);
}

void patternLine(TCanvas *canvas, const Side &side, int w, TqvxFrameStyle style)
{
    const int half = w / 2;
    const int left = side.across - half;
    if (style == fsAltDot && w < 2) {
        for (int t = side.from; t <= side.to; t += 2)
            fillArea(canvas, side, left, left + 1, t, t + 1);
        return;
    }
    for (int t = side.from; t <= side.to; t += 2 * w) {
        const TRect dot = side.vertical ? TRect(left, t, left + w, t + w) : TRect(t, left, t + w, left + w);
        if (style == fsSquare)
            canvas->FillRect(dot);
        else
            canvas->Ellipse(dot);
    }
}

} // namespace

// --- Lines ------------------------------------------------------------------

TqvxFrameLine::TqvxFrameLine(TqvxFrame *frame)
    : m_frame(frame)
{
}

bool TqvxFrameLine::IsColorStored() const
{
    return !m_frame || m_color != m_frame->Color();
}

bool TqvxFrameLine::IsStyleStored() const
{
    return !m_frame || m_style != m_frame->Style();
}

bool TqvxFrameLine::IsWidthStored() const
{
    return !m_frame || m_width != m_frame->Width();
}

void TqvxFrameLine::Assign(const TPersistent *source)
{
    const auto *line = qobject_cast<const TqvxFrameLine *>(source);
    if (!line) {
        TPersistent::Assign(source);
        return;
    }
    m_color = line->m_color;
    m_style = line->m_style;
    m_width = line->m_width;
}

// --- Frame ------------------------------------------------------------------

TqvxFrame::TqvxFrame()
    : m_leftLine(std::make_unique<TqvxFrameLine>(this)),
      m_topLine(std::make_unique<TqvxFrameLine>(this)),
      m_rightLine(std::make_unique<TqvxFrameLine>(this)),
      m_bottomLine(std::make_unique<TqvxFrameLine>(this))
{
}

TqvxFrame::~TqvxFrame() = default;

void TqvxFrame::SetColor(TColor value)
{
    m_color = value;
    for (TqvxFrameLine *line : {LeftLine(), TopLine(), RightLine(), BottomLine()})
        line->SetColor(value);
}

void TqvxFrame::SetStyle(TqvxFrameStyle value)
{
    m_style = value;
    for (TqvxFrameLine *line : {LeftLine(), TopLine(), RightLine(), BottomLine()})
        line->SetStyle(value);
}

void TqvxFrame::SetWidth(double value)
{
    m_width = value;
    for (TqvxFrameLine *line : {LeftLine(), TopLine(), RightLine(), BottomLine()})
        line->SetWidth(value);
}

void TqvxFrame::Assign(const TPersistent *source)
{
    const auto *frame = qobject_cast<const TqvxFrame *>(source);
    if (!frame) {
        TPersistent::Assign(source);
        return;
    }
    m_color = frame->m_color;
    m_dropShadow = frame->m_dropShadow;
    m_shadowColor = frame->m_shadowColor;
    m_shadowWidth = frame->m_shadowWidth;
    m_style = frame->m_style;
    m_typ = frame->m_typ;
    m_width = frame->m_width;
    m_leftLine->Assign(frame->LeftLine());
    m_topLine->Assign(frame->TopLine());
    m_rightLine->Assign(frame->RightLine());
    m_bottomLine->Assign(frame->BottomLine());
}

void TqvxFrame::Draw(TCanvas *canvas, int x, int y, int x1, int y1, double scaleX, double scaleY) const
{
    TqvxCanvasToolsScope tools(canvas);
    canvas->Pen()->SetStyle(psClear);
    if (m_dropShadow) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(m_shadowColor);
        const int sx = qvxRound(m_shadowWidth * scaleX);
        const int sy = qvxRound(m_shadowWidth * scaleY);
        canvas->FillRect(TRect(x1, y + sx, x1 + sx, y1));
        canvas->FillRect(TRect(x + sy, y1, x1 + sy, y1 + sy));
    }
    if (!m_typ || m_color == clNone || m_width == 0)
        return;
    for (TqvxFrameType side : {ftLeft, ftRight, ftTop, ftBottom}) {
        if (!m_typ.testFlag(side))
            continue;
        const bool vertical = side == ftLeft || side == ftRight;
        drawSide(canvas, side, x, y, x1, y1, vertical ? scaleX : scaleY);
    }
}

void TqvxFrame::drawSide(TCanvas *canvas, TqvxFrameType type, int x, int y, int x1, int y1, double scale) const
{
    const TqvxFrameLine *line = type == ftLeft ? LeftLine() : type == ftRight ? RightLine()
                                : type == ftTop ? TopLine() : BottomLine();
    const int w = std::max(1, qvxRound(line->Width() * scale));
    Side side;
    side.vertical = type == ftLeft || type == ftRight;
    side.across = type == ftLeft ? x : type == ftRight ? x1 : type == ftTop ? y : y1;
    side.from = side.vertical ? y : x;
    side.to = side.vertical ? y1 : x1;
    side.startMet = m_typ.testFlag(side.vertical ? ftTop : ftLeft);
    side.endMet = m_typ.testFlag(side.vertical ? ftBottom : ftRight);

    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(line->Color());
    canvas->Pen()->SetStyle(psClear);
    switch (line->Style()) {
    case fsSolid:
        solidLine(canvas, side, side.across, w);
        return;
    case fsDouble:
        solidLine(canvas, side, side.across - w, w);
        solidLine(canvas, side, side.across + w, w);
        return;
    case fsAltDot:
    case fsSquare:
        // Small round dots need their outline to show at all.
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetColor(line->Color());
        canvas->Pen()->SetWidth(1);
        patternLine(canvas, side, w, line->Style());
        return;
    default:
        break;
    }
    canvas->Pen()->SetStyle(qvxPenStyleOf(line->Style()));
    canvas->Pen()->SetColor(line->Color());
    canvas->Pen()->SetWidth(1);
    for (int k = 0; k < w; ++k) {
        const int p = side.across - w / 2 + k;
        if (side.vertical) {
            canvas->MoveTo(p, side.from);
            canvas->LineTo(p, side.to + 1);
        } else {
            canvas->MoveTo(side.from, p);
            canvas->LineTo(side.to + 1, p);
        }
    }
}

QString TqvxFrame::Diff(const TqvxFrame *other, const QString &prefix) const
{
    TqvxDiffText diff(QString(), prefix);
    if (m_color != other->m_color)
        diff.Number(u"Color", m_color);
    if (m_dropShadow != other->m_dropShadow)
        diff.Bool(u"DropShadow", m_dropShadow);
    if (m_shadowColor != other->m_shadowColor)
        diff.Number(u"ShadowColor", m_shadowColor);
    if (qvxDiffers(m_shadowWidth, other->m_shadowWidth))
        diff.Float(u"ShadowWidth", m_shadowWidth);
    if (m_style != other->m_style)
        diff.Number(u"Style", m_style);
    if (m_typ != other->m_typ)
        diff.Number(u"Typ", m_typ.toInt());
    if (qvxDiffers(m_width, other->m_width))
        diff.Float(u"Width", m_width);

    const struct {
        QStringView name;
        const TqvxFrameLine *line;
        const TqvxFrameLine *otherLine;
    } lines[] = {{u"LeftLine", LeftLine(), other->LeftLine()},
                 {u"TopLine", TopLine(), other->TopLine()},
                 {u"RightLine", RightLine(), other->RightLine()},
                 {u"BottomLine", BottomLine(), other->BottomLine()}};
    // A line is compared with its own frame where the frames differ in that
    // value (the frame's attribute then carries the change to the lines),
    // and with the other frame's line otherwise.
    for (const auto &[name, line, otherLine] : lines) {
        diff.SetSubPrefix(name);
        const TColor color = m_color != other->m_color ? m_color : otherLine->Color();
        if (line->Color() != color)
            diff.Number(u"Color", line->Color());
        const TqvxFrameStyle style = m_style != other->m_style ? m_style : otherLine->Style();
        if (line->Style() != style)
            diff.Number(u"Style", line->Style());
        const double width = qvxDiffers(m_width, other->m_width) ? m_width : otherLine->Width();
        if (qvxDiffers(line->Width(), width))
            diff.Float(u"Width", line->Width());
    }
    return std::move(diff).Result();
}

TPenStyle qvxPenStyleOf(TqvxFrameStyle style)
{
    switch (style) {
    case fsDash: return psDash;
    case fsDot: return psDot;
    case fsDashDot: return psDashDot;
    case fsDashDotDot: return psDashDotDot;
    default: return psSolid;
    }
}

void InitializeQvxFrame()
{
    RegisterClass<TqvxFrame>();
    DescribeProperties<TqvxFrameLine>()
        .TypeName("Color", QStringLiteral("TColor"))
        .NoDefault("Color")
        .Stored("Color", &TqvxFrameLine::IsColorStored)
        .NoDefault("Style")
        .Stored("Style", &TqvxFrameLine::IsStyleStored)
        .Stored("Width", &TqvxFrameLine::IsWidthStored);
    DescribeProperties<TqvxFrame>()
        .TypeName("Color", QStringLiteral("TColor"))
        .Default("Color", clBlack)
        .Default("DropShadow", 0)
        .TypeName("ShadowColor", QStringLiteral("TColor"))
        .Default("ShadowColor", clBlack)
        .Stored("ShadowWidth", &TqvxFrame::IsShadowWidthStored)
        .Default("Style", fsSolid)
        .Default("Typ", 0)
        .Stored("Width", &TqvxFrame::IsWidthStored);
}
