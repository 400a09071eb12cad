#pragma once

// The exception classes of the runtime.  Every exception carries a message and
// its class name, which scripts can read (ExceptionClassName) and which error
// lists show; each subclass keeps the classic name.

#include <QString>
#include <exception>

class Exception : public std::exception
{
public:
    explicit Exception(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}
    ~Exception() override = default;

    const QString &Message() const { return m_message; }
    void SetMessage(const QString &message)
    {
        m_message = message;
        m_utf8 = message.toUtf8();
    }

    // The class name as the classic runtime spells it ("EConvertError").
    virtual QString ClassName() const { return QStringLiteral("Exception"); }

    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

#define TOOLKIT_EXCEPTION(Name, Base)                                          \
    class Name : public Base                                                   \
    {                                                                          \
    public:                                                                    \
        using Base::Base;                                                      \
        QString ClassName() const override { return QStringLiteral(#Name); }   \
    };

TOOLKIT_EXCEPTION(EAbort, Exception)
TOOLKIT_EXCEPTION(EAbstractError, Exception)
TOOLKIT_EXCEPTION(EConvertError, Exception)
TOOLKIT_EXCEPTION(EVariantError, Exception)
TOOLKIT_EXCEPTION(EVariantTypeCastError, EVariantError)
TOOLKIT_EXCEPTION(EVariantInvalidOpError, EVariantError)
TOOLKIT_EXCEPTION(EVariantBadIndexError, EVariantError)
TOOLKIT_EXCEPTION(EVariantOverflowError, EVariantError)
TOOLKIT_EXCEPTION(EVariantInvalidArgError, EVariantError)
TOOLKIT_EXCEPTION(EVariantArrayCreateError, EVariantError)
TOOLKIT_EXCEPTION(EVariantNotAnArrayError, EVariantError)
TOOLKIT_EXCEPTION(EMathError, Exception)
TOOLKIT_EXCEPTION(EZeroDivide, EMathError)
TOOLKIT_EXCEPTION(EInvalidOp, EMathError)
TOOLKIT_EXCEPTION(EOverflow, EMathError)
TOOLKIT_EXCEPTION(EUnderflow, EMathError)
TOOLKIT_EXCEPTION(EIntError, Exception)
TOOLKIT_EXCEPTION(EDivByZero, EIntError)
TOOLKIT_EXCEPTION(EIntOverflow, EIntError)
TOOLKIT_EXCEPTION(ERangeError, EIntError)
TOOLKIT_EXCEPTION(EListError, Exception)
TOOLKIT_EXCEPTION(EStringListError, Exception)
TOOLKIT_EXCEPTION(EStreamError, Exception)
TOOLKIT_EXCEPTION(EFCreateError, EStreamError)
TOOLKIT_EXCEPTION(EFOpenError, EStreamError)
TOOLKIT_EXCEPTION(EReadError, EStreamError)
TOOLKIT_EXCEPTION(EWriteError, EStreamError)
TOOLKIT_EXCEPTION(EInOutError, Exception)
TOOLKIT_EXCEPTION(EComponentError, Exception)
TOOLKIT_EXCEPTION(EClassNotFound, Exception)
TOOLKIT_EXCEPTION(EInvalidOperation, Exception)
TOOLKIT_EXCEPTION(EInvalidGraphic, Exception)
TOOLKIT_EXCEPTION(EInvalidGraphicOperation, Exception)
TOOLKIT_EXCEPTION(EResNotFound, Exception)
TOOLKIT_EXCEPTION(EPrinter, Exception)
TOOLKIT_EXCEPTION(EOleError, Exception)
TOOLKIT_EXCEPTION(EInvalidCast, Exception)
// An allocation that failed or would pass a limit set for input.
TOOLKIT_EXCEPTION(EOutOfMemory, Exception)
TOOLKIT_EXCEPTION(EPropertyError, Exception)
// A handle or pointer that names no live object (freed, or never known).
TOOLKIT_EXCEPTION(EInvalidObject, Exception)
