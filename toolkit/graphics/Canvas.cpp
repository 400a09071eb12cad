#include "toolkit/graphics/Canvas.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/FaceRuns.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/TGraphic.h"
#include "toolkit/graphics/TextFormat.h"
#include "toolkit/graphics/TextShaping.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <cmath>

namespace {

// std::lround of a value far below 2^53, without the library call: the
// part after the point is exact, and halves go away from zero.
long long roundHalfAway(double value)
{
    const auto whole = static_cast<long long>(value);
    const double rest = value - double(whole);
    return whole + (rest >= 0.5) - (rest <= -0.5);
}

const QRect unboundedRect(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29);

QImage *imageDevice(QPaintDevice *device)
{
    return device && device->devType() == QInternal::Image ? static_cast<QImage *>(device) : nullptr;
}

QPainter::CompositionMode penComposition(TPenMode mode)
{
    switch (mode) {
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QPainter::CompositionMode copyComposition(TCopyMode mode)
{
    switch (mode) {
    case cmSrcInvert: return QPainter::RasterOp_SourceXorDestination;
    case cmSrcAnd: return QPainter::RasterOp_SourceAndDestination;
    case cmSrcPaint: return QPainter::RasterOp_SourceOrDestination;
    case cmNotSrcCopy: return QPainter::RasterOp_NotSource;
    case cmSrcErase: return QPainter::RasterOp_SourceAndNotDestination;
    case cmMergePaint: return QPainter::RasterOp_NotSourceOrDestination;
    case cmDstInvert: return QPainter::RasterOp_NotDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QList<qreal> dashPattern(TPenStyle style)
{
    switch (style) {
    case psDash: return {18, 6};
    case psDot: return {3, 3};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

Qt::BrushStyle hatchStyle(TBrushStyle style)
{
    switch (style) {
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    case bsClear: return Qt::NoBrush;
    default: return Qt::SolidPattern;
    }
}

QBrush brushOf(const TBrushData &data)
{
    if (!data.Pattern.isNull())
        return QBrush(data.Pattern);
    return QBrush(ColorToQColor(data.Color), hatchStyle(data.Style));
}

bool isSolidBrush(const TBrushData &data)
{
    return data.Pattern.isNull() && data.Style == bsSolid && ColorToRGB(data.Color) != clNone;
}

QRawFont rawFontOf(const TFontFace &face, double pixelSize)
{
    // Never destroyed: a raw font freed after the application object has
    // gone takes Qt's font engine down with it at exit.
    static auto &fonts = *new QHash<QString, QRawFont>;
    const QString key = face.File().FileName + QLatin1Char('#') + QString::number(face.File().FaceIndex);
    auto it = fonts.find(key);
    if (it == fonts.end())
        it = fonts.insert(key, QRawFont(face.FileData(), pixelSize, QFont::PreferNoHinting));
    QRawFont font = *it;
    font.setPixelSize(pixelSize);
    return font;
}

// The face as Qt's font database knows it by its file, at that size;
// invalid when the database cannot give this very face.  A PDF print engine
// embeds such a face and keeps the text as text, while a face loaded from
// memory has no file there and its glyphs are drawn as outlines.
QRawFont fileBackedFontOf(const TFontFace &face, double pixelSize)
{
    static auto &fonts = *new QHash<QString, QRawFont>;
    const QString key = face.File().FileName + QLatin1Char('#') + QString::number(face.File().FaceIndex);
    auto it = fonts.find(key);
    if (it == fonts.end()) {
        QRawFont found;
        const int id = QFontDatabase::addApplicationFont(face.File().FileName);
        // The same face: its header (checksum, dates, sizes) is the same.
        const QByteArray head = face.Table(0x68656164);
        const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        for (const QString &family : families) {
            for (const QString &style : QFontDatabase::styles(family)) {
                QFont font(family);
                font.setStyleName(style);
                font.setHintingPreference(QFont::PreferNoHinting);
                const QRawFont candidate = QRawFont::fromFont(font);
                if (candidate.isValid() && !head.isEmpty() && candidate.fontTable("head") == head) {
                    found = candidate;
                    break;
                }
            }
            if (found.isValid())
                break;
        }
        it = fonts.insert(key, found);
    }
    QRawFont font = *it;
    if (font.isValid())
        font.setPixelSize(pixelSize);
    return font;
}

// A run of glyphs and the face that shows it.
struct ShownRun {
    TFontFacePtr face;
    TGlyphRun run;
};

// The glyph runs of a line in visual order, each with its face: the font's
// own and, for characters it lacks, the faces that stand in for them.
// Ranges and clusters count in the whole line.
QList<ShownRun> shownRuns(const TFontFacePtr &face, bool bold, bool italic, QStringView text, bool rightToLeft)
{
    static const QString replacement = QStringLiteral("\uFFFD");
    QList<ShownRun> shown;
    for (const TFaceRun &part : FaceRuns(face, text, rightToLeft, bold, italic)) {
        const QStringView partText = part.Replaced ? QStringView(replacement) : text.mid(part.Start, part.Length);
        for (TGlyphRun &run : ShapeLine(*part.Face, partText, part.RightToLeft)) {
            // A replaced cluster's glyph stands for all of it.
            run.Start = part.Replaced ? part.Start : run.Start + part.Start;
            run.Length = part.Replaced ? part.Length : run.Length;
            for (TShapedGlyph &glyph : run.Glyphs)
                glyph.Cluster = part.Replaced ? part.Start : glyph.Cluster + part.Start;
            shown.append({part.Face, std::move(run)});
        }
    }
    return shown;
}

// The advance of each UTF-16 unit of the line in pixels: a glyph's advance
// goes to the first unit of its cluster, the other units get 0.
QList<double> unitAdvances(const QList<ShownRun> &shown, qsizetype length, double pixelSize)
{
    QList<double> advances(length, 0.0);
    for (const ShownRun &part : shown) {
        const double scale = pixelSize / part.face->UnitsPerEm();
        for (const TShapedGlyph &glyph : part.run.Glyphs)
            advances[glyph.Cluster] += glyph.Advance * scale;
    }
    return advances;
}

struct PlacedGlyphs {
    QList<quint32> glyphs;
    QList<QPointF> positions;
};

// Places the glyphs of a run left to right on the baseline from x.  Every
// UTF-16 unit owns a cell of its advance; a glyph's pen is the left edge of
// its cluster's cells, after the glyphs of the same cluster placed before
// it, and the glyph is drawn at its offset from there.  Gives the run's
// width.
int placeGlyphs(const TGlyphRun &run, const QList<int> &unitAdvances, double scale, double baseline, int x,
                PlacedGlyphs &placed)
{
    QList<int> prefix(run.Length + 1, 0);
    for (int i = 0; i < run.Length; ++i)
        prefix[i + 1] = prefix[i] + unitAdvances[run.Start + i];
    const int runWidth = prefix[run.Length];
    QList<int> clusterStarts;
    for (const TShapedGlyph &glyph : run.Glyphs)
        clusterStarts.append(std::clamp(glyph.Cluster - run.Start, 0, run.Length - 1));
    std::sort(clusterStarts.begin(), clusterStarts.end());

    int lastCluster = -1;
    double inCluster = 0;
    for (const TShapedGlyph &glyph : run.Glyphs) {
        const int local = std::clamp(glyph.Cluster - run.Start, 0, run.Length - 1);
        const auto next = std::upper_bound(clusterStarts.begin(), clusterStarts.end(), local);
        const int end = next == clusterStarts.end() ? run.Length : *next;
        const int left = run.RightToLeft ? runWidth - prefix[end] : prefix[local];
        if (local != lastCluster) {
            lastCluster = local;
            inCluster = 0;
        }
        placed.glyphs.append(glyph.Glyph);
        placed.positions.append(
            QPointF(x + left + inCluster + glyph.XOffset * scale, baseline - glyph.YOffset * scale));
        inCluster += glyph.Advance * scale;
    }
    return runWidth;
}

QPolygon polygonOf(const QList<TPoint> &points)
{
    QPolygon polygon;
    polygon.reserve(points.size());
    for (const TPoint &p : points)
        polygon.append(p.ToQPoint());
    return polygon;
}

TRect boundsOf(const QList<TPoint> &points)
{
    return TRect::FromQRect(polygonOf(points).boundingRect());
}

TRect normalized(int x1, int y1, int x2, int y2)
{
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

} // namespace

TCanvas::TCanvas()
    : m_font(std::make_unique<TFont>()), m_pen(std::make_unique<TPen>()), m_brush(std::make_unique<TBrush>())
{
}

TCanvas::~TCanvas()
{
    ReleaseHandle();
}

// --- Device ----------------------------------------------------------------

void TCanvas::SetDevice(QPaintDevice *device)
{
    ReleaseHandle();
    if (device == m_device)
        return;
    m_device = device;
    m_clip.reset();
    m_clipStack.clear();
}

QPainter *TCanvas::Handle()
{
    return &Painter();
}

void TCanvas::ReleaseHandle()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
}

QPainter &TCanvas::Painter()
{
    if (!m_device)
        throw EInvalidOperation(QStringLiteral("Canvas does not allow drawing"));
    if (!m_painter) {
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(m_device))
            throw EInvalidOperation(QStringLiteral("Canvas does not allow drawing"));
        m_painter = std::move(painter);
    }
    QPainter &p = *m_painter;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setWorldTransform(QTransform());
    ApplyClip(p);
    p.setWorldTransform(m_transform);
    p.setBrushOrigin(m_brushOrigin.ToQPoint());
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    return p;
}

void TCanvas::ApplyClip(QPainter &painter)
{
    if (m_clip)
        painter.setClipRegion(*m_clip);
    else
        painter.setClipping(false);
}

void TCanvas::ApplyPen(QPainter &painter)
{
    const TPenData &pen = m_pen->Data();
    const bool raster = imageDevice(m_device) != nullptr;
    if (pen.Style == psClear || pen.Mode == pmNop) {
        painter.setPen(Qt::NoPen);
        return;
    }
    QColor color = ColorToQColor(pen.Color);
    if (pen.Mode == pmBlack)
        color = Qt::black;
    else if (pen.Mode == pmWhite)
        color = Qt::white;
    QPen qpen(color);
    if (pen.Width <= 1) {
        qpen.setWidth(1);
        qpen.setCosmetic(true);
        // A flat cap leaves the end point of a one-pixel line unpainted.
        qpen.setCapStyle(Qt::FlatCap);
        if (const QList<qreal> dashes = dashPattern(pen.Style); !dashes.isEmpty())
            qpen.setDashPattern(dashes);
    } else {
        qpen.setWidth(pen.Width);
        qpen.setCapStyle(Qt::RoundCap);
        qpen.setJoinStyle(Qt::RoundJoin);
    }
    painter.setPen(qpen);
    painter.setCompositionMode(raster ? penComposition(pen.Mode) : QPainter::CompositionMode_SourceOver);
}

void TCanvas::ApplyBrush(QPainter &painter)
{
    painter.setBrush(brushOf(m_brush->Data()));
}

void TCanvas::SetResolution(int ppiX, int ppiY)
{
    m_ppiX = ppiX > 0 ? ppiX : 96;
    m_ppiY = ppiY > 0 ? ppiY : 96;
}

void TCanvas::Lock()
{
    m_lock.lock();
    ++m_lockCount;
}

void TCanvas::Unlock()
{
    --m_lockCount;
    m_lock.unlock();
}

bool TCanvas::TryLock()
{
    if (!m_lock.try_lock())
        return false;
    ++m_lockCount;
    return true;
}

bool TCanvas::Record(TCanvasOp, const TRect &, const QString &, std::function<void(TCanvas &)>)
{
    return false;
}

bool TCanvas::RecordText(const TRect &bounds, const QString &text, const QList<int> &, unsigned,
                         std::function<void(TCanvas &)> play)
{
    return Record(TCanvasOp::Text, bounds, text, std::move(play));
}

// --- Shapes ----------------------------------------------------------------

void TCanvas::FillArea(QPainter &painter, const QRect &area, const QBrush &brush)
{
    if (brush.style() != Qt::NoBrush && !area.isEmpty())
        painter.fillRect(area, brush);
}

void TCanvas::FillRect(const TRect &rect)
{
    if (Record(TCanvasOp::FillRect, rect, {}, [rect](TCanvas &c) { c.FillRect(rect); }))
        return;
    QPainter &p = Painter();
    FillArea(p, rect.ToQRect(), brushOf(m_brush->Data()));
}

void TCanvas::FrameRect(const TRect &rect)
{
    if (Record(TCanvasOp::FrameRect, rect, {}, [rect](TCanvas &c) { c.FrameRect(rect); }))
        return;
    if (rect.IsEmpty())
        return;
    QPainter &p = Painter();
    const QRegion frame = QRegion(rect.ToQRect()).subtracted(QRegion(rect.Inflate(-1, -1).ToQRect()));
    const QBrush brush = brushOf(m_brush->Data());
    for (const QRect &part : frame)
        FillArea(p, part, brush);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    const TRect rect = normalized(x1, y1, x2, y2);
    if (Record(TCanvasOp::Rectangle, rect, {}, [rect](TCanvas &c) { c.Rectangle(rect); }))
        return;
    if (rect.IsEmpty())
        return;
    QPainter &p = Painter();
    ApplyPen(p);
    const TPenData &pen = m_pen->Data();
    const bool penVisible = p.pen().style() != Qt::NoPen;
    const int frameWidth = penVisible ? std::max(1, pen.Width) : 0;
    const TRect inner = rect.Inflate(-frameWidth, -frameWidth);
    FillArea(p, inner.ToQRect(), brushOf(m_brush->Data()));
    if (!penVisible)
        return;
    if (frameWidth == 1 && p.pen().style() != Qt::SolidLine) {
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1));
        return;
    }
    const QBrush penBrush(p.pen().color());
    for (const QRect &part : QRegion(rect.ToQRect()).subtracted(QRegion(inner.ToQRect())))
        FillArea(p, part, penBrush);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    const TRect rect = normalized(x1, y1, x2, y2);
    if (Record(TCanvasOp::RoundRect, rect, {}, [rect, x3, y3](TCanvas &c) {
            c.RoundRect(rect.Left, rect.Top, rect.Right, rect.Bottom, x3, y3);
        }))
        return;
    QPainter &p = Painter();
    ApplyPen(p);
    ApplyBrush(p);
    p.drawRoundedRect(QRectF(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1), x3 / 2.0, y3 / 2.0);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    const TRect rect = normalized(x1, y1, x2, y2);
    if (Record(TCanvasOp::Ellipse, rect, {}, [rect](TCanvas &c) { c.Ellipse(rect); }))
        return;
    QPainter &p = Painter();
    ApplyPen(p);
    ApplyBrush(p);
    p.drawEllipse(QRect(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1));
}

void TCanvas::Polygon(const QList<TPoint> &points)
{
    if (Record(TCanvasOp::Polygon, boundsOf(points), {}, [points](TCanvas &c) { c.Polygon(points); }))
        return;
    QPainter &p = Painter();
    ApplyPen(p);
    ApplyBrush(p);
    p.drawPolygon(polygonOf(points), Qt::OddEvenFill);
}

void TCanvas::Polyline(const QList<TPoint> &points)
{
    if (Record(TCanvasOp::Polyline, boundsOf(points), {}, [points](TCanvas &c) { c.Polyline(points); }))
        return;
    if (points.size() < 2)
        return;
    QPainter &p = Painter();
    ApplyPen(p);
    p.drawPolyline(polygonOf(points));
}

void TCanvas::PolyPolyline(const QList<QList<TPoint>> &lines)
{
    for (const QList<TPoint> &line : lines)
        Polyline(line);
}

void TCanvas::MoveTo(int x, int y)
{
    m_penPos = {x, y};
    Record(TCanvasOp::MoveTo, Rect(x, y, x, y), {}, [x, y](TCanvas &c) { c.MoveTo(x, y); });
}

void TCanvas::LineTo(int x, int y)
{
    const TPoint from = m_penPos;
    m_penPos = {x, y};
    if (Record(TCanvasOp::LineTo, normalized(from.X, from.Y, x, y), {}, [x, y](TCanvas &c) { c.LineTo(x, y); }))
        return;
    QPainter &p = Painter();
    ApplyPen(p);
    p.drawLine(from.ToQPoint(), QPoint(x, y));
}

TColor TCanvas::Pixel(int x, int y)
{
    const QImage *image = imageDevice(m_device);
    const QPoint at = m_transform.map(QPoint(x, y));
    if (!image || !image->valid(at))
        return clNone;
    return QColorToColor(QColor::fromRgb(image->pixel(at)));
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    if (Record(TCanvasOp::SetPixel, Bounds(x, y, 1, 1), {}, [x, y, color](TCanvas &c) { c.SetPixel(x, y, color); }))
        return;
    Painter().fillRect(QRect(x, y, 1, 1), ColorToQColor(color));
}

// --- Text ------------------------------------------------------------------

const TCanvas::Selection &TCanvas::SelectedFont()
{
    const TFontData &font = m_font->Data();
    const bool bold = font.Style.testFlag(fsBold);
    const bool italic = font.Style.testFlag(fsItalic);
    Selection &s = m_selection;
    if (s.face && s.name == font.Name && s.bold == bold && s.italic == italic && s.height == font.Height
        && s.ppiY == m_ppiY && s.generation == TFontEngine::Generation())
        return s;
    s.face = TFontEngine::Face(font.Name, bold, italic);
    s.name = font.Name;
    s.bold = bold;
    s.italic = italic;
    s.height = font.Height;
    s.ppiY = m_ppiY;
    s.generation = TFontEngine::Generation();
    const TFontDesignMetrics &d = s.face->Design();
    if (font.Height < 0)
        s.pixelSize = -font.Height;
    else if (font.Height > 0)
        s.pixelSize = double(font.Height) * d.UnitsPerEm / std::max(1, d.WinAscent + d.WinDescent);
    else
        s.pixelSize = MulDiv(8, m_ppiY, 72);
    s.scale = s.pixelSize / d.UnitsPerEm;
    s.metrics = s.face->Metrics(s.pixelSize);
    return s;
}

TFontMetrics TCanvas::FontMetrics()
{
    return SelectedFont().metrics;
}

int TCanvas::TextWidth(const QString &text)
{
    const Selection &s = SelectedFont();
    if (FaceCoversText(*s.face, text))
        return int(std::lround(TextAdvance(*s.face, text) * s.scale));
    double width = 0;
    for (const double advance : unitAdvances(shownRuns(s.face, s.bold, s.italic, text, false), text.size(),
                                             s.pixelSize))
        width += advance;
    return int(std::lround(width));
}

int TCanvas::TextHeight(const QString &)
{
    return SelectedFont().metrics.Height;
}

QSize TCanvas::TextExtent(const QString &text)
{
    return QSize(TextWidth(text), TextHeight(text));
}

QList<int> TCanvas::CharacterExtents(QStringView text, bool rightToLeft, QList<int> *glyphs)
{
    const Selection &s = SelectedFont();
    if (FaceCoversText(*s.face, text)) {
        QList<int> extents = CharacterAdvances(*s.face, text, rightToLeft, glyphs);
        qint64 sum = 0;
        for (int &extent : extents) {
            sum += extent;
            extent = int(roundHalfAway(sum * s.scale));
        }
        return extents;
    }
    const QList<ShownRun> shown = shownRuns(s.face, s.bold, s.italic, text, rightToLeft);
    const QList<double> advances = unitAdvances(shown, text.size(), s.pixelSize);
    if (glyphs) {
        glyphs->fill(0, text.size());
        for (const ShownRun &part : shown)
            for (const TShapedGlyph &glyph : part.run.Glyphs)
                if (glyph.Advance != 0)
                    ++(*glyphs)[glyph.Cluster];
    }
    QList<int> extents(text.size());
    double sum = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        sum += advances[i];
        extents[i] = int(roundHalfAway(sum));
    }
    return extents;
}

void TCanvas::DrawTextAt(double x, double y, const QString &text, unsigned options, const QList<int> *dx)
{
    const Selection &s = SelectedFont();
    const TFontData &font = m_font->Data();
    const QList<ShownRun> shown = shownRuns(s.face, s.bold, s.italic, text, options & ETO_RTLREADING);
    if (shown.isEmpty())
        return;

    // Device advance of each UTF-16 unit: the given ones, or the font's
    // rounded like CharacterExtents so that glyphs sit where measuring says.
    QList<int> unitAdvances(text.size(), 0);
    if (dx) {
        for (int i = 0; i < std::min(text.size(), dx->size()); ++i)
            unitAdvances[i] = (*dx)[i];
    } else {
        const QList<int> extents = CharacterExtents(text, options & ETO_RTLREADING);
        for (int i = 0; i < extents.size(); ++i)
            unitAdvances[i] = extents[i] - (i > 0 ? extents[i - 1] : 0);
    }

    QPainter &p = Painter();
    p.save();
    p.translate(x, y);
    if (font.Orientation != 0)
        p.rotate(-font.Orientation / 10.0);
    const QColor color = ColorToQColor(font.Color);
    p.setPen(color);
    // A PDF engine (printing) keeps the text of a face it knows by its file.
    const bool printing = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Pdf;
    int width = 0;
    for (const ShownRun &part : shown) {
        PlacedGlyphs placed;
        width += placeGlyphs(part.run, unitAdvances, s.pixelSize / part.face->UnitsPerEm(), s.metrics.Ascent, width,
                             placed);
        QRawFont rawFont;
        if (printing)
            rawFont = fileBackedFontOf(*part.face, s.pixelSize);
        QGlyphRun glyphRun;
        glyphRun.setRawFont(rawFont.isValid() ? rawFont : rawFontOf(*part.face, s.pixelSize));
        glyphRun.setGlyphIndexes(placed.glyphs);
        glyphRun.setPositions(placed.positions);
        p.drawGlyphRun(QPointF(0, 0), glyphRun);
    }

    const TFontDesignMetrics &d = s.face->Design();
    auto drawLine = [&](int position, int thickness) {
        const int height = std::max(1, int(std::lround(thickness * s.scale)));
        const int top = s.metrics.Ascent - int(std::lround(position * s.scale));
        p.fillRect(QRectF(0, top, width, height), color);
    };
    if (font.Style.testFlag(fsUnderline))
        drawLine(d.UnderlinePosition, d.UnderlineThickness);
    if (font.Style.testFlag(fsStrikeout))
        drawLine(d.StrikeoutPosition, d.StrikeoutThickness);
    p.restore();
}

void TCanvas::TextOut(int x, int y, const QString &text)
{
    const QSize extent = TextExtent(text);
    const TRect bounds = Bounds(x, y, extent.width(), extent.height());
    m_penPos = {x + extent.width(), y};
    if (Record(TCanvasOp::Text, bounds, text, [x, y, text](TCanvas &c) { c.TextOut(x, y, text); }))
        return;
    if (isSolidBrush(m_brush->Data()))
        FillArea(Painter(), bounds.ToQRect(), ColorToQColor(m_brush->Color()));
    DrawTextAt(x, y, text, 0, nullptr);
}

void TCanvas::TextRect(const TRect &rect, int x, int y, const QString &text)
{
    const unsigned options = ETO_CLIPPED | (isSolidBrush(m_brush->Data()) ? ETO_OPAQUE : 0);
    ExtTextOut(x, y, options, &rect, text);
}

void TCanvas::ExtTextOut(int x, int y, unsigned options, const TRect *rect, const QString &text, const QList<int> *dx)
{
    TRect bounds = Bounds(x, y, TextWidth(text), TextHeight(text));
    if (dx) {
        int width = 0;
        for (int i = 0; i < std::min(text.size(), dx->size()); ++i)
            width += (*dx)[i];
        bounds.Right = x + width;
    }
    const std::optional<TRect> area = rect ? std::optional<TRect>(*rect) : std::nullopt;
    const std::optional<QList<int>> advances = dx ? std::optional<QList<int>>(*dx) : std::nullopt;
    if (RecordText(bounds, text, dx ? *dx : QList<int>(), options, [=](TCanvas &c) {
            c.ExtTextOut(x, y, options, area ? &*area : nullptr, text, advances ? &*advances : nullptr);
        }))
        return;

    QPainter &p = Painter();
    if (rect && (options & ETO_OPAQUE))
        FillArea(p, rect->ToQRect(), ColorToQColor(m_brush->Color()));
    const bool clipped = rect && (options & ETO_CLIPPED);
    if (clipped) {
        SaveClip();
        IntersectClipRect(*rect);
    }
    DrawTextAt(x, y, text, options, dx);
    if (clipped)
        RestoreClip();
}

int TCanvas::DrawText(const QString &text, TRect &rect, unsigned flags, int leftMargin, int rightMargin)
{
    const TFontMetrics metrics = FontMetrics();
    const int available = rect.Width() - leftMargin - rightMargin;
    const QList<TFormattedLine> lines =
        FormatText(text, flags, available, [this](const QString &s) { return TextWidth(s); });
    const int height = int(lines.size()) * metrics.Height;

    if (flags & DT_CALCRECT) {
        int widest = 0;
        for (const TFormattedLine &line : lines)
            widest = std::max(widest, line.Width);
        rect.Right = rect.Left + leftMargin + widest + rightMargin;
        rect.Bottom = rect.Top + height;
        return height;
    }

    int y = rect.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = rect.Top + (rect.Height() - metrics.Height) / 2;
        else if (flags & DT_BOTTOM)
            y = rect.Bottom - metrics.Height;
    }
    const bool clipped = !(flags & DT_NOCLIP);
    if (clipped) {
        SaveClip();
        IntersectClipRect(rect);
    }
    for (const TFormattedLine &line : lines) {
        int x = rect.Left + leftMargin;
        if (flags & DT_RIGHT)
            x = rect.Right - rightMargin - line.Width;
        else if (flags & DT_CENTER)
            x = rect.Left + leftMargin + (available - line.Width) / 2;
        DrawTextLine(x, y, line.Text, metrics, line.PrefixIndex);
        y += metrics.Height;
    }
    if (clipped)
        RestoreClip();
    return height;
}

void TCanvas::DrawTextLine(int x, int y, const QString &text, const TFontMetrics &metrics, int prefixIndex)
{
    const TRect bounds = Bounds(x, y, TextWidth(text), metrics.Height);
    if (Record(TCanvasOp::Text, bounds, text, [=](TCanvas &c) { c.DrawTextLine(x, y, text, metrics, prefixIndex); }))
        return;
    DrawTextAt(x, y, text, 0, nullptr);
    if (prefixIndex < 0 || prefixIndex >= text.size())
        return;
    const QList<int> extents = CharacterExtents(text);
    const int left = prefixIndex > 0 ? extents[prefixIndex - 1] : 0;
    const QColor color = ColorToQColor(m_font->Color());
    Painter().fillRect(QRect(x + left, y + metrics.Ascent + 1, extents[prefixIndex] - left, 1), color);
}

// --- Images ----------------------------------------------------------------

void TCanvas::Draw(int x, int y, const TGraphic *graphic)
{
    if (graphic && !graphic->Empty())
        graphic->Draw(this, Bounds(x, y, graphic->Width(), graphic->Height()));
}

void TCanvas::StretchDraw(const TRect &rect, const TGraphic *graphic)
{
    if (graphic && !graphic->Empty())
        graphic->Draw(this, rect);
}

void TCanvas::StretchImage(const TRect &dest, const QImage &image, TColor transparentColor)
{
    if (Record(TCanvasOp::Image, dest, {}, [dest, image, transparentColor](TCanvas &c) {
            c.StretchImage(dest, image, transparentColor);
        }))
        return;
    if (image.isNull() || dest.IsEmpty())
        return;
    QImage source = image;
    if (transparentColor != clNone) {
        const QRgb key = ColorToQColor(transparentColor).rgb() & 0xFFFFFF;
        source = image.convertToFormat(QImage::Format_ARGB32);
        for (int row = 0; row < source.height(); ++row) {
            auto *line = reinterpret_cast<QRgb *>(source.scanLine(row));
            for (int col = 0; col < source.width(); ++col)
                if ((line[col] & 0xFFFFFF) == key)
                    line[col] = 0;
        }
    }
    QPainter &p = Painter();
    const bool raster = imageDevice(m_device) != nullptr;
    p.setCompositionMode(raster ? copyComposition(m_copyMode) : QPainter::CompositionMode_SourceOver);
    switch (m_copyMode) {
    case cmBlackness: p.fillRect(dest.ToQRect(), Qt::black); break;
    case cmWhiteness: p.fillRect(dest.ToQRect(), Qt::white); break;
    case cmDstInvert: p.fillRect(dest.ToQRect(), Qt::white); break;
    default: p.drawImage(dest.ToQRect(), source); break;
    }
}

QImage TCanvas::Snapshot(const TRect &rect)
{
    const QImage *image = imageDevice(m_device);
    if (!image)
        return QImage();
    return image->copy(m_transform.mapRect(rect.ToQRect()));
}

void TCanvas::CopyRect(const TRect &dest, TCanvas *canvas, const TRect &source)
{
    if (!canvas || !imageDevice(canvas->m_device))
        throw EInvalidOperation(QStringLiteral("Canvas does not allow drawing"));
    StretchImage(dest, canvas->Snapshot(source));
}

// --- Edges, patterns, focus ------------------------------------------------

bool TCanvas::DrawEdge(TRect &rect, unsigned edge, unsigned flags)
{
    struct EdgeColors {
        TColor topLeft;
        TColor bottomRight;
    };
    const bool flat = flags & (BF_FLAT | BF_MONO);
    auto colorsOf = [&](bool outer, bool raised) -> EdgeColors {
        if (flags & BF_MONO)
            return outer ? EdgeColors{clWindowFrame, clWindowFrame} : EdgeColors{clWindow, clWindow};
        if (flags & BF_FLAT)
            return outer ? EdgeColors{clBtnShadow, clBtnShadow} : EdgeColors{clBtnFace, clBtnFace};
        if (outer)
            return raised ? EdgeColors{cl3DLight, cl3DDkShadow} : EdgeColors{clBtnShadow, clBtnHighlight};
        return raised ? EdgeColors{clBtnHighlight, clBtnShadow} : EdgeColors{cl3DDkShadow, cl3DLight};
    };

    const TBrushData savedBrush = m_brush->Data();
    TRect r = rect;
    auto paintEdge = [&](const EdgeColors &colors) {
        auto fill = [&](const TRect &part, TColor color) {
            if (part.IsEmpty())
                return;
            m_brush->SetData({color, bsSolid, QImage()});
            FillRect(part);
        };
        if (flags & BF_LEFT)
            fill({r.Left, r.Top, r.Left + 1, r.Bottom - 1}, colors.topLeft);
        if (flags & BF_TOP)
            fill({r.Left, r.Top, r.Right - 1, r.Top + 1}, colors.topLeft);
        if (flags & BF_RIGHT)
            fill({r.Right - 1, r.Top, r.Right, r.Bottom}, colors.bottomRight);
        if (flags & BF_BOTTOM)
            fill({r.Left, r.Bottom - 1, r.Right, r.Bottom}, colors.bottomRight);
        r.Left += (flags & BF_LEFT) ? 1 : 0;
        r.Top += (flags & BF_TOP) ? 1 : 0;
        r.Right -= (flags & BF_RIGHT) ? 1 : 0;
        r.Bottom -= (flags & BF_BOTTOM) ? 1 : 0;
    };
    if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER))
        paintEdge(colorsOf(true, edge & BDR_RAISEDOUTER));
    if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER))
        paintEdge(colorsOf(false, edge & BDR_RAISEDINNER));
    if ((flags & BF_MIDDLE) && !r.IsEmpty()) {
        m_brush->SetData({flat ? clWindow : clBtnFace, bsSolid, QImage()});
        FillRect(r);
    }
    m_brush->SetData(savedBrush);
    if (flags & BF_ADJUST)
        rect = r;
    return true;
}

