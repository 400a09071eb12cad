#pragma once

// A real report with the engine's store of prepared pages, filled by the
// test the way the engine fills it: a template page (custom paper, 10 mm
// margins) with a data band and memos, printed once per prepared page with
// the text "Page N" and a fill colour of its own.  The engine is the
// recording one of the report tests; the services installed before are put
// back afterwards.

#include "engine/qvxPreviewPages.h"
#include "report/RecordingServices.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxMemoView.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/model/qvxServices.h"

#include <QList>

#include <functional>
#include <memory>

class TRecordingEngineScope
{
public:
    TRecordingEngineScope() : m_saved(qvxServices())
    {
        TqvxServices services;
        services.NewEngine = [](TqvxReportLink *report) { return new TRecordingEngine(report); };
        qvxInstallServices(services);
    }
    ~TRecordingEngineScope()
    {
        qvxRemoveServices();
        qvxInstallServices(m_saved);
    }
    TRecordingEngineScope(const TRecordingEngineScope &) = delete;
    TRecordingEngineScope &operator=(const TRecordingEngineScope &) = delete;

private:
    TqvxServices m_saved;
};

// The colour page index is filled with.
inline TColor pageColor(int index)
{
    static const TColor colors[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00};
    return colors[index % 6];
}

struct TPreparedReport {
    // count pages of paperWidth x paperHeight millimetres; setUp adds to
    // the template first.
    explicit TPreparedReport(int count = 3, double paperWidth = 100, double paperHeight = 150,
                             const std::function<void(TPreparedReport &)> &setUp = {});

    TqvxPreviewPages *store() const { return static_cast<TqvxPreviewPages *>(report->PreviewPages()); }
    // Adds one more page built from the template as it is now: every band
    // of the template page, in order.
    void addPage(int index);
    // A memo of the template at (left, top), 40 x 20, on parent (the data
    // band by default).
    TqvxMemoView *addMemo(const QString &name, double left, double top, TqvxComponent *parent = nullptr);
    // The memo of the prepared page index, as the page cache holds it.
    TqvxMemoView *preparedMemo(int index, const QString &name = QStringLiteral("Memo1")) const;

    TRecordingEngineScope engineScope;
    std::unique_ptr<TqvxReport> report;
    TqvxReportPage *page;
    TqvxMasterData *band;
    // Memo1 at (20, 30) 50 x 40 with the page's text and colour.
    TqvxMemoView *memo;
};
