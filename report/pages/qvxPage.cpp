#include "report/pages/qvxPage.h"

#include "report/pages/qvxBand.h"
#include "report/pages/qvxBands.h"
#include "report/base/qvxNumbers.h"
#include "report/views/qvxPictureView.h"
#include "report/model/qvxResources.h"
#include "report/pages/qvxSubreport.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/FloatText.h"
#include "toolkit/printing/Printers.h"

#include <cmath>
#include <utility>

// --- Printers ---------------------------------------------------------------

namespace {

// The installed printers, the system's default one current until another
// is chosen (a virtual A4 printer when none is installed); the printers are
// asked afresh each time.
class SystemPrinterList : public TqvxPrinterList
{
public:
    QStringList Names() override { return TPrinter::PrinterNames(); }
    void SetPrinterIndex(int index) override
    {
        const QStringList names = Names();
        if (index >= 0 && index < names.size())
            m_current = names.at(index);
    }
    TqvxPrinterDefaults CurrentDefaults() override
    {
        const std::unique_ptr<TPrinter> printer =
            TPrinter::Open(m_current.isEmpty() ? TPrinter::DefaultPrinterName() : m_current);
        TqvxPrinterDefaults defaults;
        defaults.PaperSize = printer->DefaultPaper();
        defaults.Orientation =
            printer->DefaultOrientation() == ::poLandscape ? ObjectTypes::poLandscape : ObjectTypes::poPortrait;
        GetPaperDimensions(defaults.PaperSize, defaults.PaperWidth, defaults.PaperHeight);
        for (const TPrinterPaper &paper : printer->Papers()) {
            if (paper.Id == defaults.PaperSize) {
                defaults.PaperWidth = paper.Width;
                defaults.PaperHeight = paper.Height;
            }
        }
        return defaults;
    }

private:
    QString m_current;
};

TqvxPrinterList *installedPrinters = nullptr;

} // namespace

int TqvxPrinterList::IndexOf(const QString &name)
{
    const QStringList names = Names();
    for (int i = 0; i < names.size(); ++i)
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TqvxPrinterList *qvxPrinters()
{
    if (installedPrinters)
        return installedPrinters;
    static SystemPrinterList systemPrinters;
    return &systemPrinters;
}

void qvxSetPrinters(TqvxPrinterList *printers)
{
    installedPrinters = printers;
}

// --- Pages ------------------------------------------------------------------

TqvxPage::TqvxPage(TComponent *owner)
    : TqvxComponent(owner)
{
    AddKind(ckPage);
}

TqvxReportPage::TqvxReportPage(TComponent *owner)
    : TqvxPage(owner),
      m_columnPositions(std::make_unique<TStringList>()),
      m_backPictureView(std::make_unique<TqvxPictureView>()),
      m_hGuides(std::make_unique<TStringList>()),
      m_vGuides(std::make_unique<TStringList>())
{
    SetBaseName(QStringLiteral("Page"));
    m_backPictureView->SetColor(clNone);
    m_backPictureView->SetKeepAspectRatio(false);
    SetPaperSize(kA4Paper);
}

TqvxReportPage::~TqvxReportPage() = default;

QString TqvxReportPage::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obRepPage"));
}

void TqvxReportPage::SetPaperWidth(double value)
{
    m_paperWidth = std::round(value * 1e8) / 1e8;
    m_paperSize = kCustomPaper;
    UpdateDimensions();
}

void TqvxReportPage::SetPaperHeight(double value)
{
    m_paperHeight = std::round(value * 1e8) / 1e8;
    m_paperSize = kCustomPaper;
    UpdateDimensions();
}

void TqvxReportPage::SetPaperSize(int value)
{
    m_paperSize = value;
    double width = 0;
    double height = 0;
    if (value < kCustomPaper && GetPaperDimensions(value, width, height)) {
        if (m_orientation == ObjectTypes::poLandscape)
            std::swap(width, height);
        m_paperWidth = width;
        m_paperHeight = height;
    }
    UpdateDimensions();
}

void TqvxReportPage::SetOrientation(ObjectTypes::TPrinterOrientation value)
{
    if (value != m_orientation) {
        std::swap(m_paperWidth, m_paperHeight);
        const double left = m_leftMargin;
        const double top = m_topMargin;
        const double right = m_rightMargin;
        const double bottom = m_bottomMargin;
        if (value == ObjectTypes::poLandscape) {
            m_leftMargin = top;
            m_topMargin = right;
            m_rightMargin = bottom;
            m_bottomMargin = left;
        } else {
            m_leftMargin = bottom;
            m_topMargin = left;
            m_rightMargin = top;
            m_bottomMargin = right;
        }
    }
    m_orientation = value;
    UpdateDimensions();
}

void TqvxReportPage::SetDefaults()
{
    m_leftMargin = m_rightMargin = m_topMargin = m_bottomMargin = 10;
    const TqvxPrinterDefaults defaults = qvxPrinters()->CurrentDefaults();
    m_orientation = defaults.Orientation;
    m_paperSize = defaults.PaperSize;
    m_paperWidth = defaults.PaperWidth;
    m_paperHeight = defaults.PaperHeight;
    if (m_orientation == ObjectTypes::poLandscape)
        std::swap(m_paperWidth, m_paperHeight);
    UpdateDimensions();
}

void TqvxReportPage::SetPaperDimensions(double width, double height)
{
    m_paperWidth = width;
    m_paperHeight = height;
}

