#include "PdfExportTestSupport.h"
#include "ToolTestSupport.h"

#include "export/pdf/qvxExportPDF.h"
#include "report/xml/qvxZLib.h"

#include <QDir>
#include <QFile>
#include <QMetaProperty>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

class PDFExport : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    // Exports, then requires a sound table and qpdf's approval.
    QByteArray exportChecked(TqvxPDFExport &pdf, const QList<QList<TqvxComponent *>> &pages, const QString &name,
                             TqvxReportLink *report = nullptr, const QString &password = QString())
    {
        const QByteArray bytes = exportPages(pdf, pages, path(name), report);
        EXPECT_EQ(xrefComplaint(bytes).toStdString(), "") << name.toStdString();
        EXPECT_EQ(qpdfComplaint(path(name), password).toStdString(), "") << name.toStdString();
        return bytes;
    }

    TestPageDrawing drawing;
    QTemporaryDir dir;
};

const char goldenPage[] = "%PDF-1.5\r\n"
                          "2 0 obj\r\n"
                          "<< /Length 0 >>\r\n"
                          "stream\r\n"
                          "endstream\r\n"
                          "endobj\r\n"
                          "3 0 obj\r\n"
                          "<<\r\n"
                          "/Type /Page\r\n"
                          "/Parent 1 0 R\r\n"
                          "/MediaBox [0 0 595.28 841.89 ]\r\n"
                          "/Resources <<\r\n"
                          "/Font << >>\r\n"
                          "/ProcSet [/PDF /Text /ImageC ]\r\n"
                          ">>\r\n"
                          "/Contents 2 0 R\r\n"
                          ">>\r\n"
                          "endobj\r\n"
                          "1 0 obj\r\n"
                          "<<\r\n"
                          "/Type /Pages\r\n"
                          "/Kids [3 0 R ]\r\n"
                          "/Count 1\r\n"
                          ">>\r\n"
                          "endobj\r\n"
                          "4 0 obj\r\n"
                          "<<\r\n"
                          "/Title <FEFF>\r\n"
                          "/Author <FEFF00510075006F007200760065006C>\r\n"
                          "/Subject <FEFF00510075006F007200760065006C00200050004400460020006500780070006F00720074>\r\n"
                          "/Keywords <FEFF>\r\n"
                          "/Creator <FEFF00540065007300740073>\r\n"
                          "/Producer <FEFF>\r\n"
                          "/CreationDate (D:20260304050607)\r\n"
                          "/ModDate (D:20260304050607)\r\n"
                          ">>\r\n"
                          "endobj\r\n"
                          "5 0 obj\r\n"
                          "<<\r\n"
                          "/Type /Catalog\r\n"
                          "/Pages 1 0 R\r\n"
                          "/PageMode /UseNone\r\n"
                          "/ViewerPreferences <<\r\n"
                          "/PrintScaling /None\r\n"
                          ">>\r\n"
                          ">>\r\n"
                          "endobj\r\n"
                          "xref\r\n"
                          "0 6\r\n"
                          "0000000000 65535 f\r\n"
                          "0000000229 00000 n\r\n"
                          "0000000010 00000 n\r\n"
                          "0000000063 00000 n\r\n"
                          "0000000294 00000 n\r\n"
                          "0000000603 00000 n\r\n"
                          "trailer\r\n"
                          "<<\r\n"
                          "/Size 6\r\n"
                          "/Root 5 0 R\r\n"
                          "/Info 4 0 R\r\n"
                          "/ID [<0123456789abcdef0123456789abcdef><0123456789abcdef0123456789abcdef>]\r\n"
                          ">>\r\n"
                          "startxref\r\n"
                          "726\r\n"
                          "%%EOF\r\n";

} // namespace

