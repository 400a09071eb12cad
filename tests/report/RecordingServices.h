#pragma once

// Services that record what the report asks of them, for testing the report
// model before the engine and the prepared pages exist: an engine that
// records Run and the page-flow calls, an outline that records its items,
// and a store whose Export drives the filter's side of the export protocol
// over pages of objects the test gives.

#include "common/NullPreviewPages.h"
#include "report/model/qvxCustomEngine.h"
#include "report/model/qvxCustomOutline.h"
#include "report/model/qvxServices.h"

#include <QList>
#include <QStringList>

// Installs the recording engine and store as the report services for its
// lifetime, so that reports can be made; the services installed before
// come back at its end.
class TRecordingServicesScope
{
public:
    TRecordingServicesScope();
    ~TRecordingServicesScope();
    TRecordingServicesScope(const TRecordingServicesScope &) = delete;
    TRecordingServicesScope &operator=(const TRecordingServicesScope &) = delete;

private:
    TqvxServices m_previous;
};

class TRecordingEngine : public TqvxCustomEngine
{
    Q_OBJECT

public:
    using TqvxCustomEngine::TqvxCustomEngine;

    void EndPage() override { calls.append(QStringLiteral("EndPage")); }
    void NewColumn() override { calls.append(QStringLiteral("NewColumn")); }
    void NewPage() override { calls.append(QStringLiteral("NewPage")); }
    void ShowBand(TqvxBand *band) override;
    void ShowBand(TClass bandClass) override;
    double HeaderHeight() override { return 0; }
    double FooterHeight() override { return 0; }
    double FreeSpace() override { return freeSpace; }
    // Records "SUM(expression)", the band and the flags, and answers
    // aggregateValue.
    Variant GetAggregateValue(const QString &name, const QString &expression, TqvxBand *band, int flags) override;
    // Records "Run(1,0,page)" (or "none"), sets Running while it runs
    // onRun (also when onRun raises) and answers runResult.
    bool Run(bool runDialogs, bool clearLast, TqvxReportPage *page) override;
    bool DoublePass() const override { return doublePass; }

    QStringList calls;
    bool doublePass = false;
    double freeSpace = 0;
    Variant aggregateValue;
    TqvxBand *aggregateBand = nullptr;
    int aggregateFlags = 0;
    bool runResult = true;
    std::function<void()> onRun;
};

class TRecordingOutline : public TqvxCustomOutline
{
    Q_OBJECT

public:
    using TqvxCustomOutline::TqvxCustomOutline;
    ~TRecordingOutline() override;

    int Count() override { return int(items.size()); }
    // Records "text@top".
    void AddItem(const QString &text, int top) override;
    void LevelDown(int) override {}
    void LevelRoot() override { items.append(QStringLiteral("root")); }
    void LevelUp() override { items.append(QStringLiteral("up")); }
    void GetItem(int, QString &, int &, int &) override {}
    void ShiftItems(TqvxXMLItem *, int) override {}
    TqvxXMLItem *GetCurPosition() override { return nullptr; }

    QStringList items;
    // Counts the outlines freed, so tests see their store free its outline.
    static int freed;
};

class TRecordingPreviewPages : public TNullPreviewPages
{
    Q_OBJECT

public:
    // Makes its outline, as a store does.
    explicit TRecordingPreviewPages(TqvxReportLink *report);

    int Count() override { return int(pages.size()); }
    void Clear() override { pages.clear(); }
    // Records the filter, then hands it every page: StartPage, each object
    // (stopping when the report is terminated afterwards), FinishPage; then
    // FinishExport, or AbortExport when the walk ended early.  The message
    // of an error ends up in errorText.
    bool Export(TqvxCustomExportFilter *filter) override;
    void AddAnchor(const QString &text) override { anchors.append(text); }

    // The objects of each page; not owned.
    QList<QList<TqvxComponent *>> pages;
    QList<TqvxCustomExportFilter *> exported;
    QString errorText;
    QStringList anchors;
};
