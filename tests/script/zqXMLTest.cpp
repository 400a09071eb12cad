#include "script/zqXML.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

QByteArray save(TzqXMLDocument &doc)
{
    TMemoryStream stream;
    doc.SaveToStream(&stream);
    return stream.Bytes();
}

void load(TzqXMLDocument &doc, const QByteArray &bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes);
    stream.SetPosition(0);
    doc.LoadFromStream(&stream);
}

QString loadError(const QByteArray &bytes)
{
    TzqXMLDocument doc;
    try {
        load(doc, bytes);
    } catch (const Exception &e) {
        return e.Message();
    }
    return QString();
}

} // namespace

TEST(zqXMLItem, SetPropKeepsAttributeOrderAndSpacing)
{
    TzqXMLItem item;
    item.SetProp(QStringLiteral("a"), QStringLiteral("1"));
    EXPECT_EQ(item.Text(), QStringLiteral("a=\"1\""));
    item.SetProp(QStringLiteral("pos"), QStringLiteral("2"));
    item.SetProp(QStringLiteral("pos1"), QStringLiteral("3"));
    item.SetProp(QStringLiteral("pos"), QStringLiteral("22"));
    EXPECT_EQ(item.Text(), QStringLiteral("a=\"1\" pos=\"22\" pos1=\"3\""));
    EXPECT_EQ(item.GetProp(QStringLiteral("POS")), QStringLiteral("22"));
    EXPECT_EQ(item.GetProp(QStringLiteral("pos1")), QStringLiteral("3"));
    EXPECT_EQ(item.GetProp(QStringLiteral("missing")), QString());
}

TEST(zqXMLItem, AttributeValuesRoundTrip)
{
    TzqXMLItem item;
    const QString value = QStringLiteral("a<b & \"c\">\r\n");
    item.SetProp(QStringLiteral("text"), value);
    EXPECT_EQ(item.Text(), QStringLiteral("text=\"a&#60;b & &#34;c&#34;&#62;&#13;&#10;\""));
    EXPECT_EQ(item.GetProp(QStringLiteral("text")), value);

    // Texts that look like references survive too.
    for (const QString &v : {QStringLiteral("AT&#38;T"), QStringLiteral("&quot;"), QStringLiteral("&#"),
                             QStringLiteral("&amp;"), QStringLiteral("x&")}) {
        item.SetProp(QStringLiteral("text"), v);
        EXPECT_EQ(item.GetProp(QStringLiteral("text")), v);
    }
}

TEST(zqXMLItem, DecodesReferences)
{
    EXPECT_EQ(zqDecodeAttribute(QStringLiteral("&quot;x")), QStringLiteral("\"x"));
    EXPECT_EQ(zqDecodeAttribute(QStringLiteral("&#65;&#66")), QStringLiteral("A&#66"));
    EXPECT_EQ(zqDecodeAttribute(QStringLiteral("&#9999;")), QStringLiteral("&#9999;"));
    EXPECT_EQ(zqDecodeAttribute(QStringLiteral("&lt;")), QStringLiteral("&lt;"));
}

TEST(zqXMLItem, TreeOperations)
{
    TzqXMLItem root;
    TzqXMLItem *a = root.Add();
    a->SetName(QStringLiteral("A"));
    TzqXMLItem *b = root.FindItem(QStringLiteral("b"));
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(root.Find(QStringLiteral("a")), 0);
    EXPECT_EQ(root.FindItem(QStringLiteral("B")), b);

    TzqXMLItem *c = a->Add();
    root.InsertItem(0, c);
    EXPECT_EQ(root.Items(0), c);
    EXPECT_EQ(a->Count(), 0);
    EXPECT_EQ(c->Parent(), &root);
    EXPECT_EQ(c->Root(), &root);

    EXPECT_THROW(c->AddItem(&root), Exception);
    EXPECT_THROW(c->AddItem(c), Exception);
    EXPECT_THROW(root.Items(3), EListError);

    delete b;
    EXPECT_EQ(root.Count(), 2);
}

