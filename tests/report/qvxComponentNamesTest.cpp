#include "report/ReportTestTree.h"
#include "report/model/qvxComponentNames.h"
#include "toolkit/classes/TDataModule.h"

#include <gtest/gtest.h>

TEST(ComponentNames, ReferencesAcrossOwnersRoundTrip)
{
    std::unique_ptr<TDataModule> module(NewObject<TDataModule>());
    module->SetName(QStringLiteral("DataModule1"));
    auto *inModule = new TTestView(module.get());
    inModule->SetName(QStringLiteral("Source"));

    TComponent form;
    ReportTestTree tree;
    form.InsertComponent(tree.report.get());
    auto *onForm = new TTestView(&form);
    onForm->SetName(QStringLiteral("OnForm"));
    TComponent stranger;
    auto *elsewhere = new TTestView(&stranger);

    const TqvxComponent *report = tree.report.get();
    EXPECT_EQ(qvxGetReferenceName(report, tree.memo1), QStringLiteral("Memo1"));
    EXPECT_EQ(qvxGetReferenceName(report, onForm), QStringLiteral("OnForm"));
    EXPECT_EQ(qvxGetReferenceName(report, inModule), QStringLiteral("DataModule1.Source"));
    EXPECT_EQ(qvxGetReferenceName(report, elsewhere), QString());

    EXPECT_EQ(qvxFindComponent(tree.report.get(), QStringLiteral("memo1")), tree.memo1);
    EXPECT_EQ(qvxFindComponent(tree.report.get(), QStringLiteral("OnForm")), onForm);
    EXPECT_EQ(qvxFindComponent(tree.report.get(), QStringLiteral("datamodule1.source")), inModule);
    EXPECT_EQ(qvxFindComponent(tree.report.get(), QStringLiteral("Nowhere.Source")), nullptr);
    EXPECT_EQ(qvxFindComponent(nullptr, QStringLiteral("Memo1")), nullptr);

    tree.memo1->SetNext(inModule);
    tree.memo2->SetNext(onForm);
    const QByteArray saved = SaveReport(tree.report.get());
    EXPECT_TRUE(saved.contains("Next=\"DataModule1.Source\"")) << saved.constData();
    LoadReport(tree.report.get(), saved);
    auto *memo1 = qobject_cast<TTestView *>(tree.report->FindObject(QStringLiteral("Memo1")));
    auto *memo2 = qobject_cast<TTestView *>(tree.report->FindObject(QStringLiteral("Memo2")));
    EXPECT_EQ(memo1->Next(), inModule);
    EXPECT_EQ(memo2->Next(), onForm);
    form.RemoveComponent(tree.report.get());
}
