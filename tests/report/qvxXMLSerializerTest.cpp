#include "report/ReportTestTree.h"
#include "report/model/qvxResources.h"
#include "report/xml/qvxXMLItem.h"
#include "report/model/qvxXMLSerializer.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/FormatSettings.h"

#include <gtest/gtest.h>

namespace {

class XMLSerializerTest : public ::testing::Test
{
protected:
    // Memo1 with a value of every kind; Memo2 left as made.
    void FillMemo1()
    {
        tree.memo1->SetBounds(10, 2, 100.5, 18.89765);
        tree.memo1->shape = TestTypes::tsCircle;
        tree.memo1->SetRestrictions(rfDontMove | rfDontSize);
        tree.memo1->Frame()->typ = TestTypes::sdLeft | TestTypes::sdTop;
        tree.memo1->hint = QStringLiteral("a\"b<c");
        tree.memo1->Lines()->SetText(QStringLiteral("x\r\ny\r\n"));
        tree.memo1->SetNext(tree.memo2);
        tree.memo1->SetValue(Variant(QStringLiteral("v")));
    }

    // A fresh report read from bytes.
    std::unique_ptr<TTestReport> Reload(const QByteArray &bytes)
    {
        auto report = std::make_unique<TTestReport>();
        LoadReport(report.get(), bytes);
        return report;
    }

    TTestView *ViewOf(TTestReport *report, const char *name)
    {
        return qobject_cast<TTestView *>(report->FindObject(QString::fromLatin1(name)));
    }

    ReportTestTree tree;
    TqvxXMLSerializer serializer;
};

} // namespace

TEST_F(XMLSerializerTest, WritesTheReportFileFormat)
{
    FillMemo1();
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
        "<TTestReport>\r\n"
        "  <TTestPage Name=\"Page1\" Left=\"0\" Top=\"0\" Width=\"0\" Height=\"0\" Frame.Width=\"1\">\r\n"
        "    <TTestBand Name=\"Band1\" Left=\"0\" Top=\"0\" Width=\"0\" Height=\"0\" Frame.Width=\"1\">\r\n"
        "      <TTestView Name=\"Memo1\" Left=\"10\" Top=\"2\" Width=\"100.5\" Height=\"18.89765\" "
        "Shape=\"tsCircle\" Restrictions=\"6\" Frame.Typ=\"5\" Frame.Width=\"1\" Hint=\"a&#34;b&#60;c\" "
        "Lines.Text=\"x&#13;&#10;y\" Next=\"Memo2\" Value=\"v\"/>\r\n"
        "      <TTestView Name=\"Memo2\" Left=\"0\" Top=\"0\" Width=\"0\" Height=\"0\" Frame.Width=\"1\"/>\r\n"
        "    </TTestBand>\r\n"
        "  </TTestPage>\r\n"
        "</TTestReport>\r\n";
    EXPECT_EQ(SaveReport(tree.report.get()).toStdString(), expected.toStdString());
}

TEST_F(XMLSerializerTest, LoadThenSaveIsByteIdentical)
{
    FillMemo1();
    tree.memo2->SetParentFont(false);
    tree.memo2->Font()->SetName(QStringLiteral("Courier New"));
    tree.memo2->secret = 0x1234;
    tree.memo2->SetOnBeforePrint(QStringLiteral("Memo2OnBeforePrint"));
    tree.band->variables.SetVariable(QStringLiteral(" Опросный лист"), Variant::Null());
    tree.band->variables.SetVariable(QStringLiteral("Описание"), Variant(QString()));
    const QByteArray saved = SaveReport(tree.report.get());

    auto copy = Reload(saved);
    EXPECT_EQ(copy->errors->Count(), 0);
    EXPECT_EQ(SaveReport(copy.get()), saved);
}

