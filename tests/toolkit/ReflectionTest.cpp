#include "ReflectionSamples.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/TList.h"
#include "toolkit/classes/Reflection.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

class TypInfoTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        DescribeProperties<TSampleView>()
            .Default("Align", Sample::saLeft)
            .Default("Visible", 1)
            .Default("Color", 0x1FFFFFFF)
            .TypeName("Color", QStringLiteral("TColor"))
            .Stored("Font", &TSampleView::IsFontStored)
            .WriteOnly("URL");
        DescribeProperties<TSampleMemo>().NoDefault("Visible").Wide("Text");
    }

    static QStringList names(TClass cls)
    {
        QStringList result;
        for (const TPropInfo *info : GetPropList(cls))
            result.append(info->Name());
        return result;
    }

    static const TPropInfo &prop(TClass cls, const char *name)
    {
        const TPropInfo *info = GetPropInfo(cls, QString::fromLatin1(name));
        if (!info)
            throw std::runtime_error(name);
        return *info;
    }
};

} // namespace

TEST_F(TypInfoTest, ListsPropertiesInheritedFirstInDeclarationOrder)
{
    const QStringList view = {"Name",   "Tag",  "Left", "Align", "Visible", "Color", "ParentFont",
                              "Font",   "Next", "URL",  "Hint",  "OnClick"};
    EXPECT_EQ(names(ClassOf<TSampleView>()), view);
    EXPECT_EQ(names(ClassOf<TSampleMemo>()), view + QStringList({"Big", "Text", "Delimiter", "Value"}))
        << "a redeclared property keeps its ancestor's place";

    EXPECT_EQ(GetPropInfo(ClassOf<TSampleView>(), QStringLiteral("objectName")), nullptr);
    EXPECT_EQ(&prop(ClassOf<TSampleView>(), "ALIGN"), &prop(ClassOf<TSampleView>(), "Align"));
    EXPECT_EQ(GetPropInfo(ClassOf<TSampleView>(), QStringLiteral("Missing")), nullptr);
    EXPECT_TRUE(GetPropList(ClassOf<TList>()).isEmpty());
}

TEST_F(TypInfoTest, ReportsKindsAndTypeNames)
{
    const TClass memo = ClassOf<TSampleMemo>();
    struct Expected {
        const char *name;
        TTypeKind kind;
        const char *typeName;
    } const expected[] = {
        {"Name", TTypeKind::String, "TComponentName"},
        {"Tag", TTypeKind::Integer, "Integer"},
        {"Left", TTypeKind::Float, "Double"},
        {"Align", TTypeKind::Enumeration, "TSampleAlign"},
        {"Visible", TTypeKind::Enumeration, "Boolean"},
        {"Color", TTypeKind::Integer, "TColor"},
        {"Font", TTypeKind::Class, "TSampleFont"},
        {"Next", TTypeKind::Class, "TSampleView"},
        {"OnClick", TTypeKind::Method, "TNotifyEvent"},
        {"Big", TTypeKind::Int64, "Int64"},
        {"Text", TTypeKind::WideString, "WideString"},
        {"Delimiter", TTypeKind::Char, "Char"},
        {"Value", TTypeKind::Variant, "Variant"},
    };
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(prop(memo, e.name).Kind(), e.kind);
        EXPECT_EQ(prop(memo, e.name).TypeName(), QString::fromLatin1(e.typeName));
    }

    const TPropInfo &align = prop(memo, "Align");
    EXPECT_EQ(align.EnumNames(), QStringList({"saLeft", "saCenter", "saRight"}));
    EXPECT_EQ(align.EnumOrdinal(QStringLiteral("SACENTER")), 1);
    EXPECT_EQ(align.EnumOrdinal(QStringLiteral("saMiddle")), -1);
    EXPECT_EQ(prop(memo, "Visible").EnumNames(), QStringList({"False", "True"}));

    const TPropInfo &style = prop(ClassOf<TSampleFont>(), "Style");
    EXPECT_EQ(style.Kind(), TTypeKind::Set);
    EXPECT_EQ(style.TypeName(), QStringLiteral("TSampleStyles"));
    EXPECT_EQ(style.ElementTypeName(), QStringLiteral("TSampleStyle"));
    EXPECT_EQ(style.EnumNames(), QStringList({"ssBold", "ssItalic", "ssUnderline"}))
        << "a combination of flags is no element";
    EXPECT_EQ(style.EnumOrdinal(QStringLiteral("ssUnderline")), 2);
}

