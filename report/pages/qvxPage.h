#pragma once

// Pages, the direct children of a report.
//
// TqvxReportPage is a printable page: its paper (size in millimetres, a
// classic paper number with 256 for a custom size, orientation), margins,
// columns, paper bins, duplex mode, a background picture with colour and
// frame, and the bands placed on it.  TqvxDataPage holds the report's
// non-visual data components.  The dialog page lives in qvxDialogPage.h.

#include "report/model/qvxDataSetLink.h"
#include "report/components/qvxFrame.h"
#include "report/base/qvxObjectTypes.h"
#include "report/model/qvxComponent.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/Picture.h"

#include <QList>
#include <QStringList>

#include <memory>

class TCanvas;
class TqvxBand;
class TqvxCustomPrinter;
class TqvxPictureView;

class TqvxPage : public TqvxComponent
{
    Q_OBJECT
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TqvxPage(TComponent *owner = nullptr);
};

// The current printer's default paper: its number, portrait size in
// millimetres and orientation.
struct TqvxPrinterDefaults {
    int PaperSize = 9;
    double PaperWidth = 210;
    double PaperHeight = 297;
    ObjectTypes::TPrinterOrientation Orientation = ObjectTypes::poPortrait;
};

// The installed printers as the report model knows them, one of them
// current.  A page asks the current printer's defaults; the report selects
// a printer by name and printing draws on the current printer.  The
// printer layer of the engine installs the full list; without it only the
// system's printers' defaults are known, and there is nothing to print on.
class TqvxPrinterList
{
public:
    virtual ~TqvxPrinterList() = default;
    virtual TqvxPrinterDefaults CurrentDefaults() = 0;
    // The printer jobs go to; nullptr when the list has none.
    virtual TqvxCustomPrinter *GetCurrentPrinter() { return nullptr; }
    // False when no printer is installed (a virtual one stands in).
    virtual bool HasPhysicalPrinters() { return false; }
    // The printers' names, in the list's order; none in the base.
    virtual QStringList Names() { return {}; }
    // Makes the printer at index of Names current; nothing in the base.
    virtual void SetPrinterIndex(int index) { Q_UNUSED(index); }
    // The index of the printer of that name (letter case ignored), or -1.
    int IndexOf(const QString &name);
};

// The printer list pages, the report and printing use: the one installed
// by qvxSetPrinters (not owned; nullptr restores the system's defaults).
TqvxPrinterList *qvxPrinters();
void qvxSetPrinters(TqvxPrinterList *printers);