TEST_F(XMLSerializerTest, PropertiesSetBackToTheirStartValuesRoundTrip)
{
    tree.memo1->color = 0xFFFFFF;
    tree.memo1->color = 0x1FFFFFFF;
    tree.memo1->SetVisible(false);
    tree.memo1->SetVisible(true);
    const QByteArray saved = SaveReport(tree.report.get());
    EXPECT_FALSE(saved.contains("Color=")) << saved.constData();
    EXPECT_FALSE(saved.contains("Visible=")) << saved.constData();

    tree.memo1->color = 0xFFFFFF;
    tree.memo1->SetVisible(false);
    auto copy = Reload(SaveReport(tree.report.get()));
    EXPECT_EQ(ViewOf(copy.get(), "Memo1")->color, 0xFFFFFF);
    EXPECT_FALSE(ViewOf(copy.get(), "Memo1")->Visible());
    EXPECT_EQ(ViewOf(copy.get(), "Memo2")->color, 0x1FFFFFFF);
}

TEST_F(XMLSerializerTest, WritesAFontOfItsOwnByPixelHeight)
{
    tree.memo2->SetParentFont(false);
    EXPECT_EQ(serializer.ObjToXML(tree.memo2),
              QStringLiteral(" Left=\"0\" Top=\"0\" Width=\"0\" Height=\"0\" Font.Charset=\"1\" Font.Color=\"0\" "
                             "Font.Height=\"-13\" Font.Name=\"Arial\" Font.Style=\"0\" ParentFont=\"False\" "
                             "Frame.Width=\"1\""));
}

TEST_F(XMLSerializerTest, KeepsTheLinkToTheParentFont)
{
    tree.band->Font()->SetName(QStringLiteral("Tahoma"));
    tree.memo2->SetParentFont(false);
    tree.memo2->Font()->SetSize(14);

    auto copy = Reload(SaveReport(tree.report.get()));
    TTestView *memo1 = ViewOf(copy.get(), "Memo1");
    TTestView *memo2 = ViewOf(copy.get(), "Memo2");
    EXPECT_TRUE(memo1->ParentFont());
    EXPECT_EQ(memo1->Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_FALSE(memo2->ParentFont());
    EXPECT_EQ(memo2->Font()->Size(), 14);

    copy->FindObject(QStringLiteral("Band1"))->Font()->SetName(QStringLiteral("Verdana"));
    EXPECT_EQ(memo1->Font()->Name(), QStringLiteral("Verdana"));
    EXPECT_NE(memo2->Font()->Name(), QStringLiteral("Verdana"));
}

TEST_F(XMLSerializerTest, ListsKeepEveryLine)
{
    tree.memo1->Lines()->SetText(QStringLiteral("a\r\n\r\n"));
    tree.memo2->Lines()->SetText(QStringLiteral("a\r\n"));
    const QByteArray saved = SaveReport(tree.report.get());
    EXPECT_TRUE(saved.contains("Lines.Text=\"a&#13;&#10;\"")) << saved.constData();
    EXPECT_TRUE(saved.contains("Lines.Text=\"a\"")) << saved.constData();

    auto copy = Reload(saved);
    EXPECT_EQ(ViewOf(copy.get(), "Memo1")->Lines()->Count(), 2);
    EXPECT_EQ(ViewOf(copy.get(), "Memo2")->Lines()->Count(), 1);
}

TEST_F(XMLSerializerTest, ResolvesReferencesWhateverTheElementOrder)
{
    for (const char *body : {"<TTestView Name=\"A\" Next=\"B\"/><TTestView Name=\"B\"/>",
                             "<TTestView Name=\"B\"/><TTestView Name=\"A\" Next=\"b\"/>"}) {
        auto report = Reload(ReportFile(body));
        ASSERT_NE(ViewOf(report.get(), "A"), nullptr) << body;
        EXPECT_EQ(ViewOf(report.get(), "A")->Next(), ViewOf(report.get(), "B")) << body;
    }
}

TEST_F(XMLSerializerTest, ForwardReferencesSurviveANestedCollectionOnTheWay)
{
    auto report = Reload(ReportFile("<TTestView Name=\"A\" Next=\"B\"/>"
                                    "<TTestBand Name=\"Band\"><Variables><item Name=\"V\" Value=\"1\"/></Variables>"
                                    "</TTestBand><TTestView Name=\"B\"/>"));
    ASSERT_NE(ViewOf(report.get(), "B"), nullptr);
    EXPECT_EQ(ViewOf(report.get(), "A")->Next(), ViewOf(report.get(), "B"));
    EXPECT_EQ(qobject_cast<TTestBand *>(ViewOf(report.get(), "Band"))->variables.Count(), 1);
}

TEST_F(XMLSerializerTest, DottedNamesGoIntoNestedObjectsButNotThroughReferences)
{
    tree.memo1->SetNext(tree.memo2);
    serializer.XMLToObj(QStringLiteral("Next.Hint=\"changed\" Next.Left=\"77\" Frame.Color=\"5\" Lines.Text=\"a\""),
                        tree.memo1);
    EXPECT_EQ(tree.memo2->hint, QString());
    EXPECT_EQ(tree.memo2->Left(), 0);
    EXPECT_EQ(tree.memo1->Frame()->color, 5);
    EXPECT_EQ(tree.memo1->Lines()->Text(), QStringLiteral("a\r\n"));
}

TEST_F(XMLSerializerTest, ReportsAnUnknownClassOnce)
{
    auto report = Reload(ReportFile("<TNoSuchView Name=\"X\"><TTestView Name=\"Y\"/></TNoSuchView>"
                                    "<TNoSuchView Name=\"Z\"/><TFont Name=\"F\"/><TTestView Name=\"Kept\"/>"));
    const QString missing = qvxResources()->Get(QStringLiteral("xrCantFindClass"));
    ASSERT_EQ(report->errors->Count(), 2);
    EXPECT_EQ(report->errors->Strings(0), QStringLiteral("TFont ") + missing);
    EXPECT_EQ(report->errors->Strings(1), QStringLiteral("TNoSuchView ") + missing);
    EXPECT_EQ(report->FindObject(QStringLiteral("Y")), nullptr);
    EXPECT_NE(report->FindObject(QStringLiteral("Kept")), nullptr);
}

TEST_F(XMLSerializerTest, ReadsDecimalsWithEitherSeparator)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = QLatin1Char('.');
    serializer.XMLToObj(QStringLiteral("Left=\"10,5\" l=\"1,25\" Width=\"2.75\""), tree.memo1);
    FormatSettings = saved;
    EXPECT_DOUBLE_EQ(tree.memo1->Left(), 1.25);
    EXPECT_DOUBLE_EQ(tree.memo1->Width(), 2.75);
}