TEST(zqXMLItem, AssignCopiesDeeplyEvenFromADescendant)
{
    TzqXMLItem root;
    root.SetName(QStringLiteral("root"));
    TzqXMLItem *child = root.Add();
    child->SetName(QStringLiteral("child"));
    child->SetProp(QStringLiteral("x"), QStringLiteral("1"));
    child->Add()->SetName(QStringLiteral("grandchild"));

    TzqXMLItem copy;
    copy.Assign(&root);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.Items(0)->Items(0)->Name(), QStringLiteral("grandchild"));

    root.Assign(child);
    EXPECT_EQ(root.Name(), QStringLiteral("child"));
    EXPECT_EQ(root.GetProp(QStringLiteral("x")), QStringLiteral("1"));
    ASSERT_EQ(root.Count(), 1);
    EXPECT_EQ(root.Items(0)->Name(), QStringLiteral("grandchild"));

    root.Assign(nullptr);
    EXPECT_EQ(root.Count(), 0);
}

TEST(zqXMLDocument, WritesOneLineOrIndented)
{
    TzqXMLDocument doc;
    doc.Root()->SetName(QStringLiteral("a"));
    doc.Root()->SetProp(QStringLiteral("x"), QStringLiteral("1"));
    doc.Root()->Add()->SetName(QStringLiteral("b"));
    EXPECT_EQ(save(doc), QByteArray("<?xml version=\"1.0\"?><a x=\"1\"><b/></a>"));

    doc.AutoIndent = true;
    EXPECT_EQ(save(doc), QByteArray("<?xml version=\"1.0\"?>\r\n<a x=\"1\">\r\n  <b/>\r\n</a>\r\n"));
}

TEST(zqXMLDocument, LargeDocumentsSurviveTheWriteBuffer)
{
    TzqXMLDocument doc;
    doc.Root()->SetName(QStringLiteral("root"));
    for (int i = 0; i < 3000; ++i)
        doc.Root()->Add()->SetName(QStringLiteral("item") + QString::number(i));
    const QByteArray bytes = save(doc);

    TzqXMLDocument copy;
    load(copy, bytes);
    ASSERT_EQ(copy.Root()->Count(), 3000);
    EXPECT_EQ(copy.Root()->Items(2999)->Name(), QStringLiteral("item2999"));
    EXPECT_EQ(save(copy), bytes);
}

TEST(zqXMLDocument, Reads)
{
    TzqXMLDocument doc;
    load(doc, "<?xml version=\"1.0\"?>\n<!-- a > b -->\n<a x=\"1\">\n<!---->\n  <b/>\n  <c y=\"2\"/>\n</A>");
    EXPECT_EQ(doc.Root()->Name(), QStringLiteral("a"));
    ASSERT_EQ(doc.Root()->Count(), 2);
    EXPECT_EQ(doc.Root()->Items(0)->Name(), QStringLiteral("b"));
    EXPECT_EQ(doc.Root()->Items(1)->GetProp(QStringLiteral("y")), QStringLiteral("2"));

    // A stream that ends early closes the open elements.
    load(doc, "<?xml version=\"1.0\"?><a><b>");
    EXPECT_EQ(doc.Root()->Count(), 1);
}

TEST(zqXMLDocument, RejectsMalformedInput)
{
    const QString invalid = QStringLiteral("Invalid file format");
    EXPECT_EQ(loadError("<a/>"), invalid);
    EXPECT_EQ(loadError("<?xml?><a></b>"), invalid);
    EXPECT_EQ(loadError("<?xml?><a <b/></a>"), invalid);
    EXPECT_EQ(loadError("<?xml?><a x=\"1"), invalid);
    EXPECT_EQ(loadError("<?xml?><!-- <a/> -->"), invalid);

    QByteArray deep = "<?xml?>";
    for (int i = 0; i < 5000; ++i)
        deep += "<a>";
    EXPECT_EQ(loadError(deep), invalid);
}

TEST(zqXMLDocument, ReaderLeavesTheStreamAfterTheLastTag)
{
    TMemoryStream stream;
    stream.WriteBuffer(QByteArray("<?xml version=\"1.0\"?><a><b/></a>junk"));
    stream.SetPosition(0);
    TzqXMLDocument doc;
    doc.LoadFromStream(&stream);
    EXPECT_EQ(stream.ReadToEnd(), QByteArray("junk"));
}
