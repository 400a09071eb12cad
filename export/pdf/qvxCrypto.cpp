#include "export/pdf/qvxCrypto.h"

#include "toolkit/classes/Streams.h"

#include <array>
#include <cmath>
#include <cstring>

namespace {

[[noreturn]] void assertionFailed(const char *what)
{
    throw EAssertionFailed(QStringLiteral("Assertion failed: %1 (qvxCrypto)").arg(QLatin1String(what)));
}

quint32 rotl(quint32 value, int shift) { return (value << shift) | (value >> (32 - shift)); }

// ---- MD5 ----------------------------------------------------------------

struct Md5Tables {
    std::array<quint32, 64> sine; // T[i] = trunc(|sin(i + 1)| * 2^32)
};

const Md5Tables &md5Tables()
{
    static const Md5Tables tables = [] {
        Md5Tables t;
        for (int i = 0; i < 64; ++i)
            t.sine[size_t(i)] = quint32(std::floor(std::fabs(std::sin(double(i + 1))) * 4294967296.0));
        return t;
    }();
    return tables;
}

// Message word and rotation of each of the 64 steps, in RFC 1321 order.
constexpr quint8 md5Steps[64][2] = {
    {0, 7},  {1, 12},  {2, 17},  {3, 22},  {4, 7},  {5, 12},  {6, 17},  {7, 22},
    {8, 7},  {9, 12},  {10, 17}, {11, 22}, {12, 7}, {13, 12}, {14, 17}, {15, 22},
    {1, 5},  {6, 9},   {11, 14}, {0, 20},  {5, 5},  {10, 9},  {15, 14}, {4, 20},
    {9, 5},  {14, 9},  {3, 14},  {8, 20},  {13, 5}, {2, 9},   {7, 14},  {12, 20},
    {5, 4},  {8, 11},  {11, 16}, {14, 23}, {1, 4},  {4, 11},  {7, 16},  {10, 23},
    {13, 4}, {0, 11},  {3, 16},  {6, 23},  {9, 4},  {12, 11}, {15, 16}, {2, 23},
    {0, 6},  {7, 10},  {14, 15}, {5, 21},  {12, 6}, {3, 10},  {10, 15}, {1, 21},
    {8, 6},  {15, 10}, {6, 15},  {13, 21}, {4, 6},  {11, 10}, {2, 15},  {9, 21},
};

void md5Compress(quint32 state[4], const quint8 *block)
{
    quint32 x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = quint32(block[4 * i]) | quint32(block[4 * i + 1]) << 8 | quint32(block[4 * i + 2]) << 16
            | quint32(block[4 * i + 3]) << 24;
    const auto &sine = md5Tables().sine;
    quint32 a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        quint32 f;
        switch (i / 16) {
        case 0: f = (b & c) | (~b & d); break;
        case 1: f = (b & d) | (c & ~d); break;
        case 2: f = b ^ c ^ d; break;
        default: f = c ^ (b | ~d); break;
        }
        const quint32 rotated = b + rotl(a + f + x[md5Steps[i][0]] + sine[size_t(i)], md5Steps[i][1]);
        a = d;
        d = c;
        c = b;
        b = rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

// ---- GF(2^8) ------------------------------------------------------------

quint8 gfMultiply(quint8 a, quint8 b, unsigned polynomial)
{
    unsigned product = 0;
    unsigned value = a;
    for (; b; b >>= 1) {
        if (b & 1)
            product ^= value;
        value <<= 1;
        if (value & 0x100)
            value ^= polynomial;
    }
    return quint8(product);
}

// ---- Whirlpool ----------------------------------------------------------

constexpr int whirlpoolRounds = 10;
constexpr quint8 whirlpoolDiffusion[8] = {1, 1, 4, 1, 8, 5, 2, 9};
constexpr quint8 whirlpoolMiniR[16] = {7, 0xC, 0xB, 0xD, 0xE, 4, 9, 0xF, 6, 3, 8, 0xA, 2, 5, 1, 0};

struct WhirlpoolTables {
    std::array<quint8, 256> sbox;
    std::array<std::array<quint8, 256>, 10> multiply; // multiply[m][x] = m * x mod 0x11D
};

const WhirlpoolTables &whirlpoolTables()
{
    static const WhirlpoolTables tables = [] {
        WhirlpoolTables t;
        // E[u] = 11^u in GF(2^4) mod x^4 + x + 1, E[15] = 0.
        quint8 e[16], eInverse[16];
        quint8 power = 1;
        for (int u = 0; u < 15; ++u) {
            e[u] = power;
            unsigned next = 0;
            for (int bit = 0; bit < 4; ++bit)
                if (0xB & (1 << bit))
                    next ^= unsigned(power) << bit;
            for (int bit = 6; bit >= 4; --bit)
                if (next & (1u << bit))
                    next ^= 0x13u << (bit - 4);
            power = quint8(next);
        }
        e[15] = 0;
        for (int u = 0; u < 16; ++u)
            eInverse[e[u]] = quint8(u);
        for (int x = 0; x < 256; ++x) {
            const quint8 high = e[x >> 4];
            const quint8 low = eInverse[x & 0xF];
            const quint8 r = whirlpoolMiniR[high ^ low];
            t.sbox[size_t(x)] = quint8(e[high ^ r] << 4 | eInverse[low ^ r]);
        }
        for (int m = 0; m < 10; ++m)
            for (int x = 0; x < 256; ++x)
                t.multiply[size_t(m)][size_t(x)] = gfMultiply(quint8(m), quint8(x), 0x11D);
        return t;
    }();
    return tables;
}

// One round: sigma[key] . theta . pi . gamma, on a row-major 8 x 8 matrix.
void whirlpoolRound(quint8 state[64], const quint8 key[64])
{
    const WhirlpoolTables &t = whirlpoolTables();
    quint8 shifted[64];
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j)
            shifted[8 * i + j] = t.sbox[state[8 * ((i - j + 8) % 8) + j]];
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j) {
            quint8 sum = 0;
            for (int k = 0; k < 8; ++k)
                sum ^= t.multiply[whirlpoolDiffusion[(j - k + 8) % 8]][shifted[8 * i + k]];
            state[8 * i + j] = sum ^ key[8 * i + j];
        }
}