TEST_F(XMLSerializerTest, ReadsEnumerationsByNameOrNumberAndSkipsBadValues)
{
    serializer.XMLToObj(QStringLiteral("Shape=\"tsStar\" Visible=\"False\" Align=\"4\" Color=\"x\" "
                                       "Restrictions=\"1024\" Height=\"abc\" Unknown=\"1\" Hint=\"&#60;ok&#62;\""),
                        tree.memo1);
    EXPECT_EQ(tree.memo1->shape, TestTypes::tsStar);
    EXPECT_FALSE(tree.memo1->Visible());
    EXPECT_EQ(tree.memo1->align, baWidth);
    EXPECT_EQ(tree.memo1->color, 0x1FFFFFFF);
    EXPECT_EQ(tree.memo1->Restrictions(), TqvxRestrictions());
    EXPECT_EQ(tree.memo1->Height(), 0);
    EXPECT_EQ(tree.memo1->hint, QStringLiteral("<ok>"));
}

TEST_F(XMLSerializerTest, RefusesValuesTheirPropertyCannotHoldAndSaysSo)
{
    serializer.XMLToObj(QStringLiteral("Color=\"4294967297\" Tag=\"-9999999999\" Shape=\"7\" Frame.Width=\"1e999\""),
                        tree.memo1);
    EXPECT_EQ(tree.memo1->color, 0x1FFFFFFF);
    EXPECT_EQ(tree.memo1->Tag(), 0);
    EXPECT_EQ(tree.memo1->shape, TestTypes::tsBox);
    EXPECT_EQ(serializer.Errors()->Count(), 4) << serializer.Errors()->Text().toStdString();
}

