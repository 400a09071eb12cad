#include "PdfExportTestSupport.h"

#include "ToolTestSupport.h"

#include "export/pdf/qvxPDFStrings.h"
#include "toolkit/classes/Streams.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>

TqvxPDFPageInfo TestPageDrawing::pageInfo;

void TestOutline::GetItem(int index, QString &text, int &page, int &top)
{
    const TestOutlineItem &item = current().at(index);
    text = item.text;
    page = item.page;
    top = item.top;
}

const QList<TestOutlineItem> &TestOutline::current() const
{
    const QList<TestOutlineItem> *level = &items;
    for (int index : m_path)
        level = &level->at(index).children;
    return *level;
}

TestPreviewPages::TestPreviewPages(TqvxReportLink *report, int count) : TNullPreviewPages(report), m_count(count)
{
    SetOutline(std::make_unique<TestOutline>(this));
}

std::unique_ptr<TqvxView> textObject(const QString &text, double left, double top, const QString &fontName,
                                          int size)
{
    auto object = std::make_unique<TqvxView>();
    object->SetDescription(text);
    object->SetLeft(left);
    object->SetTop(top);
    TFont font;
    font.SetName(fontName);
    font.SetSize(size);
    object->SetFont(&font);
    return object;
}

namespace {

void writeText(TqvxPDFExport &pdf, TqvxView *object)
{
    if (object->Description().isEmpty())
        return;
    TqvxPDFFont *font = pdf.FindFont(*object->Font());
    const int size = object->Font()->Size();
    TStream *c = pdf.PageContent();
    TqvxPDFExport::WriteLn(c, "BT");
    TqvxPDFExport::WriteLn(c, font->ResourceName + ' ' + QByteArray::number(size) + " Tf");
    TqvxPDFExport::WriteLn(c, PdfNumber(pdf.PX(object->Left())) + ' ' + PdfNumber(pdf.PY(object->Top() + size))
                                  + " Td");
    TqvxPDFExport::Write(c, pdf.ShowText(font, size, object->Description(),
                                         object->GroupIndex() == 1));
    TqvxPDFExport::WriteLn(c, "ET");
}

TqvxPDFPageInfo a4Page()
{
    TqvxPDFPageInfo info;
    info.Width = 210 * 3.77953;
    info.Height = 297 * 3.77953;
    info.LeftMargin = 10;
    info.TopMargin = 10;
    info.RightMargin = 10;
    info.BottomMargin = 10;
    return info;
}

} // namespace

TestPageDrawing::TestPageDrawing()
{
    pageInfo = a4Page();
    qvxInstallPDFPageDrawing({[](TqvxReportPage *) { return pageInfo; }, writeText});
}

TestPageDrawing::~TestPageDrawing()
{
    qvxRemovePDFPageDrawing();
}

QByteArray exportPages(TqvxPDFExport &pdf, const QList<QList<TqvxComponent *>> &pages, const QString &fileName,
                       TqvxReportLink *report)
{
    pdf.SetShowDialog(false);
    pdf.SetFileName(fileName);
    if (!pdf.BeginExport(report) || !pdf.StartExport())
        return QByteArray();
    for (int i = 0; i < pages.size(); ++i) {
        pdf.StartPage(nullptr, i);
        for (TqvxComponent *object : pages[i])
            pdf.ExportObject(object);
        pdf.FinishPage(nullptr, i);
    }
    pdf.FinishExport();
    QFile file(pdf.FileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void makeDeterministic(TqvxPDFExport &pdf, bool compressed)
{
    pdf.Clock = [] { return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)); };
    pdf.NewFileId = [] { return QByteArray("0123456789abcdef0123456789abcdef"); };
    pdf.SetCompressed(compressed);
    pdf.SetCreator(QStringLiteral("Tests"));
}

QString xrefComplaint(const QByteArray &pdf)
{
    const qsizetype start = pdf.lastIndexOf("startxref\r\n");
    if (start < 0)
        return QStringLiteral("no startxref");
    const qint64 xref = pdf.mid(start + 11, pdf.indexOf('\r', start + 11) - start - 11).toLongLong();
    if (pdf.mid(xref, 6) != "xref\r\n")
        return QStringLiteral("startxref does not point at the table");
    const qsizetype countEnd = pdf.indexOf("\r\n", xref + 6);
    const QList<QByteArray> header = pdf.mid(xref + 6, countEnd - xref - 6).split(' ');
    const int size = header.value(1).toInt();
    qsizetype line = countEnd + 2;
    if (pdf.mid(line, 20) != "0000000000 65535 f\r\n")
        return QStringLiteral("bad free entry");
    for (int n = 1; n < size; ++n) {
        line += 20;
        const QByteArray entry = pdf.mid(line, 20);
        if (entry.size() != 20 || !entry.endsWith(" 00000 n\r\n"))
            return QStringLiteral("entry %1 is not 20 bytes").arg(n);
        const qint64 offset = entry.left(10).toLongLong();
        const QByteArray object = QByteArray::number(n) + " 0 obj\r\n";
        if (pdf.mid(offset, object.size()) != object)
            return QStringLiteral("entry %1 points at %2").arg(n).arg(QString::fromLatin1(pdf.mid(offset, 12)));
    }
    if (!pdf.contains("/Size " + QByteArray::number(size) + "\r\n"))
        return QStringLiteral("trailer size differs");
    return QString();
}

QString qpdfComplaint(const QString &fileName, const QString &password)
{
    QStringList arguments{QStringLiteral("--check")};
    if (!password.isEmpty())
        arguments << QStringLiteral("--password=") + password;
    arguments << fileName;
    QString output;
    const int code = runTool(QStringLiteral("qpdf"), arguments, &output);
    return code == 0 ? QString() : QStringLiteral("exit %1: %2").arg(code).arg(output);
}

QString extractedText(const QString &fileName, const QString &password)
{
    return extractedPages(fileName, password).join(QString());
}

QStringList extractedPages(const QString &fileName, const QString &password)
{
    QStringList arguments{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (!password.isEmpty())
        arguments << QStringLiteral("-upw") << password;
    arguments << fileName << QStringLiteral("-");
    QString text = toolOutput(QStringLiteral("pdftotext"), arguments);
    // The embedding marks around right-to-left lines.
    text.remove(QRegularExpression(QStringLiteral("[\\x{202A}-\\x{202E}]")));
    // Every page ends with a page break.
    if (text.endsWith(QLatin1Char('\f')))
        text.chop(1);
    return text.split(QLatin1Char('\f'));
}

QString toolOutput(const QString &program, const QStringList &arguments)
{
    QString output;
    runTool(program, arguments, &output);
    return output;
}

QImage renderedPage(const QString &fileName, const QString &prefix)
{
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-singlefile"),
                                         fileName, prefix});
    QFile file(prefix + QStringLiteral(".ppm"));
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray bytes = file.readAll();
    const QList<QByteArray> header = bytes.left(32).simplified().split(' ');
    const int width = header.value(1).toInt();
    const int height = header.value(2).toInt();
    const qsizetype start = bytes.size() - qsizetype(width) * height * 3;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const char *p = bytes.constData() + start + (qsizetype(y) * width + x) * 3;
            image.setPixel(x, y, qRgb(uchar(p[0]), uchar(p[1]), uchar(p[2])));
        }
    return image;
}

