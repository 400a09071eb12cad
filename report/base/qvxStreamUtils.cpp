#include "report/base/qvxStreamUtils.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include <zlib.h>

namespace {

// The whole stream; its position is left where it was.
QByteArray wholeStream(TStream *stream)
{
    const qint64 saved = stream->Position();
    stream->SetPosition(0);
    const QByteArray bytes = stream->ReadToEnd();
    stream->SetPosition(saved);
    return bytes;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

quint32 qvxStreamCRC32(TStream *stream)
{
    const QByteArray bytes = wholeStream(stream);
    uLong crc = crc32_z(0, Z_NULL, 0);
    crc = crc32_z(crc, reinterpret_cast<const Bytef *>(bytes.constData()), z_size_t(bytes.size()));
    return quint32(crc);
}

QString qvxBytesToHex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QString qvxStreamToHex(TStream *stream)
{
    return qvxBytesToHex(wholeStream(stream));
}

bool qvxHexToBytes(const QString &text, QByteArray &bytes)
{
    if (text.size() % 2 != 0)
        return false;
    bytes.resize(text.size() / 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int high = hexDigit(text[i * 2]);
        const int low = hexDigit(text[i * 2 + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes[i] = char(high * 16 + low);
    }
    return true;
}

void qvxHexToStream(const QString &text, TStream *stream)
{
    QByteArray bytes;
    if (!qvxHexToBytes(text, bytes))
        throw EConvertError(QStringLiteral("'%1' is not a valid hexadecimal text").arg(text.left(64)));
    stream->SetPosition(0);
    stream->WriteBuffer(bytes);
    if (stream->Size() != bytes.size())
        stream->SetSize(bytes.size());
}