TEST_F(XMLSerializerTest, GeometryStaysWithinItsRange)
{
    serializer.XMLToObj(QStringLiteral("l=\"1e300\" t=\"-1e300\" Width=\"2e6\" h=\"nan\""), tree.memo1);
    EXPECT_EQ(tree.memo1->Left(), TqvxComponent::MaxCoordinate);
    EXPECT_EQ(tree.memo1->Top(), -TqvxComponent::MaxCoordinate);
    EXPECT_EQ(tree.memo1->Width(), TqvxComponent::MaxCoordinate);
    EXPECT_EQ(tree.memo1->Height(), 0);
}

TEST_F(XMLSerializerTest, StopsCleanlyOnMalformedAttributeText)
{
    for (const char *text : {"Hint=\"abc", "Hint", "Hint=", "=\"x\"", "Hint \"x\"", "Left=\"1\" Hint=\"unclosed"}) {
        tree.memo1->hint = QStringLiteral("kept");
        serializer.XMLToObj(QString::fromLatin1(text), tree.memo1);
        EXPECT_EQ(tree.memo1->hint, QStringLiteral("kept")) << text;
    }
    EXPECT_EQ(tree.memo1->Left(), 1);
}

TEST_F(XMLSerializerTest, ReadComponentLetsALaterDuplicateWin)
{
    std::unique_ptr<TqvxComponent> view(serializer.ReadComponent(
        tree.band, QStringLiteral("  TTestView Left=\"1\" Hint=\"a\" Left=\"2\" Next=\"Memo1\"  ")));
    ASSERT_NE(view, nullptr);
    auto *read = qobject_cast<TTestView *>(view.get());
    EXPECT_DOUBLE_EQ(read->Left(), 2);
    EXPECT_EQ(read->Next(), tree.memo1);
    EXPECT_EQ(read->Parent(), tree.band);
    EXPECT_EQ(read->loadedCount, 1);
    EXPECT_FALSE(read->IsLoading());

    EXPECT_EQ(serializer.ReadComponent(tree.band, QStringLiteral("   ")), nullptr);
    EXPECT_THROW(serializer.ReadComponent(tree.band, QStringLiteral("TNoSuchView Left=\"1\"")), EClassNotFound);
    EXPECT_THROW(serializer.ReadComponent(tree.band, QStringLiteral("TFont Name=\"Arial\"")), EClassNotFound);
}

// Objects made again and again from one parsed text come out as if read
// from the whole text each time, a refused value reported on every read.
TEST_F(XMLSerializerTest, ObjectsFromAParsedTextEqualObjectsReadWhole)
{
    const QString base = QStringLiteral("TTestView Left=\"1\" Shape=\"tsStar\" Frame.Typ=\"5\" Frame.Width=\"2,5\" "
                                        "Hint=\"&#60;h&#62;\" Color=\"4294967297\" Lines.Text=\"x&#13;&#10;y\" "
                                        "Value=\"v\" Visible=\"False\"");
    const TqvxParsedComponent parsed = TqvxXMLSerializer::ParseComponent(base);
    for (const char *more : {"", "Hint=\"other\" Frame.Typ=\"1\"", "Left=\"7\" Lines.Text=\"z\" Shape=\"tsBox\""}) {
        TqvxXMLSerializer fast;
        std::unique_ptr<TqvxComponent> fromParsed(fast.ReadComponent(parsed, QString::fromLatin1(more)));
        TqvxXMLSerializer whole;
        std::unique_ptr<TqvxComponent> fromText(
            whole.ReadComponent(nullptr, base + QLatin1Char(' ') + QString::fromLatin1(more)));
        ASSERT_TRUE(fromParsed && fromText);
        EXPECT_EQ(TqvxXMLSerializer().WriteComponentStr(fromParsed.get()),
                  TqvxXMLSerializer().WriteComponentStr(fromText.get()))
            << more;
        EXPECT_EQ(fast.Errors()->Text(), whole.Errors()->Text()) << more;
        EXPECT_EQ(fast.Errors()->Count(), 1) << more;
    }
    auto *view = qobject_cast<TTestView *>(TqvxXMLSerializer().ReadComponent(parsed, QString()));
    ASSERT_NE(view, nullptr);
    std::unique_ptr<TqvxComponent> owned(view);
    EXPECT_EQ(view->shape, TestTypes::tsStar);
    EXPECT_DOUBLE_EQ(view->Frame()->width, 2.5);
    EXPECT_EQ(view->hint, QStringLiteral("<h>"));
    EXPECT_FALSE(view->Visible());
}

