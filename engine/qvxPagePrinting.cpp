// Printing prepared pages on the current printer: as they are, split over
// several sheets, several joined on one sheet, or scaled to one sheet.

#include "engine/qvxPreviewPages.h"

#include "engine/qvxPrintDialogEntry.h"
#include "engine/qvxPrinter.h"
#include "engine/qvxPrintLayout.h"
#include "report/model/qvxCustomPreview.h"
#include "report/model/qvxErrors.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/report/qvxReportOptions.h"
#include "report/model/qvxResources.h"
#include "report/base/qvxTextUtils.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/SysUtils.h"
#include "toolkit/widgets/TApplication.h"

#include <QList>

#include <algorithm>

namespace {

TPrinterOrientation printerOrientation(ObjectTypes::TPrinterOrientation orientation)
{
    return orientation == ObjectTypes::poLandscape ? poLandscape : poPortrait;
}

// One print job over the pages of a store.
class PrintJob
{
public:
    // pages: the indexes of the pages to print, in order; empty for all.
    PrintJob(TqvxPreviewPages &store, TqvxReport &report, TqvxCustomPrinter &printer, const QList<int> &pages,
             double sheetWidth, double sheetHeight)
        : m_store(store), m_report(report), m_options(*report.PrintOptions()), m_printer(printer),
          m_pages(pages), m_sheetWidth(sheetWidth), m_sheetHeight(sheetHeight)
    {
    }

    void Run();

private:
    // A page about to be printed: begin answers whether the position
    // prints, is passed over, or printing stops.
    struct Page {
        int index = -1;
        std::shared_ptr<TqvxComponent> pinned;
        TqvxReportPage *page = nullptr;
        int copies = 1;
    };
    enum class Step { Skip, Stop, Print };

    void runMode();
    void walkPositions(bool split);
    int mapPosition(int position) const;
    Step begin(int position, Page &page);
    // Copies of each sheet asked of the printer, and drawn here: a file
    // gets no copies from the print system, so its sheets are drawn again.
    int printerCopies(const Page &p) const { return m_printer.FileName().isEmpty() ? p.copies : 1; }
    int drawnCopies(const Page &p) const { return m_printer.FileName().isEmpty() ? 1 : p.copies; }
    TqvxDuplexMode duplexOf(const TqvxReportPage *page) const;
    // One page on its sheet, or split over several.
    void printPage(const Page &p);
    void printSplit(const Page &p);
    void printJoined();
    void beginDoc();
    void drawPage(int index, double scaleX, double scaleY, double offsetX, double offsetY);
    void pageDone(int index);
    void pump();

