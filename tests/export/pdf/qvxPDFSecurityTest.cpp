// The standard security handler against files that qpdf encrypted
// (qpdf --static-id --compress-streams=n --allow-weak-crypto
//  --encrypt USER OWNER 128 --use-aes=n [permissions]): their /ID, /O, /U,
// /P, the key qpdf shows with --show-encryption-key, and the encrypted
// bytes of object 2 (the title string) and object 5 (a Flate stream).

#include "ToolTestSupport.h"

#include "export/pdf/qvxPDFSecurity.h"
#include "toolkit/classes/Streams.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray fileId = QByteArray::fromHex("031ca88f9d8184ffff2b842348974130");
const QByteArray plainTitle = "Encrypted title";
const QByteArray plainStream = QByteArray::fromHex("789c33503050c85530343000e31c8560ae408542002ccb045b");

struct QpdfVector {
    const char *user;
    const char *owner;
    qint32 p;
    const char *o;
    const char *u16; // the first 16 bytes of /U; qpdf fills the rest at will
    const char *key;
    const char *title;
    const char *stream;
};

const QpdfVector qpdfVectors[] = {
    {"user", "owner", -4, "0ba3835f88f90388e74e54584125ce142be0de24c6b0d37746e075b891756671",
     "480a524ebb829f12013987653cf51ba6", "f190142ca4d2ac66b420b33dbcf712a7", "f8e1f64006489dc298038374adafc4",
     "5ac9ec9187d985c714f9e9194cba90a65098ceea165a0dc09d"},
    // No owner password: qpdf, like the writer, takes the user password.
    {"secret", "", -3376, "0e522925a3e4e874c3cfacbef511a73ac4ec2bd865dcd3d4627614917abfd7e4",
     "9683ba391657c4fd29b0c4cb1b204259", "1fce3501bf30848897a3e039a7c4a93e", "8bed27a1353f0419e9f3d4d3adfb35",
     "fff84abdaaa697ddd035c73bfa800327d0e4dcb31720a5544d"},
    {"", "owner", -52, "566fa873ee33c797cd3b904fdadf814afa34df9a38f6ed41b984e2c6da2aa6f5",
     "756bb30b8893cf4415104e0badbf81c1", "0edcc2f95ec85d6fb79a48dbdc0b633a", "4da8cee5ccd50c0fa06f23ca637912",
     "b5fa13d4619634dd183908450ee3959a610d3b44a674c3e44e"},
};

TEST(PDFSecurity, KeysMatchQpdf)
{
    for (const QpdfVector &v : qpdfVectors) {
        const TqvxPDFKeys keys = PrepareKeys(v.user, v.owner, v.p, fileId);
        EXPECT_EQ(keys.O.toHex(), v.o) << v.user;
        EXPECT_EQ(keys.U.left(16).toHex(), v.u16) << v.user;
        EXPECT_EQ(keys.U.mid(16), QByteArray(16, '\0'));
        EXPECT_EQ(keys.FileKey.toHex(), v.key) << v.user;
    }
}

TEST(PDFSecurity, EncryptsStringsAndStreamsWithTheObjectKey)
{
    for (const QpdfVector &v : qpdfVectors) {
        const QByteArray key = QByteArray::fromHex(v.key);
        EXPECT_EQ(CryptBytes(key, plainTitle, 2).toHex(), v.title) << v.user;
        TMemoryStream source, destination;
        source.WriteBuffer(plainStream);
        destination.WriteBuffer("head");
        CryptStream(key, &source, &destination, 5);
        EXPECT_EQ(destination.Bytes().mid(4).toHex(), v.stream) << v.user;
        EXPECT_EQ(CryptBytes(key, QByteArray::fromHex(v.stream), 5), plainStream);
    }
}

TEST(PDFSecurity, ObjectKeyTakesThreeBytesOfTheNumberAndTwoOfTheGeneration)
{
    const QByteArray key = QByteArray::fromHex("f190142ca4d2ac66b420b33dbcf712a7");
    EXPECT_EQ(ObjectKey(key, 5).size(), 16);
    EXPECT_EQ(ObjectKey(key, 5), ObjectKey(key, 5 + 0x1000000));
    EXPECT_NE(ObjectKey(key, 5), ObjectKey(key, 5 + 0x10000));
    EXPECT_NE(ObjectKey(key, 5, 1), ObjectKey(key, 5, 0));
    EXPECT_EQ(ObjectKey(key, 5, 1), ObjectKey(key, 5, 0x10001));
}