TEST_F(XMLSerializerTest, WriteComponentStrIsTheOneElementText)
{
    tree.memo1->SetBounds(1, 2, 3, 4);
    EXPECT_EQ(serializer.WriteComponentStr(tree.memo1),
              QStringLiteral("TTestView Left=\"1\" Top=\"2\" Width=\"3\" Height=\"4\" Frame.Width=\"1\""));
    TMemoryStream stream;
    TqvxXMLSerializer writer(&stream);
    writer.WriteComponent(tree.memo1);
    EXPECT_EQ(stream.Bytes(), QByteArray("<TTestView Left=\"1\" Top=\"2\" Width=\"3\" Height=\"4\" Frame.Width=\"1\"/>"));

    tree.memo1->SetNext(tree.memo2);
    EXPECT_TRUE(serializer.WriteComponentStr(tree.memo1).endsWith(QStringLiteral(" Next=\"Memo2\"")));
}

TEST_F(XMLSerializerTest, WritesOnlyDifferencesFromTheAncestor)
{
    ReportTestTree ancestor;
    ancestor.memo1->hint = QStringLiteral("inherited hint");
    ancestor.memo1->SetNext(ancestor.memo2);
    ancestor.memo1->Lines()->SetText(QStringLiteral("same"));
    ancestor.memo1->SetBounds(5, 6, 7, 8);
    tree.report->parentReport = ancestor.report.get();
    tree.memo1->SetIsInherited(true);
    tree.memo1->SetBounds(5.0000001, 6, 7, 9);
    tree.memo1->Lines()->SetText(QStringLiteral("same"));

    const QByteArray saved = SaveReport(tree.report.get());
    EXPECT_TRUE(saved.contains("<inherited Name=\"Memo1\" Height=\"9\" Hint=\"\" Next=\"nil\"/>")) << saved.constData();

    // Reading the differences over the ancestor's values clears them.
    serializer.XMLToObj(QStringLiteral("Hint=\"\" Next=\"nil\""), ancestor.memo1);
    serializer.ReadPersistentStr(ancestor.report.get(), ancestor.memo1, QString());
    EXPECT_EQ(ancestor.memo1->hint, QString());
    EXPECT_EQ(ancestor.memo1->Next(), nullptr);
}

TEST_F(XMLSerializerTest, EngineCopiesWriteListsEvenWhenEqual)
{
    ReportTestTree ancestor;
    ancestor.memo1->Lines()->SetText(QStringLiteral("same"));
    tree.memo1->Lines()->SetText(QStringLiteral("same"));
    tree.memo1->secret = 7;
    ancestor.memo1->secret = 7;

    EXPECT_EQ(serializer.ObjToXML(tree.memo1, QString(), ancestor.memo1), QString());
    serializer.SetEngineCopy(true);
    EXPECT_EQ(serializer.ObjToXML(tree.memo1, QString(), ancestor.memo1),
              QStringLiteral(" Lines.Text=\"same\" PropData=\"0600536563726574010000000107000000\""));
}