// ---- AES ----------------------------------------------------------------

struct AesTables {
    std::array<quint8, 256> sbox;
    std::array<quint8, 256> inverse;
};

const AesTables &aesTables()
{
    static const AesTables tables = [] {
        AesTables t;
        for (int x = 0; x < 256; ++x) {
            quint8 inverse = 0;
            for (int candidate = 1; candidate < 256 && x; ++candidate)
                if (gfMultiply(quint8(x), quint8(candidate), 0x11B) == 1) {
                    inverse = quint8(candidate);
                    break;
                }
            quint8 s = 0x63;
            for (int bit = 0; bit < 8; ++bit) {
                const int value = (inverse >> bit) ^ (inverse >> ((bit + 4) % 8)) ^ (inverse >> ((bit + 5) % 8))
                    ^ (inverse >> ((bit + 6) % 8)) ^ (inverse >> ((bit + 7) % 8));
                s ^= quint8((value & 1) << bit);
            }
            t.sbox[size_t(x)] = s;
        }
        for (int x = 0; x < 256; ++x)
            t.inverse[t.sbox[size_t(x)]] = quint8(x);
        return t;
    }();
    return tables;
}

constexpr quint8 aesMixRow[4] = {2, 3, 1, 1};
constexpr quint8 aesInverseMixRow[4] = {14, 11, 13, 9};

void aesSubstitute(TCryptoAES::TState &state, const std::array<quint8, 256> &box)
{
    for (auto &row : state)
        for (quint8 &cell : row)
            cell = box[cell];
}

