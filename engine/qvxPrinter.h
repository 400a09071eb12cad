#pragma once

// The report library's printers: one printer object per installed printer
// over the toolkit's print layer (toolkit/printing), a virtual printer when
// none is installed, and the list of them (qvxPrinters, the report model's
// printer list once the engine's units have started).
//
// A printer keeps what a print job needs in the report's units: the chosen
// paper (classic paper numbers, 256 a custom size) and orientation, the
// paper's size and its unprintable edges in millimetres, the resolution,
// and the paper sources.  A job runs BeginDoc, then for every sheet
// BeginPage, drawing on Canvas and EndPage, then EndDoc (or Abort).  The
// canvas's origin is the corner of the printable area.

#include "report/base/qvxObjectTypes.h"
#include "report/pages/qvxPage.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/printing/Printers.h"

#include <QList>
#include <QPoint>
#include <QString>

#include <memory>
#include <vector>

class TqvxCustomPrinter;

// The canvas a printer draws its jobs on.
class TqvxPrinterCanvas : public TCanvas
{
    Q_OBJECT

public:
    explicit TqvxPrinterCanvas(TqvxCustomPrinter *printer);

    TqvxCustomPrinter *Printer() const { return m_printer; }

private:
    TqvxCustomPrinter *m_printer;
};

// A paper or a paper source: its name for the user and its number.
struct TqvxPrinterItem {
    QString Name;
    int Id = 0;
};

class TqvxCustomPrinter
{
public:
    // Papers starts with the custom size ("prCustom", 256), Bins with the
    // default source ("prDefault", 7).  canvas: the canvas jobs draw on;
    // nullptr makes a TqvxPrinterCanvas.
    TqvxCustomPrinter(const QString &name, const QString &port, std::unique_ptr<TCanvas> canvas = nullptr);
    virtual ~TqvxCustomPrinter();

    // Reads the device's defaults, once.
    virtual void Init() = 0;
    virtual void Abort() = 0;
    virtual void BeginDoc() = 0;
    virtual void BeginPage() = 0;
    virtual void BeginRAWDoc() = 0;
    virtual void EndDoc() = 0;
    virtual void EndPage() = 0;
    virtual void EndRAWDoc() = 0;
    virtual void WriteRAWDoc(const QByteArray &bytes) = 0;
    // Chooses the paper for layout: a paper number, or 256 with the size
    // in millimetres (portrait).
    virtual void SetViewParams(int paperSize, double paperWidth, double paperHeight,
                               TPrinterOrientation orientation) = 0;
    // Chooses everything for the following sheets of a job: paper, source
    // (7: the one chosen in the driver's dialog, else the default), duplex
    // and copies.
    virtual void SetPrintParams(int paperSize, double paperWidth, double paperHeight,
                                TPrinterOrientation orientation, int bin, TqvxDuplexMode duplex, int copies) = 0;
    // The driver's own settings dialog; none here.
    virtual void PropertiesDlg() {}
    // Whether PropertiesDlg has anything to show.
    virtual bool HasPropertiesDlg() const { return false; }

    // The index of the paper of that number in Papers, -1 when none; the
    // number of the paper of that name, 256 for a name not listed.
    int PaperIndex(int id) const;
    int PaperNameToNumber(const QString &name) const;

    const QString &Name() const { return m_name; }
    const QString &Port() const { return m_port; }
    TCanvas *Canvas() const { return m_canvas.get(); }
    const QList<TqvxPrinterItem> &Papers() const { return m_papers; }
    const QList<TqvxPrinterItem> &Bins() const { return m_bins; }
    bool Initialized() const { return m_initialized; }
    bool Printing() const { return m_printing; }
    QPoint DPI() const { return m_dpi; }

    int DefPaper() const { return m_defPaper; }
    double DefPaperWidth() const { return m_defPaperWidth; }
    double DefPaperHeight() const { return m_defPaperHeight; }
    TPrinterOrientation DefOrientation() const { return m_defOrientation; }
    int DefBin() const { return m_defBin; }
    int DefDuplex() const { return m_defDuplex; }

    // The current paper in its orientation, and the unprintable edges.
    int Paper() const { return m_paper; }
    TPrinterOrientation Orientation() const { return m_orientation; }
    double PaperWidth() const { return m_paperWidth; }
    double PaperHeight() const { return m_paperHeight; }
    double LeftMargin() const { return m_leftMargin; }
    double TopMargin() const { return m_topMargin; }
    double RightMargin() const { return m_rightMargin; }
    double BottomMargin() const { return m_bottomMargin; }

    // The source and duplex mode chosen in the driver's dialog; -1 none.
    int Bin() const { return m_bin; }
    int Duplex() const { return m_duplex; }

    // The file a job prints into instead of the printer (empty: the
    // printer), and the job's title (empty: "Quorvel Document").
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString &value) { m_fileName = value; }
    QString Title() const { return m_title; }
    void SetTitle(const QString &value) { m_title = value; }

