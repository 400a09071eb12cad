// The hashes and the AES transform against the published test vectors:
// RFC 1321 for MD5, the ISO/IEC 10118-3 vectors for Whirlpool, FIPS-197
// appendix C for AES (with the key expansion of FIPS-197 section 5.2 done
// here, since the class takes a prepared schedule).

#include "export/pdf/qvxCrypto.h"
#include "export/pdf/qvxmd5.h"
#include "toolkit/classes/Streams.h"

#include <gtest/gtest.h>

namespace {

QByteArray hashOf(TCryptoHash &hash, const QByteArray &message)
{
    hash.Init();
    hash.Update(message);
    return hash.Digest().toHex();
}

// Bytes (7 i + 3) mod 256, a message that is not all one letter.
QByteArray pattern(int length)
{
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = char((i * 7 + 3) % 256);
    return bytes;
}

struct Vector {
    const char *message;
    const char *digest;
};

const Vector md5Vectors[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(CryptoMD5, MatchesTheRfc1321VectorsThroughBothInterfaces)
{
    TCryptoMD5 hash;
    for (const Vector &v : md5Vectors) {
        EXPECT_EQ(hashOf(hash, v.message), v.digest) << v.message;
        EXPECT_EQ(MD5String(v.message), v.digest) << v.message;
    }
}

// Lengths around the padding boundary (55 fits one block, 56 needs a second)
// and a million bytes; digests made with md5sum.
TEST(CryptoMD5, PadsAtEveryBlockBoundary)
{
    const std::pair<int, const char *> cases[] = {
        {55, "52c0e574e1198de5fe3f8f11440dcb1b"},  {56, "46c9907fc908ee68b1e7b8e71286a518"},
        {63, "a62f6d59e837867693f042f5b8f5a236"},  {64, "7160b8fb5e9e4023d549c3971fbaeead"},
        {65, "70bd662e7aefbda85a0f7244167b7897"},  {128, "10b2da1a82f16d99a81a7203fe9f02cb"},
    };
    TCryptoMD5 hash;
    for (const auto &[length, digest] : cases)
        EXPECT_EQ(hashOf(hash, pattern(length)), digest) << length;
    EXPECT_EQ(hashOf(hash, QByteArray(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(CryptoMD5, ByteByByteStreamAndOneCallAgree)
{
    const QByteArray message = pattern(1000);
    TCryptoMD5 whole;
    const QByteArray expected = hashOf(whole, message);

    TCryptoMD5 bytes;
    for (char c : message)
        bytes.AddByte(quint8(c));
    EXPECT_EQ(bytes.Digest().toHex(), expected);

    TMemoryStream stream;
    stream.WriteBuffer(message);
    TCryptoMD5 streamed;
    streamed.HashStream(&stream);
    EXPECT_EQ(streamed.Count(), 1000u);
    EXPECT_EQ(streamed.Digest().toHex(), expected);

    TqvxMD5 classic;
    classic.Update(message.left(333));
    classic.Update(message.mid(333));
    classic.Final();
    EXPECT_EQ(classic.Digest().toHex(), expected);
    classic.Init();
    classic.Final();
    EXPECT_EQ(classic.Digest().toHex(), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(CryptoMD5, RefusesADigestOfTheWrongLength)
{
    TCryptoMD5 hash;
    quint8 digest[16];
    EXPECT_THROW(hash.GetDigest(digest, 15), EAssertionFailed);
    TCryptoWhirlpool whirlpool;
    EXPECT_THROW(whirlpool.GetDigest(digest, 16), EAssertionFailed);
}

TEST(CryptoWhirlpool, MatchesTheIsoVectors)
{
    const Vector vectors[] = {
        {"", "19fa61d75522a4669b44e39c1d2e1726c530232130d407f89afee0964997f7a73e83be698b288febcf88e3e03c4f0757ea8964e59b63d93708b138cc42a66eb3"},
        {"a", "8aca2602792aec6f11a67206531fb7d7f0dff59413145e6973c45001d0087b42d11bc645413aeff63a42391a39145a591a92200d560195e53b478584fdae231a"},
        {"abc", "4e2448a4c6f486bb16b6562c73b4020bf3043e3a731bce721ae1b303d97e6d4c7181eebdb6c57e277d0e34957114cbd6c797fc9d95d8b582d225292076d4eef5"},
        {"message digest", "378c84a4126e2dc6e56dcc7458377aac838d00032230f53ce1f5700c0ffb4d3b8421557659ef55c106b4b52ac5a4aaa692ed920052838f3362e86dbd37a8903e"},
        {"abcdefghijklmnopqrstuvwxyz", "f1d754662636ffe92c82ebb9212a484a8d38631ead4238f5442ee13b8054e41b08bf2a9251c30b6a0b8aae86177ab4a6f68f673e7207865d5d9819a3dba4eb3b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "dc37e008cf9ee69bf11f00ed9aba26901dd7c28cdec066cc6af42e40f82f3a1e08eba26629129d8fb7cb57211b9281a65517cc879d7b962142c65f5a7af01467"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890", "466ef18babb0154d25b9d38a6414f5c08784372bccb204d6549c4afadb6014294d5bd8df2a6c44e538cd047b2681a51a2c60481e88c5a20b2c2a80cf3a9a083b"},
        {"abcdbcdecdefdefgefghfghighijhijk", "2a987ea40f917061f5d6f0a0e4644f488a7a5a52deee656207c562f988e95c6916bdc8031bc5be1b7b947639fe050b56939baaa0adff9ae6745b7b181c3be3fd"},
    };
    TCryptoWhirlpool hash;
    for (const Vector &v : vectors)
        EXPECT_EQ(hashOf(hash, v.message), v.digest) << v.message;
    EXPECT_EQ(hashOf(hash, QByteArray(1000000, 'a')),
              "0c99005beb57eff50a7cf005560ddf5d29057fd86b20bfd62deca0f1ccea4af51fc15490eddc47af32bb2b66c34ff9ad8c6008ad677f77126953b226e4ed8b01");
}

// The key expansion of FIPS-197 section 5.2, with its own S-box (section
// 5.1.1: the inverse in GF(2^8), then the affine map as rotations).
QByteArray expandKey(const QByteArray &key)
{
    auto multiply = [](int a, int b) {
        int product = 0;
        for (; b; b >>= 1, a = (a << 1) ^ ((a & 0x80) ? 0x11B : 0))
            if (b & 1)
                product ^= a;
        return product;
    };
    auto substitute = [&](int x) {
        int inverse = 0;
        for (int c = 1; c < 256 && x; ++c)
            if (multiply(x, c) == 1)
                inverse = c;
        int s = inverse;
        for (int shift = 1; shift <= 4; ++shift)
            s ^= ((inverse << shift) | (inverse >> (8 - shift))) & 0xFF;
        return s ^ 0x63;
    };
    const int nk = int(key.size()) / 4;
    const int rounds = nk + 6;
    QByteArray w = key;
    int rcon = 1;
    for (int i = nk; i < 4 * (rounds + 1); ++i) {
        quint8 temp[4];
        for (int k = 0; k < 4; ++k)
            temp[k] = quint8(w[4 * (i - 1) + k]);
        if (i % nk == 0) {
            const quint8 first = temp[0];
            for (int k = 0; k < 3; ++k)
                temp[k] = quint8(substitute(temp[k + 1]));
            temp[3] = quint8(substitute(first));
            temp[0] ^= quint8(rcon);
            rcon = multiply(rcon, 2);
        } else if (nk > 6 && i % nk == 4) {
            for (quint8 &t : temp)
                t = quint8(substitute(t));
        }
        for (int k = 0; k < 4; ++k)
            w.append(char(quint8(w[4 * (i - nk) + k]) ^ temp[k]));
    }
    return w;
}

TEST(CryptoAES, ExpandedKeysMatchAppendixA)
{
    const QByteArray w = expandKey(QByteArray::fromHex("2b7e151628aed2a6abf7158809cf4f3c"));
    EXPECT_EQ(w.mid(16 * 10).toHex(), "d014f9a8c9ee2589e13f0cc8b6630ca6");
}

TEST(CryptoAES, EncryptsAndDecryptsTheAppendixCBlocks)
{
    const QByteArray plain = QByteArray::fromHex("00112233445566778899aabbccddeeff");
    const std::pair<const char *, const char *> cases[] = {
        {"000102030405060708090a0b0c0d0e0f", "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {"000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", "8ea2b7ca516745bfeafc49904b496089"},
    };
    for (const auto &[key, cipher] : cases) {
        const QByteArray keyBytes = QByteArray::fromHex(key);
        TCryptoAES aes;
        aes.SetKeySchedule(int(keyBytes.size()) / 4 + 6, expandKey(keyBytes));
        QByteArray block(16, '\0');
        aes.EncryptBlock(block.data(), plain.constData());
        EXPECT_EQ(block.toHex(), cipher) << key;
        aes.DecryptBlock(block.data(), block.constData());
        EXPECT_EQ(block, plain) << key;
    }
}

TEST(CryptoAES, RefusesAScheduleOfTheWrongSize)
{
    TCryptoAES aes;
    EXPECT_THROW(aes.SetKeySchedule(10, QByteArray(16 * 10, '\0')), EAssertionFailed);
    EXPECT_THROW(aes.SetKeySchedule(11, QByteArray(16 * 12, '\0')), EAssertionFailed);
    quint8 block[16] = {};
    EXPECT_THROW(aes.EncryptBlock(block, block), EAssertionFailed);
}

} // namespace
