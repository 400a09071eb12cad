#include "report/ReportTestClasses.h"
#include "report/model/qvxRegistries.h"

#include <gtest/gtest.h>

namespace {

class RegistriesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterReportTestClasses();
        FinalizeQvxRegistries();
    }
    void TearDown() override { FinalizeQvxRegistries(); }
};

// The registry never looks into a filter, so any distinct addresses serve.
TqvxCustomExportFilter *FakeFilter(int &storage)
{
    return reinterpret_cast<TqvxCustomExportFilter *>(&storage);
}

} // namespace

TEST_F(RegistriesTest, AClassAndKeyNumberAreRegisteredOnce)
{
    TqvxObjectCollection *objects = qvxObjects();
    objects->RegisterObject<TTestView>(nullptr, QString(), QString(), 0, 2, okDotMatrix);
    objects->RegisterObject<TTestView>(nullptr, QString(), QString(), 0, 3, {});
    ASSERT_EQ(objects->Count(), 1);
    EXPECT_EQ(objects->GetItem(0)->ImageIndex, 2);
    EXPECT_EQ(objects->GetItem(0)->Kind, TqvxObjectKinds(okDotMatrix));

    objects->RegisterObject<TTestView>(nullptr, QString(), QString(), 1, 24, {});
    objects->RegisterObject<TTestBand>(nullptr, QString(), QString(), 0, 5, {});
    EXPECT_EQ(objects->Count(), 3);
    EXPECT_EQ(objects->GetItem(1)->Kind, TqvxObjectKinds(okReport));

    objects->UnRegister(ClassOf<TTestView>());
    ASSERT_EQ(objects->Count(), 1);
    EXPECT_EQ(objects->GetItem(0)->ClassRef, ClassOf<TTestBand>());
    EXPECT_EQ(GetClass(QStringLiteral("ttestband")), ClassOf<TTestBand>());
}

TEST_F(RegistriesTest, ARegistrationWithoutClassKeepsItsKind)
{
    qvxObjects()->RegisterObject(nullptr, QStringLiteral("text"), QStringLiteral("group"), 0, -1, okData);
    qvxObjects()->RegisterObject(nullptr, QString(), QString(), 0, -1, okData);
    EXPECT_EQ(qvxObjects()->Count(), 2);
    EXPECT_EQ(qvxObjects()->GetItem(0)->Kind, TqvxObjectKinds(okData));
    EXPECT_EQ(qvxObjects()->IndexOf(nullptr, 0), -1);
}

TEST_F(RegistriesTest, FiltersAreListedOnceInOrder)
{
    int first = 0;
    int second = 0;
    TqvxExportFilterCollection *filters = qvxExportFilters();
    filters->Register(FakeFilter(first));
    filters->Register(nullptr);
    filters->Register(FakeFilter(second));
    filters->Register(FakeFilter(first));
    ASSERT_EQ(filters->Count(), 2);
    EXPECT_EQ(filters->GetItem(1)->Filter, FakeFilter(second));

    filters->UnRegister(FakeFilter(first));
    filters->UnRegister(FakeFilter(first));
    ASSERT_EQ(filters->Count(), 1);
    EXPECT_EQ(filters->GetItem(0)->Filter, FakeFilter(second));
}

TEST_F(RegistriesTest, TheUnitsEndEmptiesTheRegistries)
{
    int filter = 0;
    qvxExportFilters()->Register(FakeFilter(filter));
    qvxObjects()->RegisterObject(nullptr, QString(), QString(), 0, -1, okData);
    FinalizeQvxRegistries();
    EXPECT_EQ(qvxExportFilters()->Count(), 0);
    EXPECT_EQ(qvxObjects()->Count(), 0);
}
