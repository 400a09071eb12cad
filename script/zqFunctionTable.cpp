#include "script/zqFunctionTable.h"

#include "script/zqClasses.h"
#include "toolkit/classes/ObjectHandles.h"

QString zqText(TzqMethodHelper *caller, int index)
{
    return VarToStr(caller->GetParams(index));
}

int zqInt(TzqMethodHelper *caller, int index)
{
    return caller->GetParams(index).AsInteger();
}

double zqFloat(TzqMethodHelper *caller, int index)
{
    return caller->GetParams(index).AsDouble();
}

bool zqBool(TzqMethodHelper *caller, int index)
{
    return caller->GetParams(index).AsBoolean();
}

TObject *zqObjectArg(TzqMethodHelper *caller, int index)
{
    return zqObjectOf(caller->GetParams(index));
}

Variant zqObjectValue(const TObject *object)
{
    return Variant(ObjectHandleRegistry::Acquire(object));
}

Variant zqObjectValue(const TObject *object, quint32 generation)
{
    return Variant(ObjectHandleRegistry::Acquire(object, generation));
}

Variant zqObjectValue(TObjectRef object)
{
    return zqObjectValue(object.Object, object.Generation);
}

namespace {

struct Dispatch {
    std::vector<QString> names;
    TzqFunctionTable table;

    Variant call(const QString &name, TzqMethodHelper *caller) const
    {
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i] == name)
                return table[i].Call(caller);
        }
        return Variant();
    }
};

} // namespace

void zqRegisterConstants(TzqScript *script, std::initializer_list<std::pair<const char *, int>> constants)
{
    for (const auto &[name, value] : constants)
        script->AddConst(QString::fromLatin1(name), QStringLiteral("Integer"), Variant(value));
}

void zqRegisterEnums(TzqScript *script, std::initializer_list<TzqEnumDeclaration> declarations)
{
    for (const TzqEnumDeclaration &d : declarations) {
        if (d.IsSet)
            script->AddEnumSet(QString::fromLatin1(d.Type), QString::fromLatin1(d.Names));
        else
            script->AddEnum(QString::fromLatin1(d.Type), QString::fromLatin1(d.Names));
    }
}

void zqRegisterFunctions(TzqScript *script, const QString &category, TzqFunctionTable table)
{
    auto dispatch = std::make_shared<Dispatch>();
    dispatch->table = std::move(table);
    const TzqCallMethodEvent callBack = [dispatch](TObject *, TClass, const QString &name,
                                                   TzqMethodHelper *caller) { return dispatch->call(name, caller); };
    for (const TzqFunctionEntry &entry : dispatch->table) {
        TzqMethodHelper *method = script->AddMethod(QString::fromUtf8(entry.Syntax), callBack, category);
        dispatch->names.push_back(method->UppercaseName);
    }
}