void TCanvas::PatBlt(const TRect &rect, qint32 rop)
{
    if (Record(TCanvasOp::PatBlt, rect, {}, [rect, rop](TCanvas &c) { c.PatBlt(rect, rop); }))
        return;
    QPainter &p = Painter();
    const bool raster = imageDevice(m_device) != nullptr;
    if (rop == DSTINVERT) {
        if (raster)
            XorPixels(QRegion(rect.ToQRect()));
        return;
    }
    if (rop != PATINVERT) {
        FillArea(p, rect.ToQRect(), brushOf(m_brush->Data()));
        return;
    }
    if (!raster)
        return;
    // Xor with the pattern: paint the pattern into a scratch image aligned
    // to the brush origin, then xor it in.
    QImage pattern(rect.Width(), rect.Height(), QImage::Format_RGB32);
    pattern.fill(Qt::black);
    {
        QPainter scratch(&pattern);
        scratch.setBrushOrigin(m_brushOrigin.X - rect.Left, m_brushOrigin.Y - rect.Top);
        scratch.fillRect(pattern.rect(), brushOf(m_brush->Data()));
    }
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(rect.Left, rect.Top, pattern);
}

void TCanvas::DrawFocusRect(const TRect &rect)
{
    if (Record(TCanvasOp::FocusRect, rect, {}, [rect](TCanvas &c) { c.DrawFocusRect(rect); }))
        return;
    if (rect.IsEmpty() || !imageDevice(m_device))
        return;
    Painter();
    QRegion dots;
    auto dot = [&](int x, int y) {
        if (((x - rect.Left) + (y - rect.Top)) % 2 == 0)
            dots += QRect(x, y, 1, 1);
    };
    for (int x = rect.Left; x < rect.Right; ++x) {
        dot(x, rect.Top);
        if (rect.Height() > 1)
            dot(x, rect.Bottom - 1);
    }
    for (int y = rect.Top + 1; y < rect.Bottom - 1; ++y) {
        dot(rect.Left, y);
        if (rect.Width() > 1)
            dot(rect.Right - 1, y);
    }
    XorPixels(dots);
}