// Row r turns left by r positions (right when inverse).
void aesShiftRows(TCryptoAES::TState &state, bool inverse)
{
    for (int r = 1; r < 4; ++r) {
        quint8 row[4];
        for (int c = 0; c < 4; ++c)
            row[c] = state[r][inverse ? (c - r + 4) % 4 : (c + r) % 4];
        std::memcpy(state[r], row, 4);
    }
}

void aesMixColumns(TCryptoAES::TState &state, const quint8 (&matrixRow)[4])
{
    for (int c = 0; c < 4; ++c) {
        quint8 column[4];
        for (int r = 0; r < 4; ++r) {
            quint8 sum = 0;
            for (int k = 0; k < 4; ++k)
                sum ^= gfMultiply(matrixRow[(k - r + 4) % 4], state[k][c], 0x11B);
            column[r] = sum;
        }
        for (int r = 0; r < 4; ++r)
            state[r][c] = column[r];
    }
}

void loadState(TCryptoAES::TState &state, const void *source)
{
    const auto *bytes = static_cast<const quint8 *>(source);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            state[r][c] = bytes[4 * c + r];
}

void storeState(void *destination, const TCryptoAES::TState &state)
{
    auto *bytes = static_cast<quint8 *>(destination);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            bytes[4 * c + r] = state[r][c];
}

} // namespace

// ---- TCryptoHash --------------------------------------------------------

TCryptoHash::TCryptoHash(int blockSize) : m_buffer(blockSize, '\0') {}

void TCryptoHash::Init() { m_count = 0; }

void TCryptoHash::AddByte(quint8 value)
{
    const int position = int(m_count % quint64(BlockSize()));
    m_buffer[position] = char(value);
    ++m_count;
    if (position + 1 == BlockSize())
        Transform(reinterpret_cast<const quint8 *>(m_buffer.constData()));
}

void TCryptoHash::Update(const void *data, qint64 length)
{
    const auto *bytes = static_cast<const quint8 *>(data);
    const qint64 blockSize = BlockSize();
    while (length > 0) {
        const qint64 position = qint64(m_count % quint64(blockSize));
        if (position == 0 && length >= blockSize) {
            Transform(bytes);
            m_count += quint64(blockSize);
            bytes += blockSize;
            length -= blockSize;
            continue;
        }
        const qint64 piece = std::min(length, blockSize - position);
        std::memcpy(m_buffer.data() + position, bytes, size_t(piece));
        m_count += quint64(piece);
        bytes += piece;
        length -= piece;
        if (position + piece == blockSize)
            Transform(reinterpret_cast<const quint8 *>(m_buffer.constData()));
    }
}

void TCryptoHash::HashStream(TStream *stream)
{
    stream->SetPosition(0);
    QByteArray block(BlockSize(), '\0');
    while (const qint64 read = stream->Read(block.data(), block.size()))
        Update(block.constData(), read);
}

QByteArray TCryptoHash::Digest()
{
    QByteArray digest(DigestSize(), '\0');
    GetDigest(digest.data(), DigestSize());
    return digest;
}

void TCryptoHash::Finish(int lengthBytes, bool littleEndian)
{
    const quint64 bits = m_count * 8;
    const quint64 blockSize = quint64(BlockSize());
    AddByte(0x80);
    while (m_count % blockSize != blockSize - quint64(lengthBytes))
        AddByte(0);
    for (int i = 0; i < lengthBytes; ++i) {
        const quint8 value = i < 8 ? quint8(bits >> (8 * i)) : 0;
        const int position = littleEndian ? BlockSize() - lengthBytes + i : BlockSize() - 1 - i;
        m_buffer[position] = char(value);
    }
    Transform(reinterpret_cast<const quint8 *>(m_buffer.constData()));
}

void TCryptoHash::CheckDigestLength(int length) const
{
    if (length != DigestSize())
        assertionFailed("digest length");
}

// ---- TCryptoMD5 ---------------------------------------------------------

