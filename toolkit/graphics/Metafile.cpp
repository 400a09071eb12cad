#include "toolkit/graphics/Metafile.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/BitmapLimits.h"

#include <QCoreApplication>
#include <QtEndian>

namespace {

// A picture is drawn through bitmaps of its size, so a frame no bitmap
// could hold is as invalid as an empty one.
QSize checkedFrame(qint64 width, qint64 height)
{
    if (!BitmapSizeAllowed(width, height))
        return QSize();
    return QSize(int(width), int(height));
}

// The frame of an enhanced metafile header (record 1) in device units, or
// of a placeable metafile header; empty when neither is recognised or the
// frame is empty or absurd.
QSize frameOf(const QByteArray &data)
{
    auto i32 = [&](int at) -> qint64 { return qFromLittleEndian<qint32>(data.constData() + at); };
    auto i16 = [&](int at) -> qint64 { return qFromLittleEndian<qint16>(data.constData() + at); };
    if (data.size() >= 44 && i32(0) == 1 && data.mid(40, 4) == " EMF")
        return checkedFrame(i32(16) - i32(8) + 1, i32(20) - i32(12) + 1);
    if (data.size() >= 22 && quint32(i32(0)) == 0x9AC6CDD7u) {
        const qint64 unitsPerInch = i16(14) > 0 ? i16(14) : 1440;
        return checkedFrame((i16(10) - i16(6)) * 96 / unitsPerInch, (i16(12) - i16(8)) * 96 / unitsPerInch);
    }
    return QSize();
}

} // namespace

TMetafile::TMetafile() = default;

void TMetafile::SetWidth(int value)
{
    if (value == m_width)
        return;
    m_width = value;
    Changed();
}

void TMetafile::SetHeight(int value)
{
    if (value == m_height)
        return;
    m_height = value;
    Changed();
}

void TMetafile::SetRecords(const TCanvasRecords &records)
{
    m_records = records;
    m_data.clear();
    if (m_width == 0 && m_height == 0) {
        TRect bounds;
        for (const TCanvasRecord &record : records) {
            bounds.Right = std::max(bounds.Right, record.Bounds.Right);
            bounds.Bottom = std::max(bounds.Bottom, record.Bounds.Bottom);
        }
        m_width = bounds.Right;
        m_height = bounds.Bottom;
    }
    Changed();
}

void TMetafile::Clear()
{
    m_records.clear();
    m_data.clear();
    m_width = m_height = 0;
    Changed();
}

void TMetafile::LoadFromStream(TStream *stream)
{
    const QByteArray data = stream->ReadToEnd();
    const QSize frame = frameOf(data);
    if (frame.isEmpty())
        throw EInvalidGraphic(QCoreApplication::translate("Metafile", "Metafile is not valid"));
    m_records.clear();
    m_data = data;
    m_width = frame.width();
    m_height = frame.height();
    Changed();
}

void TMetafile::SaveToStream(TStream *stream) const
{
    if (!m_records.isEmpty())
        throw EInvalidGraphicOperation(QStringLiteral("A recorded metafile cannot be saved"));
    stream->WriteBuffer(m_data);
}

void TMetafile::Draw(TCanvas *canvas, const TRect &rect) const
{
    if (!m_records.isEmpty())
        PlayRecords(m_records, canvas, QSize(m_width, m_height), rect);
}

void TMetafile::Assign(const TPersistent *source)
{
    const auto *metafile = qobject_cast<const TMetafile *>(source);
    if (!metafile) {
        TGraphic::Assign(source);
        return;
    }
    m_records = metafile->m_records;
    m_data = metafile->m_data;
    m_width = metafile->m_width;
    m_height = metafile->m_height;
    Changed();
}

TMetafileCanvas::TMetafileCanvas(TMetafile *metafile, qint64) : m_metafile(metafile) {}

TMetafileCanvas::~TMetafileCanvas()
{
    if (m_metafile)
        m_metafile->SetRecords(TakeRecords());
}