// Inverts every pixel of region inside the clip.
void TCanvas::XorPixels(const QRegion &region)
{
    QPainter &p = Painter();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const QRect &r : region)
        p.fillRect(r, Qt::white);
}

// --- Clipping --------------------------------------------------------------

TRect TCanvas::ClipRect()
{
    QRect device = unboundedRect;
    if (m_device)
        device = QRect(0, 0, m_device->width(), m_device->height());
    const QRect clip = m_clip ? m_clip->boundingRect() : device;
    return TRect::FromQRect(m_transform.inverted().mapRect(clip));
}

void TCanvas::IntersectClipRect(const TRect &rect)
{
    Record(TCanvasOp::Clip, rect, {}, [rect](TCanvas &c) { c.IntersectClipRect(rect); });
    const QRegion area = m_transform.map(QRegion(rect.ToQRect()));
    m_clip = m_clip ? m_clip->intersected(area) : area;
}

void TCanvas::ExcludeClipRect(const TRect &rect)
{
    Record(TCanvasOp::Clip, rect, {}, [rect](TCanvas &c) { c.ExcludeClipRect(rect); });
    const QRegion base = m_clip ? *m_clip
                                : QRegion(m_device ? QRect(0, 0, m_device->width(), m_device->height())
                                                   : unboundedRect);
    m_clip = base.subtracted(m_transform.map(QRegion(rect.ToQRect())));
}

void TCanvas::SetClipRegion(const std::optional<QRegion> &region)
{
    Record(TCanvasOp::Clip, region ? TRect::FromQRect(region->boundingRect()) : TRect(), {},
           [region](TCanvas &c) { c.SetClipRegion(region); });
    m_clip = region ? std::optional<QRegion>(m_transform.map(*region)) : std::nullopt;
}

void TCanvas::SaveClip()
{
    Record(TCanvasOp::Clip, {}, {}, [](TCanvas &c) { c.SaveClip(); });
    m_clipStack.append(m_clip);
}

void TCanvas::RestoreClip()
{
    Record(TCanvasOp::Clip, {}, {}, [](TCanvas &c) { c.RestoreClip(); });
    if (!m_clipStack.isEmpty())
        m_clip = m_clipStack.takeLast();
}
