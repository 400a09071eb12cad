#pragma once

#include "engine/qvxPreviewPages.h"

// The prepared pages of a report over the report's classes; drawing,
// mouse, printing and appending do nothing.
class TEngineTestStore : public TqvxPreviewPages
{
public:
    using TqvxPreviewPages::TqvxPreviewPages;

    void DrawPage(int, TCanvas *, double, double, double, double) override {}
    void ObjectOver(int, int, int, TMouseButton, TShiftState, double, double, double, TCursor &,
                    TqvxMouseAction) override
    {
    }
    void AddFrom(TqvxReportLink *) override {}
    bool Print() override { return false; }

protected:
    void SaveReportSettings(TqvxXMLItem *) override {}
    void LoadReportSettings(TqvxXMLItem *) override {}
};
