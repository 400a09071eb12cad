#include "codecs/png/qvxPngErrors.h"

#include <QCoreApplication>

#include <array>

EPngInvalidCRC::EPngInvalidCRC() : Exception(QStringLiteral("This \"Portable Network Graphics\" image is not valid because it contains invalid pieces of data (crc error)")) {}
EPngInvalidIHDR::EPngInvalidIHDR() : Exception(QStringLiteral("The \"Portable Network Graphics\" image could not be loaded because one of its main piece of data (ihdr) might be corrupted")) {}
EPNGMissingMultipleIDAT::EPNGMissingMultipleIDAT() : Exception(QStringLiteral("This \"Portable Network Graphics\" image is invalid because it has missing image parts.")) {}
EPNGInvalidPalette::EPNGInvalidPalette() : Exception(QStringLiteral("The \"Portable Network Graphics\" image contains an invalid palette.")) {}
EPNGInvalidFileHeader::EPNGInvalidFileHeader() : Exception(QStringLiteral("The file being readed is not a valid \"Portable Network Graphics\" image because it contains an invalid header. This file may be corruped, try obtaining it again.")) {}
EPNGIHDRNotFirst::EPNGIHDRNotFirst() : Exception(QStringLiteral("This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n(IHDR chunk is not the first)")) {}
EPNGSizeExceeds::EPNGSizeExceeds() : Exception(QStringLiteral("This \"Portable Network Graphics\" image is not supported because either it's width or height exceeds the maximum size, which is 65535 pixels length.")) {}
EPNGUnknownCriticalChunk::EPNGUnknownCriticalChunk() : Exception(QStringLiteral("This \"Portable Network Graphics\" image contains an unknown critical part which could not be decoded.")) {}
EPNGUnknownCompression::EPNGUnknownCompression() : Exception(QStringLiteral("This \"Portable Network Graphics\" image is encoded with an unknown compression scheme which could not be decoded.")) {}
EPNGUnknownInterlace::EPNGUnknownInterlace() : Exception(QStringLiteral("This \"Portable Network Graphics\" image uses an unknown interlace scheme which could not be decoded.")) {}
EPngUnexpectedEnd::EPngUnexpectedEnd() : Exception(QStringLiteral("This \"Portable Network Graphics\" image is invalid because the decoder found an unexpected end of the file.")) {}
EPNGNoImageData::EPNGNoImageData() : Exception(QStringLiteral("This \"Portable Network Graphics\" image contains no data.")) {}
EPNGOutMemory::EPNGOutMemory() : Exception(QCoreApplication::translate("qvxPngErrors", "Some operation could not be performed because the system is out of resources. Close some windows and try again.")) {}
EPNGHeaderNotPresent::EPNGHeaderNotPresent() : Exception(QStringLiteral("This operation is not valid because the current image contains no valid header.")) {}
EPNGInvalidNewSize::EPNGInvalidNewSize() : Exception(QStringLiteral("The new size provided for image resizing is invalid.")) {}

QString ZlibErrorText(int zlibCode)
{
    // Indexed by the code, from Z_VERSION_ERROR (-6) to Z_NEED_DICT (2).
    static const std::array<QString, 9> texts = {
        QStringLiteral("incompatible version (-6)"),
        QStringLiteral("buffer error (-5)"),
        QStringLiteral("insufficient memory (-4)"),
        QStringLiteral("data error (-3)"),
        QStringLiteral("stream error (-2)"),
        QStringLiteral("file error (-1)"),
        QStringLiteral("(0)"),
        QStringLiteral("stream end (1)"),
        QStringLiteral("need dictionary (2)"),
    };
    const int index = zlibCode + 6;
    if (index < 0 || index >= int(texts.size()))
        return QStringLiteral("(%1)").arg(zlibCode);
    return texts[size_t(index)];
}

EPNGZLIBError::EPNGZLIBError(int zlibCode) : Exception(QStringLiteral("Could not decompress the image because it contains invalid compressed data.\r\n Description: ") + ZlibErrorText(zlibCode)) {}

EPngError EPngError::Incompatible()
{
    return EPngError(QStringLiteral("The chunks must be compatible to be assigned."));
}
