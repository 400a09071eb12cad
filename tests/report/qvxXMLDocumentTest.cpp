#include "report/xml/qvxXMLDocument.h"
#include "report/xml/qvxXMLReader.h"

#include "common/TestSupport.h"
#include "toolkit/core/Files.h"
#include "toolkit/classes/Streams.h"

#include <QDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QByteArray Header = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

QByteArray saved(TqvxXMLDocument &document)
{
    TMemoryStream stream;
    document.SaveToStream(&stream);
    return stream.Bytes();
}

void load(TqvxXMLDocument &document, TStream &stream, bool partial = false)
{
    stream.SetPosition(0);
    document.LoadFromStream(&stream, partial);
}

void loadBytes(TqvxXMLDocument &document, const QByteArray &bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes);
    load(document, stream);
}

// count Unloadable pages named page0, page1, page0, ..., each with an
// attribute n and a memo holding "content n"; answers the bytes saved.
QByteArray addPages(TqvxXMLDocument &document, int count)
{
    TqvxXMLItem *root = document.Root();
    root->SetName(QStringLiteral("pages"));
    for (int i = 0; i < count; ++i) {
        TqvxXMLItem *page = root->Add();
        page->SetName(QStringLiteral("page%1").arg(i % 2));
        page->SetProp(QStringLiteral("n"), QString::number(i));
        TqvxXMLItem *memo = page->Add();
        memo->SetName(QStringLiteral("memo"));
        memo->SetProp(QStringLiteral("text"), QStringLiteral("content %1").arg(i));
        page->SetUnloadable(true);
    }
    return saved(document);
}

void expectInvalid(const QByteArray &bytes)
{
    TqvxXMLDocument document;
    try {
        loadBytes(document, bytes);
        ADD_FAILURE() << "loaded: " << bytes.constData();
    } catch (const TqvxInvalidXMLException &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid file format"));
    }
}

} // namespace

TEST(TqvxXMLItem, GetPropIgnoresCaseAndDecodes)
{
    TqvxXMLItem item;
    item.SetText(QStringLiteral("NAME=\"a&#60;b\" Left=\"10\""));
    EXPECT_EQ(item.GetProp(QStringLiteral("name")), QStringLiteral("a<b"));
    EXPECT_EQ(item.GetProp(QStringLiteral("LEFT")), QStringLiteral("10"));
    EXPECT_EQ(item.GetProp(QStringLiteral("eft")), QString());
    EXPECT_EQ(item.GetProp(QStringLiteral("Top")), QString());
}

TEST(TqvxXMLItem, SetPropReplacesInPlaceOrAppends)
{
    TqvxXMLItem item;
    item.SetProp(QStringLiteral("x"), QStringLiteral("1"));
    item.SetProp(QStringLiteral("y"), QStringLiteral("2"));
    item.SetProp(QStringLiteral("X"), QStringLiteral("3\"&"));
    EXPECT_EQ(item.Text(), QStringLiteral("X=\"3&#34;&#38;\" y=\"2\""));
    EXPECT_EQ(item.GetProp(QStringLiteral("x")), QStringLiteral("3\"&"));
}

TEST(TqvxXMLItem, OwnsAndMovesChildren)
{
    TqvxXMLItem a;
    TqvxXMLItem b;
    TqvxXMLItem *child = a.Add();
    child->SetName(QStringLiteral("page"));
    EXPECT_EQ(a.Find(QStringLiteral("PAGE")), 0);
    EXPECT_EQ(a.FindItem(QStringLiteral("page")), child);
    TqvxXMLItem *created = a.FindItem(QStringLiteral("other"));
    EXPECT_EQ(a.Count(), 2);

    b.Add();
    b.InsertItem(0, child);
    EXPECT_EQ(a.Count(), 1);
    EXPECT_EQ(b.IndexOf(child), 0);
    EXPECT_EQ(child->Parent(), &b);

    delete created;
    EXPECT_EQ(a.Count(), 0);
}

