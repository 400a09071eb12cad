#pragma once

// The walk over every object-typed property that a script's binding
// modules expose, for the tests of each library's modules: for each
// property whose object a fresh holder has, a program in each of the four
// languages frees that object, uses the property again and frees the
// holder.  The holder's object is its own, so the Free must raise an
// exception the program catches, and nothing may be freed twice.

#include "script/zqClasses.h"
#include "script/zqHeldObjects.h"
#include "script/zqScript.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Exceptions.h"

#include <gtest/gtest.h>

#include <optional>

#include <QHash>
#include <QSet>
#include <QStringList>

// Frees the object that the designator object names, keeps the exception's
// class in "refused" and the class name read through the designator
// afterwards in "again", then frees the holder; C++Script and JScript free
// with delete.
inline QString freeingProgram(const QString &language, const QString &object)
{
    static const QHash<QString, QString> programs{
        {QStringLiteral("PascalScript"), QStringLiteral(R"(
var refused, again: String;
begin
  try %1.Free except refused := ExceptionClassName end;
  again := %1.ClassName;
  holder.Free
end.
)")},
        {QStringLiteral("C++Script"), QStringLiteral(R"(
string refused, again;
{
  try { delete %1; } except { refused = ExceptionClassName; }
  again = %1.ClassName;
  delete holder;
}
)")},
        {QStringLiteral("BasicScript"), QStringLiteral(R"(
Dim refused, again
Try
  %1.Free
Catch
  refused = ExceptionClassName
End Try
again = %1.ClassName
holder.Free
)")},
        {QStringLiteral("JScript"), QStringLiteral(R"(
var refused = "", again = "";
try { delete %1; } except { refused = ExceptionClassName; }
again = %1.ClassName;
holder.Free();
)")},
    };
    return programs.value(language).arg(object);
}

// The plain (not indexed) object-typed properties of cls and of those of
// its script ancestors that its host class descends from, each under its
// first name.
inline QList<TzqPropertyHelper *> objectProperties(TzqScript &script, TzqClassVariable *cls)
{
    QList<TzqPropertyHelper *> properties;
    QSet<QString> seen;
    const TClass holderClass = cls->ClassRef;
    for (; cls; cls = script.FindClass(cls->Ancestor)) {
        for (int i = 0; i < cls->MemberCount(); ++i) {
            auto *property = dynamic_cast<TzqPropertyHelper *>(cls->Members(i));
            if (property && property->Typ == fvtClass && ClassInheritsFrom(holderClass, property->ClassType) &&
                !seen.contains(property->UppercaseName)) {
                seen.insert(property->UppercaseName);
                properties << property;
            }
        }
        if (cls->Ancestor.isEmpty())
            break;
    }
    return properties;
}

// The object the property holds in holder, read the host's way.
inline TObject *heldObject(TzqPropertyHelper *property, TObject *holder)
{
    if (property->PropInfo)
        return property->PropInfo->GetObject(holder);
    return ObjectHandleRegistry::Resolve(property->GetProp(holder, property->ClassType, property->UppercaseName).AsInteger());
}

// Runs the program on script with holder in the variable "holder".
inline ::testing::AssertionResult runOnHolder(TzqScript &script, const QString &language, const QString &text,
                                              TObject *holder, const QString &holderClass)
{
    script.Clear();
    script.AddVariable(QStringLiteral("holder"), holderClass, Variant(holder->Handle()));
    script.SetSyntaxType(language);
    script.Lines()->SetText(text);
    if (!script.Compile())
        return ::testing::AssertionFailure() << qPrintable(script.ErrorMsg + QStringLiteral(" at ") + script.ErrorPos);
    try {
        script.Execute();
    } catch (const Exception &e) {
        return ::testing::AssertionFailure() << qPrintable(e.ClassName() + QStringLiteral(": ") + e.Message());
    }
    return ::testing::AssertionSuccess();
}

// One holder of cls, made by the class registry, and the program of one
// language on it.  Returns the class of the exception the Free raised (empty
// when the holder let its object go, which must then be gone); nothing when
// no holder can be made without arguments or its property holds nil or the
// holder itself.
inline std::optional<QString> freeHeldObject(TzqScript &script, TzqClassVariable *cls, TzqPropertyHelper *property,
                                             const QString &language)
{
    TObject *holder = nullptr;
    try {
        holder = CreateObject(cls->ClassRef);
    } catch (const Exception &) {
        return std::nullopt;
    }
    // As if the script had made it: what it holds is all that is refused.
    zqMarkMadeByScript(holder);
    const qint32 holderHandle = holder->Handle();
    TObject *held = heldObject(property, holder);
    if (!held || held == holder) {
        delete holder;
        return std::nullopt;
    }
    const qint32 heldHandle = held->Handle();
    const QString heldClass = held->ClassName();
    const QString where = cls->Name + u'.' + property->Name + QStringLiteral(" in ") + language;
    // A class the script does not know has no Free of its own: a type cast
    // reaches TObject's.
    const QString object = script.FindClass(property->TypeName)
                              ? QStringLiteral("holder.") + property->Name
                              : QStringLiteral("TObject(holder.%1)").arg(property->Name);
    const ::testing::AssertionResult ran =
        runOnHolder(script, language, freeingProgram(language, object), holder, cls->Name);
    if (TObject *left = ObjectHandleRegistry::Find(holderHandle)) {
        ADD_FAILURE() << qPrintable(where) << ": the holder was not freed";
        delete left;
    }
    EXPECT_TRUE(ran) << qPrintable(where);
    if (!ran)
        return QStringLiteral("none run");
    EXPECT_EQ(VarToStr(script.Find(QStringLiteral("again"))->GetValue()), heldClass) << qPrintable(where);
    const QString raised = VarToStr(script.Find(QStringLiteral("refused"))->GetValue());
    if (raised.isEmpty()) {
        EXPECT_FALSE(ObjectHandleRegistry::Find(heldHandle)) << qPrintable(where) << ": freed, yet alive";
    }
    return raised;
}

// Walks every object-typed property of every class of script in the four
// languages; returns, by "Class.Property", the class of the exception its
// Free raised in every language (empty where the holder let it go).
inline QHash<QString, QString> freeEveryHeldObject(TzqScript &script)
{
    QHash<QString, QString> refused;
    for (int i = 0; i < script.Count(); ++i) {
        auto *cls = dynamic_cast<TzqClassVariable *>(script.Items(i));
        if (!cls)
            continue;
        for (TzqPropertyHelper *property : objectProperties(script, cls)) {
            const QString name = cls->Name + u'.' + property->Name;
            for (const QString &language : {QStringLiteral("PascalScript"), QStringLiteral("C++Script"),
                                            QStringLiteral("BasicScript"), QStringLiteral("JScript")}) {
                const std::optional<QString> raised = freeHeldObject(script, cls, property, language);
                if (!raised)
                    break;
                EXPECT_EQ(refused.value(name, *raised), *raised) << qPrintable(name + QStringLiteral(" in ") + language);
                refused.insert(name, *raised);
            }
        }
    }
    return refused;
}
