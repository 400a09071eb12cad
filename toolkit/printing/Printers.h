#pragma once

// The printers of the system: their papers, paper sources (trays) and
// resolution, and print jobs on them, through Qt PrintSupport and CUPS.
//
// Papers carry the classic paper numbers (9 is A4, 256 a custom size, sizes
// without a classic number get numbers above 256) and paper sources the
// classic bin numbers (7 is the automatic, default source), so that report
// pages can keep them in their files.  When no printer is installed a
// virtual printer stands in: A4 portrait at 600 dots per inch, whose job
// operations do nothing, so that pages always get their defaults.

#include "toolkit/printing/PaperTable.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>

class TCanvas;

enum TPrinterOrientation { poPortrait, poLandscape };

inline constexpr int kCustomPaper = 256;
inline constexpr int kA4Paper = 9;
inline constexpr int kDefaultBin = 7;

struct TPrinterPaper {
    int Id = 0;
    QString Name;
    double Width = 0; // millimetres, portrait
    double Height = 0;
};

struct TPrinterBin {
    int Id = 0;
    QString Name;
};

// Paper and unprintable edges in millimetres, in the page's orientation.
struct TPrinterPageGeometry {
    double PaperWidth = 0;
    double PaperHeight = 0;
    double LeftMargin = 0;
    double TopMargin = 0;
    double RightMargin = 0;
    double BottomMargin = 0;
};

class TPrinter
{
public:
    ~TPrinter();

    // Names of the installed printers, in the print system's order.
    static QStringList PrinterNames();
    // The system's default printer, empty when there is none.
    static QString DefaultPrinterName();
    // The installed printer of that name; the virtual printer when no
    // installed printer has it.
    static std::unique_ptr<TPrinter> Open(const QString &name);
    static std::unique_ptr<TPrinter> CreateVirtual();

    const QString &Name() const { return m_name; }
    bool IsVirtual() const { return m_virtual; }
    const QList<TPrinterPaper> &Papers() const { return m_papers; }
    const QList<TPrinterBin> &Bins() const { return m_bins; }
    int DefaultPaper() const { return m_defaultPaper; }
    TPrinterOrientation DefaultOrientation() const { return m_defaultOrientation; }
    int DefaultBin() const { return m_defaultBin; }
    // 1 simplex, 2 long-edge, 3 short-edge duplex.
    int DefaultDuplex() const { return m_defaultDuplex; }
    QPoint DPI() const { return m_dpi; }
    // What the print system lets the user choose for this printer's jobs
    // besides the paper sources: the duplex modes (as DefaultDuplex counts
    // them) and the resolutions in dots per inch; empty when it says
    // nothing.
    const QList<int> &DuplexModes() const { return m_duplexModes; }
    const QList<int> &Resolutions() const { return m_resolutions; }
    // Prints the following jobs at dpi dots per inch, and asks the print
    // system for that resolution.
    void SetResolution(int dpi);

    // Chooses the paper of the following pages: a paper number of Papers(),
    // or kCustomPaper with its portrait size.  An unknown number is taken as
    // a custom paper of the given size; a custom paper of no size keeps A4.
    void SetPage(int paperId, double widthMM, double heightMM, TPrinterOrientation orientation);
    int Paper() const { return m_paper; }
    TPrinterOrientation Orientation() const { return m_orientation; }
    TPrinterPageGeometry PageGeometry() const;

    void SetBin(int binId);
    void SetDuplex(int duplex);
    // Every sheet is printed copies times in a row (uncollated copies);
    // collated copies are printed by sending the sheets again.
    void SetCopies(int copies);
    void SetTitle(const QString &title);
    // Prints into this file instead of the printer; empty for the printer.
    void SetFileName(const QString &fileName);

    // A print job drawn on canvas (the printer layer's canvas): BeginDoc
    // binds it to the printer at the printer's resolution and starts the
    // job, NewPage moves to the next sheet, EndDoc finishes the job and
    // unbinds the canvas; Abort throws the job away.  On the virtual printer
    // all of them do nothing.
    void BeginDoc(TCanvas &canvas);
    void NewPage();
    void EndDoc();
    void Abort();
    bool Printing() const { return m_jobCanvas != nullptr; }

    // A pass-through job whose bytes go to the printer unchanged.
    void BeginRawDoc();
    void WriteRawDoc(const QByteArray &bytes);
    void EndRawDoc();

private:
    class Device;

    TPrinter(const QString &name, bool isVirtual);
    void readPhysicalDefaults();
    void applyPage();
    // Sets (an empty value removes) one option of the print system's job.
    void setJobOption(const QString &name, const QString &value);

    QString m_name;
    bool m_virtual;
    QList<TPrinterPaper> m_papers;
    QList<TPrinterBin> m_bins;
    QStringList m_binKeywords; // the print system's name of each bin
    QStringList m_jobOptions;  // name, value, name, value ...
    int m_defaultPaper = kA4Paper;
    TPrinterOrientation m_defaultOrientation = poPortrait;
    int m_defaultBin = kDefaultBin;
    int m_defaultDuplex = 1;
    QPoint m_dpi{600, 600};
    QList<int> m_duplexModes;
    QList<int> m_resolutions;

    int m_paper = kA4Paper;
    double m_paperWidth = 210;
    double m_paperHeight = 297;
    TPrinterOrientation m_orientation = poPortrait;
    QString m_title;
    int m_rawJob = 0;

    std::unique_ptr<Device> m_device;
    TCanvas *m_jobCanvas = nullptr;
};