TEST_F(XMLSerializerTest, HandsTheCustomDataElementToTheHost)
{
    tree.report->onSaveCustomData = [](TqvxXMLItem *item) { item->SetProp(QStringLiteral("Key"), QStringLiteral("42")); };
    const QByteArray saved = SaveReport(tree.report.get());
    EXPECT_TRUE(saved.contains("  <QvxCustomData Key=\"42\"/>\r\n</TTestReport>")) << saved.constData();

    auto copy = std::make_unique<TTestReport>();
    QString received;
    copy->onGetCustomData = [&received](TqvxXMLItem *item) { received = item->GetProp(QStringLiteral("Key")); };
    LoadReport(copy.get(), saved);
    EXPECT_EQ(received, QStringLiteral("42"));
    EXPECT_EQ(copy->Objects().size(), 1);
}

TEST_F(XMLSerializerTest, NestedCollectionsComeBeforeTheChildren)
{
    tree.band->variables.SetVariable(QStringLiteral("A"), Variant(QStringLiteral("'1'")));
    tree.band->variables.SetVariable(QStringLiteral("B"), Variant::Null());
    tree.band->variables.SetVariable(QStringLiteral("C"), Variant(QString()));
    const QByteArray saved = SaveReport(tree.report.get());
    EXPECT_TRUE(saved.contains("Frame.Width=\"1\">\r\n      <Variables>\r\n"
                               "        <item Name=\"A\" Value=\"'1'\"/>\r\n"
                               "        <item Name=\"B\"/>\r\n        <item Name=\"C\" Value=\"\"/>\r\n      </Variables>\r\n      <TTestView Name=\"Memo1\""))
        << saved.constData();

    auto copy = Reload(saved);
    auto *band = qobject_cast<TTestBand *>(copy->FindObject(QStringLiteral("Band1")));
    ASSERT_EQ(band->variables.Count(), 3);
    EXPECT_EQ(band->variables.GetVariable(QStringLiteral("a")).AsString(), QStringLiteral("'1'"));
    EXPECT_TRUE(VarIsNull(band->variables.GetVariable(QStringLiteral("B"))));
    EXPECT_TRUE(VarIsStr(band->variables.GetVariable(QStringLiteral("C"))));
    EXPECT_EQ(band->Objects().size(), 2);
}

TEST_F(XMLSerializerTest, CustomDataRoundTripsAsValidatedHex)
{
    tree.memo1->secret = -2;
    const QString text = serializer.ObjToXML(tree.memo1);
    const qsizetype at = text.indexOf(QStringLiteral(" PropData="));
    ASSERT_GE(at, 0);
    serializer.XMLToObj(text.mid(at), tree.memo2);
    EXPECT_EQ(tree.memo2->secret, -2);

    for (const char *bad : {"PropData=\"ZZ\"", "PropData=\"060\"", "PropData=\"0600536563726574010000000134\"",
                            "PropData=\"FFFFFFFFFFFFFFFF\"", "PropData=\"\""}) {
        tree.memo2->secret = 5;
        serializer.XMLToObj(QString::fromLatin1(bad), tree.memo2);
        EXPECT_EQ(tree.memo2->secret, 5) << bad;
    }
}

TEST_F(XMLSerializerTest, ACircularReferenceBecomesAnErrorLine)
{
    auto report = Reload(ReportFile("<TTestView Name=\"A\" Next=\"B\"/><TTestView Name=\"B\" Next=\"A\"/>"));
    EXPECT_EQ(report->errors->Count(), 1);
    TTestView *a = ViewOf(report.get(), "A");
    TTestView *b = ViewOf(report.get(), "B");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->Next(), b);
    EXPECT_EQ(b->Next(), nullptr);
}

TEST_F(XMLSerializerTest, FinishesEveryObjectItRead)
{
    auto report = Reload(ReportFile("<TTestPage Name=\"P\"><TTestView Name=\"V\"/></TTestPage>"));
    for (const char *name : {"P", "V"}) {
        EXPECT_FALSE(ViewOf(report.get(), name)->IsLoading()) << name;
        EXPECT_EQ(ViewOf(report.get(), name)->loadedCount, 1) << name;
    }
}