    TqvxPreviewPages &m_store;
    TqvxReport &m_report;
    TqvxPrintOptions &m_options;
    TqvxCustomPrinter &m_printer;
    const QList<int> &m_pages;
    double m_sheetWidth;
    double m_sheetHeight;
    QList<int> m_usedBins;
    int m_positions = 0;
    int m_copies = 1;
    int m_copy = 1;
    bool m_begun = false;
    bool m_backSide = false;
    int m_lastPaper = 0;
    int m_lastWidth = 0;
    int m_lastHeight = 0;
    int m_lastBin = 0;
    TPrinterOrientation m_lastOrientation = poPortrait;
    TqvxDuplexMode m_lastDuplex = dmNone;
};

void PrintJob::Run()
{
    m_report.SetTerminated(false);
    m_report.DoProgressStart(ptPrinting);
    const QString name = m_report.ReportOptions()->Name();
    m_printer.SetTitle(name.isEmpty() ? m_report.FileName() : name);
    if (m_options.Copies() < 1)
        m_options.SetCopies(1);
    m_copies = m_options.Copies();
    m_positions = m_pages.isEmpty() ? m_store.Count() : int(m_pages.size());

    try {
        if (m_options.Collate()) {
            for (m_copy = 1; m_copy <= m_copies; ++m_copy) {
                runMode();
                // The next copy starts on the front of a sheet.
                if (m_backSide) {
                    m_backSide = false;
                    m_printer.BeginPage();
                    m_printer.EndPage();
                }
                if (m_report.Terminated())
                    break;
            }
        } else {
            runMode();
        }
    } catch (...) {
        m_printer.Abort();
        m_report.DoProgressStop(ptPrinting);
        throw;
    }
    if (m_begun)
        m_printer.EndDoc();
    m_report.DoProgressStop(ptPrinting);
}

void PrintJob::runMode()
{
    switch (m_options.PrintMode()) {
    case pmDefault:
    case pmScale:
        walkPositions(false);
        break;
    case pmSplit:
        walkPositions(true);
        break;
    case pmJoin:
        printJoined();
        break;
    }
}

void PrintJob::walkPositions(bool split)
{
    for (int i = 0; i < m_positions; ++i) {
        Page page;
        const Step step = begin(m_options.Reverse() ? m_positions - 1 - i : i, page);
        if (step == Step::Stop)
            break;
        if (step == Step::Skip)
            continue;
        if (split)
            printSplit(page);
        else
            printPage(page);
    }
}

int PrintJob::mapPosition(int position) const
{
    const int count = m_store.Count();
    if (m_pages.isEmpty())
        return position >= 0 && position < count ? position : -1;
    if (position < 0 || position >= m_pages.size())
        return -1;
    const int index = m_pages[position];
    return index >= 0 && index < count ? index : -1;
}

PrintJob::Step PrintJob::begin(int position, Page &page)
{
    page.index = mapPosition(position);
    if (page.index == -1)
        return Step::Skip;
    const bool even = (page.index + 1) % 2 == 0;
    if ((m_options.PrintPages() == ppOdd && even) || (m_options.PrintPages() == ppEven && !even))
        return Step::Skip;
    if (m_report.Terminated()) {
        m_printer.Abort();
        return Step::Stop;
    }
    page.pinned = m_store.SharedPage(page.index);
    page.page = qobject_cast<TqvxReportPage *>(page.pinned.get());
    if (!page.page)
        return Step::Skip;
    if (m_options.Collate()) {
        page.copies = 1;
        m_store.SetCopyNo(m_copy);
    } else {
        page.copies = m_copies;
        m_store.SetCopyNo(1);
    }
    if (m_report.OnPrintPage)
        m_report.OnPrintPage(page.page, m_store.CopyNo());
    return Step::Print;
}

TqvxDuplexMode PrintJob::duplexOf(const TqvxReportPage *page) const
{
    return m_options.DuplexOverride() != 0 ? TqvxDuplexMode(m_options.DuplexOverride()) : page->Duplex();
}

void PrintJob::beginDoc()
{
    if (m_begun)
        return;
    m_printer.BeginDoc();
    m_begun = true;
}

void PrintJob::drawPage(int index, double scaleX, double scaleY, double offsetX, double offsetY)
{
    m_store.DrawPage(index, m_printer.Canvas(), scaleX, scaleY, offsetX, offsetY);
}

void PrintJob::pageDone(int index)
{
    m_report.InternalOnProgress(ptPrinting, index + 1);
}

void PrintJob::pump()
{
    if (!m_report.EngineOptions()->ThreadSafeMode() && Application)
        Application->ProcessMessages();
}

void PrintJob::printPage(const Page &p)
{
    TqvxReportPage *page = p.page;

    int bin = page->Bin();
    if (m_usedBins.contains(bin))
        bin = page->BinOtherPages();
    else
        m_usedBins.append(bin);
    const TqvxDuplexMode duplex = duplexOf(page);
    if (duplex != m_lastDuplex)
        m_backSide = false;
    if (duplex == dmVertical || duplex == dmHorizontal)
        m_backSide = !m_backSide;
    const TPrinterOrientation orientation = printerOrientation(page->Orientation());
    const bool sameJob = m_begun && bin == m_lastBin && orientation == m_lastOrientation && duplex == m_lastDuplex;

    const bool scaled = m_options.PrintMode() == pmScale;
    const int width = qvxRound(page->PaperWidth());
    const int height = qvxRound(page->PaperHeight());
    if (!scaled) {
        if (!sameJob || page->PaperSize() != m_lastPaper || width != m_lastWidth || height != m_lastHeight)
            m_printer.SetPrintParams(page->PaperSize(), page->PaperWidth(), page->PaperHeight(), orientation, bin,
                                     duplex, printerCopies(p));
    } else {
        if (!sameJob)
            m_printer.SetPrintParams(m_options.PrintOnSheet(), m_sheetWidth, m_sheetHeight, orientation, bin,
                                     duplex, printerCopies(p));
        m_sheetWidth = m_printer.PaperWidth();
        m_sheetHeight = m_printer.PaperHeight();
    }
    beginDoc();

    double scaleX = 1;
    double scaleY = 1;
    if (scaled) {
        scaleX = m_sheetWidth / page->PaperWidth();
        scaleY = m_sheetHeight / page->PaperHeight();
        m_store.SetPrintScale(std::min(scaleX, scaleY));
    }
    const QPoint dpi = m_printer.DPI();
    for (int copy = 0; copy < drawnCopies(p); ++copy) {
        m_printer.BeginPage();
        drawPage(p.index, scaleX * dpi.x() / 96, scaleY * dpi.y() / 96, -dpi.x() * m_printer.LeftMargin() / 25.4,
                 -dpi.y() * m_printer.TopMargin() / 25.4);
        if (copy == 0)
            pageDone(p.index);
        m_printer.EndPage();
    }
    pump();

    m_lastPaper = page->PaperSize();
    m_lastWidth = width;
    m_lastHeight = height;
    m_lastBin = bin;
    m_lastOrientation = orientation;
    m_lastDuplex = duplex;
    m_store.ClearPageCache();
}

void PrintJob::printSplit(const Page &p)
{
    TqvxReportPage *page = p.page;
    const int bin = p.index == 0 ? page->Bin() : page->BinOtherPages();

    TqvxPieceGrid grid = qvxPieceGrid(page->PaperWidth(), page->PaperHeight(), m_sheetWidth, m_sheetHeight);
    double lossW = 0;
    double lossH = 0;
    if (grid.Cols > 1)
        lossW = m_options.SplitGap() + m_printer.TopMargin() + m_printer.BottomMargin();
    if (grid.Rows > 1)
        lossH = m_options.SplitGap() + m_printer.LeftMargin() + m_printer.RightMargin();
    if (grid.Turned)
        std::swap(lossW, lossH);
    grid = qvxPieceGrid(page->PaperWidth(), page->PaperHeight(), m_sheetWidth - lossW, m_sheetHeight - lossH);

    const TPrinterOrientation orientation = grid.Turned ? poLandscape : poPortrait;
    if (!m_begun || orientation != m_lastOrientation)
        m_printer.SetPrintParams(m_options.PrintOnSheet(), m_sheetWidth, m_sheetHeight, orientation, bin,
                                 duplexOf(page), printerCopies(p));
    beginDoc();

    const QPoint dpi = m_printer.DPI();
    const double toX = dpi.x() / 25.4;
    const double toY = dpi.y() / 25.4;
    const double sheetW = toX * (grid.Turned ? m_sheetHeight : m_sheetWidth);
    const double sheetH = toY * (grid.Turned ? m_sheetWidth : m_sheetHeight);
    const double lm = toX * m_printer.LeftMargin();
    const double tm = toY * m_printer.TopMargin();
    const double rm = toX * m_printer.RightMargin();
    const double bm = toY * m_printer.BottomMargin();
    const double gapX = toX * m_options.SplitGap();
    const double gapY = toY * m_options.SplitGap();
    const double pageW = page->PaperWidth() * qv01cm * dpi.x() / 96;
    const double pageH = page->PaperHeight() * qv01cm * dpi.y() / 96;
    TCanvas *canvas = m_printer.Canvas();

    double rowShift = 0;
    double offY = -tm;
    double extraTop = 0;
    for (int row = 0; row < grid.Rows; ++row) {
        double columnShift = 0;
        double offX = -lm;
        double extraLeft = 0;
        for (int column = 0; column < grid.Cols; ++column) {
            canvas->SaveClip();
            canvas->IntersectClipRect(TRect(qvxRound(lm + extraLeft), qvxRound(tm + extraTop), qvxRound(pageW - rm) - 1,
                                            qvxRound(pageH - bm) - 1));
            try {
                for (int copy = 0; copy < drawnCopies(p); ++copy) {
                    m_printer.BeginPage();
                    drawPage(p.index, dpi.x() / 96.0, dpi.y() / 96.0, offX, offY);
                    m_printer.EndPage();
                }
            } catch (...) {
                canvas->RestoreClip();
                throw;
            }
            canvas->RestoreClip();
            extraLeft = gapX;
            columnShift += (sheetW - lm - rm) - gapX;
            offX = -columnShift;
        }
        extraTop = gapY;
        rowShift += (sheetH - tm - bm) - gapY;
        offY = -rowShift;
    }
    pageDone(p.index);
    pump();
    m_lastOrientation = orientation;
    m_store.ClearPageCache();
}

void PrintJob::printJoined()
{
    const int first = mapPosition(0);
    const std::shared_ptr<TqvxComponent> firstPinned = first == -1 ? nullptr : m_store.SharedPage(first);
    const auto *firstPage = qobject_cast<TqvxReportPage *>(firstPinned.get());
    if (!firstPage)
        return;
    TqvxPieceGrid grid = qvxPieceGrid(m_sheetWidth, m_sheetHeight, firstPage->PaperWidth(), firstPage->PaperHeight());
    if (grid.Turned)
        std::swap(grid.Cols, grid.Rows);
    m_printer.SetPrintParams(m_options.PrintOnSheet(), m_sheetWidth, m_sheetHeight,
                             grid.Turned ? poLandscape : poPortrait, firstPage->Bin(), duplexOf(firstPage), 1);
    beginDoc();

    const QPoint dpi = m_printer.DPI();
    const double stepX = dpi.x() / 25.4 * firstPage->PaperWidth();
    const double stepY = dpi.y() / 25.4 * firstPage->PaperHeight();
    int position = -1;
    while (position < m_positions - 1) {
        int copy = 1;
        int index = -1;
        bool more = true;
        double offY = -dpi.y() * m_printer.TopMargin() / 25.4;
        m_printer.BeginPage();
        for (int row = 0; row < grid.Rows && more; ++row) {
            double offX = -dpi.x() * m_printer.LeftMargin() / 25.4;
            for (int column = 0; column < grid.Cols && more; ++column) {
                m_store.SetCopyNo(copy);
                if (copy == 1)
                    index = mapPosition(++position);
                else
                    m_store.ClearPageCache();
                copy = copy % m_copies + 1;
                more = index != -1 && m_store.SharedPage(index) != nullptr;
                if (more)
                    drawPage(index, dpi.x() / 96.0, dpi.y() / 96.0, offX, offY);
                offX += stepX;
            }
            offY += stepY;
        }
        m_printer.EndPage();
        m_report.InternalOnProgress(ptPrinting, position);
        pump();
        if (m_report.Terminated()) {
            m_printer.Abort();
            return;
        }
        m_store.ClearPageCache();
    }
}

} // namespace