TEST(TqvxXMLReader, SplitsTagsIntoNameAndAttributes)
{
    TqvxXMLDocument document;
    loadBytes(document, Header + "<r><a b=\"1\"/><!-- <x> -- --><c/>text<d e=\"2\" ></d></r>");
    TqvxXMLItem *root = document.Root();
    ASSERT_EQ(root->Count(), 3);
    EXPECT_EQ(root->Items(0)->Name(), QStringLiteral("a"));
    EXPECT_EQ(root->Items(0)->Text(), QStringLiteral("b=\"1\""));
    EXPECT_EQ(root->Items(1)->Name(), QStringLiteral("c"));
    EXPECT_EQ(root->Items(1)->Text(), QString());
    EXPECT_EQ(root->Items(2)->Text(), QStringLiteral("e=\"2\""));
    EXPECT_EQ(root->Items(2)->Count(), 0);
}

TEST(TqvxXMLReader, RejectsMalformedAndTruncatedInput)
{
    expectInvalid("");
    expectInvalid("<r/>");
    expectInvalid(Header + "<a></b>");
    expectInvalid(Header + "<a <b>");
    expectInvalid(Header + "<a><b/>");
    expectInvalid(Header + "<a><b x=\"1\"");
    expectInvalid(Header + "<a><!-- unterminated");
    expectInvalid(Header + "</a>");
    expectInvalid(Header + QByteArray(300, '<').replace('<', "<n>") + QByteArray(300, ' '));
}

TEST(TqvxXMLReader, AcceptsModerateNesting)
{
    QByteArray nested;
    for (int i = 0; i < 100; ++i)
        nested += "<n>";
    for (int i = 0; i < 100; ++i)
        nested += "</n>";
    TqvxXMLDocument document;
    loadBytes(document, Header + nested);
    EXPECT_EQ(document.Root()->Items(0)->Name(), QStringLiteral("n"));
}

TEST(TqvxXMLReader, ReadsTagsAcrossItsBufferBoundary)
{
    TqvxXMLDocument document;
    document.Root()->SetName(QStringLiteral("r"));
    for (int i = 0; i < 300; ++i)
    {
        TqvxXMLItem *item = document.Root()->Add();
        item->SetName(QStringLiteral("i"));
        item->SetProp(QStringLiteral("v"), QString(i * 7, u'\x44f'));
    }
    const QByteArray bytes = saved(document);
    ASSERT_GT(bytes.size(), 3 * 4096);

    TqvxXMLDocument copy;
    loadBytes(copy, bytes);
    ASSERT_EQ(copy.Root()->Count(), 300);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(copy.Root()->Items(i)->GetProp(QStringLiteral("v")), QString(i * 7, u'\x44f'));
}

// A comment opened across the boundary is still a comment, and a '<' far
// into a long tag is still malformed where the tag crosses it.
TEST(TqvxXMLReader, ReadsCommentsAndLongTagsAcrossItsBufferBoundary)
{
    for (const int at : {4093, 4094, 4095, 4096}) {
        QByteArray bytes = Header + "<r>";
        bytes += QByteArray(at - bytes.size(), ' ') + "<!-- <x> --><a v=\"" + QByteArray(6000, 'z') + "\"/></r>";
        TqvxXMLDocument document;
        loadBytes(document, bytes);
        ASSERT_EQ(document.Root()->Count(), 1) << at;
        EXPECT_EQ(document.Root()->Items(0)->GetProp(QStringLiteral("v")), QString(6000, u'z')) << at;
    }
    QByteArray stray = Header + "<r><a v=\"" + QByteArray(5000, 'z') + "<\"/></r>";
    expectInvalid(stray);
}

TEST(TqvxXMLReader, LeavesTheStreamAfterTheLastByteConsumed)
{
    TMemoryStream stream;
    stream.WriteBuffer(Header + "<a/>tail");
    TqvxXMLDocument document;
    load(document, stream);
    EXPECT_EQ(stream.Position(), Header.size() + 4);
}

TEST(TqvxXMLDocument, OldVersionFollowsTheHeader)
{
    TqvxXMLDocument document;
    loadBytes(document, Header + "<a/>");
    EXPECT_TRUE(document.OldVersion());
    loadBytes(document, "<?xml version=\"1.1\" encoding=\"utf-8\"?><a/>");
    EXPECT_FALSE(document.OldVersion());
    loadBytes(document, "<?xml version=\"1.0\" standalone=\"yes\"?><a/>");
    EXPECT_FALSE(document.OldVersion());
}

