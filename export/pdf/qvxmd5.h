#pragma once

// MD5 (RFC 1321) for the PDF encryption and the document identifier: the
// classic Init / Update / Final interface on the one MD5 of qvxCrypto.

#include "export/pdf/qvxCrypto.h"

#include <QByteArray>

class TqvxMD5
{
public:
    TqvxMD5() = default;

    // Starts a new message.
    void Init();
    void Update(const void *buffer, qint64 length);
    void Update(const QByteArray &bytes) { Update(bytes.constData(), bytes.size()); }
    // Pads, stores the digest and clears the running state; Init before
    // the next message.  The digest stays readable.
    void Final();
    // The 16 digest bytes of the last Final.
    const QByteArray &Digest() const { return m_digest; }

private:
    TCryptoMD5 m_hash;
    QByteArray m_digest = QByteArray(16, '\0');
};

// The MD5 of the bytes as 32 lowercase hexadecimal digits.
QByteArray MD5String(const QByteArray &bytes);
// The MD5 of the bytes, 16 bytes.
QByteArray MD5Buffer(const void *buffer, qint64 length);
inline QByteArray MD5Buffer(const QByteArray &bytes) { return MD5Buffer(bytes.constData(), bytes.size()); }