protected:
    // What Init and the paper choice fill in.
    void SetDefaults(int paper, double width, double height, TPrinterOrientation orientation, int bin,
                     int duplex);
    void SetDPI(QPoint dpi) { m_dpi = dpi; }
    void SetGeometry(int paper, TPrinterOrientation orientation, const TPrinterPageGeometry &geometry);
    // Sets a paper of the paper table, turned for the orientation, or the
    // custom size paperWidth × paperHeight (millimetres) when paperSize is
    // custom or unknown; every margin is edge millimetres.
    void SetTablePaper(int paperSize, double paperWidth, double paperHeight, TPrinterOrientation orientation,
                       double edge);
    void AddPaper(const QString &name, int id) { m_papers.append({name, id}); }
    void AddBin(const QString &name, int id) { m_bins.append({name, id}); }
    void SetInitialized() { m_initialized = true; }
    void SetPrinting(bool value) { m_printing = value; }
    void SetChosen(int bin, int duplex)
    {
        m_bin = bin;
        m_duplex = duplex;
    }

private:
    QString m_name;
    QString m_port;
    std::unique_ptr<TCanvas> m_canvas;
    QList<TqvxPrinterItem> m_papers;
    QList<TqvxPrinterItem> m_bins;
    bool m_initialized = false;
    bool m_printing = false;
    QPoint m_dpi{0, 0};
    int m_defPaper = kA4Paper;
    double m_defPaperWidth = 210;
    double m_defPaperHeight = 297;
    TPrinterOrientation m_defOrientation = poPortrait;
    int m_defBin = kDefaultBin;
    int m_defDuplex = 1;
    int m_paper = kA4Paper;
    TPrinterOrientation m_orientation = poPortrait;
    double m_paperWidth = 210;
    double m_paperHeight = 297;
    double m_leftMargin = 0;
    double m_topMargin = 0;
    double m_rightMargin = 0;
    double m_bottomMargin = 0;
    int m_bin = -1;
    int m_duplex = -1;
    QString m_fileName;
    QString m_title;
};

// An installed printer, through the toolkit's printer.
class TqvxPrinter : public TqvxCustomPrinter
{
public:
    TqvxPrinter(const QString &name, const QString &port);
    ~TqvxPrinter() override;

    void Init() override;
    void Abort() override;
    void BeginDoc() override;
    void BeginPage() override;
    void BeginRAWDoc() override;
    void EndDoc() override;
    void EndPage() override;
    void EndRAWDoc() override;
    void WriteRAWDoc(const QByteArray &bytes) override;
    void SetViewParams(int paperSize, double paperWidth, double paperHeight,
                       TPrinterOrientation orientation) override;
    void SetPrintParams(int paperSize, double paperWidth, double paperHeight, TPrinterOrientation orientation,
                        int bin, TqvxDuplexMode duplex, int copies) override;
    // The paper source, two-sided printing and the resolution, as the print
    // system offers them for this printer; what the user chooses is used
    // by the following jobs.
    void PropertiesDlg() override;
    bool HasPropertiesDlg() const override;

private:
    void readGeometry();
    // After a job: the source and duplex mode are the driver's defaults
    // again.
    void endJob();

    std::unique_ptr<TPrinter> m_printer;
    int m_pagesBegun = 0;
};

// The stand-in when no printer is installed: A4 portrait at 600 dots per
// inch with 5 mm edges, every paper of the paper table, and jobs that do
// nothing.
class TqvxVirtualPrinter : public TqvxCustomPrinter
{
public:
    // canvas as for TqvxCustomPrinter.
    explicit TqvxVirtualPrinter(const QString &name, std::unique_ptr<TCanvas> canvas = nullptr);

    void Init() override;
    void Abort() override {}
    void BeginDoc() override {}
    void BeginPage() override {}
    void BeginRAWDoc() override {}
    void EndDoc() override {}
    void EndPage() override {}
    void EndRAWDoc() override {}
    void WriteRAWDoc(const QByteArray &) override {}
    void SetViewParams(int paperSize, double paperWidth, double paperHeight,
                       TPrinterOrientation orientation) override;
    void SetPrintParams(int paperSize, double paperWidth, double paperHeight, TPrinterOrientation orientation,
                        int bin, TqvxDuplexMode duplex, int copies) override;
};

// The printers, read from the print system when first asked.  With none
// installed, a virtual printer named "prVirtual" is the only and current
// one.
class TqvxPrinters : public TqvxPrinterList
{
public:
    TqvxPrinters() = default;
    // A list of the given printers instead of the installed ones, the first
    // current (tests, and print systems of their own).
    explicit TqvxPrinters(std::vector<std::unique_ptr<TqvxCustomPrinter>> printers);
    ~TqvxPrinters() override;

    void Clear();
    // Reads the installed printers, the default one current.
    void FillPrinters();
    // The name of the system's default printer, empty when none.
    QString GetDefaultPrinter() const;

    int Count();
    QStringList PrinterNames();
    TqvxCustomPrinter *GetItem(int index);
    int PrinterIndex();

    // The report model's printer list.
    TqvxPrinterDefaults CurrentDefaults() override;
    TqvxCustomPrinter *GetCurrentPrinter() override;
    bool HasPhysicalPrinters() override;
    QStringList Names() override { return PrinterNames(); }
    // -1 selects the default printer; the printer selected is initialised.
    void SetPrinterIndex(int index) override;

private:
    void ensureFilled();
    void selectInitial();

    std::vector<std::unique_ptr<TqvxCustomPrinter>> m_printers;
    int m_printerIndex = -1;
    bool m_hasPhysicalPrinters = false;
    bool m_filled = false;
};

// The engine's printer list, made on first use; installed as the report
// model's printer list when the engine's units start.
TqvxPrinters *qvxSystemPrinters();
void InitializeQvxPrinter();
void FinalizeQvxPrinter();
