#include "report/ReportUnits.h"

#include "report/TWideStrings.h"
#include "report/qvxBands.h"
#include "report/qvxChBox.h"
#include "report/qvxChBoxRTTI.h"
#include "report/qvxClassRTTI.h"
#include "report/qvxCollection.h"
#include "report/qvxComponent.h"
#include "report/qvxCustomDB.h"
#include "report/qvxCustomEngine.h"
#include "report/qvxDMP.h"
#include "report/qvxDataSet.h"
#include "report/qvxDialogControl.h"
#include "report/qvxDialogPage.h"
#include "report/qvxDrawText.h"
#include "report/qvxExportFilter.h"
#include "report/qvxFill.h"
#include "report/qvxFormat.h"
#include "report/qvxFrame.h"
#include "report/qvxGlobals.h"
#include "report/qvxHighlight.h"
#include "report/qvxHyperlink.h"
#include "report/qvxLineView.h"
#include "report/qvxMemoView.h"
#include "report/qvxOptions.h"
#include "report/qvxPage.h"
#include "report/qvxParentForm.h"
#include "report/qvxPictureView.h"
#include "report/qvxRegistries.h"
#include "report/qvxReport.h"
#include "report/qvxReportOptions.h"
#include "report/qvxResources.h"
#include "report/qvxShapeView.h"
#include "report/qvxStyles.h"
#include "report/qvxUserDataSet.h"
#include "report/qvxVariables.h"
#include "report/qvxView.h"
#include "report/TWideStrings.h"
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