void TqvxReportPage::UpdateDimensions()
{
    SetWidth(qvxRound(m_paperWidth * qv01cm));
    SetHeight(qvxRound(m_paperHeight * qv01cm));
}

double TqvxReportPage::printableWidth() const
{
    return (m_paperWidth - m_leftMargin - m_rightMargin) * qv01cm;
}

double TqvxReportPage::printableHeight() const
{
    return (m_paperHeight - m_topMargin - m_bottomMargin) * qv01cm;
}

void TqvxReportPage::SetColumns(int value)
{
    m_columns = value;
    m_columnPositions->Clear();
    if (value <= 0)
        return;
    m_columnWidth = (m_paperWidth - m_leftMargin - m_rightMargin) / value;
    for (int i = 0; i < value; ++i)
        m_columnPositions->Add(FloatToStr(i * m_columnWidth));
}

void TqvxReportPage::SetColumnPositions(const TStrings *value)
{
    m_columnPositions->Assign(value);
}

void TqvxReportPage::SetHGuides(const TStrings *value)
{
    m_hGuides->Assign(value);
}

void TqvxReportPage::SetVGuides(const TStrings *value)
{
    m_vGuides->Assign(value);
}

TPicture *TqvxReportPage::BackPicture() const
{
    return m_backPictureView->Picture();
}

void TqvxReportPage::SetBackPicture(const TPicture *value)
{
    m_backPictureView->SetPicture(value);
}

TColor TqvxReportPage::Color() const
{
    return m_backPictureView->Color();
}

void TqvxReportPage::SetColor(TColor value)
{
    m_backPictureView->SetColor(value);
}

TqvxFrame *TqvxReportPage::Frame() const
{
    return m_backPictureView->Frame();
}

void TqvxReportPage::SetFrame(const TqvxFrame *value)
{
    m_backPictureView->SetFrame(value);
}

void TqvxReportPage::SetPageCount(int value)
{
    if (value >= 1)
        m_pageCount = value;
}

void TqvxReportPage::DrawBackground(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    m_backPictureView->SetBounds(0, 0, printableWidth(), printableHeight());
    if (!m_backPictureVisible || (IsPrinting() && !m_backPicturePrintable))
        return;
    m_backPictureView->SetIsPrinting(IsPrinting());
    m_backPictureView->Draw(canvas, scaleX, scaleY, offsetX + m_leftMargin * qv01cm * scaleX,
                            offsetY + m_topMargin * qv01cm * scaleY);
}

TqvxBand *TqvxReportPage::FindBand(TClass bandClass) const
{
    for (TqvxComponent *child : Objects())
        if (child->InheritsFrom(bandClass))
            return static_cast<TqvxBand *>(child);
    return nullptr;
}

namespace {

// Bands that span the page whatever its columns.
bool spansPage(const TqvxBand *band)
{
    return band->InheritsFrom<TqvxReportTitle>() || band->InheritsFrom<TqvxReportSummary>() ||
           band->InheritsFrom<TqvxPageHeader>() || band->InheritsFrom<TqvxPageFooter>() ||
           band->InheritsFrom<TqvxOverlay>() || band->IsKind(ckNullBand);
}

} // namespace

void TqvxReportPage::AlignChildren()
{
    SetWidth(printableWidth());
    SetHeight(printableHeight());
    TqvxPage::AlignChildren();
    for (TqvxComponent *child : Objects()) {
        auto *band = qobject_cast<TqvxBand *>(child);
        if (!band)
            continue;
        if (band->Vertical())
            band->SetHeight(printableHeight() - band->Top());
        else if (m_columns > 1 && !spansPage(band))
            band->SetWidth(m_columnWidth * qv01cm);
        else
            band->SetWidth(Width() - band->Left());
        band->AlignChildren();
    }
    UpdateDimensions();
}

TqvxDataPage::TqvxDataPage(TComponent *owner)
    : TqvxPage(owner)
{
    SetWidth(1000);
    SetHeight(1000);
}

QString TqvxDataPage::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obDataPage"));
}

void InitializeQvxPages()
{
    DescribeProperties<TqvxPage>().Default("Visible", 1);
    DescribeProperties<TqvxReportPage>()
        .Default("Orientation", ObjectTypes::poPortrait)
        .Default("MirrorMargins", 0)
        .Default("Columns", 0)
        .Default("Bin", kDefaultBin)
        .Default("BinOtherPages", kDefaultBin)
        .Default("BackPictureVisible", 1)
        .Default("BackPicturePrintable", 1)
        .Default("PageCount", 1)
        .TypeName("Color", QStringLiteral("TColor"))
        .Default("Color", clNone)
        .TypeName("DataSet", QStringLiteral("TqvxDataSet"))
        .Default("Duplex", dmNone)
        .Default("EndlessHeight", 0)
        .Default("EndlessWidth", 0)
        .Default("LargeDesignHeight", 0)
        .Default("PrintIfEmpty", 1)
        .Default("PrintOnPreviousPage", 0)
        .Default("ResetPageNumbers", 0)
        .Default("TitleBeforeHeader", 1);
    DescribeProperties<TqvxSubreport>().Default("PrintOnParent", 0);
    RegisterClass<TqvxReportPage>();
    RegisterClass<TqvxDataPage>();
    RegisterClass<TqvxSubreport>();
}