TEST_F(TypInfoTest, ClassPropertiesTellReferencesFromNestedObjects)
{
    const TClass view = ClassOf<TSampleView>();
    EXPECT_EQ(prop(view, "Font").PropertyClass(), ClassOf<TSampleFont>());
    EXPECT_EQ(prop(view, "Font").ClassCategory(), TClassCategory::Persistent);
    EXPECT_EQ(prop(view, "Next").ClassCategory(), TClassCategory::Component);

    EXPECT_EQ(ClassCategoryOf(ClassOf<TSampleItems>()), TClassCategory::Collection);
    EXPECT_EQ(ClassCategoryOf(ClassOf<TSampleItem>()), TClassCategory::CollectionItem);
    EXPECT_EQ(ClassCategoryOf(ClassOf<TList>()), TClassCategory::Object);
}

TEST_F(TypInfoTest, DeclarationsThatDoNotHoldTogetherFailLoudly)
{
    EXPECT_THROW(DescribeProperties<TSampleView>().Default("Colour", 0), EPropertyError) << "a typo";
    EXPECT_THROW(DescribeProperties<TSampleView>().Stored("objectName", nullptr), EPropertyError);
    EXPECT_THROW(GetPropList(ClassOf<TSampleGappedView>()), EPropertyError) << "values not 0..n-1";

    DescribeProperties<TSampleFloatDefault>().Default("Width", 5);
    EXPECT_THROW(GetPropList(ClassOf<TSampleFloatDefault>()), EPropertyError) << "floats have no default";
    DescribeProperties<TSampleView>().Default("Align", 7);
    EXPECT_THROW(GetPropList(ClassOf<TSampleView>()), EPropertyError) << "not a value of the enumeration";
    DescribeProperties<TSampleView>().Default("Align", Sample::saLeft);
    EXPECT_EQ(GetPropInfo(ClassOf<TSampleView>(), QStringLiteral("Align"))->EnumName(2), QStringLiteral("saRight"));
}

TEST_F(TypInfoTest, DeclaredDefaultsAreKeptApartFromInitialValues)
{
    const TPropInfo &color = prop(ClassOf<TSampleView>(), "Color");
    ASSERT_TRUE(color.HasDefault());
    EXPECT_EQ(color.Default(), 0x1FFFFFFF);
    TSampleView view;
    EXPECT_EQ(color.GetOrd(&view), 0xFFFFFF);

    EXPECT_TRUE(prop(ClassOf<TSampleView>(), "Tag").HasDefault()) << "inherited from TComponent";
    EXPECT_FALSE(prop(ClassOf<TSampleView>(), "Hint").HasDefault());

    EXPECT_TRUE(prop(ClassOf<TSampleView>(), "Visible").HasDefault());
    EXPECT_FALSE(prop(ClassOf<TSampleMemo>(), "Visible").HasDefault()) << "nodefault in the descendant";
    EXPECT_TRUE(prop(ClassOf<TSampleMemo>(), "Align").HasDefault())
        << "a redeclared property keeps the inherited default";
}

TEST_F(TypInfoTest, StoredConditionsAndAccess)
{
    TSampleView view;
    const TPropInfo &font = prop(ClassOf<TSampleView>(), "Font");
    EXPECT_FALSE(font.IsStored(&view));
    view.parentFont = false;
    EXPECT_TRUE(font.IsStored(&view));

    const TPropInfo &url = prop(ClassOf<TSampleView>(), "URL");
    EXPECT_FALSE(url.IsStored(&view));
    EXPECT_FALSE(url.IsReadable());
    EXPECT_TRUE(url.IsWritable());
    url.SetStr(&view, QStringLiteral("http://example.org"));
    EXPECT_EQ(view.url, QStringLiteral("http://example.org"));
    EXPECT_THROW(url.GetStr(&view), EPropertyError);
}

