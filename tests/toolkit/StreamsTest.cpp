#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include "common/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TMemoryStream, SeekFromEveryOriginAndWritePastTheEnd)
{
    TMemoryStream stream;
    stream.WriteBuffer(QByteArray("abcdef"));
    EXPECT_EQ(stream.Position(), 6);
    EXPECT_EQ(stream.Seek(-2, soEnd), 4);
    EXPECT_EQ(stream.Seek(-1, soCurrent), 3);
    EXPECT_EQ(stream.ReadBytes(10), QByteArray("def"));
    EXPECT_EQ(stream.ReadBytes(1), QByteArray()); // at the end

    // Writing past the end fills the gap with zero bytes.
    stream.Seek(2, soEnd);
    stream.WriteBuffer(QByteArray("X"));
    EXPECT_EQ(stream.Bytes(), QByteArray("abcdef\0\0X", 9));

    // Resizing keeps the position, even past the new end.
    stream.SetSize(3);
    EXPECT_EQ(stream.Position(), 9);
    EXPECT_EQ(stream.Size(), 3);
    EXPECT_EQ(stream.ReadBytes(1), QByteArray());

    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(TMemoryStream, ExactReadsAndWritesRaiseWhenShort)
{
    TMemoryStream stream;
    stream.WriteBuffer(QByteArray("abc"));
    stream.SetPosition(1);
    char buffer[4];
    EXPECT_THROW(stream.ReadBuffer(buffer, 4), EReadError);

    TSubStream view(&stream, 0, 2);
    EXPECT_THROW(view.WriteBuffer(QByteArray("z")), EWriteError);
    EXPECT_EQ(stream.Bytes(), QByteArray("abc"));
}

TEST(TStream, CopyFromCountZeroTakesTheWholeSource)
{
    TStringStream source(QStringLiteral("0123456789"));
    source.SetPosition(7);
    TMemoryStream target;
    EXPECT_EQ(target.CopyFrom(&source, 0), 10);
    EXPECT_EQ(target.Bytes(), QByteArray("0123456789"));

    // A count copies from the source's position.
    source.SetPosition(4);
    EXPECT_EQ(target.CopyFrom(&source, 3), 3);
    EXPECT_EQ(target.Bytes(), QByteArray("0123456789456"));
    EXPECT_THROW(target.CopyFrom(&source, 10), EReadError);
}

TEST(TStringStream, HoldsUtf8)
{
    TStringStream stream(QStringLiteral("Щ"));
    EXPECT_EQ(stream.Size(), 2);
    stream.Seek(0, soEnd);
    stream.WriteBuffer(QByteArray("!"));
    EXPECT_EQ(stream.DataString(), QStringLiteral("Щ!"));
}

TEST(TSubStream, ShowsOnlyItsWindow)
{
    TStringStream base(QStringLiteral("headPICTUREtail"));
    TSubStream view(&base, 4, 7);
    EXPECT_EQ(view.Size(), 7);
    EXPECT_EQ(view.Seek(0, soEnd), 7);
    view.SetPosition(0);
    EXPECT_EQ(view.ReadToEnd(), QByteArray("PICTURE"));
    EXPECT_EQ(view.ReadBytes(1), QByteArray());
    view.Seek(-3, soEnd);
    EXPECT_EQ(view.ReadBytes(10), QByteArray("URE"));

    // A window beyond the base reads what there is.
    TSubStream past(&base, 12, 10);
    EXPECT_EQ(past.ReadToEnd(), QByteArray("ail"));
}

class TFileStreamTest : public ::testing::Test
{
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

TEST_F(TFileStreamTest, CreateWriteAndReopen)
{
    {
        TFileStream file(path("data.bin"), fmCreate);
        file.WriteBuffer(QByteArray("hello world"));
        file.SetSize(5);
        EXPECT_EQ(file.Size(), 5);
    }
    TFileStream file(path("data.bin"), fmOpenRead | fmShareDenyNone);
    EXPECT_EQ(file.ReadToEnd(), QByteArray("hello"));
    EXPECT_EQ(file.Write("x", 1), 0); // opened for reading only
}

TEST_F(TFileStreamTest, CreateAddedToAShareModeStillCreates)
{
    EXPECT_EQ(fmCreate + fmShareDenyWrite, 65567u);
    for (quint32 mode : {fmCreate + fmShareExclusive, fmCreate + fmShareDenyWrite, fmCreate | fmShareDenyNone,
                         (fmCreate + fmShareDenyWrite) & 0xFFFF}) {
        const QString name = path("share.bin");
        TFileStream(name, fmCreate).WriteBuffer(QByteArray("old"));
        TFileStream file(name, mode);
        EXPECT_EQ(file.Size(), 0) << mode;
        file.WriteBuffer(QByteArray("new"));
    }
}

TEST_F(TFileStreamTest, FailuresNameTheFile)
{
    try {
        TFileStream(path("missing.bin"), fmOpenRead);
        FAIL() << "no exception";
    } catch (const EFOpenError &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Cannot open file \"") + path("missing.bin") + u'"'))
            << e.Message().toStdString();
    }
    EXPECT_THROW(TFileStream(path("no/such/folder.bin"), fmCreate), EFCreateError);
    EXPECT_THROW(TFileStream(dir.path(), fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(path("x.bin"), 3), EFOpenError);
}

TEST_F(TFileStreamTest, PositionsAreSixtyFourBit)
{
    TFileStream file(path("big.bin"), fmCreate);
    const qint64 far = 5'000'000'000LL;
    EXPECT_EQ(file.Seek(far, soBeginning), far);
    file.WriteBuffer(QByteArray("z"));
    EXPECT_EQ(file.Size(), far + 1);
    EXPECT_EQ(file.Seek(-1, soEnd), far);
}

TEST_F(TFileStreamTest, MemoryStreamFileRoundTrip)
{
    TMemoryStream out;
    out.WriteBuffer(QByteArray("\x00\x01\xFF", 3));
    out.SaveToFile(path("m.bin"));
    TMemoryStream in;
    in.WriteBuffer(QByteArray("previous content"));
    in.LoadFromFile(path("m.bin"));
    EXPECT_EQ(in.Bytes(), out.Bytes());
    EXPECT_EQ(in.Position(), 0);
    EXPECT_THROW(in.LoadFromFile(path("none.bin")), EFOpenError);
    EXPECT_EQ(in.Bytes(), out.Bytes());
}

TEST_F(TFileStreamTest, MadeByClassNameWithFileNameAndMode)
{
    std::unique_ptr<TObject> object(CreateObject(FindClass(QStringLiteral("tfilestream")),
                                                 QVariantList{path("by-name.bin"), fmCreate + fmShareDenyWrite}));
    auto *file = qobject_cast<TFileStream *>(object.get());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->FileName(), path("by-name.bin"));
    EXPECT_EQ(file->Write("abc", 3), 3);
    EXPECT_TRUE(RegisteredClassOf(ClassOf<TStream>())->isAbstract);
}
