#pragma once

// TCanvas: drawing with the classic rules over a QPainter.
//
// - Rectangles exclude their right and bottom edges: FillRect(Rect(0, 0, 10,
//   10)) paints pixels 0..9; Rectangle draws its one-pixel frame on the
//   pixels 0 and 9.
// - LineTo paints from the pen position up to, not including, the end point.
// - Text is placed by the top-left corner of its line cell (ascent above the
//   baseline plus descent); TextOut on a solid brush paints the cell in the
//   brush colour first.
// - Pen modes are raster operations (pmXor, pmNot ...); they work on image
//   devices and draw as pmCopy elsewhere.
// - Text is measured and drawn through the font engine with unhinted design
//   advances: TextWidth here, the text layout and the PDF writer agree.
//
// A canvas draws on a device it does not own (SetDevice); the painter on it
// is opened on the first drawing call and kept until ReleaseHandle, so the
// owner of an image releases the canvas before it resizes or replaces the
// image; on a widget the painter may be open only inside its paint event, so
// release it before the event ends.  A canvas without a device measures text
// but raises EInvalidOperation on drawing.
//
// Every drawing call can be recorded instead of drawn (TRecordingCanvas):
// the recording keeps the call with the tools in effect, its bounds and its
// text, and plays back onto any other canvas.

#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/graphics/Rects.h"

#include <QList>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QTransform>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QImage;
class QPainter;
class QPaintDevice;
class TGraphic;
class TFontFace;

// Copy modes (raster operations of image transfers).
using TCopyMode = qint32;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

// Pattern operations of PatBlt.
constexpr qint32 PATCOPY = 0x00F00021;
constexpr qint32 PATINVERT = 0x005A0049;
constexpr qint32 DSTINVERT = 0x00550009;

// ExtTextOut options.
constexpr unsigned ETO_OPAQUE = 0x0002;
constexpr unsigned ETO_CLIPPED = 0x0004;
constexpr unsigned ETO_RTLREADING = 0x0080;

// DrawText flags.
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

// DrawEdge edges and flags.
constexpr unsigned BDR_RAISEDOUTER = 0x0001;
constexpr unsigned BDR_SUNKENOUTER = 0x0002;
constexpr unsigned BDR_RAISEDINNER = 0x0004;
constexpr unsigned BDR_SUNKENINNER = 0x0008;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr unsigned BF_LEFT = 0x0001;
constexpr unsigned BF_TOP = 0x0002;
constexpr unsigned BF_RIGHT = 0x0004;
constexpr unsigned BF_BOTTOM = 0x0008;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_MIDDLE = 0x0800;
constexpr unsigned BF_ADJUST = 0x2000;
constexpr unsigned BF_FLAT = 0x4000;
constexpr unsigned BF_MONO = 0x8000;

// What a recorded call was.
enum class TCanvasOp {
    FillRect, FrameRect, Rectangle, RoundRect, Ellipse, Polygon, Polyline, MoveTo, LineTo,
    SetPixel, Text, Image, PatBlt, FocusRect, Clip
};

class TCanvas : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(TBrush *Brush READ Brush WRITE SetBrush)
    Q_PROPERTY(TCopyMode CopyMode READ CopyMode WRITE SetCopyMode)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(TPen *Pen READ Pen WRITE SetPen)