TEST_F(PDFExport, PublishesItsOptionsInOrderWithTheirDefaults)
{
    TqvxPDFExport pdf;
    QStringList names;
    const QMetaObject *meta = pdf.metaObject();
    for (int i = TqvxCustomExportFilter::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
        names << QString::fromLatin1(meta->property(i).name());
    EXPECT_EQ(names.join(QLatin1Char(' ')),
              QStringLiteral("Compressed EmbeddedFonts EmbedFontsIfProtected OpenAfterExport PrintOptimized Outline "
                             "Background HTMLTags OverwritePrompt Quality Title Author Subject Keywords Creator "
                             "Producer UserPassword OwnerPassword ProtectionFlags HideToolbar HideMenubar "
                             "HideWindowUI FitWindow CenterWindow PrintScaling"));
    EXPECT_TRUE(pdf.Compressed());
    EXPECT_FALSE(pdf.EmbeddedFonts());
    EXPECT_TRUE(pdf.EmbedFontsIfProtected());
    EXPECT_TRUE(pdf.HTMLTags());
    EXPECT_EQ(pdf.Quality(), 95);
    EXPECT_EQ(pdf.Author(), QStringLiteral("Quorvel"));
    EXPECT_EQ(pdf.Subject(), QStringLiteral("Quorvel PDF export"));
    EXPECT_EQ(pdf.ProtectionFlags(), ePrint | eModify | eCopy | eAnnot);
    EXPECT_FALSE(pdf.PrintScaling());
    EXPECT_EQ(pdf.DefaultExt(), QStringLiteral(".pdf"));
    EXPECT_EQ(pdf.GetDescription(), QStringLiteral("Документ PDF"));
}

TEST_F(PDFExport, WritesAnEmptyPageByteForByte)
{
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    EXPECT_EQ(exportChecked(pdf, {{}}, QStringLiteral("golden.pdf")), QByteArray(goldenPage));
}

TEST_F(PDFExport, RefusesToStartWithoutAFileOrStream)
{
    TqvxPDFExport pdf;
    EXPECT_TRUE(exportPages(pdf, {{}}, QString()).isEmpty());
}

TEST_F(PDFExport, JoinsABareFileNameToTheDefaultPath)
{
    TqvxPDFExport pdf;
    pdf.SetDefaultPath(dir.path());
    exportPages(pdf, {{}}, QStringLiteral("bare.pdf"));
    EXPECT_EQ(pdf.FileName(), dir.path() + QStringLiteral("/bare.pdf"));
    EXPECT_EQ(qpdfComplaint(path(QStringLiteral("bare.pdf"))), QString());
}

TEST_F(PDFExport, CompressedPagesCarryBothLengthsAndALineEndAfterTheData)
{
    TqvxPDFExport pdf;
    makeDeterministic(pdf, true);
    auto text = textObject(QStringLiteral("Hello"), 10, 10);
    const QByteArray bytes = exportChecked(pdf, {{text.get()}}, QStringLiteral("compressed.pdf"));
    const QRegularExpression header(QStringLiteral("<< /Filter /FlateDecode /Length (\\d+) /Length1 (\\d+) >>\r\nstream\r\n"));
    const auto match = header.match(QString::fromLatin1(bytes));
    ASSERT_TRUE(match.hasMatch());
    const qsizetype data = match.capturedEnd();
    const int length = match.captured(1).toInt();
    EXPECT_EQ(bytes.mid(data + length, 11), "\r\nendstream");
    const QByteArray content = ZDecompressBuffer(bytes.mid(data, length));
    EXPECT_EQ(content.size(), match.captured(2).toInt());
    EXPECT_TRUE(content.startsWith("BT\r\n/F0 12 Tf\r\n")) << content.constData();
}

TEST_F(PDFExport, PageColourAndFrame)
{
    TestPageDrawing::pageInfo.Color = 0x0000FF;
    TestPageDrawing::pageInfo.FrameHasSides = true;
    TestPageDrawing::pageInfo.FrameColor = clBlack;
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    const QByteArray bytes = exportChecked(pdf, {{}}, QStringLiteral("frame.pdf"));
    EXPECT_TRUE(bytes.contains("0.00 w\n1 0 0 RG\n1 0 0 rg\n28.35 28.35 m\n566.93 28.35 l\n"
                               "566.93 813.54 l\n28.35 813.54 l\nB\n"));
    EXPECT_TRUE(bytes.contains("[] 0 d\n0 0 0 RG\n0.75 w\n1.00 0.00 0.00 rg\n0.50 -0.50 \n"
                               "594.28 840.89 re\nB\n"));
}

TEST_F(PDFExport, ViewerPreferencesAndInfo)
{
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetTitle(QStringLiteral("T(1"));
    pdf.SetHideToolbar(true);
    pdf.SetCenterWindow(true);
    pdf.SetPrintScaling(true);
    const QByteArray bytes = exportChecked(pdf, {{}}, QStringLiteral("prefs.pdf"));
    EXPECT_TRUE(bytes.contains("/ViewerPreferences <<\r\n/DisplayDocTitle true\r\n/HideToolbar true\r\n"
                               "/CenterWindow true\r\n>>\r\n"));
    const QString info = toolOutput(QStringLiteral("pdfinfo"), {path(QStringLiteral("prefs.pdf"))}).simplified();
    EXPECT_TRUE(info.contains(QStringLiteral("Title: T(1 Subject: Quorvel PDF export Keywords: Author: Quorvel "
                                             "Creator: Tests Producer: CreationDate: Wed Mar 4 05:06:07 2026")))
        << info.toStdString();
}

TEST_F(PDFExport, OutlinesFollowThePageRange)
{
    TestReport report(3);
    report.pages.outline()->items = {
        {QStringLiteral("One"), 0, 100, {{QStringLiteral("One.a"), 0, 200, {}}, {QStringLiteral("One.b"), 1, 0, {}}}},
        {QStringLiteral("Two"), 1, 0, {{QStringLiteral("Two.a"), 1, 10, {}}}},
        {QStringLiteral("Three"), 2, 40, {}},
    };
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetOutline(true);
    pdf.SetPageNumbers(QStringLiteral("1,3"));
    const QByteArray bytes = exportChecked(pdf, {{}, {}}, QStringLiteral("outline.pdf"), &report);
    // Pages 3 and 5; fonts none; tree 1, info 6, outline root 7, items 8..10.
    EXPECT_TRUE(bytes.contains("7 0 obj\r\n<<\r\n/Type /Outlines\r\n/Count 2\r\n/First 8 0 R\r\n/Last 10 0 R\r\n"));
    EXPECT_TRUE(bytes.contains("8 0 obj\r\n<<\r\n/Title <FEFF004F006E0065>\r\n/Parent 7 0 R\r\n/Next 10 0 R\r\n"
                               "/First 9 0 R\r\n/Last 9 0 R\r\n/Count 1\r\n/Dest [3 0 R /XYZ 0 767 0]\r\n"));
    EXPECT_TRUE(bytes.contains("10 0 obj\r\n<<\r\n/Title <FEFF00540068007200650065>\r\n/Parent 7 0 R\r\n"
                               "/Prev 8 0 R\r\n/Dest [5 0 R /XYZ 0 812 0]\r\n"));
    EXPECT_FALSE(bytes.contains("FEFF00540077006F")); // "Two" lies on a page left out
    EXPECT_TRUE(bytes.contains("/PageMode /UseOutlines\r\n/Outlines 7 0 R\r\n"));
}

TEST_F(PDFExport, AnOutlineWithEveryItemLeftOutNamesNoOutlines)
{
    TestReport report(2);
    report.pages.outline()->items = {{QStringLiteral("Two"), 1, 0, {}}};
    TqvxPDFExport pdf;
    pdf.SetOutline(true);
    pdf.SetPageNumbers(QStringLiteral("1"));
    const QByteArray bytes = exportChecked(pdf, {{}}, QStringLiteral("nooutline.pdf"), &report);
    EXPECT_TRUE(bytes.contains("/PageMode /UseOutlines\r\n/ViewerPreferences"));
    EXPECT_FALSE(bytes.contains("/Outlines"));
}

namespace {

// A page drawing that also makes links, before drawing the text.
struct LinkingDrawing {
    LinkingDrawing()
    {
        qvxInstallPDFPageDrawing({nullptr, [](TqvxPDFExport &pdf, TqvxView *object) {
                                      const QString target = object->Description();
                                      if (target.startsWith(QLatin1Char('@')))
                                          pdf.AddPageLink("10.00 20.00 30.00 40.00", target.mid(1).toInt(), 100);
                                      else
                                          pdf.AddURILink("1.00 2.00 3.00 4.00", target);
                                  }});
    }
};

} // namespace

TEST_F(PDFExport, LinksPointAtExportedPagesOnly)
{
    LinkingDrawing links;
    TestReport report(3);
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetPageNumbers(QStringLiteral("1,3"));
    auto toThird = textObject(QStringLiteral("@2"), 0, 0);
    auto toSecond = textObject(QStringLiteral("@1"), 0, 0);
    auto toNowhere = textObject(QStringLiteral("@7"), 0, 0);
    auto uri = textObject(QStringLiteral("http://example.com/a(b"), 0, 0);
    const QByteArray bytes = exportChecked(pdf, {{toThird.get(), toSecond.get(), toNowhere.get(), uri.get()}, {}},
                                           QStringLiteral("links.pdf"), &report);
    // Annotations 2 (to the second exported page) and 3 (the URI); page 5
    // holds them, the next page is 7.
    EXPECT_TRUE(bytes.contains("/Annots [\r\n2 0 R\r\n3 0 R\r\n]\r\n"));
    EXPECT_TRUE(bytes.contains("2 0 obj\r\n<<\r\n/Type /Annot\r\n/Subtype /Link\r\n/Rect [10.00 20.00 30.00 40.00]\r\n"
                               "/Border [16 16 0]\r\n/Dest [7 0 R /XYZ null 766 null]\r\n"));
    EXPECT_TRUE(bytes.contains("/URI (http://example.com/a\\(b)\r\n"));
    const QString page = toolOutput(QStringLiteral("qpdf"), {QStringLiteral("--show-object=5"),
                                                             path(QStringLiteral("links.pdf"))});
    EXPECT_TRUE(page.startsWith(QStringLiteral("<< /Annots [ 2 0 R 3 0 R ]"))) << page.toStdString();
}

TEST_F(PDFExport, EncryptedDocumentsDecryptToTheSameContent)
{
    auto text = textObject(QStringLiteral("Secret text, тайный текст"), 20, 30);
    auto link = textObject(QStringLiteral("Second page"), 20, 60);
    TqvxPDFExport plain;
    makeDeterministic(plain, true);
    plain.SetEmbeddedFonts(true);
    plain.SetTitle(QStringLiteral("Title (secret)"));
    exportChecked(plain, {{text.get()}, {link.get()}}, QStringLiteral("plain.pdf"));

    TqvxPDFExport locked;
    makeDeterministic(locked, true);
    locked.SetEmbeddedFonts(false);
    locked.SetTitle(QStringLiteral("Title (secret)"));
    locked.SetUserPassword(QStringLiteral("user"));
    locked.SetOwnerPassword(QStringLiteral("owner"));
    locked.SetProtectionFlags(ePrint);
    exportChecked(locked, {{text.get()}, {link.get()}}, QStringLiteral("locked.pdf"), nullptr, QStringLiteral("user"));
    EXPECT_EQ(locked.OwnerPassword(), QStringLiteral("owner"));
    EXPECT_FALSE(locked.EmbeddedFonts());

    auto normalised = [this](const QString &name, const QString &password) {
        const QString decrypted = path(name + QStringLiteral(".dec"));
        const QString qdf = path(name + QStringLiteral(".qdf"));
        // Decrypting renumbers the objects; the plain file goes the same way.
        QStringList arguments{QStringLiteral("--decrypt")};
        if (!password.isEmpty())
            arguments << QStringLiteral("--password=") + password;
        arguments << path(name) << decrypted;
        EXPECT_EQ(runTool(QStringLiteral("qpdf"), arguments), 0);
        EXPECT_EQ(runTool(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"),
                                                   QStringLiteral("--static-id"), decrypted, qdf}),
                  0);
        QFile file(qdf);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray expected = normalised(QStringLiteral("plain.pdf"), QString());
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(normalised(QStringLiteral("locked.pdf"), QStringLiteral("user")), expected);
    EXPECT_EQ(normalised(QStringLiteral("locked.pdf"), QStringLiteral("owner")), expected);

    const QString info = toolOutput(QStringLiteral("pdfinfo"), {QStringLiteral("-upw"), QStringLiteral("user"),
                                                                path(QStringLiteral("locked.pdf"))});
    EXPECT_TRUE(info.simplified().contains(QStringLiteral("Encrypted: yes (print:yes copy:no change:no addNotes:no")))
        << info.toStdString();
    EXPECT_TRUE(info.simplified().contains(QStringLiteral("Title: Title (secret)")));
    EXPECT_EQ(extractedText(path(QStringLiteral("locked.pdf")), QStringLiteral("user")).trimmed(),
              QStringLiteral("Secret text, тайный текст\n\nSecond page"));
}

TEST_F(PDFExport, EncryptedLinksKeepTheirURI)
{
    LinkingDrawing links;
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetUserPassword(QStringLiteral("u"));
    auto uri = textObject(QStringLiteral("https://пример.рф/(x"), 0, 0);
    exportChecked(pdf, {{uri.get()}}, QStringLiteral("elink.pdf"), nullptr, QStringLiteral("u"));
    const QString shown = toolOutput(QStringLiteral("qpdf"), {QStringLiteral("--password=u"),
                                                              QStringLiteral("--show-object=2"),
                                                              path(QStringLiteral("elink.pdf"))});
    EXPECT_TRUE(shown.contains(QStringLiteral("/URI (https://%D0%BF%D1%80%D0%B8%D0%BC%D0%B5%D1%80.%D1%80%D1%84/\\(x)")))
        << shown.toStdString();
}

TEST_F(PDFExport, CurrentPageOnlyWithoutAPreviewKeepsOutlineAndLinksOfTheFirstPage)
{
    LinkingDrawing links;
    TestReport report(3);
    report.pages.outline()->items = {{QStringLiteral("Start"), 0, 0, {}}};
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetOutline(true);
    pdf.SetCurrentPageOnly(true);
    // What the export sets for the current page when no preview shows one.
    pdf.SetPageNumbers(QStringLiteral("1"));
    auto toFirst = textObject(QStringLiteral("@0"), 0, 0);
    const QByteArray bytes = exportChecked(pdf, {{toFirst.get()}}, QStringLiteral("current.pdf"), &report);
    EXPECT_TRUE(bytes.contains("/Title <FEFF00530074006100720074>")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("/Border [16 16 0]\r\n/Dest [")) << bytes.constData();
}

TEST_F(PDFExport, PasswordsAreLatin1AndOthersAreRefused)
{
    auto text = textObject(QStringLiteral("Locked"), 20, 30);
    TqvxPDFExport latin;
    makeDeterministic(latin, false);
    latin.SetUserPassword(QStringLiteral("café"));
    latin.SetOwnerPassword(QStringLiteral("Ø½"));
    exportChecked(latin, {{text.get()}}, QStringLiteral("latin.pdf"), nullptr, QStringLiteral("café"));
    const QString owner = toolOutput(QStringLiteral("qpdf"), {QStringLiteral("--password=Ø½"),
                                                              QStringLiteral("--show-encryption"),
                                                              path(QStringLiteral("latin.pdf"))});
    EXPECT_TRUE(owner.contains(QStringLiteral("Supplied password is owner password"))) << owner.toStdString();

    for (const auto &[user, ownerPassword] : {std::pair{QStringLiteral("密码"), QString()},
                                             std::pair{QStringLiteral("user"), QStringLiteral("пароль")},
                                             std::pair{QStringLiteral("tab\there"), QString()}}) {
        TqvxPDFExport pdf;
        pdf.SetShowDialog(false);
        pdf.SetUserPassword(user);
        pdf.SetOwnerPassword(ownerPassword);
        pdf.SetFileName(path(QStringLiteral("refused.pdf")));
        ASSERT_TRUE(pdf.BeginExport(nullptr));
        try {
            pdf.StartExport();
            ADD_FAILURE() << "accepted " << user.toStdString() << ' ' << ownerPassword.toStdString();
            pdf.AbortExport();
        } catch (const Exception &error) {
            EXPECT_TRUE(error.Message().contains(ownerPassword.isEmpty() ? QStringLiteral("user password")
                                                                         : QStringLiteral("owner password")))
                << error.Message().toStdString();
        }
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("refused.pdf"))));
    }
}

