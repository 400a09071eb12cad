#include "report/components/qvxFill.h"

#include "report/model/qvxDiffText.h"
#include "report/base/qvxGraphicUtils.h"
#include "report/base/qvxNumbers.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/graphics/Canvas.h"

#include <algorithm>

namespace {

struct Channels {
    int r = 0;
    int g = 0;
    int b = 0;
};

Channels channelsOf(TColor color)
{
    const quint32 c = quint32(ColorToRGB(color));
    return {int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)};
}

TColor colorOf(const Channels &c)
{
    return TColor(c.r | (c.g << 8) | (c.b << 16));
}

// Paints rectangles and ellipses without outline, leaving the canvas's
// tools as they were.
class Painter
{
public:
    explicit Painter(TCanvas *canvas) : m_canvas(canvas), m_tools(canvas) { m_canvas->Pen()->SetStyle(psClear); }
    Painter(const Painter &) = delete;
    Painter &operator=(const Painter &) = delete;

    void Fill(const TRect &rect, TColor color, TBrushStyle style = bsSolid)
    {
        // A colour turns a clear brush solid: the style comes after it.
        m_canvas->Brush()->SetColor(color);
        m_canvas->Brush()->SetStyle(style);
        m_canvas->FillRect(rect);
    }

    void Ellipse(const TRect &rect, TColor color)
    {
        m_canvas->Brush()->SetStyle(bsSolid);
        m_canvas->Brush()->SetColor(color);
        m_canvas->Ellipse(rect);
    }

private:
    TCanvas *m_canvas;
    TqvxCanvasToolsScope m_tools;
};

bool isHatch(TBrushStyle style)
{
    return style >= bsHorizontal && style <= bsDiagCross;
}

template <class Fill>
const Fill *sameKind(const TqvxCustomFill *other)
{
    return qobject_cast<const Fill *>(other);
}

} // namespace

// --- Brush ------------------------------------------------------------------

void TqvxBrushFill::Assign(const TPersistent *source)
{
    if (const auto *fill = qobject_cast<const TqvxBrushFill *>(source)) {
        m_backColor = fill->m_backColor;
        m_foreColor = fill->m_foreColor;
        m_style = fill->m_style;
    }
}

void TqvxBrushFill::Draw(TCanvas *canvas, int x, int y, int x1, int y1, double, double) const
{
    Painter painter(canvas);
    if (m_backColor != clNone)
        painter.Fill(TRect(x, y, x1, y1), m_backColor);
    if (isHatch(m_style))
        painter.Fill(TRect(x, y, x1 + 1, y1 + 1), m_foreColor, m_style);
}

QString TqvxBrushFill::Diff(const TqvxCustomFill *other, const QString &prefix) const
{
    const TqvxBrushFill *same = sameKind<TqvxBrushFill>(other);
    TqvxDiffText diff(QString(), prefix);
    if (!same || m_backColor != same->m_backColor)
        diff.Number(u"BackColor", m_backColor);
    if (!same || m_foreColor != same->m_foreColor)
        diff.Number(u"ForeColor", m_foreColor);
    if (!same || m_style != same->m_style)
        diff.Number(u"Style", m_style);
    return std::move(diff).Result();
}

// --- Gradient ---------------------------------------------------------------

TColor TqvxGradientFill::ColorAt(int step, int steps) const
{
    const Channels start = channelsOf(m_startColor);
    if (steps == 0)
        return colorOf(start);
    const Channels end = channelsOf(m_endColor);
    return colorOf({start.r + step * (end.r - start.r) / steps, start.g + step * (end.g - start.g) / steps,
                    start.b + step * (end.b - start.b) / steps});
}

void TqvxGradientFill::Assign(const TPersistent *source)
{
    if (const auto *fill = qobject_cast<const TqvxGradientFill *>(source)) {
        m_startColor = fill->m_startColor;
        m_endColor = fill->m_endColor;
        m_gradientStyle = fill->m_gradientStyle;
    }
}