TEST(TqvxXMLWriter, WritesOneLineOrIndentedLines)
{
    TqvxXMLDocument document;
    TqvxXMLItem *root = document.Root();
    root->SetName(QStringLiteral("report"));
    root->SetProp(QStringLiteral("Name"), QStringLiteral("R"));
    TqvxXMLItem *page = root->Add();
    page->SetName(QStringLiteral("page"));
    page->Add()->SetName(QStringLiteral("memo"));
    TqvxXMLItem *text = root->Add();
    text->SetName(QStringLiteral("t"));
    text->SetValue(QStringLiteral("a<b"));

    EXPECT_EQ(saved(document),
              Header + "<report Name=\"R\"><page><memo/></page><t>a&#60;b</t></report>");
    document.SetAutoIndent(true);
    EXPECT_EQ(saved(document), Header + "\r\n<report Name=\"R\">\r\n  <page>\r\n    <memo/>\r\n"
                                        "  </page>\r\n  <t>a&#60;b</t>\r\n</report>\r\n");
}

TEST(TqvxXMLDocument, PartialLoadingLeavesMarkedElementsOut)
{
    TqvxXMLDocument document;
    TqvxXMLItem *root = document.Root();
    root->SetName(QStringLiteral("pages"));
    TqvxXMLItem *page = root->Add();
    page->SetName(QStringLiteral("page0"));
    page->SetProp(QStringLiteral("a"), QStringLiteral("1"));
    page->Add()->SetName(QStringLiteral("memo"));
    page->SetUnloadable(true);
    const QByteArray bytes = saved(document);
    EXPECT_TRUE(bytes.contains("<page0 a=\"1\" ld=\"0\"><memo/></page0>"));

    TMemoryStream source;
    source.WriteBuffer(bytes);
    TqvxXMLDocument partial;
    load(partial, source, true);
    TqvxXMLItem *loaded = partial.Root()->Items(0);
    EXPECT_TRUE(loaded->Unloadable());
    EXPECT_FALSE(loaded->Loaded());
    EXPECT_EQ(loaded->Text(), QStringLiteral("a=\"1\""));
    EXPECT_EQ(loaded->Count(), 0);

    // Saving writes the content that is still only in the source.
    EXPECT_EQ(saved(partial), bytes);

    partial.LoadItem(loaded);
    EXPECT_TRUE(loaded->Loaded());
    ASSERT_EQ(loaded->Count(), 1);
    EXPECT_EQ(loaded->Items(0)->Name(), QStringLiteral("memo"));

    // The marker is found in any letter case, not in a longer name.
    TqvxXMLDocument upper;
    loadBytes(upper, Header + "<pages><p1 a=\"1\" LD=\"0\"/><p2 old=\"0\" b=\"2\"/><p3 xld=\"0\"/></pages>");
    EXPECT_TRUE(upper.Root()->Items(0)->Unloadable());
    EXPECT_EQ(upper.Root()->Items(0)->Text(), QStringLiteral("a=\"1\""));
    EXPECT_FALSE(upper.Root()->Items(1)->Unloadable());
    EXPECT_FALSE(upper.Root()->Items(2)->Unloadable());
}

TEST(TqvxXMLDocument, SwapsElementsOutAndBackFromBothStreams)
{
    TqvxXMLDocument document;
    const QByteArray bytes = addPages(document, 3);

    TMemoryStream source;
    source.WriteBuffer(bytes);
    TqvxXMLDocument partial;
    load(partial, source, true);
    TqvxXMLItem *first = partial.Root()->Items(0);
    TqvxXMLItem *last = partial.Root()->Items(2);

    // Load one page, then swap it out: the others must still come from the
    // source stream, the swapped one from the swap file.
    partial.LoadItem(first);
    partial.UnloadItem(first);
    EXPECT_FALSE(first->Loaded());
    EXPECT_TRUE(FileExists(partial.TempFileName()));

    partial.LoadItem(last);
    partial.LoadItem(first);
    ASSERT_EQ(last->Count(), 1);
    ASSERT_EQ(first->Count(), 1);
    EXPECT_EQ(last->Items(0)->GetProp(QStringLiteral("text")), QStringLiteral("content 2"));
    EXPECT_EQ(first->Items(0)->GetProp(QStringLiteral("text")), QStringLiteral("content 0"));

    partial.UnloadItem(last);
    EXPECT_EQ(saved(partial), bytes);
}