TEST_F(PDFExport, AFailedExportLeavesThePreviousFile)
{
    QFile previous(path(QStringLiteral("keep.pdf")));
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("previous");
    previous.close();
    qvxRemovePDFPageDrawing();
    TqvxPDFExport pdf;
    pdf.SetShowDialog(false);
    pdf.SetFileName(path(QStringLiteral("keep.pdf")));
    ASSERT_TRUE(pdf.BeginExport(nullptr));
    ASSERT_TRUE(pdf.StartExport());
    EXPECT_THROW(pdf.StartPage(nullptr, 0), Exception);
    pdf.AbortExport();
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), "previous");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.pdf")});
}

TEST_F(PDFExport, DrawsOnlyViewsThatPrintUnlessAskedForAll)
{
    QStringList drawn;
    qvxInstallPDFPageDrawing({nullptr, [&drawn](TqvxPDFExport &, TqvxView *view) { drawn << view->Description(); }});
    auto printed = textObject(QStringLiteral("printed"), 0, 0);
    auto hidden = textObject(QStringLiteral("hidden"), 0, 0);
    hidden->SetPrintable(false);
    TqvxComponent plain;
    plain.SetDescription(QStringLiteral("no view"));
    TqvxPDFExport pdf;
    exportChecked(pdf, {{printed.get(), hidden.get(), &plain}}, QStringLiteral("printable.pdf"));
    EXPECT_EQ(drawn, QStringList{QStringLiteral("printed")});
    drawn.clear();
    pdf.SetExportNotPrintable(true);
    exportChecked(pdf, {{printed.get(), hidden.get(), &plain}}, QStringLiteral("all.pdf"));
    EXPECT_EQ(drawn, (QStringList{QStringLiteral("printed"), QStringLiteral("hidden")}));
}