TCryptoMD5::TCryptoMD5() : TCryptoHash(64) { Init(); }

void TCryptoMD5::Init()
{
    TCryptoHash::Init();
    m_state[0] = 0x67452301;
    m_state[1] = 0xEFCDAB89;
    m_state[2] = 0x98BADCFE;
    m_state[3] = 0x10325476;
}

void TCryptoMD5::Transform(const quint8 *block) { md5Compress(m_state, block); }

void TCryptoMD5::GetDigest(void *destination, int length)
{
    CheckDigestLength(length);
    Finish(8, true);
    auto *bytes = static_cast<quint8 *>(destination);
    for (int i = 0; i < 16; ++i)
        bytes[i] = quint8(m_state[i / 4] >> (8 * (i % 4)));
}

// ---- TCryptoWhirlpool ---------------------------------------------------

TCryptoWhirlpool::TCryptoWhirlpool() : TCryptoHash(64) { Init(); }

void TCryptoWhirlpool::Init()
{
    TCryptoHash::Init();
    std::memset(m_state, 0, sizeof m_state);
}

// Miyaguchi-Preneel: H := W_H(m) xor H xor m.
void TCryptoWhirlpool::Transform(const quint8 *block)
{
    const WhirlpoolTables &t = whirlpoolTables();
    quint8 key[64], cipher[64], constant[64] = {};
    std::memcpy(key, m_state, 64);
    for (int i = 0; i < 64; ++i)
        cipher[i] = block[i] ^ key[i];
    for (int r = 1; r <= whirlpoolRounds; ++r) {
        for (int j = 0; j < 8; ++j)
            constant[j] = t.sbox[size_t(8 * (r - 1) + j)];
        whirlpoolRound(key, constant);
        whirlpoolRound(cipher, key);
    }
    for (int i = 0; i < 64; ++i)
        m_state[i] ^= cipher[i] ^ block[i];
}

void TCryptoWhirlpool::GetDigest(void *destination, int length)
{
    CheckDigestLength(length);
    Finish(32, false);
    std::memcpy(destination, m_state, 64);
}

// ---- TCryptoAES ---------------------------------------------------------

void TCryptoAES::SetKeySchedule(int rounds, const QByteArray &roundKeys)
{
    if ((rounds != 10 && rounds != 12 && rounds != 14) || roundKeys.size() != 16 * (rounds + 1))
        assertionFailed("AES key schedule size");
    m_rounds = rounds;
    m_roundKeys = roundKeys;
}

void TCryptoAES::AddRoundKey(TState &state, int round) const
{
    if (m_rounds == 0)
        assertionFailed("AES key schedule missing");
    const auto *key = reinterpret_cast<const quint8 *>(m_roundKeys.constData()) + 16 * round;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            state[r][c] ^= key[4 * c + r];
}

void TCryptoAES::EncryptState(TState &state) const
{
    const AesTables &t = aesTables();
    AddRoundKey(state, 0);
    for (int round = 1; round <= m_rounds; ++round) {
        aesSubstitute(state, t.sbox);
        aesShiftRows(state, false);
        if (round < m_rounds)
            aesMixColumns(state, aesMixRow);
        AddRoundKey(state, round);
    }
}

void TCryptoAES::DecryptState(TState &state) const
{
    const AesTables &t = aesTables();
    AddRoundKey(state, m_rounds);
    for (int round = m_rounds - 1; round >= 0; --round) {
        aesShiftRows(state, true);
        aesSubstitute(state, t.inverse);
        AddRoundKey(state, round);
        if (round > 0)
            aesMixColumns(state, aesInverseMixRow);
    }
}

void TCryptoAES::EncryptBlock(void *destination, const void *source) const
{
    TState state;
    loadState(state, source);
    EncryptState(state);
    storeState(destination, state);
}

void TCryptoAES::DecryptBlock(void *destination, const void *source) const
{
    TState state;
    loadState(state, source);
    DecryptState(state);
    storeState(destination, state);
}
