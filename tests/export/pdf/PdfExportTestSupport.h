#pragma once

// A stand-in for the report around the PDF writer: prepared pages with an
// outline, a page drawing that writes each test object's text (its
// Description, in its font, at its position) through the document's
// fonts, and the checks every written file goes through.

#include "common/NullPreviewPages.h"
#include "common/NullReportLink.h"
#include "export/pdf/qvxExportPDF.h"
#include "report/model/qvxComponent.h"
#include "report/model/qvxCustomOutline.h"
#include "report/components/qvxView.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// An outline item and the items below it.
struct TestOutlineItem {
    QString text;
    int page = 0;
    int top = 0;
    QList<TestOutlineItem> children;
};

class TestOutline : public TqvxCustomOutline
{
public:
    using TqvxCustomOutline::TqvxCustomOutline;

    int Count() override { return int(current().size()); }
    void AddItem(const QString &, int) override {}
    void LevelDown(int index) override { m_path.append(index); }
    void LevelRoot() override { m_path.clear(); }
    void LevelUp() override
    {
        if (!m_path.isEmpty())
            m_path.removeLast();
    }
    void GetItem(int index, QString &text, int &page, int &top) override;
    void ShiftItems(TqvxXMLItem *, int) override {}
    TqvxXMLItem *GetCurPosition() override { return nullptr; }

    QList<TestOutlineItem> items;

private:
    const QList<TestOutlineItem> &current() const;
    QList<int> m_path;
};

class TestPreviewPages : public TNullPreviewPages
{
public:
    TestPreviewPages(TqvxReportLink *report, int count);

    TestOutline *outline() const { return static_cast<TestOutline *>(Outline()); }

    int Count() override { return m_count; }
    bool FindAnchor(const QString &text, int &page, int &top) override
    {
        const auto anchor = anchors.constFind(text);
        if (anchor == anchors.cend())
            return false;
        page = anchor->first;
        top = anchor->second;
        return true;
    }

    // The anchors by name: page (from 0) and top.
    QHash<QString, QPair<int, int>> anchors;

private:
    int m_count;
};

class TestReport : public TNullReportLink
{
public:
    explicit TestReport(int pageCount = 0) : pages(this, pageCount) {}

    TqvxCustomPreviewPages *PreviewPages() const override { return const_cast<TestPreviewPages *>(&pages); }

    TestPreviewPages pages;
};

// A view of text on a test page: the page drawing writes its Description
// in its Font at (Left, Top); GroupIndex 1 reads right to left.
std::unique_ptr<TqvxView> textObject(const QString &text, double left, double top,
                                          const QString &fontName = QStringLiteral("Arial"), int size = 12);

// The page drawing of the tests, installed while a fixture lives.  Every
// page is an A4 page with the margins of pageInfo.
struct TestPageDrawing {
    TestPageDrawing();
    ~TestPageDrawing();
    static TqvxPDFPageInfo pageInfo;
};

// Runs the filter over the pages as the prepared pages do and answers the
// bytes of the file written (empty when the export was refused).
QByteArray exportPages(TqvxPDFExport &pdf, const QList<QList<TqvxComponent *>> &pages, const QString &fileName,
                       TqvxReportLink *report = nullptr);

// A filter with a fixed clock and identifier, no dialog and compression as
// asked.
void makeDeterministic(TqvxPDFExport &pdf, bool compressed);

// "" when every cross-reference entry points at "n 0 obj" and the table
// and trailer agree, else what is wrong.
QString xrefComplaint(const QByteArray &pdf);
// "" when qpdf --check passes with exit code 0 (a password when needed).
QString qpdfComplaint(const QString &fileName, const QString &password = QString());
// The text pdftotext extracts in reading order, without page breaks and
// bidi embedding marks.
QString extractedText(const QString &fileName, const QString &password = QString());
// The same text page by page.
QStringList extractedPages(const QString &fileName, const QString &password = QString());
// The first page of a file rendered at 96 dpi by pdftoppm (its PPM output
// at prefix + ".ppm").
QImage renderedPage(const QString &fileName, const QString &prefix);
// The output of a poppler or qpdf tool.
QString toolOutput(const QString &program, const QStringList &arguments);
