// Host methods with typed parameters, called from every language with
// literal arguments, as a host such as the report registers them.

#include "ModuleTestSupport.h"

#include <gtest/gtest.h>

namespace {

class HostScript : public ModuleRunner
{
public:
    HostScript()
    {
        script.AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                         [this](TObject *, TClass, const QString &, TzqMethodHelper *caller) {
                             asked << caller->GetParams(0).AsString();
                             return Variant(QStringLiteral("got ") + caller->GetParams(0).AsString());
                         });
        script.AddMethod(QStringLiteral("procedure Set(Name: String; Value: Variant)"),
                         [this](TObject *, TClass, const QString &, TzqMethodHelper *caller) {
                             asked << caller->GetParams(0).AsString() + u'=' + VarToStr(caller->GetParams(1));
                             return Variant();
                         });
    }

    // Compiles and runs the text over the methods added above (which a
    // cleared script would lose).
    ::testing::AssertionResult Program(const QString &language, const QString &text)
    {
        script.SetSyntaxType(language);
        script.Lines()->SetText(text);
        if (!script.Compile())
            return ::testing::AssertionFailure()
                   << qPrintable(script.ErrorMsg + QStringLiteral(" at ") + script.ErrorPos);
        script.Execute();
        return ::testing::AssertionSuccess();
    }

    QStringList asked;
};

TEST(zqHostMethods, StringLiteralsPassToStringParametersInEveryLanguage)
{
    const QList<std::pair<const char *, const char *>> programs{
        {"PascalScript", "var r: Variant;\nbegin\n  r := Get('Missing');\n  Set('X', 1)\nend."},
        {"C++Script", "Variant r;\n{\n  r = Get(\"Missing\");\n  Set(\"X\", 1);\n}"},
        // "Set" is a keyword of this language (object assignment): no call to it.
        {"BasicScript", "Dim r\nr = Get(\"Missing\")\nr = r & \"\"\n"},
        {"JScript", "var r;\nr = Get(\"Missing\");\nSet(\"X\", 1);\n"},
    };
    for (const auto &[language, text] : programs) {
        HostScript s;
        EXPECT_TRUE(s.Program(QLatin1String(language), QLatin1String(text))) << language;
        EXPECT_EQ(s.Text(QStringLiteral("r")), QStringLiteral("got Missing")) << language;
        QStringList expected{QStringLiteral("Missing")};
        if (QLatin1String(language) != QLatin1String("BasicScript"))
            expected << QStringLiteral("X=1");
        EXPECT_EQ(s.asked, expected) << language;
    }
}

TEST(zqHostMethods, AStringParameterStillRefusesANumber)
{
    HostScript s;
    EXPECT_FALSE(s.Program(QStringLiteral("PascalScript"), QStringLiteral("var r: Variant;\nbegin\n  r := Get(1)\nend.")));
}

} // namespace