TEST_F(TypInfoTest, OrdinalValues)
{
    TSampleMemo memo;
    const TClass cls = ClassOf<TSampleMemo>();

    prop(cls, "Align").SetOrd(&memo, Sample::saRight);
    EXPECT_EQ(memo.align, Sample::saRight);
    EXPECT_EQ(memo.alignWrites, 1) << "the descendant's setter is used";
    EXPECT_EQ(prop(cls, "Align").GetOrd(&memo), 2);
    EXPECT_THROW(prop(cls, "Align").SetOrd(&memo, 7), EPropertyError);
    EXPECT_EQ(memo.align, Sample::saRight);

    prop(cls, "Visible").SetOrd(&memo, 0);
    EXPECT_FALSE(memo.visible);
    prop(cls, "Visible").SetOrd(&memo, -3);
    EXPECT_TRUE(memo.visible) << "any non-zero value is True";
    EXPECT_EQ(prop(cls, "Visible").GetOrd(&memo), 1);

    prop(cls, "Big").SetOrd(&memo, Q_INT64_C(1) << 40);
    EXPECT_EQ(memo.big, Q_INT64_C(1) << 40);
    prop(cls, "Tag").SetOrd(&memo, -5);
    EXPECT_EQ(memo.Tag(), -5);
    EXPECT_THROW(prop(cls, "Tag").SetOrd(&memo, -9999999999), EPropertyError) << "Tag is 32-bit";
    EXPECT_THROW(prop(cls, "Color").SetValue(&memo, Variant(Q_INT64_C(4294967297))), EPropertyError);
    EXPECT_EQ(memo.Tag(), -5);
    EXPECT_THROW(prop(cls, "Delimiter").SetOrd(&memo, 0x10000), EPropertyError);
    prop(cls, "Delimiter").SetOrd(&memo, 0x416);
    EXPECT_EQ(memo.delimiter, QChar(0x416));

    TSampleFont font;
    const TPropInfo &style = prop(ClassOf<TSampleFont>(), "Style");
    style.SetOrd(&font, Sample::ssBold | Sample::ssUnderline);
    EXPECT_EQ(font.style, Sample::ssBold | Sample::ssUnderline);
    EXPECT_EQ(style.GetOrd(&font), 5);
    EXPECT_THROW(style.SetOrd(&font, 8), EPropertyError);
}

TEST_F(TypInfoTest, OrdinalsOfEveryWidthKeepTheirValueAndNeighbours)
{
    TSampleWidths widths;
    const TClass cls = ClassOf<TSampleWidths>();

    prop(cls, "Unsigned").SetOrd(&widths, 0xFFFFFFF0);
    EXPECT_EQ(widths.unsignedValue, 0xFFFFFFF0u);
    EXPECT_EQ(prop(cls, "Unsigned").GetOrd(&widths), 0xFFFFFFF0) << "read back without sign extension";
    prop(cls, "Short").SetOrd(&widths, 65535);
    EXPECT_EQ(prop(cls, "Short").GetOrd(&widths), 65535);
    prop(cls, "Byte").SetOrd(&widths, 200);
    EXPECT_EQ(prop(cls, "Byte").GetOrd(&widths), 200);
    EXPECT_THROW(prop(cls, "Byte").SetOrd(&widths, 256), EPropertyError);
    prop(cls, "Signed").SetOrd(&widths, -100);
    EXPECT_EQ(prop(cls, "Signed").GetOrd(&widths), -100);
    prop(cls, "Huge").SetOrd(&widths, Q_INT64_C(0x7FFFFFFFFFFF));
    EXPECT_EQ(widths.hugeValue, Q_UINT64_C(0x7FFFFFFFFFFF));
    EXPECT_THROW(prop(cls, "Huge").SetOrd(&widths, -1), EPropertyError);

    const TPropInfo &small = prop(cls, "Small");
    EXPECT_EQ(small.Kind(), TTypeKind::Enumeration);
    small.SetOrd(&widths, Sample::smThird);
    EXPECT_EQ(widths.smallValue, Sample::smThird);
    EXPECT_EQ(small.GetOrd(&widths), 2);
    EXPECT_EQ(small.EnumName(small.GetOrd(&widths)), QStringLiteral("smThird"));

    prop(cls, "Single").SetFloat(&widths, 0.25);
    EXPECT_EQ(widths.singleValue, 0.25f);
    EXPECT_EQ(prop(cls, "Single").GetFloat(&widths), 0.25);
    EXPECT_THROW(prop(cls, "Single").SetFloat(&widths, 1e300), EPropertyError) << "beyond a float";

    EXPECT_EQ(widths.guard, 0xA5A5A5A5u);
}

