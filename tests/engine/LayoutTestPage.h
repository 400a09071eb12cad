#pragma once

// A report page for tests of the layout check and the aggregates: bands
// and memos placed in code under a test report, each named.

#include "report/ReportTestClasses.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxMemoView.h"
#include "report/pages/qvxPage.h"
#include "toolkit/classes/TStringList.h"

#include <QStringList>

#include <memory>
#include <type_traits>

struct TLayoutTestPage {
    TTestReport report;
    TqvxReportPage *page = new TqvxReportPage(&report);
    std::unique_ptr<TStringList> errors = std::make_unique<TStringList>();

    // A band of height 20 at that top (for a vertical band: at that left,
    // 40 wide); a data band given rows walks its own row data set.
    template <class T>
    T *band(const char *name, double position, int rows = 0, bool vertical = false)
    {
        auto *result = new T(page);
        result->SetName(QString::fromLatin1(name));
        result->SetVertical(vertical);
        if (vertical)
            result->SetBounds(position, 0, 40, 200);
        else
            result->SetBounds(0, position, 700, 20);
        if constexpr (std::is_base_of_v<TqvxDataBand, T>)
            result->SetRowCount(rows);
        return result;
    }

    TqvxMemoView *memo(TqvxComponent *parent, const char *name, const QString &text, double left = 0,
                       double width = 100)
    {
        auto *result = new TqvxMemoView(parent);
        result->SetName(QString::fromLatin1(name));
        result->SetBounds(left, 0, width, 20);
        result->SetText(text);
        return result;
    }

    QStringList errorLines() const
    {
        QStringList lines;
        for (int i = 0; i < errors->Count(); ++i)
            lines.append(errors->Strings(i));
        return lines;
    }
};
