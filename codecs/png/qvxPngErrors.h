#pragma once

// The exceptions of the PNG codec: one class per kind of error, each with its
// fixed message.  All derive directly from Exception.

#include "toolkit/core/Exceptions.h"

#define PNG_EXCEPTION(Name)                                                    \
    class Name : public Exception                                              \
    {                                                                          \
    public:                                                                    \
        Name();                                                                \
        QString ClassName() const override { return QStringLiteral(#Name); }   \
    };

PNG_EXCEPTION(EPngInvalidCRC)
PNG_EXCEPTION(EPngInvalidIHDR)
PNG_EXCEPTION(EPNGMissingMultipleIDAT)
PNG_EXCEPTION(EPNGInvalidPalette)
PNG_EXCEPTION(EPNGInvalidFileHeader)
PNG_EXCEPTION(EPNGIHDRNotFirst)
PNG_EXCEPTION(EPNGSizeExceeds)
PNG_EXCEPTION(EPNGUnknownCriticalChunk)
PNG_EXCEPTION(EPNGUnknownCompression)
PNG_EXCEPTION(EPNGUnknownInterlace)
PNG_EXCEPTION(EPngUnexpectedEnd)
PNG_EXCEPTION(EPNGNoImageData)
PNG_EXCEPTION(EPNGOutMemory)
PNG_EXCEPTION(EPNGHeaderNotPresent)
PNG_EXCEPTION(EPNGInvalidNewSize)

#undef PNG_EXCEPTION

// Inflate or deflate failed; the message ends with zlib's text for the code.
class EPNGZLIBError : public Exception
{
public:
    explicit EPNGZLIBError(int zlibCode);
    QString ClassName() const override { return QStringLiteral("EPNGZLIBError"); }
};

// Assigning a chunk from one of another class.
class EPngError : public Exception
{
public:
    using Exception::Exception;
    static EPngError Incompatible();
    QString ClassName() const override { return QStringLiteral("EPngError"); }
};

// zlib's error text for a return code, as the messages show it.
QString ZlibErrorText(int zlibCode);