TEST_F(TypInfoTest, FloatStringAndObjectValues)
{
    TComponent owner;
    auto *view = new TSampleView(&owner);
    const TClass cls = ClassOf<TSampleView>();

    prop(cls, "Left").SetFloat(view, 12.5);
    EXPECT_EQ(prop(cls, "Left").GetFloat(view), 12.5);
    prop(cls, "Name").SetStr(view, QStringLiteral("View1"));
    EXPECT_EQ(view->Name(), QStringLiteral("View1"));
    EXPECT_THROW(prop(cls, "Name").SetStr(view, QStringLiteral("1x")), EComponentError);

    EXPECT_EQ(prop(cls, "Font").GetObject(view), view->Font());
    auto *target = new TSampleMemo(&owner);
    prop(cls, "Next").SetObject(view, target);
    EXPECT_EQ(view->next, target);
    EXPECT_EQ(prop(cls, "Next").GetObject(view), target);
    prop(cls, "Next").SetObject(view, nullptr);
    EXPECT_EQ(view->next, nullptr);

    TComponent plain;
    EXPECT_THROW(prop(cls, "Next").SetObject(view, &plain), EPropertyError);
    EXPECT_THROW(prop(cls, "Left").GetFloat(&plain), EPropertyError) << "not a view";
    EXPECT_THROW(prop(cls, "Left").SetFloat(nullptr, 1), EPropertyError);
    EXPECT_THROW(prop(cls, "Left").GetStr(view), EPropertyError);
    EXPECT_THROW(prop(cls, "Hint").GetOrd(view), EPropertyError);
}

TEST_F(TypInfoTest, EventValues)
{
    TSampleView view;
    const TPropInfo &onClick = prop(ClassOf<TSampleView>(), "OnClick");
    EXPECT_EQ(onClick.MethodType(), QMetaType::fromType<TNotifyEvent>());

    TObject *sender = nullptr;
    onClick.SetMethod(&view, QVariant::fromValue(TNotifyEvent([&](TObject *s) { sender = s; })));
    view.onClick(&view);
    EXPECT_EQ(sender, &view);
    EXPECT_TRUE(bool(onClick.GetMethod(&view).value<TNotifyEvent>()));

    EXPECT_THROW(onClick.SetMethod(&view, QVariant(1)), EPropertyError);
    onClick.ClearMethod(&view);
    EXPECT_FALSE(bool(view.onClick));
}

