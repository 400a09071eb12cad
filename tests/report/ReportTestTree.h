#pragma once

// A small report for the component and serializer tests: Report1 > Page1 >
// Band1 > Memo1, Memo2, with helpers to save and load through streams.

#include "report/ReportTestClasses.h"
#include "toolkit/classes/Streams.h"

#include <memory>

struct ReportTestTree {
    ReportTestTree()
    {
        RegisterReportTestClasses();
        report->SetName(QStringLiteral("Report1"));
        page = new TTestPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        band = new TTestBand(page);
        band->SetName(QStringLiteral("Band1"));
        memo1 = new TTestView(band);
        memo1->SetName(QStringLiteral("Memo1"));
        memo2 = new TTestView(band);
        memo2->SetName(QStringLiteral("Memo2"));
    }

    std::unique_ptr<TTestReport> report = std::make_unique<TTestReport>();
    TTestPage *page;
    TTestBand *band;
    TTestView *memo1;
    TTestView *memo2;
};

inline QByteArray SaveReport(TqvxComponent *root)
{
    TMemoryStream stream;
    root->SaveToStream(&stream);
    return stream.Bytes();
}

inline void LoadReport(TqvxComponent *root, const QByteArray &bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes);
    stream.SetPosition(0);
    root->LoadFromStream(&stream);
}

// A report file of one report holding the given elements.
inline QByteArray ReportFile(const char *body)
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TTestReport>") + body +
           QByteArrayLiteral("</TTestReport>");
}
