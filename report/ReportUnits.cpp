#include "report/ReportUnits.h"

#include "report/base/TWideStrings.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxChBox.h"
#include "report/bindings/qvxChBoxRTTI.h"
#include "report/bindings/qvxClassRTTI.h"
#include "report/model/qvxCollection.h"
#include "report/model/qvxComponent.h"
#include "report/data/qvxCustomDB.h"
#include "report/model/qvxCustomEngine.h"
#include "report/pages/qvxDMP.h"
#include "report/data/qvxDataSet.h"
#include "report/data/qvxDialogControl.h"
#include "report/pages/qvxDialogPage.h"
#include "report/text/qvxDrawText.h"
#include "report/report/qvxExportFilter.h"
#include "report/components/qvxFill.h"
#include "report/components/qvxFormat.h"
#include "report/components/qvxFrame.h"
#include "report/model/qvxGlobals.h"
#include "report/components/qvxHighlight.h"
#include "report/components/qvxHyperlink.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxPage.h"
#include "report/model/qvxParentForm.h"
#include "report/views/qvxPictureView.h"
#include "report/model/qvxRegistries.h"
#include "report/report/qvxReport.h"
#include "report/report/qvxReportOptions.h"
#include "report/model/qvxResources.h"
#include "report/views/qvxShapeView.h"
#include "report/components/qvxStyles.h"
#include "report/data/qvxUserDataSet.h"
#include "report/model/qvxVariables.h"
#include "report/components/qvxView.h"
#include "report/base/TWideStrings.h"
#include "script/ScriptUnits.h"
#include "toolkit/core/Units.h"

void RegisterReportUnits()
{
    RegisterScriptUnits();
    Units::Add("qvxResources", InitializeQvxResources, FinalizeQvxResources);
    Units::Add("qvxRegistries", InitializeQvxRegistries, FinalizeQvxRegistries);
    // Starts before, and ends after, the lists the library lock guards.
    Units::Add("qvxGlobals", InitializeQvxGlobals, FinalizeQvxGlobals);
    Units::Add("TWideStrings", InitializeWideStrings, nullptr);
    Units::Add("qvxComponent", InitializeQvxComponent, nullptr);
    Units::Add("qvxCollection", InitializeQvxCollection, nullptr);
    Units::Add("qvxVariables", InitializeQvxVariables, FinalizeQvxVariables);
    Units::Add("qvxOptions", InitializeQvxOptions, nullptr);
    Units::Add("qvxReportOptions", InitializeQvxReportOptions, nullptr);
    Units::Add("qvxDataSet", InitializeQvxDataSet, FinalizeQvxDataSet);
    Units::Add("qvxUserDataSet", InitializeQvxUserDataSet, nullptr);
    Units::Add("qvxCustomDB", InitializeQvxCustomDB, nullptr);
    Units::Add("qvxDialogControl", InitializeQvxDialogControl, nullptr);
    Units::Add("qvxParentForm", nullptr, FinalizeQvxParentForm);
    Units::Add("qvxDrawText", InitializeQvxDrawText, FinalizeQvxDrawText);
    Units::Add("qvxFrame", InitializeQvxFrame, nullptr);
    Units::Add("qvxFill", InitializeQvxFill, nullptr);
    Units::Add("qvxHyperlink", InitializeQvxHyperlink, nullptr);
    Units::Add("qvxFormat", InitializeQvxFormat, nullptr);
    Units::Add("qvxHighlight", InitializeQvxHighlight, nullptr);
    Units::Add("qvxView", InitializeQvxView, nullptr);
    Units::Add("qvxMemoView", InitializeQvxMemoView, nullptr);
    Units::Add("qvxLineView", InitializeQvxLineView, nullptr);
    Units::Add("qvxShapeView", InitializeQvxShapeView, nullptr);
    Units::Add("qvxPictureView", InitializeQvxPictureView, nullptr);
    Units::Add("qvxChBox", InitializeQvxChBox, FinalizeQvxChBox);
    Units::Add("qvxBands", InitializeQvxBands, nullptr);
    Units::Add("qvxPages", InitializeQvxPages, nullptr);
    Units::Add("qvxDMP", InitializeQvxDMP, FinalizeQvxDMP);
    Units::Add("qvxDialogPage", InitializeQvxDialogPage, nullptr);
    Units::Add("qvxStyles", InitializeQvxStyles, nullptr);
    Units::Add("qvxCustomEngine", InitializeQvxCustomEngine, nullptr);
    Units::Add("qvxExportFilter", InitializeQvxExportFilter, nullptr);
    Units::Add("qvxReport", InitializeQvxReport, nullptr);
    // The script modules, after those of the toolkit.
    Units::Add("qvxClassRTTI", qvxClassRTTI::Initialize, qvxClassRTTI::Finalize);
    Units::Add("qvxChBoxRTTI", qvxChBoxRTTI::Initialize, qvxChBoxRTTI::Finalize);
}
