#include "script/ScriptUnits.h"

#include "script/zqBasicScript.h"
#include "script/zqClasses.h"
#include "script/zqCppScript.h"
#include "script/zqJScript.h"
#include "script/zqLanguages.h"
#include "script/zqPascalScript.h"
#include "script/zqSysFunctions.h"
#include "script/zqXML.h"
#include "script/zq_iclassesrtti.h"
#include "script/zq_idialogsrtti.h"
#include "script/zq_iformsrtti.h"
#include "script/zq_igraphicsrtti.h"
#include "script/zq_iinirtti.h"
#include "toolkit/core/Units.h"

void RegisterScriptUnits()
{
    RegisterToolkitUnits();
    Units::Add("zqLanguages", InitializeLanguageRegistry, FinalizeLanguageRegistry);
    Units::Add("zqPascalScript", RegisterPascalScript, nullptr);
    Units::Add("zqCppScript", RegisterCppScript, nullptr);
    Units::Add("zqBasicScript", RegisterBasicScript, nullptr);
    Units::Add("zqJScript", RegisterJScript, nullptr);
    Units::Add("zqXML", RegisterXMLClasses, nullptr);
    Units::Add("zqInterpreter", InitializeRTTIModuleList, FinalizeRTTIModuleList);
    // The binding modules, in the order scripts receive them.
    Units::Add("zqSysFunctions", RegisterSysFunctions, nullptr);
    Units::Add("zq_iinirtti", zq_iinirtti::Register, nullptr);
    Units::Add("zq_iclassesrtti", zq_iclassesrtti::Register, nullptr);
    Units::Add("zq_idialogsrtti", zq_idialogsrtti::Register, nullptr);
    Units::Add("zq_igraphicsrtti", zq_igraphicsrtti::Register, nullptr);
    Units::Add("zq_iformsrtti", zq_iformsrtti::Register, nullptr);
}
