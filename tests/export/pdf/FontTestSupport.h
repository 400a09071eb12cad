#pragma once

// Checks of subset fonts with tools that know nothing of our code: the
// OpenType sanitizer, fontTools' checksum check, and FreeType's outlines.

#include "export/pdf/qvxTrueTypeTables.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A font of tests/data/fonts.
QByteArray testFont(const QString &name);

// The file of an installed face, found through the program's font engine.
struct InstalledFont {
    QByteArray data;
    int faceIndex = 0;
};
InstalledFont installedFont(const QString &family, bool bold = false, bool italic = false);

// Debian's Python interpreter, where python3-fonttools is installed.
QString fontToolsPython();

// "" when ots-sanitize accepts the font, else its complaint.
QString otsComplaint(const QByteArray &font);
// "" when fontTools opens the font with checkChecksums=2 and decompiles
// every table, else its complaint.
QString fontToolsComplaint(const QByteArray &font);

// What a Python snippet prints with the font opened by fontTools as f.
QString fontToolsOutput(const QByteArray &font, const QString &code);

// The glyphs whose outline (points, tags, contour ends, unscaled and
// unhinted) in the subset differs from the original face's, or that
// FreeType cannot load from the subset although it can from the original.
QList<int> glyphsWithOtherOutlines(const QByteArray &original, int faceIndex, const QByteArray &subset,
                                   const QList<int> &glyphs);

// The big-endian 32-bit sum of the whole file.
quint32 wholeFileSum(const QByteArray &font);

// Offset and length of a table in a single font file; {-1, 0} when absent.
struct TableLocation {
    qint64 offset = -1;
    qint64 length = 0;
};
TableLocation findTable(const QByteArray &font, quint32 tag, qint64 faceOffset = 0);
inline TableLocation findTable(const QByteArray &font, const char (&tag)[5], qint64 faceOffset = 0)
{
    return findTable(font, FontTag(tag), faceOffset);
}

// The bytes of glyph g of a single font file (from loca and glyf).
QByteArray glyphBytes(const QByteArray &font, int g, qint64 faceOffset = 0);
