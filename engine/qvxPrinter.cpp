#include "engine/qvxPrinter.h"

#include "engine/qvxPrinterProperties.h"
#include "report/model/qvxResources.h"

#include <utility>

namespace {

constexpr double kVirtualEdge = 5;

} // namespace

TqvxPrinterCanvas::TqvxPrinterCanvas(TqvxCustomPrinter *printer) : m_printer(printer)
{
    SetIsPrinter(true);
}

// --- TqvxCustomPrinter ------------------------------------------------------------

TqvxCustomPrinter::TqvxCustomPrinter(const QString &name, const QString &port, std::unique_ptr<TCanvas> canvas)
    : m_name(name), m_port(port), m_canvas(std::move(canvas))
{
    if (!m_canvas)
        m_canvas = std::make_unique<TqvxPrinterCanvas>(this);
    m_papers.append({qvxResources()->Get(QStringLiteral("prCustom")), kCustomPaper});
    m_bins.append({qvxResources()->Get(QStringLiteral("prDefault")), kDefaultBin});
}

TqvxCustomPrinter::~TqvxCustomPrinter() = default;

int TqvxCustomPrinter::PaperIndex(int id) const
{
    for (int i = 0; i < m_papers.size(); ++i)
        if (m_papers[i].Id == id)
            return i;
    return -1;
}

int TqvxCustomPrinter::PaperNameToNumber(const QString &name) const
{
    for (const TqvxPrinterItem &paper : m_papers)
        if (paper.Name == name)
            return paper.Id;
    return m_papers.first().Id;
}

void TqvxCustomPrinter::SetDefaults(int paper, double width, double height, TPrinterOrientation orientation,
                                    int bin, int duplex)
{
    m_defPaper = paper;
    m_defPaperWidth = width;
    m_defPaperHeight = height;
    m_defOrientation = orientation;
    m_defBin = bin;
    m_defDuplex = duplex;
}

void TqvxCustomPrinter::SetTablePaper(int paperSize, double paperWidth, double paperHeight,
                                      TPrinterOrientation orientation, double edge)
{
    double width = paperWidth;
    double height = paperHeight;
    int paper = kCustomPaper;
    if (paperSize != kCustomPaper && GetPaperDimensions(paperSize, width, height)) {
        paper = paperSize;
        if (orientation == poLandscape)
            std::swap(width, height);
    }
    SetGeometry(paper, orientation, {width, height, edge, edge, edge, edge});
}

void TqvxCustomPrinter::SetGeometry(int paper, TPrinterOrientation orientation, const TPrinterPageGeometry &geometry)
{
    m_paper = paper;
    m_orientation = orientation;
    m_paperWidth = geometry.PaperWidth;
    m_paperHeight = geometry.PaperHeight;
    m_leftMargin = geometry.LeftMargin;
    m_topMargin = geometry.TopMargin;
    m_rightMargin = geometry.RightMargin;
    m_bottomMargin = geometry.BottomMargin;
}

// --- TqvxPrinter -------------------------------------------------------------------

TqvxPrinter::TqvxPrinter(const QString &name, const QString &port) : TqvxCustomPrinter(name, port) {}

TqvxPrinter::~TqvxPrinter() = default;

void TqvxPrinter::Init()
{
    if (Initialized())
        return;
    m_printer = TPrinter::Open(Name());
    for (const TPrinterPaper &paper : m_printer->Papers())
        if (paper.Id != kCustomPaper)
            AddPaper(paper.Name, paper.Id);
    for (const TPrinterBin &bin : m_printer->Bins())
        if (bin.Id != kDefaultBin)
            AddBin(bin.Name, bin.Id);
    SetDPI(m_printer->DPI());
    readGeometry();
    SetDefaults(m_printer->DefaultPaper(), PaperWidth(), PaperHeight(), m_printer->DefaultOrientation(),
                m_printer->DefaultBin(), m_printer->DefaultDuplex());
    SetChosen(-1, -1);
    SetInitialized();
}

void TqvxPrinter::readGeometry()
{
    SetGeometry(m_printer->Paper(), m_printer->Orientation(), m_printer->PageGeometry());
}

void TqvxPrinter::SetViewParams(int paperSize, double paperWidth, double paperHeight,
                                TPrinterOrientation orientation)
{
    if (!m_printer)
        return;
    m_printer->SetPage(paperSize, paperWidth, paperHeight, orientation);
    readGeometry();
}

