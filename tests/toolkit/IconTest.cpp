#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/classes/Streams.h"

#include "common/TestSupport.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

void put32(QByteArray &bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

void put16(QByteArray &bytes, quint16 value)
{
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}

// An icon file of one 2 x 2 image: 24-bit colour rows (bottom-up) and a
// mask that makes the top-left pixel transparent.
QByteArray twoByTwoIcon()
{
    QByteArray dib;
    put32(dib, 40);
    put32(dib, 2);
    put32(dib, 4); // doubled height
    put16(dib, 1);
    put16(dib, 24);
    dib.append(QByteArray(24, '\0'));
    dib.append(QByteArray("\x00\x00\xFF" "\x00\xFF\x00" "\0\0", 8)); // bottom row: red, green
    dib.append(QByteArray("\xFF\x00\x00" "\xFF\xFF\xFF" "\0\0", 8)); // top row: blue, white
    dib.append(QByteArray("\x00\0\0\0", 4));                         // mask, bottom row
    dib.append(QByteArray("\x80\0\0\0", 4));                         // mask, top row

    QByteArray file;
    put16(file, 0);
    put16(file, 1);
    put16(file, 1);
    file.append(QByteArray("\x02\x02\x00\x00", 4));
    put16(file, 1);
    put16(file, 24);
    put32(file, quint32(dib.size()));
    put32(file, 22);
    return file + dib;
}

TEST(Icon, ReadsColourRowsAndTheTransparencyMask)
{
    TMemoryStream stream;
    stream.WriteBuffer(twoByTwoIcon());
    stream.SetPosition(0);
    TPicture picture;
    picture.LoadFromStream(&stream);
    auto *icon = qobject_cast<TIcon *>(picture.Graphic());
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(icon->Width(), 2);
    ASSERT_EQ(icon->Height(), 2);
    EXPECT_EQ(icon->Image().pixel(0, 0), qRgba(0, 0, 255, 0));
    EXPECT_EQ(icon->Image().pixel(1, 0), qRgba(255, 255, 255, 255));
    EXPECT_EQ(icon->Image().pixel(0, 1), qRgba(255, 0, 0, 255));
    EXPECT_EQ(icon->Image().pixel(1, 1), qRgba(0, 255, 0, 255));

    TMemoryStream saved;
    icon->SaveToStream(&saved);
    EXPECT_EQ(saved.Bytes(), twoByTwoIcon());
}

TEST(Icon, MalformedFilesAreRejected)
{
    const QByteArray good = twoByTwoIcon();
    auto load = [](const QByteArray &data) {
        TMemoryStream stream;
        stream.WriteBuffer(data);
        stream.SetPosition(0);
        TIcon icon;
        icon.LoadFromStream(&stream);
    };
    EXPECT_NO_THROW(load(good));
    EXPECT_THROW(load(good.left(10)), EInvalidGraphic);
    EXPECT_THROW(load(good.left(good.size() - 12)), EInvalidGraphic); // colour rows cut
    QByteArray badOffset = good;
    qToLittleEndian<quint32>(0xFFFFFFF0u, badOffset.data() + 18);
    EXPECT_THROW(load(badOffset), EInvalidGraphic);
    QByteArray noImages = good;
    qToLittleEndian<quint16>(0, noImages.data() + 4);
    EXPECT_THROW(load(noImages), EInvalidGraphic);
}

} // namespace
