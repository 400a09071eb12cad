#pragma once

// Whole-stream helpers: checksum and hexadecimal text.

#include <QByteArray>
#include <QString>

class TStream;

// The CRC-32 of zlib and PNG over the whole stream from position 0; the
// stream's position is restored.
quint32 qvxStreamCRC32(TStream *stream);

// The bytes, or the whole stream, as upper-case hexadecimal digits, two per
// byte.
QString qvxBytesToHex(const QByteArray &bytes);
QString qvxStreamToHex(TStream *stream);
// The bytes of a hexadecimal text (two digits per byte, either case); false
// for a text of odd length or with a character that is no hexadecimal digit.
bool qvxHexToBytes(const QString &text, QByteArray &bytes);
// The reverse of qvxStreamToHex: the stream is rewritten from position 0
// and holds exactly the decoded bytes afterwards.  Raises EConvertError on a text of odd length or
// with a character that is no hexadecimal digit.
void qvxHexToStream(const QString &text, TStream *stream);
