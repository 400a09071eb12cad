#include "toolkit/graphics/GraphicsObjects.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/JPEGImage.h"
#include "toolkit/graphics/Metafile.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/classes/PropertyDeclarations.h"

#include <cstdlib>

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const qint64 product = qint64(a) * b;
    const qint64 half = std::llabs(c) / 2;
    const qint64 rounded = (product >= 0) == (c > 0) ? (std::llabs(product) + half) / std::llabs(c)
                                                     : -((std::llabs(product) + half) / std::llabs(c));
    return int(rounded);
}

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

// TFont

TFont::TFont() = default;

void TFont::SetName(const QString &value)
{
    if (!value.isEmpty())
        Update(m_data.Name, value);
}

int TFont::Size() const
{
    return -MulDiv(m_data.Height, 72, m_pixelsPerInch);
}

void TFont::SetSize(int value)
{
    SetHeight(-MulDiv(value, m_pixelsPerInch, 72));
}

void TFont::Assign(const TPersistent *source)
{
    const auto *font = qobject_cast<const TFont *>(source);
    if (!font) {
        TPersistent::Assign(source);
        return;
    }
    TFontData data = font->m_data;
    if (font->m_pixelsPerInch != m_pixelsPerInch)
        data.Height = -MulDiv(font->Size(), m_pixelsPerInch, 72);
    SetData(data);
}

// TPen

TPen::TPen() = default;

void TPen::SetWidth(int value)
{
    if (value >= 0)
        Update(m_data.Width, value);
}

void TPen::Assign(const TPersistent *source)
{
    if (const auto *pen = qobject_cast<const TPen *>(source))
        SetData(pen->m_data);
    else
        TPersistent::Assign(source);
}

// TBrush

TBrush::TBrush() = default;

void TBrush::SetColor(TColor value)
{
    TBrushData data = m_data;
    data.Color = value;
    if (value == clNone)
        data.Style = bsClear;
    else if (data.Style == bsClear)
        data.Style = bsSolid;
    SetData(data);
}

void TBrush::SetBitmap(TBitmap *bitmap)
{
    m_bitmap = bitmap;
    TBrushData data = m_data;
    data.Pattern = bitmap && !bitmap->Empty() ? bitmap->Image() : QImage();
    SetData(data);
}

void TBrush::Assign(const TPersistent *source)
{
    if (const auto *brush = qobject_cast<const TBrush *>(source)) {
        m_bitmap = brush->m_bitmap;
        SetData(brush->m_data);
    } else {
        TPersistent::Assign(source);
    }
}

// Unit start-up: the graphic classes go into the class registry (scripts
// and stored files create them by name) and into the graphic-format
// registry.  At shut-down the font engine frees its faces.
void InitializeGraphicsUnit()
{
    RegisterClass<TFont>();
    // Stored files keep a font's pixel Height; Size follows from it.
    DescribeProperties<TFont>()
        .TypeName("Color", QStringLiteral("TColor"))
        .Default("Pitch", fpDefault)
        .Stored("Size", [](const TObject *) { return false; });
    RegisterClass<TPen>();
    DescribeProperties<TPen>().TypeName("Color", QStringLiteral("TColor"));
    RegisterClass<TBrush>();
    DescribeProperties<TBrush>().TypeName("Color", QStringLiteral("TColor"));
    RegisterClass<TCanvas>();
    RegisterClass<TGraphic>();
    RegisterClass<TPicture>();
    RegisterClass<TBitmap>();
    RegisterClass<TMetafile>();
    ClassFactories metafileCanvas;
    metafileCanvas.createWith = [](const QVariantList &arguments) -> TObject * {
        auto *metafile = dynamic_cast<TMetafile *>(ObjectHandleRegistry::Resolve(arguments.value(0).toInt()));
        if (!metafile)
            throw EInvalidCast(QStringLiteral("Invalid class typecast"));
        return new TMetafileCanvas(metafile, arguments.value(1).toLongLong());
    };
    RegisterClass(ClassOf<TMetafileCanvas>(), std::move(metafileCanvas));
    RegisterClass<TJPEGImage>();
    RegisterClass<TIcon>();

    RegisterGraphicFormat<TBitmap>(QStringLiteral("bmp"), QStringLiteral("Bitmaps"), QByteArrayLiteral("BM"));
    RegisterGraphicFormat<TMetafile>(QStringLiteral("emf"), QStringLiteral("Enhanced Metafiles"),
                                     QByteArrayLiteral(" EMF"), 40);
    RegisterGraphicFormat<TMetafile>(QStringLiteral("wmf"), QStringLiteral("Metafiles"),
                                     QByteArrayLiteral("\xD7\xCD\xC6\x9A"));
    RegisterGraphicFormat<TIcon>(QStringLiteral("ico"), QStringLiteral("Icons"), QByteArray("\0\0\x01\0", 4));
    RegisterGraphicFormat<TJPEGImage>(QStringLiteral("jpg"), QStringLiteral("JPEG Image File"),
                                      QByteArrayLiteral("\xFF\xD8"));
    RegisterGraphicFormat<TJPEGImage>(QStringLiteral("jpeg"), QStringLiteral("JPEG Image File"),
                                      QByteArrayLiteral("\xFF\xD8"));
}

void FinalizeGraphicsUnit()
{
    TFontEngine::Clear();
}
