#pragma once

// The RC4 stream cipher of the PDF standard security handler.

#include <QByteArray>

class TqvxRC4
{
public:
    // Runs the key schedule when 1 <= length <= 256; any other length
    // leaves the state as it was.
    void Start(const void *key, int length);
    void Start(const QByteArray &key) { Start(key.constData(), int(key.size())); }

    // XORs count bytes of the keystream over the source into the
    // destination (they may be the same buffer).  Every call starts the
    // generator again at i = j = 0 over the state left by the previous
    // call, so Start before each message gives one keystream from its
    // beginning.
    void Crypt(const void *source, void *destination, qint64 count);
    QByteArray Crypt(const QByteArray &data);

private:
    quint8 m_state[256] = {};
};