namespace {

// Draws each view as a one-pixel grey picture whose grey is the view's
// Description, writing the picture once per page.
void drawPicture(TqvxPDFExport &pdf, TqvxView *view)
{
    const QByteArray pixel = view->Description().toLatin1();
    const QByteArray digest = TqvxPDFExport::PictureFingerprint(pixel);
    int index = pdf.FindPicture(digest);
    if (index < 0) {
        const int n = pdf.UpdateXRef();
        TqvxPDFExport::WriteLn(pdf.Output(), TqvxPDFExport::ObjNumber(n));
        TqvxPDFExport::WriteLn(pdf.Output(), "<< /Type /XObject /Subtype /Image /Width 1 /Height 1 /ColorSpace "
                                             "/DeviceGray /BitsPerComponent 8 /Length 1 >>");
        TqvxPDFExport::WriteLn(pdf.Output(), "stream");
        TqvxPDFExport::WriteLn(pdf.Output(), pdf.CryptData(pixel, n));
        TqvxPDFExport::WriteLn(pdf.Output(), "endstream");
        TqvxPDFExport::WriteLn(pdf.Output(), "endobj");
        index = pdf.AddPicture(n, digest);
    }
    pdf.UsePicture(index);
    TqvxPDFExport::WriteLn(pdf.PageContent(), "q 10 0 0 10 0 0 cm /Im" + QByteArray::number(index) + " Do Q");
}

} // namespace

