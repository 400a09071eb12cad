#include "script/zq_idialogsrtti.h"

#include "script/zqClassBinding.h"
#include "script/zqFunctionTable.h"
#include "toolkit/widgets/CommonDialogs.h"
#include "toolkit/widgets/Dialogs.h"

namespace zq_idialogsrtti
{

namespace
{

void registerTypes(TzqScript *script)
{
    zqRegisterEnums(script, {
        {"TOpenOptions",
         "ofReadOnly, ofOverwritePrompt, ofHideReadOnly,ofNoChangeDir, ofShowHelp, ofNoValidate, "
         "ofAllowMultiSelect,ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,ofShareAware, "
         "ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton,ofNoLongNames, ofOldStyleDialog, "
         "ofNoDereferenceLinks, ofEnableIncludeNotify,ofEnableSizing",
         true},
        {"TFileEditStyle", "fsEdit, fsComboBox", false},
        {"TColorDialogOptions", "cdFullOpen, cdPreventFullOpen, cdShowHelp,cdSolidColor, cdAnyColor", true},
        {"TFontDialogOptions",
         "fdAnsiOnly, fdTrueTypeOnly, fdEffects,fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, "
         "fdNoOEMFonts,fdNoSimulations, fdNoSizeSel, fdNoStyleSel,  fdNoVectorFonts,fdShowHelp, fdWysiwyg, "
         "fdLimitSize, fdScalableOnly, fdApplyButton",
         true},
        {"TFontDialogDevice", "fdScreen, fdPrinter, fdBoth", false},
        {"TPrintRange", "prAllPages, prSelection, prPageNums", false},
        {"TPrintDialogOptions", "poPrintToFile, poPageNums, poSelection,poWarning, poHelp, poDisablePrintToFile", true},
        {"TMsgDlgType", "mtWarning, mtError, mtInformation, mtConfirmation, mtCustom", false},
        {"TMsgDlgButtons",
         "mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp", true},
    });
}

TzqFunctionTable globals()
{
    return {
        {"function MessageDlg(Msg: string; DlgType: TMsgDlgType; Buttons: TMsgDlgButtons; HelpCtx: Longint): Integer",
         [](TzqMethodHelper *c) {
             return Variant(
                 MessageDlg(zqText(c, 0), TMsgDlgType(zqInt(c, 1)), TMsgDlgButtons::fromInt(zqInt(c, 2)), zqInt(c, 3)));
         }},
        {"function InputBox(ACaption, APrompt, ADefault: string): string",
         [](TzqMethodHelper *c) { return Variant(InputBox(zqText(c, 0), zqText(c, 1), zqText(c, 2))); }},
        {"function InputQuery(ACaption, APrompt: string; var Value: string): Boolean",
         [](TzqMethodHelper *c) {
             QString value = zqText(c, 2);
             const bool confirmed = InputQuery(zqText(c, 0), zqText(c, 1), value);
             if (confirmed)
                 c->SetParams(2, Variant(value));
             return Variant(confirmed);
         }},
    };
}

} // namespace

TFunctions::TFunctions(TzqScript *script) : TzqRTTIModule(script)
{
    registerTypes(script);
    TzqClassBinding<TCommonDialog>(script, QStringLiteral("TComponent"))
        .Method("function Execute: Boolean",
                [](TCommonDialog *dialog, TzqMethodHelper *) { return Variant(dialog->Execute()); });
    TzqClassBinding<TOpenDialog>(script, QStringLiteral("TCommonDialog"));
    TzqClassBinding<TSaveDialog>(script, QStringLiteral("TCommonDialog"));
    TzqClassBinding<TColorDialog>(script, QStringLiteral("TCommonDialog"));
    TzqClassBinding<TFontDialog>(script, QStringLiteral("TCommonDialog"));
    TzqClassBinding<TPrintDialog>(script, QStringLiteral("TCommonDialog"));
    TzqClassBinding<TPrinterSetupDialog>(script, QStringLiteral("TCommonDialog"));
    zqRegisterFunctions(script, QStringLiteral("ctOther"), globals());
}

void Register()
{
    RTTIModuleList()->push_back([](TzqScript *script) { return std::make_unique<TFunctions>(script); });
}

} // namespace zq_idialogsrtti