TEST(TqvxXMLDocument, DeletesItsSwapFile)
{
    QString swapFile;
    {
        TqvxXMLDocument document;
        TqvxXMLItem *item = document.Root()->Add();
        item->SetName(QStringLiteral("page"));
        item->SetUnloadable(true);
        document.UnloadItem(item);
        swapFile = document.TempFileName();
        EXPECT_TRUE(ExtractFileName(swapFile).startsWith(QStringLiteral("qv")));
        ASSERT_TRUE(FileExists(swapFile));
        document.Clear();
        EXPECT_FALSE(FileExists(swapFile));

        item = document.Root()->Add();
        item->SetName(QStringLiteral("page"));
        item->SetUnloadable(true);
        document.UnloadItem(item);
        swapFile = document.TempFileName();
    }
    EXPECT_FALSE(FileExists(swapFile));
}

TEST(TqvxXMLDocument, PutsTheSwapFileIntoItsTempDir)
{
    const QString dir = QStringLiteral("%1h5-%2-%3/").arg(TempFolder()).arg(qint64(getpid())).arg(QString(80, u'd'));
    ASSERT_TRUE(QDir().mkpath(dir));
    TqvxXMLDocument document;
    document.SetTempDir(dir);
    TqvxXMLItem *item = document.Root()->Add();
    item->SetName(QStringLiteral("page"));
    item->SetUnloadable(true);
    document.UnloadItem(item);
    EXPECT_EQ(ExtractFilePath(document.TempFileName()), dir);
    document.Clear();
    QDir(dir).removeRecursively();
}

TEST(TqvxXMLDocument, RefusesToLoadAnElementWhoseSourceWasCut)
{
    TqvxXMLDocument document;
    TqvxXMLItem *page = document.Root()->Add();
    document.Root()->SetName(QStringLiteral("pages"));
    page->SetName(QStringLiteral("page"));
    page->Add()->SetName(QStringLiteral("memo"));
    page->SetUnloadable(true);

    TMemoryStream source;
    source.WriteBuffer(saved(document));
    TqvxXMLDocument partial;
    load(partial, source, true);
    source.SetSize(Header.size() + 25);
    EXPECT_THROW(partial.LoadItem(partial.Root()->Items(0)), TqvxInvalidXMLException);
    EXPECT_FALSE(partial.Root()->Items(0)->Loaded());
    EXPECT_EQ(partial.Root()->Items(0)->Count(), 0);
}

TEST(TqvxXMLDocument, SwappedOutElementsShrinkToTheirOffsetAndComeBackWhole)
{
    TqvxXMLDocument document;
    TqvxXMLItem *root = document.Root();
    const QByteArray bytes = addPages(document, 4);

    // Only an element that is out and unchanged since goes.
    EXPECT_FALSE(document.CompactItem(root->Items(0)));
    EXPECT_FALSE(document.CompactItem(root));
    for (int i = 0; i < 4; ++i) {
        document.UnloadItem(root->Items(i));
        EXPECT_TRUE(document.CompactItem(root->Items(i)));
        EXPECT_TRUE(root->Compacted(i));
    }
    ASSERT_EQ(root->Count(), 4);
    EXPECT_EQ(saved(document), bytes);
    EXPECT_TRUE(root->Compacted(2));

    TqvxXMLItem *third = root->Items(2);
    EXPECT_FALSE(root->Compacted(2));
    EXPECT_EQ(third->Parent(), root);
    EXPECT_EQ(third->Name(), QStringLiteral("page0"));
    EXPECT_EQ(third->Text(), QStringLiteral("n=\"2\""));
    EXPECT_TRUE(third->Unloadable());
    EXPECT_FALSE(third->Loaded());
    EXPECT_EQ(third->Count(), 0);
    document.LoadItem(third);
    ASSERT_EQ(third->Count(), 1);
    EXPECT_EQ(third->Items(0)->GetProp(QStringLiteral("text")), QStringLiteral("content 2"));
    EXPECT_FALSE(document.CompactItem(third));
    document.ReleaseItem(third);
    EXPECT_TRUE(document.CompactItem(third));

    // A tag edited while its element is out is not the one in the file.
    TqvxXMLItem *first = root->Items(0);
    first->SetProp(QStringLiteral("n"), QStringLiteral("9"));
    EXPECT_FALSE(document.CompactItem(first));
    document.LoadItem(first);
    EXPECT_EQ(first->Items(0)->GetProp(QStringLiteral("text")), QStringLiteral("content 0"));
    document.UnloadItem(first);
    EXPECT_TRUE(document.CompactItem(first));
    EXPECT_EQ(root->Items(0)->GetProp(QStringLiteral("n")), QStringLiteral("9"));

    // Deleting one among compacted neighbours leaves the others in order.
    delete root->Items(1);
    ASSERT_EQ(root->Count(), 3);
    EXPECT_EQ(root->Items(1)->GetProp(QStringLiteral("n")), QStringLiteral("2"));
    EXPECT_EQ(root->Find(QStringLiteral("page1")), 2);
    document.Clear();
    EXPECT_EQ(root->Count(), 0);
}

