#include "script/zqPascalScript.h"

#include "script/zqLanguages.h"

void RegisterPascalScript()
{
    RegisterLanguage(QStringLiteral("PascalScript"), GrammarResource(QStringLiteral("PascalScript")));
}
