#include "export/pdf/qvxRC4.h"

#include <gtest/gtest.h>

namespace {

QByteArray encrypt(const QByteArray &key, const QByteArray &plain)
{
    TqvxRC4 rc4;
    rc4.Start(key);
    return rc4.Crypt(plain).toHex();
}

TEST(RC4, MatchesThePublishedVectors)
{
    EXPECT_EQ(encrypt("Key", "Plaintext"), "bbf316e8d940af0ad3");
    EXPECT_EQ(encrypt("Wiki", "pedia"), "1021bf0420");
    EXPECT_EQ(encrypt("Secret", "Attack at dawn"), "45a01f645fc35b383552544b9bf5");
    // RFC 6229, 40-bit key 0102030405: the first 16 bytes of keystream.
    EXPECT_EQ(encrypt(QByteArray::fromHex("0102030405"), QByteArray(16, '\0')),
              "b2396305f03dc027ccc3524a0a1118a8");
}

TEST(RC4, EveryCryptStartsTheGeneratorAgainOverTheMixedState)
{
    TqvxRC4 rc4;
    rc4.Start(QByteArray("Key"));
    const QByteArray first = rc4.Crypt(QByteArray(9, '\0'));
    const QByteArray second = rc4.Crypt(QByteArray(9, '\0'));
    EXPECT_EQ(first.toHex(), encrypt("Key", QByteArray(9, '\0')));
    EXPECT_NE(second, first);

    // The second call equals a fresh generator (i = j = 0) over the state
    // that the first call left, which a continuous keystream would not give.
    TqvxRC4 continuous;
    continuous.Start(QByteArray("Key"));
    const QByteArray eighteen = continuous.Crypt(QByteArray(18, '\0'));
    EXPECT_EQ(eighteen.left(9), first);
    EXPECT_NE(eighteen.mid(9), second);

    // Same buffer in and out.
    QByteArray buffer("Plaintext");
    TqvxRC4 inPlace;
    inPlace.Start(QByteArray("Key"));
    inPlace.Crypt(buffer.constData(), buffer.data(), buffer.size());
    EXPECT_EQ(buffer.toHex(), "bbf316e8d940af0ad3");
}

TEST(RC4, KeyOfNoLengthOrTooLongLeavesTheStateAsItWas)
{
    TqvxRC4 rc4;
    rc4.Start(QByteArray("Key"));
    rc4.Start(QByteArray());
    rc4.Start(QByteArray(257, 'x'));
    EXPECT_EQ(rc4.Crypt(QByteArray("Plaintext")).toHex(), "bbf316e8d940af0ad3");
}

} // namespace