TEST_F(XMLSerializerTest, MalformedXMLRaises)
{
    auto report = std::make_unique<TTestReport>();
    EXPECT_THROW(LoadReport(report.get(), "<TTestReport><TTestView Name=\"A\">"), Exception);
}

TEST_F(XMLSerializerTest, AMemoTextKeepsItsLines)
{
    auto *memo = new TTestMemo(tree.band);
    memo->SetName(QStringLiteral("Memo3"));
    memo->Memo()->SetText(QStringLiteral("Первая\r\n\r\n"));
    const QString text = serializer.ObjToXML(memo);
    EXPECT_TRUE(text.endsWith(QStringLiteral(" Frame.Width=\"1\" Text=\"Первая&#13;&#10;\""))) << text.toStdString();

    auto copy = Reload(SaveReport(tree.report.get()));
    auto *read = qobject_cast<TTestMemo *>(copy->FindObject(QStringLiteral("Memo3")));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Memo()->Count(), 2);
    EXPECT_EQ(read->Memo()->Get(0), QStringLiteral("Первая"));

    serializer.XMLToObj(QStringLiteral("u=\"x&#13;&#10;y\""), read);
    EXPECT_EQ(read->Memo()->Count(), 2);
    EXPECT_EQ(read->Memo()->Get(1), QStringLiteral("y"));

    read->Memo()->SetText(memo->Memo()->GetText());
    EXPECT_EQ(serializer.ObjToXML(read, QString(), memo), QString());
    serializer.SetEngineCopy(true);
    EXPECT_EQ(serializer.ObjToXML(read, QString(), memo), QStringLiteral(" Text=\"Первая&#13;&#10;\""));
}

// A difference text's memo texts and coordinates, in every stored form the
// writer makes and a few it does not.
TEST_F(XMLSerializerTest, ADifferenceTextSetsMemoLinesAndCoordinates)
{
    auto *memo = new TTestMemo(tree.band);
    const struct {
        const char *stored;
        QStringList lines;
    } texts[] = {
        {"Строка", {"Строка"}},
        {"", {}},
        {"a&#13;&#10;b", {"a", "b"}},
        {"a&#13;&#10;", {"a", ""}},
        {"a&#13;", {"a", ""}},
        {"a&#10;", {"a", ""}},
        {"a&#8232;", {"a", ""}},
        {"&#13;&#10;", {"", ""}},
        {"&amp;x", {"&x"}},
    };
    for (const auto &[stored, lines] : texts) {
        for (const char *name : {"u", "x", "Text"}) {
            memo->Memo()->SetText(QStringLiteral("old\r\nlines\r\n"));
            serializer.XMLToObj(QString::fromLatin1(name) + QStringLiteral("=\"") + QString::fromUtf8(stored) +
                                    QLatin1Char('"'),
                                memo);
            QStringList read;
            for (int i = 0; i < memo->Memo()->Count(); ++i)
                read += memo->Memo()->Get(i);
            EXPECT_EQ(read, lines) << name << "=" << stored;
        }
    }

    serializer.XMLToObj(QStringLiteral("l=\"078\" t=\"-5\" w=\"1 000\" h=\"123456789012345\""), memo);
    EXPECT_EQ(memo->Left(), 78);
    EXPECT_EQ(memo->Top(), -5);
    EXPECT_EQ(memo->Width(), 1000);
    EXPECT_EQ(memo->Height(), TqvxComponent::MaxCoordinate);
    serializer.XMLToObj(QStringLiteral("l=\"12,5\" t=\"\" w=\"7x\""), memo);
    EXPECT_EQ(memo->Left(), 12.5);
    EXPECT_EQ(memo->Top(), -5) << "an empty coordinate is refused";
    EXPECT_EQ(memo->Width(), 1000);
    EXPECT_EQ(serializer.Errors()->Count(), 2) << serializer.Errors()->Text().toStdString();
}
