#pragma once

// The drawing tools of a canvas: font, pen and brush, with the enumerations
// their published properties use.
//
// Each tool keeps its state in a plain value (TFontData, TPenData,
// TBrushData) that a recording canvas can copy cheaply.  Setters change
// nothing and notify nobody when the value is the same; otherwise OnChange
// fires once.

#include "toolkit/core/CodePages.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/TPersistent.h"

#include <QFlags>
#include <QImage>
#include <QObject>

class TBitmap;

namespace GraphicsTypes {
Q_NAMESPACE

enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeout = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_FLAG_NS(TFontStyles)

enum TFontPitch { fpDefault, fpVariable, fpFixed };
Q_ENUM_NS(TFontPitch)

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
Q_ENUM_NS(TPenStyle)

enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
Q_ENUM_NS(TPenMode)

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
Q_ENUM_NS(TBrushStyle)

} // namespace GraphicsTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(GraphicsTypes::TFontStyles)

using GraphicsTypes::TBrushStyle;
using GraphicsTypes::TFontPitch;
using GraphicsTypes::TFontStyle;
using GraphicsTypes::TFontStyles;
using GraphicsTypes::TPenMode;
using GraphicsTypes::TPenStyle;
using enum GraphicsTypes::TBrushStyle;
using enum GraphicsTypes::TFontPitch;
using enum GraphicsTypes::TFontStyle;
using enum GraphicsTypes::TPenMode;
using enum GraphicsTypes::TPenStyle;

using TFontCharset = quint8;

// MulDiv: a * b / c rounded half away from zero, as font sizes convert.
int MulDiv(int a, int b, int c);

// The common base of font, pen and brush: one change notification.
class TGraphicsObject : public TPersistent
{
    Q_OBJECT

public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();

    // Assigns value and notifies when it differs.
    template <class T>
    void Update(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
};

struct TFontData {
    QString Name = QStringLiteral("MS Sans Serif");
    int Height = -11; // negative: em size in pixels; positive: cell height
    TFontPitch Pitch = fpDefault;
    TFontStyles Style;
    TFontCharset Charset = DEFAULT_CHARSET;
    TColor Color = clWindowText;
    int Orientation = 0; // tenths of a degree, counter-clockwise

    bool operator==(const TFontData &) const = default;
};

class TFont : public TGraphicsObject
{
    Q_OBJECT
    Q_PROPERTY(TFontCharset Charset READ Charset WRITE SetCharset)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(GraphicsTypes::TFontPitch Pitch READ Pitch WRITE SetPitch)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(GraphicsTypes::TFontStyles Style READ Style WRITE SetStyle)

public:
    TFont();

    TFontCharset Charset() const { return m_data.Charset; }
    void SetCharset(TFontCharset value) { Update(m_data.Charset, value); }
    TColor Color() const { return m_data.Color; }
    void SetColor(TColor value) { Update(m_data.Color, value); }
    int Height() const { return m_data.Height; }
    void SetHeight(int value) { Update(m_data.Height, value); }
    QString Name() const { return m_data.Name; }
    void SetName(const QString &value);
    TFontPitch Pitch() const { return m_data.Pitch; }
    void SetPitch(TFontPitch value) { Update(m_data.Pitch, value); }
    // Points, from Height at PixelsPerInch; negative for a positive Height.
    int Size() const;
    void SetSize(int value);
    TFontStyles Style() const { return m_data.Style; }
    void SetStyle(TFontStyles value) { Update(m_data.Style, value); }
    // Rotation of the text in tenths of a degree, counter-clockwise.
    int Orientation() const { return m_data.Orientation; }
    void SetOrientation(int value) { Update(m_data.Orientation, value); }

    // The resolution at which Size converts to Height (96 for the screen).
    int PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(int value) { m_pixelsPerInch = value; }

    const TFontData &Data() const { return m_data; }
    void SetData(const TFontData &data) { Update(m_data, data); }

    // Copies name, style, colour, character set, pitch and orientation, and
    // the size: as Height when both fonts share PixelsPerInch, else as Size.
    void Assign(const TPersistent *source) override;

private:
    TFontData m_data;
    int m_pixelsPerInch = 96;
};

struct TPenData {
    TColor Color = clBlack;
    TPenMode Mode = pmCopy;
    TPenStyle Style = psSolid;
    int Width = 1;

    bool operator==(const TPenData &) const = default;
};

class TPen : public TGraphicsObject
{
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(GraphicsTypes::TPenMode Mode READ Mode WRITE SetMode)
    Q_PROPERTY(GraphicsTypes::TPenStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)

public:
    TPen();

    TColor Color() const { return m_data.Color; }
    void SetColor(TColor value) { Update(m_data.Color, value); }
    TPenMode Mode() const { return m_data.Mode; }
    void SetMode(TPenMode value) { Update(m_data.Mode, value); }
    TPenStyle Style() const { return m_data.Style; }
    void SetStyle(TPenStyle value) { Update(m_data.Style, value); }
    int Width() const { return m_data.Width; }
    void SetWidth(int value);

    const TPenData &Data() const { return m_data; }
    void SetData(const TPenData &data) { Update(m_data, data); }

    void Assign(const TPersistent *source) override;

private:
    TPenData m_data;
};

struct TBrushData {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    // The pattern of a bitmap brush, copied from the bitmap when it was set
    // (null for none); a pattern replaces colour and style.
    QImage Pattern;

    bool operator==(const TBrushData &other) const
    {
        return Color == other.Color && Style == other.Style && Pattern.cacheKey() == other.Pattern.cacheKey();
    }
};

class TBrush : public TGraphicsObject
{
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(GraphicsTypes::TBrushStyle Style READ Style WRITE SetStyle)

public:
    TBrush();

    TColor Color() const { return m_data.Color; }
    // Setting a colour turns a clear brush solid, and clNone makes it clear.
    void SetColor(TColor value);
    TBrushStyle Style() const { return m_data.Style; }
    void SetStyle(TBrushStyle value) { Update(m_data.Style, value); }

    // A pattern brush from a bitmap (not owned; its image is copied now).
    // nullptr returns to colour and style.
    TBitmap *Bitmap() const { return m_bitmap; }
    void SetBitmap(TBitmap *bitmap);

    const TBrushData &Data() const { return m_data; }
    void SetData(const TBrushData &data) { Update(m_data, data); }

    void Assign(const TPersistent *source) override;

private:
    TBrushData m_data;
    TBitmap *m_bitmap = nullptr;
};
