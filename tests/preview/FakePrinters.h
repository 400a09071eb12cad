#pragma once

// Printers of the tests' own: a name, a port and a paper list, no driver.
// A driver's settings dialog can be made to choose a duplex mode, and a
// job printed into a file writes the texts of its sheets there, one line
// a sheet.

#include "engine/qvxPrinter.h"
#include "report/pages/qvxPage.h"

#include <QList>
#include <QStringList>

#include <memory>

class TFakePrinter : public TqvxCustomPrinter
{
public:
    // papers: named papers of the paper table, after the custom size.
    TFakePrinter(const QString &name, const QString &port, QList<TqvxPrinterItem> papers);

    void Init() override;
    void Abort() override {}
    void BeginDoc() override;
    void BeginPage() override {}
    void BeginRAWDoc() override {}
    void EndDoc() override;
    void EndPage() override;
    void EndRAWDoc() override {}
    void WriteRAWDoc(const QByteArray &) override {}
    void SetViewParams(int paperSize, double paperWidth, double paperHeight,
                       TPrinterOrientation orientation) override;
    void SetPrintParams(int paperSize, double paperWidth, double paperHeight, TPrinterOrientation orientation,
                        int bin, TqvxDuplexMode duplex, int copies) override;
    void PropertiesDlg() override { SetChosen(Bin(), m_driverDuplex); }
    bool HasPropertiesDlg() const override { return true; }

    // The duplex mode the driver's dialog chooses (1 simplex, 2 vertical,
    // 3 horizontal; -1 none).
    int m_driverDuplex = -1;
    QStringList sheets;
    QList<int> duplexModes;
    int viewParamsCalls = 0;

private:
    QList<TqvxPrinterItem> m_paperList;
};

// The printers as the report model's printer list, the first current, for
// the lifetime of the object.
class TFakePrinters
{
public:
    explicit TFakePrinters(std::vector<std::unique_ptr<TqvxCustomPrinter>> printers);
    ~TFakePrinters();

    TqvxPrinters list;
    TqvxPrinterList *saved;
};

// "Office" (A4, A3, Letter) at port "LPT1:" and "Label" (A4, A5) at
// "usb://label".
std::vector<std::unique_ptr<TqvxCustomPrinter>> twoFakePrinters();
// What a machine without an installed printer has: the virtual printer
// alone.
std::vector<std::unique_ptr<TqvxCustomPrinter>> noInstalledPrinter();
