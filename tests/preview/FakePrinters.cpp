#include "FakePrinters.h"

#include "report/model/qvxResources.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <QFile>

namespace {

constexpr double kEdge = 5;

} // namespace

TFakePrinter::TFakePrinter(const QString &name, const QString &port, QList<TqvxPrinterItem> papers)
    : TqvxCustomPrinter(name, port, std::make_unique<TRecordingCanvas>()), m_paperList(std::move(papers))
{
}

void TFakePrinter::Init()
{
    if (Initialized())
        return;
    SetDPI(QPoint(96, 96));
    SetDefaults(kA4Paper, 210, 297, poPortrait, kDefaultBin, 1);
    for (const TqvxPrinterItem &paper : m_paperList)
        AddPaper(paper.Name, paper.Id);
    SetViewParams(kA4Paper, 0, 0, poPortrait);
    viewParamsCalls = 0;
    SetChosen(-1, -1);
    SetInitialized();
}

void TFakePrinter::SetViewParams(int paperSize, double paperWidth, double paperHeight,
                                 TPrinterOrientation orientation)
{
    ++viewParamsCalls;
    SetTablePaper(paperSize, paperWidth, paperHeight, orientation, kEdge);
}

void TFakePrinter::SetPrintParams(int paperSize, double paperWidth, double paperHeight,
                                  TPrinterOrientation orientation, int, TqvxDuplexMode duplex, int)
{
    SetViewParams(paperSize, paperWidth, paperHeight, orientation);
    duplexModes << int(duplex);
}

void TFakePrinter::BeginDoc()
{
    sheets.clear();
    SetPrinting(true);
}

void TFakePrinter::EndPage()
{
    QStringList texts;
    for (const TCanvasRecord &record : static_cast<TRecordingCanvas *>(Canvas())->TakeRecords())
        if (record.Op == TCanvasOp::Text)
            texts << record.Text;
    sheets << texts.join(u' ');
}

void TFakePrinter::EndDoc()
{
    SetPrinting(false);
    if (FileName().isEmpty())
        return;
    QFile file(FileName());
    if (file.open(QIODevice::WriteOnly))
        file.write(sheets.join(u'\n').toUtf8());
}

TFakePrinters::TFakePrinters(std::vector<std::unique_ptr<TqvxCustomPrinter>> printers)
    : list(std::move(printers)), saved(qvxPrinters())
{
    qvxSetPrinters(&list);
}

TFakePrinters::~TFakePrinters()
{
    qvxSetPrinters(saved);
}

std::vector<std::unique_ptr<TqvxCustomPrinter>> twoFakePrinters()
{
    std::vector<std::unique_ptr<TqvxCustomPrinter>> printers;
    printers.push_back(std::make_unique<TFakePrinter>(
        QStringLiteral("Office"), QStringLiteral("LPT1:"),
        QList<TqvxPrinterItem>{{QStringLiteral("A4"), 9}, {QStringLiteral("A3"), 8}, {QStringLiteral("Letter"), 1}}));
    printers.push_back(std::make_unique<TFakePrinter>(
        QStringLiteral("Label"), QStringLiteral("usb://label"),
        QList<TqvxPrinterItem>{{QStringLiteral("A4"), 9}, {QStringLiteral("A5"), 11}}));
    return printers;
}

std::vector<std::unique_ptr<TqvxCustomPrinter>> noInstalledPrinter()
{
    std::vector<std::unique_ptr<TqvxCustomPrinter>> printers;
    printers.push_back(std::make_unique<TqvxVirtualPrinter>(qvxResources()->Get(QStringLiteral("prVirtual")),
                                                            std::make_unique<TRecordingCanvas>()));
    return printers;
}