public:
    TCanvas();
    ~TCanvas() override;

    TBrush *Brush() const { return m_brush.get(); }
    void SetBrush(TBrush *brush) { m_brush->Assign(brush); }
    TFont *Font() const { return m_font.get(); }
    void SetFont(TFont *font) { m_font->Assign(font); }
    TPen *Pen() const { return m_pen.get(); }
    void SetPen(TPen *pen) { m_pen->Assign(pen); }
    TCopyMode CopyMode() const { return m_copyMode; }
    void SetCopyMode(TCopyMode mode) { m_copyMode = mode; }

    TPoint PenPos() const { return m_penPos; }
    void SetPenPos(TPoint pos) { MoveTo(pos.X, pos.Y); }

    // --- Device -------------------------------------------------------------

    // The device to draw on (not owned; nullptr detaches).  Ends the painter;
    // a different device also clears the clip region and its stack.
    void SetDevice(QPaintDevice *device);
    QPaintDevice *Device() const { return m_device; }
    // The painter on the device, opened on demand; EInvalidOperation
    // "Canvas does not allow drawing" without a device.
    QPainter *Handle();
    bool HandleAllocated() const { return m_painter != nullptr; }
    // Ends the painter; the next drawing call opens a new one.
    void ReleaseHandle();

    // Resolution of the device (96 by default) and whether it is a printer.
    int PixelsPerInchX() const { return m_ppiX; }
    int PixelsPerInchY() const { return m_ppiY; }
    void SetResolution(int ppiX, int ppiY);
    bool IsPrinter() const { return m_isPrinter; }
    void SetIsPrinter(bool value) { m_isPrinter = value; }
    virtual bool IsRecording() const { return false; }

    // The process of drawing into this canvas is serialised by Lock/Unlock
    // (recursive).
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return m_lockCount; }

    // --- Shapes -------------------------------------------------------------

    void FillRect(const TRect &rect);
    // A one-pixel frame inside rect in the brush colour.
    void FrameRect(const TRect &rect);
    // Brush inside, pen frame on the outer pixels; a pen wider than one
    // pixel frames inward, so nothing is painted outside the rectangle.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect &rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    // x3, y3: width and height of the corner ellipse.
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect &rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void Polygon(const QList<TPoint> &points);
    // Lines through the points; the last point is not painted.
    void Polyline(const QList<TPoint> &points);
    void PolyPolyline(const QList<QList<TPoint>> &lines);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

    // The colour of a pixel (clNone outside the device or on a device that
    // cannot be read); setting paints it.
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    // --- Text ---------------------------------------------------------------

    void TextOut(int x, int y, const QString &text);
    // Paints rect with a solid brush, then the text at x, y clipped to rect.
    void TextRect(const TRect &rect, int x, int y, const QString &text);
    // The text output of the classic device call: options ETO_OPAQUE (paint
    // rect in the brush colour), ETO_CLIPPED (clip to rect), ETO_RTLREADING
    // (right-to-left paragraph); dx, when given, holds the advance of every
    // UTF-16 unit in device pixels and replaces the font's advances.
    void ExtTextOut(int x, int y, unsigned options, const TRect *rect, const QString &text,
                    const QList<int> *dx = nullptr);
    int TextWidth(const QString &text);
    int TextHeight(const QString &text);
    QSize TextExtent(const QString &text);
    // The extent of the text up to and including each UTF-16 unit, in device
    // pixels (running sums of the font's advances, each rounded).  With
    // glyphs, the number of glyphs drawn for each unit that move the pen on
    // (a mark of no advance counts none): a glyph counts at the first unit
    // of its cluster, where its advance goes.
    QList<int> CharacterExtents(QStringView text, bool rightToLeft = false, QList<int> *glyphs = nullptr);
    // Text metrics of the font at the canvas's current size.
    TFontMetrics FontMetrics();
    // Formats and draws text in rect with the DT_ flags (see TextFormat.h),
    // on a transparent background; returns the height of the text.  With
    // DT_CALCRECT nothing is drawn: rect's right edge becomes that of the
    // widest line (after word breaks at the rect's width) and its bottom
    // that of the last line.  The margins narrow the rect.
    int DrawText(const QString &text, TRect &rect, unsigned flags, int leftMargin = 0, int rightMargin = 0);

    // --- Images -------------------------------------------------------------

    void Draw(int x, int y, const TGraphic *graphic);
    void StretchDraw(const TRect &rect, const TGraphic *graphic);
    // Copies source of another canvas (which must draw on an image) into
    // dest, stretched, with CopyMode.
    void CopyRect(const TRect &dest, TCanvas *canvas, const TRect &source);
    // Draws an image stretched into dest with CopyMode; pixels of the
    // transparent colour (clNone: none) are left out.
    void StretchImage(const TRect &dest, const QImage &image, TColor transparentColor = clNone);
    // A copy of the pixels of rect (null when the device is not an image).
    QImage Snapshot(const TRect &rect);

    // --- Edges, patterns, focus ---------------------------------------------

    // The classic 3D edges: each of the outer and inner edge is one pixel
    // wide, light on the top-left and dark on the bottom-right for a raised
    // edge, the other way round for a sunken one.  BF_MIDDLE fills the rest
    // in clBtnFace, BF_ADJUST shrinks rect to the part inside the edges.
    bool DrawEdge(TRect &rect, unsigned edge, unsigned flags);
    // Fills rect with the brush pattern: PATCOPY, PATINVERT (xor) or
    // DSTINVERT.  The pattern is aligned to the brush origin.
    void PatBlt(const TRect &rect, qint32 rop);
    void SetBrushOrg(int x, int y) { m_brushOrigin = {x, y}; }
    // A dotted frame of every other pixel, xor-ed: drawing it twice restores
    // the pixels.
    void DrawFocusRect(const TRect &rect);

    // --- Clipping -----------------------------------------------------------

    // The bounds of the clip region (of the whole device when unclipped).
    TRect ClipRect();
    void IntersectClipRect(const TRect &rect);
    void ExcludeClipRect(const TRect &rect);
    // Replaces the clip region; nullopt removes clipping.
    void SetClipRegion(const std::optional<QRegion> &region);
    std::optional<QRegion> ClipRegion() const { return m_clip; }
    // Pushes and pops the clip region.
    void SaveClip();
    void RestoreClip();

    // A transform of all coordinates, for playing recordings back scaled.
    void SetTransform(const QTransform &transform) { m_transform = transform; }
    const QTransform &Transform() const { return m_transform; }