class TqvxReportPage : public TqvxPage
{
    Q_OBJECT
    Q_PROPERTY(ObjectTypes::TPrinterOrientation Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(double PaperWidth READ PaperWidth WRITE SetPaperWidth)
    Q_PROPERTY(double PaperHeight READ PaperHeight WRITE SetPaperHeight)
    Q_PROPERTY(int PaperSize READ PaperSize WRITE SetPaperSize)
    Q_PROPERTY(double LeftMargin READ LeftMargin WRITE SetLeftMargin)
    Q_PROPERTY(double RightMargin READ RightMargin WRITE SetRightMargin)
    Q_PROPERTY(double TopMargin READ TopMargin WRITE SetTopMargin)
    Q_PROPERTY(double BottomMargin READ BottomMargin WRITE SetBottomMargin)
    Q_PROPERTY(bool MirrorMargins READ MirrorMargins WRITE SetMirrorMargins)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(double ColumnWidth READ ColumnWidth WRITE SetColumnWidth)
    Q_PROPERTY(TStrings *ColumnPositions READ ColumnPositions WRITE SetColumnPositions)
    Q_PROPERTY(int Bin READ Bin WRITE SetBin)
    Q_PROPERTY(int BinOtherPages READ BinOtherPages WRITE SetBinOtherPages)
    Q_PROPERTY(TPicture *BackPicture READ BackPicture WRITE SetBackPicture)
    Q_PROPERTY(bool BackPictureVisible READ BackPictureVisible WRITE SetBackPictureVisible)
    Q_PROPERTY(bool BackPicturePrintable READ BackPicturePrintable WRITE SetBackPicturePrintable)
    Q_PROPERTY(int PageCount READ PageCount WRITE SetPageCount)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TqvxFrame *Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(TqvxComponent *DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName)
    Q_PROPERTY(ObjectTypes::TqvxDuplexMode Duplex READ Duplex WRITE SetDuplex)
    Q_PROPERTY(bool EndlessHeight READ EndlessHeight WRITE SetEndlessHeight)
    Q_PROPERTY(bool EndlessWidth READ EndlessWidth WRITE SetEndlessWidth)
    Q_PROPERTY(bool LargeDesignHeight READ LargeDesignHeight WRITE SetLargeDesignHeight)
    Q_PROPERTY(QString OutlineText READ OutlineText WRITE SetOutlineText)
    Q_PROPERTY(bool PrintIfEmpty READ PrintIfEmpty WRITE SetPrintIfEmpty)
    Q_PROPERTY(bool PrintOnPreviousPage READ PrintOnPreviousPage WRITE SetPrintOnPreviousPage)
    Q_PROPERTY(bool ResetPageNumbers READ ResetPageNumbers WRITE SetResetPageNumbers)
    Q_PROPERTY(bool TitleBeforeHeader READ TitleBeforeHeader WRITE SetTitleBeforeHeader)
    Q_PROPERTY(TStrings *HGuides READ HGuides WRITE SetHGuides)
    Q_PROPERTY(TStrings *VGuides READ VGuides WRITE SetVGuides)
    Q_PROPERTY(QString OnAfterPrint READ OnAfterPrint WRITE SetOnAfterPrint)
    Q_PROPERTY(QString OnBeforePrint READ OnBeforePrint WRITE SetOnBeforePrint)
    Q_PROPERTY(QString OnManualBuild READ OnManualBuild WRITE SetOnManualBuild)

public:
    // A4 portrait, no margins.
    explicit TqvxReportPage(TComponent *owner = nullptr);
    ~TqvxReportPage() override;

    QString GetDescription() const override;

    // The paper in millimetres.  Setting a width or height (rounded to 8
    // decimals) makes the paper custom (256).
    double PaperWidth() const { return m_paperWidth; }
    virtual void SetPaperWidth(double value);
    double PaperHeight() const { return m_paperHeight; }
    virtual void SetPaperHeight(double value);
    // A number below 256 takes its size from the paper table, turned for a
    // landscape page; an unknown number keeps the size.
    int PaperSize() const { return m_paperSize; }
    virtual void SetPaperSize(int value);
    // Turning the page swaps the paper's sides and turns the margins with
    // it.
    ObjectTypes::TPrinterOrientation Orientation() const { return m_orientation; }
    void SetOrientation(ObjectTypes::TPrinterOrientation value);
    // Margins 10 mm; paper and orientation from the current printer.
    virtual void SetDefaults();
    // Width and Height: the paper's size in pixels.
    void UpdateDimensions();

    double LeftMargin() const { return m_leftMargin; }
    void SetLeftMargin(double value) { m_leftMargin = value; }
    double RightMargin() const { return m_rightMargin; }
    void SetRightMargin(double value) { m_rightMargin = value; }
    double TopMargin() const { return m_topMargin; }
    void SetTopMargin(double value) { m_topMargin = value; }
    double BottomMargin() const { return m_bottomMargin; }
    void SetBottomMargin(double value) { m_bottomMargin = value; }
    bool MirrorMargins() const { return m_mirrorMargins; }
    void SetMirrorMargins(bool value) { m_mirrorMargins = value; }

    // Setting Columns divides the printable width evenly and lists each
    // column's left position in millimetres.
    int Columns() const { return m_columns; }
    void SetColumns(int value);
    double ColumnWidth() const { return m_columnWidth; }
    void SetColumnWidth(double value) { m_columnWidth = value; }
    TStrings *ColumnPositions() const { return m_columnPositions.get(); }
    void SetColumnPositions(const TStrings *value);

    int Bin() const { return m_bin; }
    void SetBin(int value) { m_bin = value; }
    int BinOtherPages() const { return m_binOtherPages; }
    void SetBinOtherPages(int value) { m_binOtherPages = value; }
    TqvxDuplexMode Duplex() const { return m_duplex; }
    void SetDuplex(TqvxDuplexMode value) { m_duplex = value; }

    // The background: a picture, a colour and a frame, kept in a picture
    // view of the page's printable area.
    TqvxPictureView *BackPictureView() const { return m_backPictureView.get(); }
    TPicture *BackPicture() const;
    void SetBackPicture(const TPicture *value);
    bool BackPictureVisible() const { return m_backPictureVisible; }
    void SetBackPictureVisible(bool value) { m_backPictureVisible = value; }
    bool BackPicturePrintable() const { return m_backPicturePrintable; }
    void SetBackPicturePrintable(bool value) { m_backPicturePrintable = value; }
    TColor Color() const;
    void SetColor(TColor value);
    TqvxFrame *Frame() const;
    void SetFrame(const TqvxFrame *value);
    // Sizes the background view to the printable area and draws it at the
    // margins, unless hidden, or being printed while not printable.
    void DrawBackground(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY);

    // Values below 1 are ignored.
    int PageCount() const { return m_pageCount; }
    void SetPageCount(int value);

    TqvxComponent *DataSet() const { return m_dataSet.DataSet(); }
    void SetDataSet(TqvxComponent *value) { m_dataSet.SetDataSet(value); }
    QString DataSetName() const { return m_dataSet.DataSetName(); }
    void SetDataSetName(const QString &value) { m_dataSet.SetDataSetName(value); }

    bool EndlessHeight() const { return m_endlessHeight; }
    void SetEndlessHeight(bool value) { m_endlessHeight = value; }
    bool EndlessWidth() const { return m_endlessWidth; }
    void SetEndlessWidth(bool value) { m_endlessWidth = value; }
    bool LargeDesignHeight() const { return m_largeDesignHeight; }
    void SetLargeDesignHeight(bool value) { m_largeDesignHeight = value; }
    QString OutlineText() const { return m_outlineText; }
    void SetOutlineText(const QString &value) { m_outlineText = value; }
    bool PrintIfEmpty() const { return m_printIfEmpty; }
    void SetPrintIfEmpty(bool value) { m_printIfEmpty = value; }
    bool PrintOnPreviousPage() const { return m_printOnPreviousPage; }
    void SetPrintOnPreviousPage(bool value) { m_printOnPreviousPage = value; }
    bool ResetPageNumbers() const { return m_resetPageNumbers; }
    void SetResetPageNumbers(bool value) { m_resetPageNumbers = value; }
    bool TitleBeforeHeader() const { return m_titleBeforeHeader; }
    void SetTitleBeforeHeader(bool value) { m_titleBeforeHeader = value; }
    TStrings *HGuides() const { return m_hGuides.get(); }
    void SetHGuides(const TStrings *value);
    TStrings *VGuides() const { return m_vGuides.get(); }
    void SetVGuides(const TStrings *value);

    QString OnAfterPrint() const { return m_onAfterPrint; }
    void SetOnAfterPrint(const QString &value) { m_onAfterPrint = value; }
    QString OnBeforePrint() const { return m_onBeforePrint; }
    void SetOnBeforePrint(const QString &value) { m_onBeforePrint = value; }
    QString OnManualBuild() const { return m_onManualBuild; }
    void SetOnManualBuild(const QString &value) { m_onManualBuild = value; }

    // The subreport object that prints this page inline; the link clears
    // itself on both sides when either goes.
    TqvxComponent *SubReport() const { return m_subReport; }
    void SetSubReport(TqvxComponent *value) { m_subReport = value; }
    bool IsSubReport() const { return m_subReport != nullptr; }

    // A dot-matrix page snaps its bands to character cells.
    virtual bool IsDotMatrix() const { return false; }

    // The first child that is a band of that class, or nullptr.
    TqvxBand *FindBand(TClass bandClass) const;
    template <class T>
    T *FindBand() const
    {
        return static_cast<T *>(FindBand(ClassOf<T>()));
    }

    // The page is the printable area while its children are placed:
    // horizontal bands take its width (a column's on a page of several
    // columns), vertical bands its height; then the paper's size again.
    void AlignChildren() override;

    // Kept by the engine: the top-level horizontal and vertical data bands.
    QList<TqvxBand *> &HDataBands() { return m_hDataBands; }
    QList<TqvxBand *> &VDataBands() { return m_vDataBands; }

protected:
    // Writes the paper's size alone: the paper number stays.
    void SetPaperDimensions(double width, double height);

private:
    double printableWidth() const;
    double printableHeight() const;

    ObjectTypes::TPrinterOrientation m_orientation = ObjectTypes::poPortrait;
    double m_paperWidth = 0;
    double m_paperHeight = 0;
    int m_paperSize = 0;
    double m_leftMargin = 0;
    double m_rightMargin = 0;
    double m_topMargin = 0;
    double m_bottomMargin = 0;
    bool m_mirrorMargins = false;
    int m_columns = 0;
    double m_columnWidth = 0;
    std::unique_ptr<TStrings> m_columnPositions;
    int m_bin = 7;
    int m_binOtherPages = 7;
    TqvxDuplexMode m_duplex = dmNone;
    std::unique_ptr<TqvxPictureView> m_backPictureView;
    bool m_backPictureVisible = true;
    bool m_backPicturePrintable = true;
    int m_pageCount = 1;
    TqvxDataSetLink m_dataSet{this};
    bool m_endlessHeight = false;
    bool m_endlessWidth = false;
    bool m_largeDesignHeight = false;
    QString m_outlineText;
    bool m_printIfEmpty = true;
    bool m_printOnPreviousPage = false;
    bool m_resetPageNumbers = false;
    bool m_titleBeforeHeader = true;
    std::unique_ptr<TStrings> m_hGuides;
    std::unique_ptr<TStrings> m_vGuides;
    QString m_onAfterPrint;
    QString m_onBeforePrint;
    QString m_onManualBuild;
    TGuardedRef<TqvxComponent> m_subReport{this};
    QList<TqvxBand *> m_hDataBands;
    QList<TqvxBand *> m_vDataBands;
};

// The page of the report's non-visual data components; 1000 by 1000
// pixels when new.
class TqvxDataPage : public TqvxPage
{
    Q_OBJECT
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(double Height READ Height WRITE SetHeight)

public:
    explicit TqvxDataPage(TComponent *owner = nullptr);

    QString GetDescription() const override;
};

// Declares the pages' and subreport's properties and registers them.
void InitializeQvxPages();