void TqvxGradientFill::Draw(TCanvas *canvas, int x, int y, int x1, int y1, double, double) const
{
    Painter painter(canvas);
    const int w = x1 - x;
    const int h = y1 - y;
    switch (m_gradientStyle) {
    case gsHorizontal:
        for (int i = 0; i < 256; ++i)
            painter.Fill(TRect(x + MulDiv(i, w, 256), y, x + MulDiv(i + 1, w, 256), y1), ColorAt(i, 255));
        return;
    case gsVertical:
        for (int i = 0; i < 256; ++i)
            painter.Fill(TRect(x, y + MulDiv(i, h, 256), x1, y + MulDiv(i + 1, h, 256)), ColorAt(i, 255));
        return;
    case gsElliptic: {
        canvas->SaveClip();
        canvas->IntersectClipRect(TRect(x, y, x1, y1));
        const double stepX = (w / 4 + w / 2) / 155.0;
        const double stepY = (h / 4 + h / 2) / 155.0;
        for (int i = 0; i < 156; ++i)
            painter.Ellipse(TRect(x - w / 4 + qvxRound(i * stepX), y - h / 4 + qvxRound(i * stepY),
                                  x + w + w / 4 - qvxRound(i * stepX), y + h + h / 4 - qvxRound(i * stepY)),
                            ColorAt(i, 155));
        canvas->RestoreClip();
        return;
    }
    case gsRectangle: {
        const double stepX = w / 2.0 / 255;
        const double stepY = h / 2.0 / 255;
        for (int i = 0; i < 256; ++i)
            painter.Fill(TRect(x + qvxRound(i * stepX), y + qvxRound(i * stepY), x1 - qvxRound(i * stepX), y1 - qvxRound(i * stepY)),
                         ColorAt(i, 255));
        return;
    }
    case gsVertCenter: {
        // A box one pixel high has no middle: it takes the start colour.
        const int h2 = h / 2;
        for (int i = 0; i <= h2; ++i) {
            const TColor color = ColorAt(i, h2);
            painter.Fill(TRect(x, y + i, x1, y + i + 1), color);
            painter.Fill(TRect(x, y + h - i, x1, y + h - i + 1), color);
        }
        return;
    }
    case gsHorizCenter: {
        const int w2 = w / 2;
        for (int i = 0; i <= w2; ++i) {
            const TColor color = ColorAt(i, w2);
            painter.Fill(TRect(x + i, y, x + i + 1, y1), color);
            painter.Fill(TRect(x + w - i, y, x + w - i + 1, y1), color);
        }
        return;
    }
    }
}

QString TqvxGradientFill::Diff(const TqvxCustomFill *other, const QString &prefix) const
{
    const TqvxGradientFill *same = sameKind<TqvxGradientFill>(other);
    TqvxDiffText diff(QString(), prefix);
    if (!same || m_startColor != same->m_startColor)
        diff.Number(u"StartColor", m_startColor);
    if (!same || m_endColor != same->m_endColor)
        diff.Number(u"EndColor", m_endColor);
    if (!same || m_gradientStyle != same->m_gradientStyle)
        diff.Number(u"GradientStyle", m_gradientStyle);
    return std::move(diff).Result();
}

// --- Glass ------------------------------------------------------------------

TColor TqvxGlassFill::LightColor() const
{
    const Channels c = channelsOf(m_color);
    const auto light = [this](int v) { return std::clamp(v + qvxRound((255 - v) * m_blend), 0, 255); };
    return colorOf({light(c.r), light(c.g), light(c.b)});
}

void TqvxGlassFill::Assign(const TPersistent *source)
{
    if (const auto *fill = qobject_cast<const TqvxGlassFill *>(source)) {
        m_color = fill->m_color;
        m_blend = fill->m_blend;
        m_hatch = fill->m_hatch;
        m_orientation = fill->m_orientation;
    }
}

void TqvxGlassFill::Draw(TCanvas *canvas, int x, int y, int x1, int y1, double, double) const
{
    if (m_color == clNone)
        return;
    Painter painter(canvas);
    const TColor light = LightColor();
    painter.Fill(TRect(x, y, x1, y1), m_color);
    const int halfW = (x1 - x) / 2;
    const int halfH = (y1 - y) / 2;
    switch (m_orientation) {
    case foVertical: painter.Fill(TRect(x, y, x1 - halfW, y1), light); break;
    case foHorizontal: painter.Fill(TRect(x, y, x1, y1 - halfH), light); break;
    case foVerticalMirror: painter.Fill(TRect(x1 - halfW, y, x1, y1), light); break;
    case foHorizontalMirror: painter.Fill(TRect(x, y1 - halfH, x1, y1), light); break;
    }
    if (m_hatch) {
        Channels hatch = channelsOf(light);
        hatch = {std::max(0, hatch.r - 6), std::max(0, hatch.g - 6), std::max(0, hatch.b - 6)};
        painter.Fill(TRect(x, y, x1 + 1, y1 + 1), colorOf(hatch), bsBDiagonal);
    }
}