TEST(PDFSecurity, PermissionValueForEveryFlagSet)
{
    for (int bits = 0; bits < 16; ++bits) {
        const auto flags = TqvxPDFEncBits::fromInt(bits);
        const qint32 expected = -64 + 4 * (bits & 1) + 8 * ((bits >> 1) & 1) + 16 * ((bits >> 2) & 1)
            + 32 * ((bits >> 3) & 1);
        EXPECT_EQ(PermissionValue(flags), expected) << bits;
    }
    EXPECT_EQ(PermissionValue(ePrint | eModify | eCopy | eAnnot), -4);
    EXPECT_EQ(PermissionValue({}), -64);
    EXPECT_EQ(PermissionValue(ePrint), -60);
}

TEST(PDFSecurity, PadPasswordCutsAndCompletes)
{
    const QByteArray padding = QByteArray::fromHex("28bf4e5e4e758a4164004e56fffa01082e2e00b6d0683e802f0ca9fe6453697a");
    EXPECT_EQ(PadPassword(""), padding);
    EXPECT_EQ(PadPassword("abc"), "abc" + padding.left(29));
    const QByteArray longPassword(40, 'x');
    EXPECT_EQ(PadPassword(longPassword), longPassword.left(32));
    EXPECT_EQ(PrepareKeys(longPassword, "o", -4, fileId).FileKey,
              PrepareKeys(longPassword.left(32), "o", -4, fileId).FileKey);
}

TEST(PDFSecurity, EmptyOwnerPasswordMeansTheUserPassword)
{
    const TqvxPDFKeys implicit = PrepareKeys("pass", "", -4, fileId);
    const TqvxPDFKeys both = PrepareKeys("pass", "pass", -4, fileId);
    EXPECT_EQ(implicit.O, both.O);
    EXPECT_EQ(implicit.U, both.U);
    EXPECT_EQ(implicit.FileKey, both.FileKey);
}

} // namespace

namespace {

// A one-page file encrypted by hand with our keys, read back by qpdf with
// either password: the content stream (object 4) and the title (object 5)
// must come out as they went in.
QByteArray encryptedDocument(const TqvxPDFKeys &keys, const QByteArray &content, const QByteArray &title)
{
    QByteArray pdf = "%PDF-1.5\n";
    QList<qsizetype> offsets;
    auto object = [&](const QByteArray &body) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R >>");
    const QByteArray stream = CryptBytes(keys.FileKey, content, 4);
    object("<< /Length " + QByteArray::number(stream.size()) + " >>\nstream\n" + stream + "\nendstream");
    object("<< /Title <" + CryptBytes(keys.FileKey, title, 5).toHex() + "> >>");
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 6\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size 6 /Root 1 0 R /Info 5 0 R /ID [<" + fileId.toHex() + "><" + fileId.toHex()
        + ">]\n/Encrypt << /Filter /Standard /V 2 /R 3 /Length 128 /P -4 /O <" + keys.O.toHex() + "> /U <"
        + keys.U.toHex() + "> >> >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

TEST(PDFSecurity, QpdfOpensAndDecryptsOurFileWithEitherPassword)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("encrypted.pdf"));
    const QByteArray content = "0 0 m 100 100 l S\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(encryptedDocument(PrepareKeys("user", "owner", -4, fileId), content, "Title (1)"));
    }
    for (const QString &password : {QStringLiteral("user"), QStringLiteral("owner")}) {
        const QString option = QStringLiteral("--password=") + password;
        QString output;
        EXPECT_EQ(runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), option, path}, &output), 0)
            << output.toStdString();
        runTool(QStringLiteral("qpdf"),
                {option, QStringLiteral("--show-object=4"), QStringLiteral("--raw-stream-data"), path}, &output);
        EXPECT_EQ(output.toUtf8(), content) << password.toStdString();
        runTool(QStringLiteral("qpdf"), {option, QStringLiteral("--show-object=5"), path}, &output);
        EXPECT_EQ(output.trimmed(), QStringLiteral("<< /Title (Title \\(1\\)) >>")) << password.toStdString();
    }
    EXPECT_EQ(runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), QStringLiteral("--password=wrong"), path}),
              2);
}

} // namespace
