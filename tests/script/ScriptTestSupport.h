#pragma once

// A script ready to compile programs of any language: the basic type names
// and constants that the system library gives every script, and readers for
// the values a program leaves in its global variables.

#include "script/zqScript.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Exceptions.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

class ScriptRunner
{
public:
    ScriptRunner()
    {
        for (const char *name : {"Integer", "Byte", "Word", "Cardinal", "Longint"})
            script.AddType(QString::fromLatin1(name), fvtInt);
        for (const char *name : {"Extended", "Double", "Single", "Currency", "TDateTime"})
            script.AddType(QString::fromLatin1(name), fvtFloat);
        script.AddType(QStringLiteral("Boolean"), fvtBool);
        script.AddType(QStringLiteral("Char"), fvtChar);
        script.AddType(QStringLiteral("String"), fvtString);
        script.AddType(QStringLiteral("Variant"), fvtVariant);
        script.AddType(QStringLiteral("Int64"), fvtInt64);
        script.AddConst(QStringLiteral("True"), QStringLiteral("Boolean"), Variant(true));
        script.AddConst(QStringLiteral("False"), QStringLiteral("Boolean"), Variant(false));
        script.AddConst(QStringLiteral("nil"), QStringLiteral("Variant"), Variant(0));
        script.AddConst(QStringLiteral("Null"), QStringLiteral("Variant"), Variant::Null());
        script.AddVariable(QStringLiteral("ExceptionClassName"), QStringLiteral("String"), Variant(QString()));
        script.AddVariable(QStringLiteral("ExceptionMessage"), QStringLiteral("String"), Variant(QString()));
    }

    // Compiles the text; the failure is the script's error, as
    // "message at line:col".
    ::testing::AssertionResult Compile(const QString &language, const QString &text)
    {
        script.SetSyntaxType(language);
        script.Lines()->SetText(text);
        if (script.Compile())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << qPrintable(Error());
    }

    ::testing::AssertionResult Run(const QString &language, const QString &text)
    {
        ::testing::AssertionResult compiled = Compile(language, text);
        if (compiled)
            script.Execute();
        return compiled;
    }

    // "message at line:col", with " in unit" when the error lies in one.
    QString Error() const
    {
        QString error = script.ErrorMsg + QStringLiteral(" at ") + script.ErrorPos;
        if (!script.ErrorUnit.isEmpty())
            error += QStringLiteral(" in ") + script.ErrorUnit;
        return error;
    }

    // The message of the exception that calling the procedure raises; empty
    // when it raises none.
    QString Raised(const QString &procedure)
    {
        try {
            script.CallFunction(procedure, Variant());
        } catch (const Exception &e) {
            return e.Message();
        }
        return QString();
    }

    Variant Value(const QString &name) const
    {
        TzqCustomVariable *item = script.Find(name);
        EXPECT_TRUE(item) << qPrintable(name);
        return item ? item->GetValue() : Variant();
    }
    QString Text(const QString &name) const { return VarToStr(Value(name)); }
    int Int(const QString &name) const { return Value(name).AsInteger(); }

    TzqScript script;
};
