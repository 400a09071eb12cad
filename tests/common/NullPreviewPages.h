#pragma once

// Prepared pages that do nothing, for test doubles that override only what
// they record or answer.
//
// TNullReportClassSlots gives the slots that take the report's own page,
// band and picture classes to a store that supplies the rest (a
// TqvxPreparedStore over test classes); TNullPreviewPages gives every slot:
// no pages, no objects, page 1 of Count(), every anchor on page 1, loading,
// printing and export refused.

#include "report/model/qvxCustomPreviewPages.h"

template <class Store>
class TNullReportClassSlots : public Store
{
public:
    using Store::Store;

    TqvxReportPage *GetPage(int) override { return nullptr; }
    void AddPage(TqvxReportPage *) override {}
    void AddSourcePage(TqvxReportPage *) override {}
    void AddPicture(TqvxPictureView *) override {}
    bool BandExists(TqvxBand *) override { return false; }
    void ModifyPage(int, TqvxReportPage *) override {}
    void DrawPage(int, TCanvas *, double, double, double, double) override {}
    void ObjectOver(int, int, int, TMouseButton, TShiftState, double, double, double, TCursor &,
                    TqvxMouseAction) override
    {
    }
    void AddFrom(TqvxReportLink *) override {}
    bool Print() override { return false; }
};

class TNullPreviewPages : public TNullReportClassSlots<TqvxCustomPreviewPages>
{
public:
    using TNullReportClassSlots::TNullReportClassSlots;

    int Count() override { return 0; }
    TPoint GetPageSize(int) override { return {}; }
    TqvxPageTexts PageTexts(int) override { return {}; }
    bool PageMayShowText(int, const QString &, bool) override { return false; }
    void Clear() override {}
    void Initialize() override {}
    void AddObject(TqvxComponent *) override {}
    void AddToSourcePage(TqvxComponent *) override {}
    void BeginPass() override {}
    void ClearFirstPassPages() override {}
    void CutObjects(int) override {}
    void Finish() override {}
    void IncLogicalPageNumber() override {}
    void ResetLogicalPageNumber() override {}
    void PasteObjects(double, double) override {}
    void ShiftAnchors(int, int) override {}
    int GetCurPosition() override { return 0; }
    int GetAnchorCurPosition() override { return -1; }
    double GetLastY(double) override { return 0; }
    int GetLogicalPageNo() override { return 1; }
    int GetLogicalTotalPages() override { return Count(); }
    void AddEmptyPage(int) override {}
    void DeletePage(int) override {}
    void LoadFromStream(TStream *, bool) override {}
    void SaveToStream(TStream *) override {}
    bool LoadFromFile(const QString &, bool) override { return false; }
    void SaveToFile(const QString &) override {}
    bool Export(TqvxCustomExportFilter *) override { return false; }
    void AddAnchor(const QString &) override {}
    int GetAnchorPage(const QString &) override { return 1; }
    bool FindAnchor(const QString &, int &, int &) override { return false; }
};