TEST_F(PDFExport, APictureIsWrittenOncePerPage)
{
    qvxInstallPDFPageDrawing({nullptr, drawPicture});
    auto grey = textObject(QStringLiteral("A"), 0, 0);
    auto again = textObject(QStringLiteral("A"), 0, 0);
    auto other = textObject(QStringLiteral("B"), 0, 0);
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    const QByteArray bytes = exportChecked(pdf, {{grey.get(), again.get(), other.get()}, {grey.get()}},
                                           QStringLiteral("pictures.pdf"));
    EXPECT_TRUE(bytes.contains("q 10 0 0 10 0 0 cm /Im0 Do Q\r\nq 10 0 0 10 0 0 cm /Im0 Do Q\r\n"
                               "q 10 0 0 10 0 0 cm /Im1 Do Q\r\n"));
    EXPECT_TRUE(bytes.contains("/XObject << /Im0 2 0 R /Im1 3 0 R >>\r\n"));
    // The next page writes the picture again, under a new index.
    EXPECT_TRUE(bytes.contains("/XObject << /Im2 6 0 R >>\r\n"));
    EXPECT_EQ(bytes.count("/Subtype /Image"), 3);
}

TEST_F(PDFExport, ASlaveExportMakesAFileOfItsOwnInTheTemporaryFolder)
{
    const QByteArray savedTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    struct NamedReport : TestReport {
        QString FileName() const override { return QStringLiteral("/reports/order form.qvx"); }
    } named;
    // A name another user could have guessed and planted a link at.
    const QString guessable = path(QStringLiteral("order form.pdf"));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("elsewhere")), guessable));

    TqvxPDFExport pdf;
    pdf.SetSlaveExport(true);
    EXPECT_TRUE(exportPages(pdf, {{}}, QString(), &named).startsWith("%PDF-1.5\r\n"));
    const QString first = pdf.FileName();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^order form-[A-Za-z0-9]{6}\\.pdf$"))
                    .match(QFileInfo(first).fileName())
                    .hasMatch())
        << qPrintable(first);
    EXPECT_EQ(QFileInfo(first).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("elsewhere"))));

    // Without a report name no file is made for the name alone.
    EXPECT_TRUE(exportPages(pdf, {{}}, QString()).startsWith("%PDF-1.5\r\n"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^qv[A-Za-z0-9]{6}\\.pdf$"))
                    .match(QFileInfo(pdf.FileName()).fileName())
                    .hasMatch())
        << qPrintable(pdf.FileName());
    const QString second = pdf.FileName();
    EXPECT_NE(second, first);

    // An export thrown away leaves nothing behind.
    ASSERT_TRUE(pdf.BeginExport(&named) && pdf.StartExport());
    pdf.AbortExport();
    qputenv("TMPDIR", savedTemp);
    QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    files.removeOne(QStringLiteral("order form.pdf"));
    EXPECT_EQ(files, QStringList({QFileInfo(first).fileName(), QFileInfo(second).fileName()}));
}

