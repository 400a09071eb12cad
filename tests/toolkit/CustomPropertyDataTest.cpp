#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/CustomPropertyData.h"
#include "toolkit/classes/TFiler.h"
#include "toolkit/classes/TPersistent.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// Keeps its position and a picture as custom properties, the picture only
// when there is one.
class TPlaced : public TPersistent
{
public:
    int left = 0;
    int top = 0;
    QString kind;
    QByteArray image;

    void DefineProperties(TFiler &filer) override
    {
        filer.DefineProperty(
            QStringLiteral("pLeft"), [this](TReader &r) { left = r.ReadInteger(); },
            [this](TWriter &w) { w.WriteInteger(left); }, true);
        filer.DefineProperty(
            QStringLiteral("pTop"), [this](TReader &r) { top = r.ReadInteger(); },
            [this](TWriter &w) { w.WriteInteger(top); }, true);
        filer.DefineProperty(
            QStringLiteral("Data"),
            [this](TReader &r) {
                kind = r.ReadString();
                image = r.ReadBytes();
            },
            [this](TWriter &w) {
                w.WriteString(kind);
                w.WriteBytes(image);
            },
            !image.isEmpty());
    }
};

// Defines only the position.
class TPositionOnly : public TPersistent
{
public:
    int left = 0;
    void DefineProperties(TFiler &filer) override
    {
        filer.DefineProperty(
            QStringLiteral("pLeft"), [this](TReader &r) { left = r.ReadInteger(); },
            [this](TWriter &w) { w.WriteInteger(left); }, true);
    }
};

void fillSample(TPlaced &placed)
{
    placed.left = -12;
    placed.top = 300;
    placed.kind = QStringLiteral("Рисунок");
    placed.image = QByteArray("\x89PNG\0\x01", 6);
}

} // namespace

TEST(PropertyDataTest, RoundTrip)
{
    TPlaced source;
    fillSample(source);
    const QByteArray data = WritePropertyData(source);

    TPlaced target;
    ReadPropertyData(target, data);
    EXPECT_EQ(target.left, -12);
    EXPECT_EQ(target.top, 300);
    EXPECT_EQ(target.kind, QStringLiteral("Рисунок"));
    EXPECT_EQ(target.image, source.image);

    TPersistent plain;
    EXPECT_TRUE(WritePropertyData(plain).isEmpty());
    ReadPropertyData(plain, QByteArray());
}

TEST(PropertyDataTest, PropertiesWithoutDataAreLeftOut)
{
    TPlaced source;
    fillSample(source);
    source.image.clear();
    TPlaced target;
    target.kind = QStringLiteral("kept");
    ReadPropertyData(target, WritePropertyData(source));
    EXPECT_EQ(target.kind, QStringLiteral("kept"));
    EXPECT_EQ(target.top, 300);
}

TEST(PropertyDataTest, UnknownPropertiesAreRefusedBeforeAnythingIsApplied)
{
    TPlaced source;
    fillSample(source);
    TPositionOnly target;
    EXPECT_THROW(ReadPropertyData(target, WritePropertyData(source)), EReadError);
    EXPECT_EQ(target.left, 0);
}

TEST(PropertyDataTest, MalformedDataRaisesReadError)
{
    TPlaced source;
    fillSample(source);
    const QByteArray data = WritePropertyData(source);

    // Every cut inside a property is noticed.
    int refused = 0;
    for (qsizetype cut = 1; cut < data.size(); ++cut) {
        TPlaced target;
        try {
            ReadPropertyData(target, data.left(cut));
        } catch (const EReadError &) {
            ++refused;
        }
    }
    EXPECT_EQ(refused, data.size() - 3) << "only the cuts between properties read";

    // A value count or block length far beyond the data.
    QByteArray huge = data;
    huge[2 + 5] = char(0x7F); // high byte of pLeft's value count
    TPlaced target;
    EXPECT_THROW(ReadPropertyData(target, huge), EReadError);

    QByteArray badTag = data;
    badTag[2 + 5 + 4] = char(9); // the tag of pLeft's value
    EXPECT_THROW(ReadPropertyData(target, badTag), EReadError);
}

TEST(PropertyDataTest, ReadProceduresMustMatchTheStoredValues)
{
    // pLeft stored as a string instead of an integer.
    class TWrongType : public TPersistent
    {
    public:
        void DefineProperties(TFiler &filer) override
        {
            filer.DefineProperty(QStringLiteral("pLeft"), nullptr,
                                 [](TWriter &w) { w.WriteString(QStringLiteral("12")); }, true);
        }
    } wrong;
    TPositionOnly target;
    EXPECT_THROW(ReadPropertyData(target, WritePropertyData(wrong)), EReadError);
}
