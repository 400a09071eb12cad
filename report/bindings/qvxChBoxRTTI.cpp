#include "report/bindings/qvxChBoxRTTI.h"

#include "report/views/qvxChBox.h"
#include "script/zqClassBinding.h"

namespace qvxChBoxRTTI {

namespace {

std::unique_ptr<TzqRTTIModule> create(TzqScript *script)
{
    return std::make_unique<TFunctions>(script);
}

} // namespace

TFunctions::TFunctions(TzqScript *script) : TzqRTTIModule(script)
{
    zqRegisterEnums(script, {
                                {"TqvxCheckStyle", "csCross, csCheck, csLineCross, csPlus", false},
                                {"TqvxUncheckStyle", "usEmpty, usCross, usLineCross, usMinus", false},
                            });
    TzqClassBinding<TqvxCheckBoxView>(script, QStringLiteral("TqvxView"));
}

void Initialize()
{
    AddRTTIModule(create);
}

void Finalize()
{
    RemoveRTTIModule(create);
}

} // namespace qvxChBoxRTTI
