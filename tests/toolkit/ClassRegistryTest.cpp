#include "ReflectionSamples.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/Exceptions.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ClassRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterClass<TSampleView>();
        RegisterClass<TSampleFont>();
    }
    void TearDown() override
    {
        UnRegisterClass(ClassOf<TSampleView>());
        UnRegisterClass(ClassOf<TSampleFont>());
    }
};

} // namespace

TEST_F(ClassRegistryTest, FindsClassesByNameIgnoringCase)
{
    EXPECT_EQ(GetClass(QStringLiteral("TSampleView")), ClassOf<TSampleView>());
    EXPECT_EQ(FindClass(QStringLiteral("tsampleVIEW")), ClassOf<TSampleView>());
    EXPECT_EQ(GetClass(QStringLiteral("TNoSuchClass")), nullptr);
    try {
        FindClass(QStringLiteral("TNoSuchClass"));
        FAIL();
    } catch (const EClassNotFound &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Class TNoSuchClass not found"));
    }

    UnRegisterClass(ClassOf<TSampleView>());
    EXPECT_EQ(GetClass(QStringLiteral("TSampleView")), nullptr);
    EXPECT_FALSE(RegisteredClassOf(ClassOf<TSampleView>()));
    EXPECT_THROW(CreateObject(ClassOf<TSampleView>()), EClassNotFound) << "an unregistered class makes nothing";
    EXPECT_FALSE(RegisteredClasses().contains(ClassOf<TSampleView>()));
    EXPECT_TRUE(RegisteredClasses().contains(ClassOf<TSampleFont>()));
}

TEST_F(ClassRegistryTest, CreatesComponentsWithTheirOwner)
{
    TComponent owner;
    TObject *made = CreateObject(FindClass(QStringLiteral("TSampleView")), &owner);
    ASSERT_TRUE(made->InheritsFrom<TSampleView>());
    EXPECT_EQ(static_cast<TSampleView *>(made)->Owner(), &owner);
    EXPECT_EQ(owner.ComponentCount(), 1);

    std::unique_ptr<TObject> font(CreateObject(ClassOf<TSampleFont>()));
    EXPECT_EQ(font->ClassName(), QStringLiteral("TSampleFont"));
}

TEST_F(ClassRegistryTest, RefusesWhatCannotBeCreated)
{
    EXPECT_THROW(CreateObject(ClassOf<TCollection>()), EAbstractError);
    EXPECT_THROW(CreateObject(ClassOf<TSampleItems>()), EClassNotFound);
    EXPECT_THROW(CreateObject(ClassOf<TSampleView>(), QVariantList{1}), EAbstractError);
}

TEST_F(ClassRegistryTest, CreatesThroughAConstructorWithArguments)
{
    ClassFactories factories;
    factories.createWith = [](const QVariantList &arguments) -> TObject * {
        auto *font = new TSampleFont;
        font->name = arguments.value(0).toString();
        return font;
    };
    RegisterClass(ClassOf<TSampleFont>(), factories);
    std::unique_ptr<TObject> font(CreateObject(ClassOf<TSampleFont>(), QVariantList{QStringLiteral("Tahoma")}));
    EXPECT_EQ(static_cast<TSampleFont *>(font.get())->name, QStringLiteral("Tahoma"));
}
