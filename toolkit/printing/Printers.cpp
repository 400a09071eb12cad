#include "toolkit/printing/Printers.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exceptions.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <utility>

namespace {

constexpr double kVirtualMargin = 5;
constexpr int kUserBin = 256;

// Qt's print engine property that carries extra CUPS job options as
// name/value pairs.
constexpr auto kCupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

int binIdOf(const QString &keyword, int index)
{
    static const struct {
        const char *keyword;
        int id;
    } kBins[] = {
        {"auto", kDefaultBin},  {"main", 1},     {"top", 1},           {"upper", 1},
        {"bottom", 2},          {"lower", 2},    {"middle", 3},        {"manual", 4},
        {"by-pass-tray", 4},    {"envelope", 5}, {"large-capacity", 11}, {"cassette", 14},
    };
    for (const auto &bin : kBins)
        if (keyword == QLatin1String(bin.keyword))
            return bin.id;
    return kUserBin + index;
}

// A paper the printer offers: the number of the paper table's size, else
// one of the numbers above the custom one.
int paperIdOf(const QPageSize &size, int index)
{
    const int id = PaperIdOfSize(size.size(QPageSize::Millimeter));
    return id > 0 ? id : kCustomPaper + 1 + index;
}

// 1 simplex, 2 long-edge, 3 short-edge duplex.
int duplexNumber(QPrinter::DuplexMode mode)
{
    return mode == QPrinter::DuplexLongSide ? 2 : mode == QPrinter::DuplexShortSide ? 3 : 1;
}

// Reads the paper sources and default orientation that CUPS reports.
struct CupsDestination {
    explicit CupsDestination(const QString &name)
        : dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.toUtf8().constData(), nullptr))
        , info(dest ? cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest) : nullptr)
    {
    }
    ~CupsDestination()
    {
        if (info)
            cupsFreeDestInfo(info);
        if (dest)
            cupsFreeDests(1, dest);
    }
    CupsDestination(const CupsDestination &) = delete;
    CupsDestination &operator=(const CupsDestination &) = delete;

    ipp_attribute_t *supported(const char *option) const
    {
        return info ? cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, option) : nullptr;
    }
    ipp_attribute_t *defaultOf(const char *option) const
    {
        return info ? cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, option) : nullptr;
    }
    QString localized(const char *option, const char *value) const
    {
        const char *text = info ? cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest, info, option, value) : nullptr;
        return QString::fromUtf8(text ? text : value);
    }

    cups_dest_t *dest;
    cups_dinfo_t *info;
};

} // namespace

class TPrinter::Device
{
public:
    explicit Device(const QString &name) : printer(QPrinter::HighResolution) { printer.setPrinterName(name); }
    QPrinter printer;
};

TPrinter::TPrinter(const QString &name, bool isVirtual) : m_name(name), m_virtual(isVirtual)
{
    if (m_virtual) {
        m_papers.append({kA4Paper, QPageSize(QPageSize::A4).name(), 0, 0});
        GetPaperDimensions(kA4Paper, m_papers.first().Width, m_papers.first().Height);
        m_bins.append({kDefaultBin, QString()});
        m_binKeywords.append(QString());
        return;
    }
    m_device = std::make_unique<Device>(name);
    readPhysicalDefaults();
}

TPrinter::~TPrinter()
{
    Abort();
}

QStringList TPrinter::PrinterNames()
{
    return QPrinterInfo::availablePrinterNames();
}

QString TPrinter::DefaultPrinterName()
{
    return QPrinterInfo::defaultPrinterName();
}

std::unique_ptr<TPrinter> TPrinter::Open(const QString &name)
{
    if (name.isEmpty() || !PrinterNames().contains(name))
        return CreateVirtual();
    return std::unique_ptr<TPrinter>(new TPrinter(name, false));
}

std::unique_ptr<TPrinter> TPrinter::CreateVirtual()
{
    return std::unique_ptr<TPrinter>(new TPrinter(QStringLiteral("Virtual"), true));
}