bool TqvxPreviewPages::Print()
{
    TqvxReport *rep = report();
    TqvxPrinterList *printers = qvxPrinters();
    if (!rep)
        return false;
    if (!printers->HasPhysicalPrinters()) {
        qvxErrorMsg(qvxResources()->Get(QStringLiteral("clNoPrinters")));
        return false;
    }
    m_printScale = 1;
    TqvxPrintOptions saved;
    saved.Assign(rep->PrintOptions());
    rep->SelectPrinter();
    TqvxPrintOptions *options = rep->PrintOptions();
    // The dialog's choice of a file to print into goes to the printer it
    // chooses, in place of the options' own.
    printers->GetCurrentPrinter()->SetFileName(options->PrintFileName());
    if (options->ShowDialog()) {
        quint8 duplex = options->DuplexOverride();
        if (!qvxRunPrintDialog(*rep, duplex)) {
            SetCopyNo(0);
            return false;
        }
        options->SetDuplexOverride(duplex);
    }

    TqvxCustomPrinter *printer = printers->GetCurrentPrinter();
    if (options->PrintMode() != pmDefault) {
        if (options->PrintOnSheet() == kCustomPaper)
            printer->SetViewParams(kCustomPaper, printer->PaperWidth(), printer->PaperHeight(), poPortrait);
        else
            printer->SetViewParams(options->PrintOnSheet(), 0, 0, poPortrait);
    }
    const double sheetWidth = printer->PaperWidth();
    const double sheetHeight = printer->PaperHeight();

    if (rep->OnPrintReport)
        rep->OnPrintReport(rep);
    rep->DoNotifyEvent(rep, rep->OnReportPrint(), true);
    if (TqvxCustomPreview *preview = rep->Preview()) {
        preview->Lock();
        preview->Repaint();
    }

    const auto finish = [&] {
        if (rep->OnAfterPrintReport)
            rep->OnAfterPrintReport(rep);
        SetCopyNo(0);
        options->Assign(&saved);
    };
    try {
        if (!printer->Initialized()) {
            qvxErrorMsg(QStringLiteral("Printer selected is not valid"));
        } else {
            TStringList list;
            qvxParsePageRange(options->PageNumbers(), &list, Count());
            QList<int> pages;
            for (int i = 0; i < list.Count(); ++i)
                pages << StrToInt(list.Strings(i));
            if (const QString error = qvxRangeWithoutPagesError(options->PageNumbers(), pages, Count());
                !error.isEmpty()) {
                qvxErrorMsg(error);
                finish();
                return false;
            }
            for (int &page : pages)
                --page;
            ClearPageCache();
            PrintJob(*this, *rep, *printer, pages, sheetWidth, sheetHeight).Run();
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return true;
}