TEST(TqvxXMLDocument, ElementsLeftInThePartiallyLoadedSourceShrinkToTheirOffset)
{
    TqvxXMLDocument document;
    const QByteArray bytes = addPages(document, 3);

    TMemoryStream source;
    source.WriteBuffer(bytes);
    TqvxXMLDocument partial;
    load(partial, source, true);
    TqvxXMLItem *root = partial.Root();
    partial.CompactItems(root);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(root->Compacted(i));
    EXPECT_EQ(saved(partial), bytes);

    TqvxXMLItem *last = root->Items(2);
    partial.LoadItem(last);
    ASSERT_EQ(last->Count(), 1);
    partial.UnloadItem(last);
    EXPECT_TRUE(partial.CompactItem(last));
    EXPECT_EQ(saved(partial), bytes);

    // A source cut short no longer holds the tag.
    source.SetSize(Header.size() + 10);
    EXPECT_THROW(root->Items(0), TqvxInvalidXMLException);
    EXPECT_TRUE(root->Compacted(0));
}

TEST(TqvxXMLDocument, StoredBytesAreASwappedOutElementAsItsStreamHoldsIt)
{
    TqvxXMLDocument document;
    TqvxXMLItem *root = document.Root();
    const QByteArray bytes = addPages(document, 3);
    // In memory: none.
    EXPECT_TRUE(document.StoredBytes(root, 0).isNull());

    // Out in the swap file, compacted or not; reading leaves it as it was.
    document.UnloadItem(root->Items(0));
    document.UnloadItem(root->Items(1));
    ASSERT_TRUE(document.CompactItem(root->Items(1)));
    EXPECT_EQ(document.StoredBytes(root, 0), "<page0 n=\"0\" ld=\"0\"><memo text=\"content 0\"/></page0>");
    EXPECT_EQ(document.StoredBytes(root, 1), "<page1 n=\"1\" ld=\"0\"><memo text=\"content 1\"/></page1>");
    EXPECT_FALSE(root->Compacted(0));
    EXPECT_TRUE(root->Compacted(1));
    EXPECT_TRUE(document.StoredBytes(root, 2).isNull());

    // Left in a partly loaded source: nested elements, comments holding
    // tags and a page longer than one read.
    const QByteArray longText(40000, 'x');
    const QByteArray page = "<page0  ld=\"0\"><band><!-- <memo> --><memo u=\"" + longText +
                            "\"/><memo/></band><band/></page0>";
    TMemoryStream source;
    source.WriteBuffer(Header + "<pages>" + page + "<page1  ld=\"0\"/></pages>");
    TqvxXMLDocument partial;
    load(partial, source, true);
    partial.CompactItems(partial.Root());
    ASSERT_TRUE(partial.Root()->Compacted(0));
    EXPECT_EQ(partial.StoredBytes(partial.Root(), 0), page);
    EXPECT_EQ(partial.StoredBytes(partial.Root(), 1), "<page1  ld=\"0\"/>");

    // A source cut inside the element holds none.
    source.SetSize(Header.size() + 7 + 100);
    EXPECT_THROW(partial.StoredBytes(partial.Root(), 0), TqvxInvalidXMLException);
}