void TPrinter::readPhysicalDefaults()
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(m_name);
    const QList<QPageSize> sizes = info.supportedPageSizes();
    for (int i = 0; i < sizes.size(); ++i) {
        const QSizeF size = sizes[i].size(QPageSize::Millimeter);
        m_papers.append({paperIdOf(sizes[i], i), sizes[i].name(), size.width(), size.height()});
    }
    const int defaultIndex = sizes.indexOf(info.defaultPageSize());
    m_defaultPaper = defaultIndex >= 0 ? m_papers[defaultIndex].Id : paperIdOf(info.defaultPageSize(), sizes.size());

    for (const QPrinter::DuplexMode mode : info.supportedDuplexModes())
        if (mode != QPrinter::DuplexAuto)
            m_duplexModes << duplexNumber(mode);
    m_resolutions = info.supportedResolutions();
    m_defaultDuplex = duplexNumber(info.defaultDuplexMode());

    const CupsDestination cups(m_name);
    if (ipp_attribute_t *sources = cups.supported("media-source")) {
        for (int i = 0; i < ippGetCount(sources); ++i) {
            const char *keyword = ippGetString(sources, i, nullptr);
            if (!keyword)
                continue;
            const QString text = QString::fromUtf8(keyword);
            m_bins.append({binIdOf(text, i), cups.localized("media-source", keyword)});
            m_binKeywords.append(text);
        }
    }
    if (ipp_attribute_t *source = cups.defaultOf("media-source")) {
        const int index = m_binKeywords.indexOf(QString::fromUtf8(ippGetString(source, 0, nullptr)));
        if (index >= 0)
            m_defaultBin = m_bins[index].Id;
    }
    if (ipp_attribute_t *orientation = cups.defaultOf("orientation-requested"))
        m_defaultOrientation = ippGetInteger(orientation, 0) == IPP_ORIENT_LANDSCAPE ? poLandscape : poPortrait;

    const int resolution = m_device->printer.resolution();
    if (resolution > 0)
        m_dpi = QPoint(resolution, resolution);

    const TPrinterPaper *paper = nullptr;
    for (const TPrinterPaper &p : m_papers)
        if (p.Id == m_defaultPaper)
            paper = &p;
    SetPage(m_defaultPaper, paper ? paper->Width : 0, paper ? paper->Height : 0, m_defaultOrientation);
}

void TPrinter::SetPage(int paperId, double widthMM, double heightMM, TPrinterOrientation orientation)
{
    bool known = paperId != kCustomPaper && GetPaperDimensions(paperId, widthMM, heightMM);
    for (const TPrinterPaper &paper : m_papers) {
        if (paper.Id == paperId && paperId != kCustomPaper) {
            widthMM = paper.Width;
            heightMM = paper.Height;
            known = true;
        }
    }
    if (!known && (widthMM <= 0 || heightMM <= 0))
        GetPaperDimensions(kA4Paper, widthMM, heightMM);
    m_paper = known ? paperId : kCustomPaper;
    m_paperWidth = widthMM;
    m_paperHeight = heightMM;
    m_orientation = orientation;
    applyPage();
}

void TPrinter::applyPage()
{
    if (!m_device)
        return;
    const QPageSize size(QSizeF(m_paperWidth, m_paperHeight), QPageSize::Millimeter, QString(),
                         QPageSize::FuzzyOrientationMatch);
    m_device->printer.setPageSize(size);
    m_device->printer.setPageOrientation(m_orientation == poLandscape ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait);
}

TPrinterPageGeometry TPrinter::PageGeometry() const
{
    TPrinterPageGeometry g;
    if (!m_device) {
        const bool landscape = m_orientation == poLandscape;
        g.PaperWidth = landscape ? m_paperHeight : m_paperWidth;
        g.PaperHeight = landscape ? m_paperWidth : m_paperHeight;
        g.LeftMargin = g.TopMargin = g.RightMargin = g.BottomMargin = kVirtualMargin;
        return g;
    }
    const QPageLayout layout = m_device->printer.pageLayout();
    const QRectF full = layout.fullRect(QPageLayout::Millimeter);
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    g.PaperWidth = full.width();
    g.PaperHeight = full.height();
    g.LeftMargin = margins.left();
    g.TopMargin = margins.top();
    g.RightMargin = margins.right();
    g.BottomMargin = margins.bottom();
    return g;
}

void TPrinter::SetBin(int binId)
{
    if (!m_device)
        return;
    for (int i = 0; i < m_bins.size(); ++i) {
        if (m_bins[i].Id == binId) {
            setJobOption(QStringLiteral("media-source"), m_binKeywords[i]);
            return;
        }
    }
}

