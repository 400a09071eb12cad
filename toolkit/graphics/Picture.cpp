#include "toolkit/graphics/Picture.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TFiler.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// A new, empty graphic of the named class.
TGraphic *newGraphic(const QString &className)
{
    for (const TGraphicFormat &format : GraphicFormats())
        if (ClassNameOf(format.Class) == className)
            return format.Create();
    if (const TClass cls = GetClass(className)) {
        const std::optional<RegisteredClass> registered = RegisteredClassOf(cls);
        if (registered && registered->factories.create && ClassInheritsFrom(cls, ClassOf<TGraphic>()))
            return static_cast<TGraphic *>(registered->factories.create());
    }
    throw EInvalidGraphic(QStringLiteral("Unknown picture class %1").arg(className));
}

} // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Take(TGraphic *graphic)
{
    m_graphic.reset(graphic);
    if (m_graphic)
        m_graphic->OnChange = [this](TObject *) { Changed(); };
    Changed();
}

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::SetGraphic(const TGraphic *graphic)
{
    if (!graphic) {
        Take(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> copy(newGraphic(graphic->ClassName()));
    copy->Assign(graphic);
    Take(copy.release());
}

TBitmap *TPicture::Bitmap()
{
    auto *bitmap = qobject_cast<TBitmap *>(m_graphic.get());
    if (!bitmap) {
        bitmap = new TBitmap;
        Take(bitmap);
    }
    return bitmap;
}

int TPicture::Width() const
{
    return m_graphic ? m_graphic->Width() : 0;
}

int TPicture::Height() const
{
    return m_graphic ? m_graphic->Height() : 0;
}

void TPicture::LoadFromFile(const QString &fileName)
{
    const QString extension = QFileInfo(fileName).suffix();
    const TGraphicFormat *format = GraphicFormatByExtension(extension);
    if (!format)
        throw EInvalidGraphic(QCoreApplication::translate("Picture", "Unknown picture file extension (.%1)").arg(extension));
    std::unique_ptr<TGraphic> graphic(format->Create());
    graphic->LoadFromFile(fileName);
    Take(graphic.release());
}

void TPicture::SaveToFile(const QString &fileName) const
{
    if (m_graphic)
        m_graphic->SaveToFile(fileName);
}

void TPicture::LoadFromStream(TStream *stream)
{
    const qint64 start = stream->Position();
    const QByteArray head = stream->ReadBytes(64);
    stream->SetPosition(start);
    const TGraphicFormat *format = GraphicFormatBySignature(head);
    if (!format)
        throw EInvalidGraphic(QCoreApplication::translate("Picture", "Unsupported picture format"));
    std::unique_ptr<TGraphic> graphic(format->Create());
    graphic->LoadFromStream(stream);
    Take(graphic.release());
}

void TPicture::SaveToStream(TStream *stream) const
{
    if (m_graphic)
        m_graphic->SaveToStream(stream);
}

void TPicture::Assign(const TPersistent *source)
{
    if (!source) {
        Take(nullptr);
    } else if (const auto *picture = qobject_cast<const TPicture *>(source)) {
        SetGraphic(picture->Graphic());
    } else if (const auto *graphic = qobject_cast<const TGraphic *>(source)) {
        SetGraphic(graphic);
    } else {
        TPersistent::Assign(source);
    }
}

void TPicture::DefineProperties(TFiler &filer)
{
    filer.DefineProperty(
        QStringLiteral("Data"), [this](TReader &reader) { ReadData(reader); },
        [this](TWriter &writer) { WriteData(writer); }, m_graphic && !m_graphic->Empty());
}

void TPicture::ReadData(TReader &reader)
{
    const QString className = reader.ReadString();
    const QByteArray bytes = reader.ReadBytes();
    if (className.isEmpty()) {
        Take(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> graphic(newGraphic(className));
    TMemoryStream stream;
    stream.WriteBuffer(bytes);
    stream.SetPosition(0);
    graphic->LoadFromStream(&stream);
    Take(graphic.release());
}

void TPicture::WriteData(TWriter &writer) const
{
    TMemoryStream stream;
    if (m_graphic)
        m_graphic->SaveToStream(&stream);
    writer.WriteString(m_graphic ? m_graphic->ClassName() : QString());
    writer.WriteBytes(stream.Bytes());
}