void TqvxPrinter::SetPrintParams(int paperSize, double paperWidth, double paperHeight,
                                 TPrinterOrientation orientation, int bin, TqvxDuplexMode duplex, int copies)
{
    if (!m_printer)
        return;
    SetViewParams(paperSize, paperWidth, paperHeight, orientation);
    if (bin == kDefaultBin)
        bin = Bin() != -1 ? Bin() : DefBin();
    m_printer->SetBin(bin);
    int mode = duplex != dmNone ? int(duplex) + 1 : DefDuplex();
    if (Duplex() != -1)
        mode = Duplex();
    else if (mode == int(dmSimplex) + 1)
        mode = 1;
    m_printer->SetDuplex(mode);
    m_printer->SetCopies(copies);
}

namespace {

TqvxPrinterChoices choicesOf(const TqvxCustomPrinter &printer, const TPrinter *device)
{
    TqvxPrinterChoices choices;
    choices.Bins = printer.Bins();
    if (device) {
        choices.DuplexModes = device->DuplexModes();
        choices.Resolutions = device->Resolutions();
    }
    return choices;
}

} // namespace

bool TqvxPrinter::HasPropertiesDlg() const
{
    return m_printer && choicesOf(*this, m_printer.get()).Any();
}

void TqvxPrinter::PropertiesDlg()
{
    if (!m_printer)
        return;
    TqvxPrinterChoices choices = choicesOf(*this, m_printer.get());
    choices.Bin = Bin() != -1 ? Bin() : kDefaultBin;
    const int duplex = Duplex() != -1 ? Duplex() : DefDuplex();
    choices.Duplex = duplex;
    choices.Resolution = DPI().y();
    if (!qvxPrinterPropertiesDialog(Name(), choices))
        return;
    SetChosen(choices.Bin, choices.Duplex != duplex ? choices.Duplex : Duplex());
    if (choices.Resolution != DPI().y()) {
        m_printer->SetResolution(choices.Resolution);
        SetDPI(m_printer->DPI());
    }
}

void TqvxPrinter::BeginDoc()
{
    if (!m_printer || Printing())
        return;
    m_printer->SetTitle(Title().isEmpty() ? QStringLiteral("Quorvel Document") : Title());
    m_printer->SetFileName(FileName());
    m_printer->BeginDoc(*Canvas());
    m_pagesBegun = 0;
    SetPrinting(true);
}

void TqvxPrinter::BeginPage()
{
    // The job opens on its first sheet.
    if (m_printer && m_pagesBegun++ > 0)
        m_printer->NewPage();
}

void TqvxPrinter::EndPage() {}

void TqvxPrinter::EndDoc()
{
    if (!m_printer || !Printing())
        return;
    m_printer->EndDoc();
    endJob();
}

void TqvxPrinter::Abort()
{
    if (!m_printer || !Printing())
        return;
    m_printer->Abort();
    endJob();
}

void TqvxPrinter::endJob()
{
    SetPrinting(false);
    SetChosen(-1, -1);
    m_printer->SetBin(DefBin());
    m_printer->SetDuplex(DefDuplex());
}

void TqvxPrinter::BeginRAWDoc()
{
    if (!m_printer)
        return;
    m_printer->SetTitle(Title());
    m_printer->BeginRawDoc();
}

void TqvxPrinter::WriteRAWDoc(const QByteArray &bytes)
{
    if (m_printer)
        m_printer->WriteRawDoc(bytes);
}

void TqvxPrinter::EndRAWDoc()
{
    if (m_printer)
        m_printer->EndRawDoc();
}

// --- TqvxVirtualPrinter -------------------------------------------------------------

TqvxVirtualPrinter::TqvxVirtualPrinter(const QString &name, std::unique_ptr<TCanvas> canvas)
    : TqvxCustomPrinter(name, QString(), std::move(canvas))
{
}

void TqvxVirtualPrinter::Init()
{
    if (Initialized())
        return;
    SetDPI(QPoint(600, 600));
    SetDefaults(kA4Paper, 210, 297, poPortrait, kDefaultBin, 1);
    for (const int id : PaperTableIds())
        AddPaper(PaperName(id), id);
    SetChosen(-1, -1);
    SetInitialized();
}

void TqvxVirtualPrinter::SetViewParams(int paperSize, double paperWidth, double paperHeight,
                                       TPrinterOrientation orientation)
{
    SetTablePaper(paperSize, paperWidth, paperHeight, orientation, kVirtualEdge);
}