void TPrinter::SetDuplex(int duplex)
{
    if (!m_device)
        return;
    const QPrinter::DuplexMode mode = duplex == 2   ? QPrinter::DuplexLongSide
                                      : duplex == 3 ? QPrinter::DuplexShortSide
                                                    : QPrinter::DuplexNone;
    m_device->printer.setDuplex(mode);
    // Qt asks only for the modes the printer's description lists; the
    // others are asked of the print system directly.
    const bool refused = m_device->printer.duplex() != mode;
    setJobOption(QStringLiteral("sides"), !refused                             ? QString()
                                          : mode == QPrinter::DuplexLongSide ? QStringLiteral("two-sided-long-edge")
                                          : mode == QPrinter::DuplexShortSide
                                              ? QStringLiteral("two-sided-short-edge")
                                              : QStringLiteral("one-sided"));
}

void TPrinter::SetResolution(int dpi)
{
    if (!m_device || dpi <= 0)
        return;
    m_dpi = QPoint(dpi, dpi);
    m_device->printer.setResolution(dpi);
    // The job asks for it as printer descriptions name their choices.
    setJobOption(QStringLiteral("Resolution"), QStringLiteral("%1dpi").arg(dpi));
}

void TPrinter::SetCopies(int copies)
{
    if (!m_device)
        return;
    // Qt's default is collated copies, which would repeat the whole job.
    m_device->printer.setCopyCount(qMax(1, copies));
    m_device->printer.setCollateCopies(false);
    setJobOption(QStringLiteral("multiple-document-handling"),
                 copies > 1 ? QStringLiteral("separate-documents-uncollated-copies") : QString());
}

void TPrinter::setJobOption(const QString &name, const QString &value)
{
    const qsizetype at = m_jobOptions.indexOf(name);
    if (at >= 0 && at % 2 == 0)
        m_jobOptions.remove(at, 2);
    if (!value.isEmpty())
        m_jobOptions << name << value;
    m_device->printer.printEngine()->setProperty(kCupsOptionsProperty, m_jobOptions);
}

void TPrinter::SetTitle(const QString &title)
{
    m_title = title;
    if (m_device)
        m_device->printer.setDocName(title);
}

void TPrinter::SetFileName(const QString &fileName)
{
    if (m_device)
        m_device->printer.setOutputFileName(fileName);
}

void TPrinter::BeginDoc(TCanvas &canvas)
{
    if (!m_device || m_jobCanvas)
        return;
    canvas.SetDevice(&m_device->printer);
    canvas.SetResolution(m_dpi.x(), m_dpi.y());
    canvas.SetIsPrinter(true);
    try {
        canvas.Handle(); // opening the painter starts the job
    } catch (const EInvalidOperation &) {
        canvas.SetDevice(nullptr);
        throw EPrinter(QCoreApplication::translate("Printers", "Printing on \"%1\" could not be started").arg(m_name));
    }
    m_jobCanvas = &canvas;
}

void TPrinter::NewPage()
{
    if (m_jobCanvas)
        m_device->printer.newPage();
}

void TPrinter::EndDoc()
{
    if (!m_jobCanvas)
        return;
    // Ending the painter finishes the job.
    std::exchange(m_jobCanvas, nullptr)->SetDevice(nullptr);
}

void TPrinter::Abort()
{
    if (!m_jobCanvas)
        return;
    m_device->printer.abort();
    EndDoc();
}

void TPrinter::BeginRawDoc()
{
    if (m_virtual || m_rawJob)
        return;
    const QByteArray name = m_name.toUtf8();
    const QByteArray title = m_title.toUtf8();
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, name.constData(), title.constData(), 0, nullptr);
    if (job <= 0 || cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), job, title.constData(), CUPS_FORMAT_RAW, 1)
                        != HTTP_STATUS_CONTINUE)
        throw EPrinter(QCoreApplication::translate("Printers", "Printing on \"%1\" could not be started: %2")
                           .arg(m_name, QString::fromUtf8(cupsLastErrorString())));
    m_rawJob = job;
}

void TPrinter::WriteRawDoc(const QByteArray &bytes)
{
    if (!m_rawJob)
        return;
    if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, bytes.constData(), size_t(bytes.size())) != HTTP_STATUS_CONTINUE)
        throw EPrinter(QCoreApplication::translate("Printers", "Printing on \"%1\" failed: %2")
                           .arg(m_name, QString::fromUtf8(cupsLastErrorString())));
}

void TPrinter::EndRawDoc()
{
    if (!m_rawJob)
        return;
    m_rawJob = 0;
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, m_name.toUtf8().constData()) != IPP_STATUS_OK)
        throw EPrinter(QCoreApplication::translate("Printers", "Printing on \"%1\" failed: %2")
                           .arg(m_name, QString::fromUtf8(cupsLastErrorString())));
}