protected:
    // The call about to be made, with the tools in effect: a recording
    // canvas keeps it and answers true (the call is then not drawn).
    virtual bool Record(TCanvasOp op, const TRect &bounds, const QString &text,
                        std::function<void(TCanvas &)> play);
    // A call of ExtTextOut, with the advances it was given (empty for the
    // font's own) and its options; the base records it as any text.
    virtual bool RecordText(const TRect &bounds, const QString &text, const QList<int> &advances, unsigned options,
                            std::function<void(TCanvas &)> play);

private:
    // The face of the font in effect at its pixel size, kept until the
    // font, the resolution or the font engine's faces change.
    struct Selection {
        TFontFacePtr face;
        double pixelSize = 0;
        double scale = 0; // pixels per font unit
        TFontMetrics metrics;
        // What it was chosen for.
        QString name;
        bool bold = false;
        bool italic = false;
        int height = 0;
        int ppiY = 0;
        unsigned generation = 0;
    };
    const Selection &SelectedFont();
    QPainter &Painter();
    void ApplyPen(QPainter &painter);
    void ApplyBrush(QPainter &painter);
    void ApplyClip(QPainter &painter);
    void FillArea(QPainter &painter, const QRect &area, const QBrush &brush);
    void DrawTextAt(double x, double y, const QString &text, unsigned options, const QList<int> *dx);
    void DrawTextLine(int x, int y, const QString &text, const TFontMetrics &metrics, int prefixIndex);
    void XorPixels(const QRegion &region);

    std::unique_ptr<TFont> m_font;
    Selection m_selection;
    std::unique_ptr<TPen> m_pen;
    std::unique_ptr<TBrush> m_brush;
    TCopyMode m_copyMode = cmSrcCopy;
    TPoint m_penPos;
    TPoint m_brushOrigin;

    QPaintDevice *m_device = nullptr;
    std::unique_ptr<QPainter> m_painter;
    std::optional<QRegion> m_clip; // device coordinates
    QList<std::optional<QRegion>> m_clipStack;
    QTransform m_transform;
    int m_ppiX = 96;
    int m_ppiY = 96;
    bool m_isPrinter = false;

    std::recursive_mutex m_lock;
    int m_lockCount = 0;
};