// A page larger or smaller than PDF readers take (a hostile prepared file
// can declare one) is written at the nearest size they take, its top left
// in place, with one warning for the whole export.
TEST_F(PDFExport, PageSizesStayWithinWhatReadersTake)
{
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    QStringList warnings;
    pdf.OnWarning = [&warnings](const QString &text) { warnings << text; };
    TestPageDrawing::pageInfo.Width = 1000000; // 750,000 pt
    TestPageDrawing::pageInfo.Height = 1000000;
    QString text = QString::fromLatin1(exportChecked(pdf, {{}, {}}, QStringLiteral("huge.pdf")));
    EXPECT_EQ(text.count(QStringLiteral("/MediaBox [0 0 14400.00 14400.00 ]")), 2);
    ASSERT_EQ(warnings.size(), 1) << warnings.join(u'\n').toStdString();
    EXPECT_TRUE(warnings.at(0).contains(QStringLiteral("750000 x 750000"))) << warnings.at(0).toStdString();

    warnings.clear();
    TestPageDrawing::pageInfo.Width = 0;
    TestPageDrawing::pageInfo.Height = 400;
    text = QString::fromLatin1(exportChecked(pdf, {{}}, QStringLiteral("thin.pdf")));
    EXPECT_TRUE(text.contains(QStringLiteral("/MediaBox [0 0 3.00 300.00 ]"))) << text.toStdString();
    EXPECT_EQ(warnings.size(), 1);
}