QString TqvxGlassFill::Diff(const TqvxCustomFill *other, const QString &prefix) const
{
    const TqvxGlassFill *same = sameKind<TqvxGlassFill>(other);
    TqvxDiffText diff(QString(), prefix);
    if (!same || m_color != same->m_color)
        diff.Number(u"Color", m_color);
    if (!same || qvxDiffers(m_blend, same->m_blend))
        diff.Float(u"Blend", m_blend);
    if (!same || m_hatch != same->m_hatch)
        diff.Bool(u"Hatch", m_hatch);
    if (!same || m_orientation != same->m_orientation)
        diff.Number(u"Orientation", m_orientation);
    return std::move(diff).Result();
}

// --- Kinds ------------------------------------------------------------------

std::unique_ptr<TqvxCustomFill> qvxCreateFill(int fillType)
{
    switch (fillType) {
    case ftBrush: return std::make_unique<TqvxBrushFill>();
    case ftGradient: return std::make_unique<TqvxGradientFill>();
    case ftGlass: return std::make_unique<TqvxGlassFill>();
    default: return nullptr;
    }
}

TqvxFillType qvxFillTypeOf(const TqvxCustomFill *fill)
{
    // Almost every fill is a plain brush: its exact class answers at once,
    // where a cast to another kind would walk the whole class chain.
    if (fill && fill->metaObject() == &TqvxBrushFill::staticMetaObject)
        return ftBrush;
    if (qobject_cast<const TqvxGradientFill *>(fill))
        return ftGradient;
    if (qobject_cast<const TqvxGlassFill *>(fill))
        return ftGlass;
    return ftBrush;
}

void InitializeQvxFill()
{
    DescribeProperties<TqvxBrushFill>()
        .TypeName("BackColor", QStringLiteral("TColor"))
        .Default("BackColor", clNone)
        .TypeName("ForeColor", QStringLiteral("TColor"))
        .Default("ForeColor", clBlack)
        .Default("Style", bsSolid);
    DescribeProperties<TqvxGradientFill>()
        .TypeName("StartColor", QStringLiteral("TColor"))
        .Default("StartColor", clWhite)
        .TypeName("EndColor", QStringLiteral("TColor"))
        .Default("EndColor", clBlack)
        .Default("GradientStyle", gsHorizontal);
    // The declared default is the value a new fill has, so a white glass
    // fill is written and read back white.
    DescribeProperties<TqvxGlassFill>()
        .TypeName("Color", QStringLiteral("TColor"))
        .Default("Color", clGray)
        .Default("Hatch", 0)
        .Default("Orientation", foHorizontal);
}

// --- Slot -------------------------------------------------------------------

TqvxFillSlot::TqvxFillSlot()
    : m_fill(std::make_unique<TqvxBrushFill>())
{
}

TqvxFillSlot::~TqvxFillSlot() = default;

void TqvxFillSlot::SetFillType(TqvxFillType type)
{
    if (type == FillType())
        return;
    if (std::unique_ptr<TqvxCustomFill> fill = qvxCreateFill(type))
        m_fill = std::move(fill);
}

void TqvxFillSlot::SetFill(const TqvxCustomFill *fill)
{
    if (!fill)
        return;
    SetFillType(qvxFillTypeOf(fill));
    m_fill->Assign(fill);
}

TqvxBrushFill *TqvxFillSlot::brush() const
{
    return qobject_cast<TqvxBrushFill *>(m_fill.get());
}

TColor TqvxFillSlot::BackColor() const
{
    return brush() ? brush()->BackColor() : clNone;
}

void TqvxFillSlot::SetBackColor(TColor value)
{
    if (brush())
        brush()->SetBackColor(value);
}

TBrushStyle TqvxFillSlot::BrushStyle() const
{
    return brush() ? brush()->Style() : bsClear;
}

void TqvxFillSlot::SetBrushStyle(TBrushStyle value)
{
    if (brush())
        brush()->SetStyle(value);
}
