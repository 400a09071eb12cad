#pragma once

// Whole-stream helpers: checksum and hexadecimal text.

#include <QString>

class TStream;

// The CRC-32 of zlib and PNG over the whole stream from position 0; the
// stream's position is restored.
quint32 qvxStreamCRC32(TStream *stream);

// The whole stream as upper-case hexadecimal digits, two per byte.
QString qvxStreamToHex(TStream *stream);
// The reverse: the stream is rewritten from position 0 and holds exactly the
// decoded bytes afterwards.  Raises EConvertError on a text of odd length or
// with a character that is no hexadecimal digit.
void qvxHexToStream(const QString &text, TStream *stream);
