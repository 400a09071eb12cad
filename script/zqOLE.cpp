#include "script/zqOLE.h"

#include "script/zqMessages.h"
#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/SysUtils.h"

#include <QHash>

namespace {

QHash<QString, TzqDispatchFactory> &factories()
{
    static QHash<QString, TzqDispatchFactory> registry;
    return registry;
}

[[noreturn]] void raiseOleError(HRESULT code, const QString &name, const TzqExcepInfo &info = {})
{
    QString message = SOleError;
    qsizetype from = 0;
    for (const QString &part : {IntToHex(qint32(code), 8), name, SysErrorMessage(code)}) {
        const qsizetype at = message.indexOf(QStringLiteral("%s"), from);
        if (at < 0)
            break;
        message.replace(at, 2, part);
        from = at + part.size();
    }
    const auto line = [&message](const char *label, const QString &value) {
        if (!value.isEmpty())
            message += QStringLiteral("\r\n") + QString::fromLatin1(label) + value;
    };
    line("Source        ::  ", info.Source);
    line("Description ::  ", info.Description);
    line("Help File     ::  ", info.HelpFile);
    throw EOleError(message);
}

} // namespace

QString SysErrorMessage(HRESULT code)
{
    static const QHash<HRESULT, QString> texts = {
        {S_OK, QStringLiteral("The operation completed successfully")},
        {E_FAIL, QStringLiteral("Unspecified error")},
        {DISP_E_MEMBERNOTFOUND, QStringLiteral("Member not found")},
        {DISP_E_TYPEMISMATCH, QStringLiteral("Type mismatch")},
        {DISP_E_UNKNOWNNAME, QStringLiteral("Unknown name")},
        {DISP_E_EXCEPTION, QStringLiteral("Exception occurred")},
        {DISP_E_BADPARAMCOUNT, QStringLiteral("Invalid number of parameters")},
        {CO_E_CLASSSTRING, QStringLiteral("Invalid class string")},
    };
    return texts.value(code, QStringLiteral("Unknown error"));
}

Variant DispatchInvoke(TzqDispatch *object, const QString &name, quint16 flags, const QList<Variant> &arguments,
                       bool wantResult)
{
    if (arguments.size() > MaxDispatchArgs)
        throw EOleError(STooManyParams);
    qint32 dispId = 0;
    HRESULT code = object->GetIDsOfNames(name, dispId);
    if (code != S_OK)
        raiseOleError(code, name);
    TzqDispParams params;
    for (auto it = arguments.crbegin(); it != arguments.crend(); ++it)
        params.Args.append(*it);
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    if (put)
        params.NamedArgs.append(DISPID_PROPERTYPUT);
    Variant result;
    TzqExcepInfo info;
    if (wantResult && !put && (flags & DISPATCH_METHOD))
        flags |= DISPATCH_PROPERTYGET;
    code = object->Invoke(dispId, flags, params, wantResult && !put ? &result : nullptr, info);
    if (code != S_OK)
        raiseOleError(code, name, info);
    return result;
}

void RegisterOleClass(const QString &className, const TzqDispatchFactory &factory)
{
    factories().insert(className.toUpper(), factory);
}

void UnregisterOleClass(const QString &className)
{
    factories().remove(className.toUpper());
}

TzqDispatch *CreateOleObject(const QString &className)
{
    const TzqDispatchFactory factory = factories().value(className.toUpper());
    if (!factory)
        raiseOleError(CO_E_CLASSSTRING, className);
    return factory();
}

TzqDispatch *zqDispatchOf(const Variant &value)
{
    const TVarType type = VarType(value);
    if (type != varInteger)
        return nullptr;
    return dynamic_cast<TzqDispatch *>(ObjectHandleRegistry::Find(value.AsInteger()));
}

TzqOLEHelper::TzqOLEHelper(const QString &name, int argumentCount) : TzqCustomHelper(name, fvtVariant, QString())
{
    for (int i = 0; i < argumentCount; ++i)
        AddParam(std::make_unique<TzqParamItem>(QString(), fvtVariant, QString(), false, false));
}

QList<Variant> TzqOLEHelper::arguments() const
{
    QList<Variant> result;
    for (int i = 0; i < Count(); ++i)
        result.append(Params(i)->Value);
    return result;
}

Variant TzqOLEHelper::GetValue()
{
    TzqDispatch *object = zqDispatchOf(ParentValue);
    if (!object)
        throw EOleError(SNilObject + u'\'' + Name + u'\'');
    return DispatchInvoke(object, Name, DISPATCH_METHOD, arguments(), NeedResult);
}

void TzqOLEHelper::SetValue(const Variant &value)
{
    TzqDispatch *object = zqDispatchOf(ParentValue);
    if (!object)
        throw EOleError(SNilObject + u'\'' + Name + u'\'');
    QList<Variant> args = arguments();
    args.append(value);
    DispatchInvoke(object, Name, zqDispatchOf(value) ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, args, false);
}
