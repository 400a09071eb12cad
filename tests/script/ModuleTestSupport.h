#pragma once

// A script given the binding modules of the module list, for programs that
// use the system library and the bound classes.

#include "script/zqClasses.h"
#include "script/zqScript.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Exceptions.h"

#include <gtest/gtest.h>

class ModuleRunner
{
public:
    // extra, when given, joins the end of the module list for this script.
    explicit ModuleRunner(const TzqRTTIModuleClass &extra = nullptr)
    {
        if (extra)
            RTTIModuleList()->push_back(extra);
        script.AddRTTIModules();
        if (extra)
            RTTIModuleList()->pop_back();
    }

    // Clears the last program and runs this one; the failure is the compile
    // error, or the class and message of the exception.
    ::testing::AssertionResult Run(const QString &language, const QString &text)
    {
        script.Clear();
        script.SetSyntaxType(language);
        script.Lines()->SetText(text);
        if (!script.Compile())
            return ::testing::AssertionFailure()
                   << qPrintable(script.ErrorMsg + QStringLiteral(" at ") + script.ErrorPos);
        try {
            script.Execute();
        } catch (const Exception &e) {
            return ::testing::AssertionFailure() << qPrintable(e.ClassName() + QStringLiteral(": ") + e.Message());
        }
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult Run(const QString &text) { return Run(QStringLiteral("PascalScript"), text); }

    // The class and message of what a PascalScript program raises; empty
    // when it runs through.
    QString Raised(const QString &text)
    {
        const ::testing::AssertionResult ran = Run(text);
        return ran ? QString() : QString::fromStdString(ran.message());
    }

    Variant Value(const QString &name) const
    {
        TzqCustomVariable *item = script.Find(name);
        EXPECT_TRUE(item) << qPrintable(name);
        return item ? item->GetValue() : Variant();
    }
    QString Text(const QString &name) const { return VarToStr(Value(name)); }

    TzqScript script;
};
