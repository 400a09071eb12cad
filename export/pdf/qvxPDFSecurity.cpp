#include "export/pdf/qvxPDFSecurity.h"

#include "export/pdf/qvxRC4.h"
#include "export/pdf/qvxmd5.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/Exceptions.h"

#include <QCoreApplication>

namespace {

constexpr int md5Rounds = 50;
constexpr int rc4Rounds = 19;

const QByteArray &passwordPadding()
{
    static const QByteArray padding = QByteArray::fromHex(
        "28bf4e5e4e758a4164004e56fffa01082e2e00b6d0683e802f0ca9fe6453697a");
    return padding;
}

// MD5 of the data, then fifty more MD5s of the 16-byte result.
QByteArray stretchedMD5(const QByteArray &data)
{
    QByteArray key = MD5Buffer(data);
    for (int i = 0; i < md5Rounds; ++i)
        key = MD5Buffer(key);
    return key;
}

// RC4 with the key, then nineteen more with each key byte xor the round.
QByteArray repeatedRC4(const QByteArray &key, QByteArray data)
{
    for (int round = 0; round <= rc4Rounds; ++round) {
        QByteArray roundKey = key;
        for (char &byte : roundKey)
            byte = char(quint8(byte) ^ quint8(round));
        TqvxRC4 rc4;
        rc4.Start(roundKey);
        data = rc4.Crypt(data);
    }
    return data;
}

QByteArray littleEndian32(qint32 value)
{
    const auto bits = quint32(value);
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(bits >> (8 * i));
    return bytes;
}

} // namespace

qint32 PermissionValue(TqvxPDFEncBits flags)
{
    return -64 + (flags.testFlag(ePrint) ? 4 : 0) + (flags.testFlag(eModify) ? 8 : 0)
        + (flags.testFlag(eCopy) ? 16 : 0) + (flags.testFlag(eAnnot) ? 32 : 0);
}

int FirstUnusablePasswordChar(const QString &password)
{
    for (int i = 0; i < password.size(); ++i) {
        const char16_t u = password.at(i).unicode();
        const bool ascii = u >= 0x20 && u <= 0x7E;
        const bool latin = u >= 0xA1 && u <= 0xFF && u != 0xAD;
        if (!ascii && !latin)
            return i;
    }
    return -1;
}

QByteArray PasswordBytes(const QString &password, TqvxPasswordRole role)
{
    const int bad = FirstUnusablePasswordChar(password);
    if (bad == -1)
        return password.toLatin1();
    const char *message = role == TqvxPasswordRole::User
            ? QT_TRANSLATE_NOOP("qvxPDFSecurity", "The user password cannot be used: PDF readers take only Latin "
                                                  "letters, digits and signs in a password, not \"%1\"")
            : QT_TRANSLATE_NOOP("qvxPDFSecurity", "The owner password cannot be used: PDF readers take only Latin "
                                                  "letters, digits and signs in a password, not \"%1\"");
    throw Exception(QCoreApplication::translate("qvxPDFSecurity", message).arg(password.mid(bad, 1)));
}

QByteArray PadPassword(const QByteArray &password)
{
    const QByteArray head = password.left(32);
    return head + passwordPadding().left(32 - head.size());
}

TqvxPDFKeys PrepareKeys(const QByteArray &userPassword, const QByteArray &ownerPassword, qint32 permissions,
                        const QByteArray &fileId)
{
    const QByteArray owner = ownerPassword.isEmpty() ? userPassword : ownerPassword;
    const QByteArray paddedUser = PadPassword(userPassword);
    TqvxPDFKeys keys;
    keys.O = repeatedRC4(stretchedMD5(PadPassword(owner)), paddedUser);
    keys.FileKey = stretchedMD5(paddedUser + keys.O + littleEndian32(permissions) + fileId.left(16));
    keys.U = repeatedRC4(keys.FileKey, MD5Buffer(passwordPadding() + fileId.left(16))) + QByteArray(16, '\0');
    return keys;
}

QByteArray ObjectKey(const QByteArray &fileKey, int objectNumber, int generation)
{
    QByteArray material = fileKey;
    for (int i = 0; i < 3; ++i)
        material.append(char(quint32(objectNumber) >> (8 * i)));
    for (int i = 0; i < 2; ++i)
        material.append(char(quint32(generation) >> (8 * i)));
    return MD5Buffer(material);
}

QByteArray CryptBytes(const QByteArray &fileKey, const QByteArray &data, int objectNumber, int generation)
{
    TqvxRC4 rc4;
    rc4.Start(ObjectKey(fileKey, objectNumber, generation));
    return rc4.Crypt(data);
}

void CryptStream(const QByteArray &fileKey, TStream *source, TStream *destination, int objectNumber,
                 int generation)
{
    source->SetPosition(0);
    destination->WriteBuffer(CryptBytes(fileKey, source->ReadToEnd(), objectNumber, generation));
}
