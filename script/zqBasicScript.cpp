#include "script/zqBasicScript.h"

#include "script/zqLanguages.h"

void RegisterBasicScript()
{
    RegisterLanguage(QStringLiteral("BasicScript"), GrammarResource(QStringLiteral("BasicScript")));
}