void TqvxVirtualPrinter::SetPrintParams(int paperSize, double paperWidth, double paperHeight,
                                        TPrinterOrientation orientation, int bin, TqvxDuplexMode, int)
{
    SetViewParams(paperSize, paperWidth, paperHeight, orientation);
    SetChosen(bin, Duplex());
}

// --- TqvxPrinters -------------------------------------------------------------------

TqvxPrinters::TqvxPrinters(std::vector<std::unique_ptr<TqvxCustomPrinter>> printers)
    : m_printers(std::move(printers)), m_filled(true)
{
    m_hasPhysicalPrinters = !m_printers.empty();
    if (m_hasPhysicalPrinters)
        SetPrinterIndex(0);
}

TqvxPrinters::~TqvxPrinters() = default;

void TqvxPrinters::Clear()
{
    m_printers.clear();
    m_printerIndex = -1;
}

void TqvxPrinters::FillPrinters()
{
    Clear();
    m_filled = true;
    for (const QString &name : TPrinter::PrinterNames())
        m_printers.push_back(std::make_unique<TqvxPrinter>(name, QString()));
    selectInitial();
}

void TqvxPrinters::selectInitial()
{
    m_hasPhysicalPrinters = !m_printers.empty();
    if (m_hasPhysicalPrinters) {
        SetPrinterIndex(IndexOf(GetDefaultPrinter()));
        if (m_printerIndex == -1)
            SetPrinterIndex(0);
        return;
    }
    m_printers.push_back(std::make_unique<TqvxVirtualPrinter>(qvxResources()->Get(QStringLiteral("prVirtual"))));
    SetPrinterIndex(0);
}

void TqvxPrinters::ensureFilled()
{
    if (!m_filled)
        FillPrinters();
}

QString TqvxPrinters::GetDefaultPrinter() const
{
    return TPrinter::DefaultPrinterName();
}

int TqvxPrinters::Count()
{
    ensureFilled();
    return int(m_printers.size());
}

QStringList TqvxPrinters::PrinterNames()
{
    ensureFilled();
    QStringList names;
    for (const auto &printer : m_printers)
        names << printer->Name();
    return names;
}

TqvxCustomPrinter *TqvxPrinters::GetItem(int index)
{
    ensureFilled();
    return index >= 0 && index < int(m_printers.size()) ? m_printers[index].get() : nullptr;
}

int TqvxPrinters::PrinterIndex()
{
    ensureFilled();
    return m_printerIndex;
}

TqvxCustomPrinter *TqvxPrinters::GetCurrentPrinter()
{
    return GetItem(PrinterIndex());
}

bool TqvxPrinters::HasPhysicalPrinters()
{
    ensureFilled();
    return m_hasPhysicalPrinters;
}

void TqvxPrinters::SetPrinterIndex(int index)
{
    ensureFilled();
    if (index == -1)
        index = IndexOf(GetDefaultPrinter());
    if (index < -1 || index >= int(m_printers.size()))
        return;
    m_printerIndex = index;
    if (index != -1)
        m_printers[index]->Init();
}

TqvxPrinterDefaults TqvxPrinters::CurrentDefaults()
{
    TqvxPrinterDefaults defaults;
    const TqvxCustomPrinter *printer = GetCurrentPrinter();
    if (!printer)
        return defaults;
    defaults.PaperSize = printer->DefPaper();
    defaults.PaperWidth = printer->DefPaperWidth();
    defaults.PaperHeight = printer->DefPaperHeight();
    if (printer->DefOrientation() == poLandscape) {
        defaults.Orientation = ObjectTypes::poLandscape;
        std::swap(defaults.PaperWidth, defaults.PaperHeight);
    }
    return defaults;
}

// --- the program's list ---------------------------------------------------------

namespace {

std::unique_ptr<TqvxPrinters> &systemPrinters()
{
    static std::unique_ptr<TqvxPrinters> printers;
    return printers;
}

} // namespace

TqvxPrinters *qvxSystemPrinters()
{
    if (!systemPrinters())
        systemPrinters() = std::make_unique<TqvxPrinters>();
    return systemPrinters().get();
}

void InitializeQvxPrinter()
{
    qvxSetPrinters(qvxSystemPrinters());
}

void FinalizeQvxPrinter()
{
    qvxSetPrinters(nullptr);
    systemPrinters().reset();
}
