#pragma once

// The PDF standard security handler, revision 3, with a 128-bit RC4 key:
// the permission value, the O and U entries and the file key made from the
// passwords, the key of each object, and encryption of the strings and
// streams of an object.  Everything here is a pure function of its
// arguments; the document writer keeps the keys of one document.
//
// Passwords are bytes: PasswordBytes turns the user's text into them.

#include <QByteArray>
#include <QFlags>
#include <QObject>
#include <QString>

class TStream;

namespace PdfTypes {
Q_NAMESPACE

// Permissions granted to a reader who opens the document with the user
// password.
enum TqvxPDFEncBit {
    ePrint = 0x01,
    eModify = 0x02,
    eCopy = 0x04,
    eAnnot = 0x08,
};
Q_DECLARE_FLAGS(TqvxPDFEncBits, TqvxPDFEncBit)
Q_FLAG_NS(TqvxPDFEncBits)

} // namespace PdfTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(PdfTypes::TqvxPDFEncBits)

using PdfTypes::TqvxPDFEncBit;
using PdfTypes::TqvxPDFEncBits;
using enum PdfTypes::TqvxPDFEncBit;

// The /P value: -64 + 4 print + 8 modify + 16 copy + 32 annotate.
qint32 PermissionValue(TqvxPDFEncBits flags);

// The bytes of a password as readers make them of what is typed: Latin-1,
// where PDF's own text encoding agrees with it (printable ASCII and
// U+00A1..U+00FF but the soft hyphen).  Raises Exception naming the
// password's role for any other character, since no reader could open the
// document with it, or anyone could when it became question marks.  A
// program may translate the message (context "qvxPDFSecurity").
enum class TqvxPasswordRole { User, Owner };
QByteArray PasswordBytes(const QString &password, TqvxPasswordRole role);
// The index of the first character of password that PasswordBytes cannot
// turn into a byte (Cyrillic, control characters, the soft hyphen); -1
// when there is none.
int FirstUnusablePasswordChar(const QString &password);

// The first 32 bytes of the password, completed with the standard padding.
QByteArray PadPassword(const QByteArray &password);

struct TqvxPDFKeys {
    QByteArray O; // 32 bytes, the /O entry
    QByteArray U; // 32 bytes, the /U entry (16 bytes and 16 zeros)
    QByteArray FileKey; // 16 bytes
};

// The keys of a document.  An empty owner password means the user
// password; fileId is the 16 bytes of the first /ID element.
TqvxPDFKeys PrepareKeys(const QByteArray &userPassword, const QByteArray &ownerPassword, qint32 permissions,
                        const QByteArray &fileId);

// The 16-byte RC4 key of one object: the MD5 of the file key, the low three
// bytes of the object number and the low two of the generation.
QByteArray ObjectKey(const QByteArray &fileKey, int objectNumber, int generation = 0);

// A string or stream of an object, encrypted (RC4 is its own inverse, so
// the same call decrypts).
QByteArray CryptBytes(const QByteArray &fileKey, const QByteArray &data, int objectNumber, int generation = 0);

// The whole source, from its beginning, encrypted onto the destination at
// its position.
void CryptStream(const QByteArray &fileKey, TStream *source, TStream *destination, int objectNumber,
                 int generation = 0);