TEST_F(TypInfoTest, ScriptRoutinesBecomeHandlersOfAnyRegisteredEvent)
{
    TSampleView view;
    QList<Variant> seen;
    prop(ClassOf<TSampleView>(), "OnClick").AssignRoutine(&view, [&](QList<Variant> &arguments) {
        seen = arguments;
        return Variant();
    });
    view.onClick(&view);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(ObjectHandleRegistry::Resolve(seen[0].AsInteger()), &view) << "objects travel as handles";

    // Var parameters come back from the routine.
    const TEventHandlerFactory factory = MakeEventHandlerFactory<TSampleKeyEvent>();
    ASSERT_TRUE(bool(factory));
    const auto handler = factory([](QList<Variant> &arguments) {
        arguments[1] = Variant(arguments[1].AsInteger() + 1);
        arguments[2] = Variant(QStringLiteral("Z"));
        arguments[3] = Variant(true);
        return Variant();
    }).value<TSampleKeyEvent>();
    int key = 41;
    QChar letter = u'a';
    bool handled = false;
    handler(nullptr, key, letter, handled, Sample::saRight);
    EXPECT_EQ(key, 42);
    EXPECT_EQ(letter, QChar(u'Z'));
    EXPECT_TRUE(handled);

    EXPECT_FALSE(bool(MakeEventHandlerFactory<TSampleOpaqueEvent>())) << "a parameter no variant carries";
    EXPECT_THROW(prop(ClassOf<TSampleView>(), "Left").AssignRoutine(&view, {}), EPropertyError);
}

TEST_F(TypInfoTest, ValuesAsVariants)
{
    TComponent owner;
    auto *memo = new TSampleMemo(&owner);
    const TClass cls = ClassOf<TSampleMemo>();
    auto get = [&](const char *name) { return prop(cls, name).GetValue(memo); };
    auto set = [&](const char *name, const Variant &value) { prop(cls, name).SetValue(memo, value); };

    set("Align", QStringLiteral("saCenter"));
    EXPECT_EQ(memo->align, Sample::saCenter);
    EXPECT_EQ(VarType(get("Align")), varInteger);
    EXPECT_EQ(get("Align").AsInteger(), 1);
    EXPECT_THROW(set("Align", QStringLiteral("saNowhere")), EPropertyError);

    set("Visible", 0);
    EXPECT_EQ(VarType(get("Visible")), varBoolean);
    EXPECT_FALSE(get("Visible").AsBoolean());

    set("Left", 2.5);
    EXPECT_EQ(memo->left, 2.5);
    set("Tag", 7.5);
    EXPECT_EQ(memo->Tag(), 8) << "floats round half to even";
    set("Delimiter", QStringLiteral("xyz"));
    EXPECT_EQ(memo->delimiter, QChar(u'x'));
    EXPECT_EQ(get("Delimiter").AsString(), QStringLiteral("x"));
    set("Delimiter", QString());
    EXPECT_EQ(memo->delimiter, QChar(0));

    set("Text", QStringLiteral("wide"));
    EXPECT_EQ(VarType(get("Text")), varOleStr);
    set("Big", Q_INT64_C(5000000000));
    EXPECT_EQ(VarType(get("Big")), varInt64);

    set("Value", Variant::Null());
    EXPECT_TRUE(VarIsNull(get("Value")));
    set("Value", 42);
    EXPECT_EQ(memo->value.AsInteger(), 42);

    EXPECT_THROW(prop(cls, "OnClick").GetValue(memo), EPropertyError);
}

TEST_F(TypInfoTest, ObjectValuesTravelAsHandles)
{
    TComponent owner;
    auto *memo = new TSampleMemo(&owner);
    auto *target = new TSampleView(&owner);
    const TPropInfo &next = prop(ClassOf<TSampleMemo>(), "Next");

    next.SetValue(memo, target->Handle());
    EXPECT_EQ(memo->next, target);
    EXPECT_EQ(next.GetValue(memo).AsInteger(), target->Handle());
    next.SetValue(memo, 0);
    EXPECT_EQ(memo->next, nullptr);
    EXPECT_EQ(next.GetValue(memo).AsInteger(), 0);

    // An integer that is no live handle is refused, never taken as an address.
    const qint32 stale = target->Handle();
    delete target;
    EXPECT_THROW(next.SetValue(memo, stale), EInvalidObject);
    EXPECT_THROW(next.SetValue(memo, qint32(reinterpret_cast<quintptr>(memo))), EInvalidObject);
    EXPECT_EQ(memo->next, nullptr);

    TComponent plain;
    EXPECT_THROW(next.SetValue(memo, plain.Handle()), EPropertyError);
}
