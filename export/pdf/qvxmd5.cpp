#include "export/pdf/qvxmd5.h"

void TqvxMD5::Init() { m_hash.Init(); }

void TqvxMD5::Update(const void *buffer, qint64 length) { m_hash.Update(buffer, length); }

void TqvxMD5::Final()
{
    m_hash.GetDigest(m_digest.data(), 16);
    m_hash.Init();
}

QByteArray MD5String(const QByteArray &bytes) { return MD5Buffer(bytes).toHex(); }

QByteArray MD5Buffer(const void *buffer, qint64 length)
{
    TqvxMD5 md5;
    md5.Update(buffer, length);
    md5.Final();
    return md5.Digest();
}
