#include "script/zqCppScript.h"

#include "script/zqLanguages.h"

void RegisterCppScript()
{
    RegisterLanguage(QStringLiteral("C++Script"), GrammarResource(QStringLiteral("CppScript")));
}
