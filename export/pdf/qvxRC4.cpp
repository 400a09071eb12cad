#include "export/pdf/qvxRC4.h"

#include <utility>

void TqvxRC4::Start(const void *key, int length)
{
    if (length < 1 || length > 256)
        return;
    const auto *bytes = static_cast<const quint8 *>(key);
    for (int i = 0; i < 256; ++i)
        m_state[i] = quint8(i);
    quint8 j = 0;
    for (int i = 0; i < 256; ++i) {
        j = quint8(j + m_state[i] + bytes[i % length]);
        std::swap(m_state[i], m_state[j]);
    }
}

void TqvxRC4::Crypt(const void *source, void *destination, qint64 count)
{
    const auto *in = static_cast<const quint8 *>(source);
    auto *out = static_cast<quint8 *>(destination);
    quint8 i = 0, j = 0;
    for (qint64 k = 0; k < count; ++k) {
        i = quint8(i + 1);
        j = quint8(j + m_state[i]);
        std::swap(m_state[i], m_state[j]);
        out[k] = in[k] ^ m_state[quint8(m_state[i] + m_state[j])];
    }
}

QByteArray TqvxRC4::Crypt(const QByteArray &data)
{
    QByteArray result(data.size(), Qt::Uninitialized);
    Crypt(data.constData(), result.data(), data.size());
    return result;
}
