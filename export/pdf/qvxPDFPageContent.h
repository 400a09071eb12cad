#pragma once

// The content of a PDF page: each view of a prepared page as PDF operators
// appended to the page content of the filter (export/pdf/qvxExportPDF.h).
//
// Memo text, frames, fills, lines with arrow heads, shapes and check boxes
// are written as vector operators and text; memo text is laid out by the
// report's text layout (report/qvxDrawText.h), so the lines break and
// measure as on screen.  Every other view draws itself into a bitmap that
// becomes a JPEG image XObject, with a soft mask where it is transparent;
// the same image on one page is written once.  Hyperlinks of views become
// link annotations.
//
// Views are not changed by the export: highlights are read, not applied,
// and the frame width taken away for drawing into a bitmap is put back
// line by line.

#include "export/pdf/qvxExportPDF.h"

#include <QByteArray>
#include <QString>

class TqvxReportPage;
class TqvxView;

// The geometry the writer needs of a prepared page.
TqvxPDFPageInfo qvxPDFPageInfo(TqvxReportPage *page);

// Appends one view to the current page of pdf and records its hyperlink.
void qvxPDFWriteView(TqvxPDFExport &pdf, TqvxView *view);

// The two hooks above, as the filter installs them.
TqvxPDFPageDrawing qvxPDFPageContent();

// An arrow head drawn at Tip of the line from (FromX, FromY), in points:
// Base lies on the line ArrowLength before the tip, the wings ArrowWidth
// either side of the base, square to the line.
struct TqvxPDFArrow {
    double BaseX = 0;
    double BaseY = 0;
    double Wing1X = 0;
    double Wing1Y = 0;
    double Wing2X = 0;
    double Wing2Y = 0;
};
TqvxPDFArrow qvxPDFArrowHead(double fromX, double fromY, double tipX, double tipY, double length, double halfWidth);

// Unit start: installs the page content into the filter.
void InitializeQvxPDFPageContent();
