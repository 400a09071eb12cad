#pragma once

// A small family of hashes and one block cipher: MD5 (RFC 1321), Whirlpool
// (ISO/IEC 10118-3, final version) and the AES block transform (FIPS-197).
// The PDF writer fingerprints picture streams with TCryptoMD5; TqvxMD5 (the
// PDF encryption's MD5) runs on the same MD5 compression.
//
// The constant tables (MD5 sine constants, Whirlpool S-box and GF(2^8)
// products, AES S-boxes) are computed once, on first use.

#include "toolkit/core/Exceptions.h"

#include <QByteArray>

class TStream;

// A broken precondition of a caller (a digest length that is not the hash's).
TOOLKIT_EXCEPTION(EAssertionFailed, Exception)

// Block buffering, padding and stream hashing shared by the hashes.  The
// byte count is 64 bits, so the length field of the padding is exact for
// any input.
class TCryptoHash
{
public:
    explicit TCryptoHash(int blockSize);
    virtual ~TCryptoHash() = default;
    TCryptoHash(const TCryptoHash &) = delete;
    TCryptoHash &operator=(const TCryptoHash &) = delete;

    // Starts a new message (descendants reset their state too).
    virtual void Init();
    // Finishes the message and copies the digest.  Raises EAssertionFailed
    // when length is not DigestSize().  Init before hashing again.
    virtual void GetDigest(void *destination, int length) = 0;
    virtual int DigestSize() const = 0;

    int BlockSize() const { return int(m_buffer.size()); }
    quint64 Count() const { return m_count; }

    void AddByte(quint8 value);
    void Update(const void *data, qint64 length);
    void Update(const QByteArray &data) { Update(data.constData(), data.size()); }
    // Hashes the whole stream from its beginning, block by block.
    void HashStream(TStream *stream);

    // GetDigest into a new array of DigestSize() bytes.
    QByteArray Digest();

protected:
    // Compresses one full block into the state.
    virtual void Transform(const quint8 *block) = 0;
    // Pads the message with 0x80 and zeros, then writes the bit length into
    // the last lengthBytes bytes of the block (little- or big-endian) and
    // runs the last Transform.
    virtual void Finish(int lengthBytes, bool littleEndian);
    void CheckDigestLength(int length) const;

private:
    QByteArray m_buffer;
    quint64 m_count = 0;
};

class TCryptoMD5 : public TCryptoHash
{
public:
    TCryptoMD5();

    void Init() override;
    void GetDigest(void *destination, int length) override;
    int DigestSize() const override { return 16; }

protected:
    void Transform(const quint8 *block) override;

private:
    quint32 m_state[4];
};

class TCryptoWhirlpool : public TCryptoHash
{
public:
    TCryptoWhirlpool();

    void Init() override;
    void GetDigest(void *destination, int length) override;
    int DigestSize() const override { return 64; }

protected:
    void Transform(const quint8 *block) override;

private:
    quint8 m_state[64]; // the 8 x 8 matrix, row after row
};

// The AES state transforms over a key schedule prepared by the caller (the
// class has no key expansion and no chaining mode).  The state is 4 x 4
// bytes indexed [row][column]; a block maps to it column by column, and so
// does each 16-byte round key.
class TCryptoAES
{
public:
    using TState = quint8[4][4];

    virtual ~TCryptoAES() = default;

    // rounds is 10, 12 or 14; roundKeys holds rounds + 1 round keys of 16
    // bytes, round key 0 first.  Raises EAssertionFailed otherwise.
    void SetKeySchedule(int rounds, const QByteArray &roundKeys);
    int Rounds() const { return m_rounds; }

    virtual void EncryptState(TState &state) const;
    virtual void DecryptState(TState &state) const;
    // 16-byte blocks; destination and source may be the same.
    virtual void EncryptBlock(void *destination, const void *source) const;
    virtual void DecryptBlock(void *destination, const void *source) const;

private:
    void AddRoundKey(TState &state, int round) const;

    int m_rounds = 0;
    QByteArray m_roundKeys;
};
