#include "script/zqJScript.h"

#include "script/zqLanguages.h"

void RegisterJScript()
{
    RegisterLanguage(QStringLiteral("JScript"), GrammarResource(QStringLiteral("JScript")));
}
