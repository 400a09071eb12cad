#include "toolkit/graphics/TGraphic.h"

#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/BitmapLimits.h"
#include "toolkit/graphics/Canvas.h"

namespace {

QList<TGraphicFormat> &formats()
{
    static QList<TGraphicFormat> list;
    return list;
}

} // namespace

TGraphic::TGraphic() = default;

void TGraphic::SetTransparent(bool value)
{
    if (m_transparent == value)
        return;
    m_transparent = value;
    Changed();
}

void TGraphic::LoadFromFile(const QString &fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const QString &fileName) const
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(&stream);
}

void TGraphic::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TGraphic::AssignTo(TPersistent *dest) const
{
    auto *bitmap = qobject_cast<TBitmap *>(dest);
    if (!bitmap) {
        TPersistent::AssignTo(dest);
        return;
    }
    QImage image;
    if (!Empty() && Width() > 0 && Height() > 0) {
        CheckBitmapSize(Width(), Height());
        image = QImage(Width(), Height(), QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    bitmap->SetImage(image);
    if (image.isNull())
        return;
    TCanvas *canvas = bitmap->Canvas();
    canvas->StretchDraw(Rect(0, 0, image.width(), image.height()), this);
    canvas->ReleaseHandle();
}

void RegisterGraphicFormat(const TGraphicFormat &format)
{
    auto &list = formats();
    for (TGraphicFormat &existing : list) {
        if (existing.Extension == format.Extension) {
            existing = format;
            return;
        }
    }
    list.append(format);
}

void UnregisterGraphicClass(TClass cls)
{
    formats().removeIf([cls](const TGraphicFormat &f) { return f.Class == cls; });
}

const TGraphicFormat *GraphicFormatByExtension(const QString &extension)
{
    QString ext = extension.toLower();
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    for (const TGraphicFormat &format : formats())
        if (format.Extension == ext)
            return &format;
    return nullptr;
}

const TGraphicFormat *GraphicFormatBySignature(const QByteArray &head)
{
    for (const TGraphicFormat &format : formats()) {
        if (format.Signature.isEmpty())
            continue;
        if (head.mid(format.SignatureOffset, format.Signature.size()) == format.Signature)
            return &format;
    }
    return nullptr;
}

QList<TGraphicFormat> GraphicFormats()
{
    return formats();
}
