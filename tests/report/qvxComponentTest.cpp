#include "report/ReportContextStub.h"
#include "report/ReportTestTree.h"
#include "report/model/qvxReportContext.h"
#include "report/model/qvxResources.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Format.h"

#include <gtest/gtest.h>

namespace {

QStringList NamesOf(const QList<TqvxComponent *> &objects)
{
    QStringList names;
    for (const TqvxComponent *object : objects)
        names.append(object->Name());
    return names;
}

// Frees another object while it is freed itself.
class TSiblingFreeingView : public TTestView
{
public:
    using TTestView::TTestView;
    void BeforeDestruction() override
    {
        delete victim.get();
        TTestView::BeforeDestruction();
    }
    TGuardedRef<TqvxComponent> victim{this};
};

} // namespace

TEST(ComponentTree, PlacesObjectsUnderTheirOwnerAndInTheReport)
{
    ReportTestTree tree;
    EXPECT_EQ(tree.memo1->Parent(), tree.band);
    EXPECT_EQ(tree.memo1->Owner(), tree.report.get());
    EXPECT_EQ(tree.memo1->GetReport(), tree.report.get());
    EXPECT_EQ(tree.band->Objects(), (QList<TqvxComponent *>{tree.memo1, tree.memo2}));

    auto *memo3 = new TTestView(tree.page);
    memo3->SetName(QStringLiteral("Memo3"));
    EXPECT_EQ(NamesOf(tree.report->GetAllObjects()),
              (QStringList{"Page1", "Band1", "Memo1", "Memo2", "Memo3"}));

    memo3->SetParent(tree.band);
    EXPECT_EQ(NamesOf(tree.page->Objects()), QStringList{"Band1"});
    EXPECT_EQ(NamesOf(tree.band->Objects()), (QStringList{"Memo1", "Memo2", "Memo3"}));
    EXPECT_EQ(tree.report->FindObject(QStringLiteral("mEMO3")), memo3);
    EXPECT_EQ(tree.report->FindObject(QStringLiteral("Memo4")), nullptr);

    EXPECT_THROW(tree.page->SetParent(memo3), EInvalidOperation);
    EXPECT_EQ(tree.page->Parent(), tree.report.get());

    delete tree.memo1;
    EXPECT_EQ(NamesOf(tree.band->Objects()), (QStringList{"Memo2", "Memo3"}));
}

TEST(ComponentTree, TheReportFollowsAnObjectMovedWithItsParent)
{
    ReportTestTree tree;
    TContextReport other;
    EXPECT_EQ(tree.memo1->GetReport(), tree.report.get());
    EXPECT_EQ(qvxReportContextOf(tree.memo1), nullptr) << "the tree's report is no context";
    EXPECT_EQ(tree.memo1->ReportLink(), tree.report.get());

    tree.page->SetParent(&other);
    EXPECT_EQ(tree.memo1->GetReport(), &other);
    EXPECT_EQ(qvxReportContextOf(tree.memo1), static_cast<TqvxReportContext *>(&other));
    EXPECT_EQ(tree.band->ReportLink(), &other);

    tree.band->SetParent(nullptr);
    EXPECT_EQ(tree.memo2->GetReport(), nullptr);
    EXPECT_EQ(qvxReportContextOf(tree.memo2), nullptr);
    EXPECT_EQ(tree.page->GetReport(), &other);

    tree.band->SetParent(tree.page);
    EXPECT_EQ(tree.memo2->GetReport(), &other);
    tree.page->SetParent(tree.report.get());
    EXPECT_EQ(tree.memo2->GetReport(), tree.report.get());
    EXPECT_EQ(tree.report->GetReport(), tree.report.get());
}

namespace {

// Asks for its report while it is freed.
class TReportAskingView : public TTestView
{
public:
    using TTestView::TTestView;
    ~TReportAskingView() override { *seen = GetReport(); }

    TqvxComponent **seen = nullptr;
};

} // namespace

TEST(ComponentTree, ObjectsFreedWithTheirReportNoLongerReachIt)
{
    auto report = std::make_unique<TContextReport>();
    auto *page = new TTestPage(report.get());
    auto *view = new TReportAskingView(page);
    TqvxComponent *seen = view;
    view->seen = &seen;
    ASSERT_EQ(view->GetReport(), report.get());
    report.reset();
    EXPECT_EQ(seen, nullptr);
}

TEST(ComponentTree, KindsComeFromTheConstructorsOfEachClass)
{
    ReportTestTree tree;
    EXPECT_EQ(tree.memo1->GetPage(), tree.page);
    EXPECT_EQ(tree.report->GetPage(), nullptr);
    EXPECT_EQ(tree.band->Kinds(), TqvxComponentKinds(ckView | ckBand)) << "a band is a view built on it";
    EXPECT_FALSE(tree.memo1->IsKind(ckBand));

    tree.memo1->SetTop(5);
    tree.band->SetTop(7);
    TTestView plain;
    EXPECT_EQ(tree.memo1->InternalDiff(&plain), QStringLiteral(" t=\"5\""));
    tree.memo2->SetTop(7);
    EXPECT_EQ(tree.band->InternalDiff(tree.memo2), QStringLiteral(" t=\"7\"")) << "a band always gives its top";
}

TEST(ComponentTree, AnObjectWithoutReportHasItsOwnerOnly)
{
    RegisterReportTestClasses();
    TComponent owner;
    auto *view = new TTestView(&owner);
    EXPECT_EQ(view->Owner(), &owner);
    EXPECT_EQ(view->Parent(), nullptr);
    EXPECT_EQ(view->GetReport(), nullptr);
    view->CreateUniqueName();
    EXPECT_EQ(view->Name(), QStringLiteral("TTest1"));
}

TEST(ComponentTree, ClearKeepsObjectsFromAnAncestorReport)
{
    ReportTestTree tree;
    auto *other = new TTestBand(tree.page);
    new TTestView(other);
    tree.band->SetIsInherited(true);

    tree.page->Clear();
    EXPECT_EQ(tree.page->Objects(), QList<TqvxComponent *>{tree.band});
    EXPECT_TRUE(tree.band->Objects().isEmpty());
}

TEST(ComponentTree, ClearSurvivesChildrenFreeingTheirSiblings)
{
    ReportTestTree tree;
    auto *before = new TTestView(tree.band);
    auto *killer = new TSiblingFreeingView(tree.band);
    auto *after = new TTestView(tree.band);
    auto *secondKiller = new TSiblingFreeingView(tree.band);
    killer->victim = after;
    secondKiller->victim = before;

    tree.band->Clear();
    EXPECT_TRUE(tree.band->Objects().isEmpty());
    EXPECT_EQ(tree.report->GetAllObjects(), (QList<TqvxComponent *>{tree.page, tree.band}));
}

TEST(ComponentNames, TheReportFindsObjectsByNameThroughRenamesAndMoves)
{
    ReportTestTree tree;
    ASSERT_EQ(tree.report->FindObject(QStringLiteral("MEMO1")), tree.memo1);
    tree.memo1->SetName(QStringLiteral("Total"));
    EXPECT_EQ(tree.report->FindObject(QStringLiteral("total")), tree.memo1);
    EXPECT_EQ(tree.report->FindObject(QStringLiteral("Memo1")), nullptr);
    EXPECT_EQ(tree.report->FindComponent(QStringLiteral("TOTAL")), tree.memo1);

    ReportTestTree other;
    tree.memo2->SetName(QStringLiteral("Moving"));
    tree.memo2->SetParent(other.band);
    EXPECT_EQ(tree.report->FindObject(QStringLiteral("Moving")), nullptr);
    EXPECT_EQ(other.report->FindObject(QStringLiteral("Moving")), tree.memo2);
    EXPECT_EQ(other.page->FindObject(QStringLiteral("Moving")), tree.memo2);
    EXPECT_EQ(other.band->FindObject(QStringLiteral("Page1")), nullptr) << "only objects below";

    auto *added = new TTestView(tree.band);
    added->SetName(QStringLiteral("Memo1"));
    EXPECT_EQ(tree.report->FindObject(QStringLiteral("memo1")), added) << "the old name is free again";
    EXPECT_THROW(tree.memo1->SetName(QStringLiteral("MEMO1")), EComponentError);

    delete tree.band;
    EXPECT_EQ(tree.report->FindObject(QStringLiteral("Total")), nullptr);
    EXPECT_EQ(tree.report->FindComponent(QStringLiteral("Total")), nullptr);
    EXPECT_EQ(tree.report->FindObject(QStringLiteral("Page1")), tree.page);
}

TEST(ComponentNames, CreateUniqueNameFillsTheFirstGap)
{
    ReportTestTree tree;
    tree.memo2->SetName(QStringLiteral("Memo3"));
    auto *view = new TTestView(tree.band);
    view->SetBaseName(QStringLiteral("Memo"));
    view->CreateUniqueName();
    EXPECT_EQ(view->Name(), QStringLiteral("Memo2"));

    // Taken names are compared without regard to case.
    auto *lower = new TTestView(tree.band);
    lower->SetName(QStringLiteral("mEMO4"));
    auto *next = new TTestView(tree.band);
    next->SetBaseName(QStringLiteral("Memo"));
    next->CreateUniqueName();
    EXPECT_EQ(next->Name(), QStringLiteral("Memo5"));
}

TEST(ComponentNames, BaseNameDropsTheLibraryPrefixAndView)
{
    ReportTestTree tree;
    EXPECT_EQ(tree.memo1->BaseName(), QStringLiteral("TTest"));
    EXPECT_EQ(tree.band->BaseName(), QStringLiteral("TTestBand"));
}

TEST(ComponentNames, RenamingFollowsTheReportsRules)
{
    ReportTestTree tree;
    tree.memo1->SetName(QStringLiteral("memo1"));
    EXPECT_EQ(tree.memo1->Name(), QStringLiteral("Memo1"));

    try {
        tree.memo2->SetName(QStringLiteral("MEMO1"));
        FAIL() << "a duplicate name was accepted";
    } catch (const EComponentError &e) {
        EXPECT_EQ(e.Message(), QString::fromUtf16(u"Компонент с именем MEMO1 уже существует"));
    }
    EXPECT_EQ(tree.memo2->Name(), QStringLiteral("Memo2"));
    EXPECT_THROW(tree.memo2->SetName(QStringLiteral("Report1")), EComponentError);
    EXPECT_THROW(tree.memo2->SetName(QStringLiteral("a\"b")), EComponentError);

    tree.memo2->SetIsInherited(true);
    try {
        tree.memo2->SetName(QStringLiteral("Other"));
        FAIL() << "an inherited object was renamed";
    } catch (const EComponentError &e) {
        EXPECT_EQ(e.Message(), Format(qvxResources()->Get(QStringLiteral("clCantRen")), {QStringLiteral("Memo2")}));
    }
    EXPECT_EQ(tree.memo2->Name(), QStringLiteral("Memo2"));
}

TEST(ComponentGeometry, RestrictionsHoldOnlyForDesignedObjects)
{
    ReportTestTree tree;
    auto *designed = TqvxComponent::DesignCreateObject<TTestView>(tree.band);
    for (TTestView *view : {designed, tree.memo1}) {
        view->SetRestrictions(rfDontMove);
        view->SetBounds(5, 6, 7, 8);
    }
    EXPECT_EQ(designed->Left(), 0);
    EXPECT_EQ(designed->Top(), 0);
    EXPECT_EQ(designed->Width(), 7);
    EXPECT_EQ(tree.memo1->Left(), 5);

    designed->SetRestrictions(rfDontSize);
    designed->SetBounds(5, 6, 70, 80);
    EXPECT_EQ(designed->Left(), 5);
    EXPECT_EQ(designed->Width(), 7);
}

TEST(ComponentGeometry, AbsolutePositionsAddUpTheParents)
{
    ReportTestTree tree;
    tree.page->SetBounds(1, 2, 0, 0);
    tree.band->SetBounds(10, 20, 0, 0);
    tree.memo1->SetBounds(100, 200, 30, 40);
    EXPECT_DOUBLE_EQ(tree.memo1->GetAbsLeft(), 111);
    EXPECT_DOUBLE_EQ(tree.memo1->GetAbsTop(), 222);
    const TqvxRect bounds = tree.memo1->GetBoundsRect();
    EXPECT_DOUBLE_EQ(bounds.Right, 141);
    EXPECT_DOUBLE_EQ(bounds.Bottom, 262);
}

TEST(ComponentFont, FlowsDownToObjectsThatFollowTheirParent)
{
    ReportTestTree tree;
    tree.band->Font()->SetName(QStringLiteral("Tahoma"));
    auto *view = new TTestView(tree.band);
    EXPECT_TRUE(view->ParentFont());
    EXPECT_EQ(view->Font()->Name(), QStringLiteral("Tahoma"));

    tree.band->Font()->SetSize(14);
    EXPECT_EQ(view->Font()->Size(), 14);
    EXPECT_EQ(tree.memo1->Font()->Size(), 14);

    view->Font()->SetName(QStringLiteral("Verdana"));
    EXPECT_FALSE(view->ParentFont());
    tree.band->Font()->SetSize(20);
    EXPECT_EQ(view->Font()->Size(), 14);
    EXPECT_EQ(tree.memo1->Font()->Size(), 20);

    view->SetParentFont(true);
    EXPECT_EQ(view->Font()->Name(), QStringLiteral("Tahoma"));
}

namespace {

// A 200 x 50 band holding views with the given align, left, top, width.
struct AlignCase {
    TqvxAlign align;
    double left, top, width, height;
};

QList<TTestView *> Arrange(TTestBand *band, std::initializer_list<AlignCase> cases)
{
    band->SetBounds(0, 30, 200, 50);
    QList<TTestView *> views;
    for (const AlignCase &c : cases) {
        auto *view = new TTestView(band);
        view->align = c.align;
        view->SetBounds(c.left, c.top, c.width, c.height);
        views.append(view);
    }
    band->AlignChildren();
    return views;
}

} // namespace

TEST(ComponentAlign, LeftAndRightPackAgainstTheNeighbourInTheSameRow)
{
    ReportTestTree tree;
    const auto v = Arrange(tree.band, {{baLeft, 100, 0, 30, 10},
                                       {baLeft, 50, 0, 20, 10},
                                       {baRight, 10, 20, 40, 10},
                                       {baRight, 150, 20, 10, 10},
                                       {baLeft, 120, 10.00005, 5, 10}});
    EXPECT_DOUBLE_EQ(v[1]->Left(), 0);
    EXPECT_DOUBLE_EQ(v[0]->Left(), 20);
    EXPECT_DOUBLE_EQ(v[3]->Left(), 190);
    EXPECT_DOUBLE_EQ(v[2]->Left(), 150);
    // Touching rows do not count as overlapping.
    EXPECT_DOUBLE_EQ(v[4]->Left(), 0);
}

TEST(ComponentAlign, WidthStretchesBetweenItsNeighbours)
{
    ReportTestTree tree;
    const auto v = Arrange(tree.band, {{baWidth, 30, 40, 10, 10}, {baNone, 150, 40, 20, 10}, {baNone, 5, 40, 10, 10}});
    EXPECT_DOUBLE_EQ(v[0]->Left(), 15);
    EXPECT_DOUBLE_EQ(v[0]->Width(), 135);

    ReportTestTree alone;
    const auto w = Arrange(alone.band, {{baWidth, 30, 0, 10, 10}});
    EXPECT_DOUBLE_EQ(w[0]->Left(), 0);
    EXPECT_DOUBLE_EQ(w[0]->Width(), 200);
}

TEST(ComponentAlign, CenterBottomAndClientUseTheContainer)
{
    ReportTestTree tree;
    const auto v = Arrange(tree.band, {{baCenter, 0, 0, 50, 10}, {baBottom, 7, 0, 10, 10}, {baClient, 3, 3, 1, 1}});
    EXPECT_DOUBLE_EQ(v[0]->Left(), 75);
    EXPECT_DOUBLE_EQ(v[1]->Top(), 40);
    EXPECT_DOUBLE_EQ(v[1]->Left(), 7);
    EXPECT_DOUBLE_EQ(v[2]->Left(), 0);
    EXPECT_DOUBLE_EQ(v[2]->Top(), 0);
    EXPECT_DOUBLE_EQ(v[2]->Width(), 200);
    EXPECT_DOUBLE_EQ(v[2]->Height(), 50);
}

TEST(ComponentDiff, ListsWhatDiffersBeyondTheTolerance)
{
    ReportTestTree tree;
    tree.memo2->SetLeft(0.00005);
    EXPECT_EQ(tree.memo2->Diff(tree.memo1), QString());

    tree.memo2->SetBounds(10.5, 0, 0, 3);
    tree.memo2->SetVisible(false);
    tree.memo2->SetTag(5);
    tree.memo2->Font()->SetName(QStringLiteral("Courier \"New\""));
    tree.memo2->Font()->SetSize(12);
    EXPECT_EQ(tree.memo2->InternalDiff(tree.memo1),
              QStringLiteral(" l=\"10.5\" h=\"3\" Visible=\"0\" Font.Name=\"Courier &#34;New&#34;\" "
                             "Font.Size=\"12\" ParentFont=\"0\" Tag=\"5\""));
}

TEST(ComponentDiff, AllDiffIsTheAttributeTextAndTheDifferences)
{
    ReportTestTree tree;
    tree.memo2->SetBounds(1, 2, 3, 4);
    const QString attributes = QStringLiteral(" Left=\"1\" Top=\"2\" Width=\"3\" Height=\"4\" Frame.Width=\"1\"");
    EXPECT_EQ(tree.memo2->AllDiff(nullptr), attributes);
    EXPECT_EQ(tree.memo2->AllDiff(tree.memo1),
              attributes + QStringLiteral("  l=\"1\" t=\"2\" w=\"3\" h=\"4\""));
}

TEST(ComponentCopy, AssignCopiesTheObjectAndAssignAllTheSubtree)
{
    ReportTestTree source;
    source.band->SetBounds(1, 2, 300, 40);
    source.band->hint = QString();
    source.band->variables.SetVariable(QStringLiteral("V"), Variant(QStringLiteral("1")));

    ReportTestTree target;
    target.band->hint = QStringLiteral("to be cleared");
    target.band->Assign(source.band);
    EXPECT_DOUBLE_EQ(target.band->Width(), 300);
    EXPECT_EQ(target.band->hint, QString());
    EXPECT_EQ(target.band->Name(), QStringLiteral("Band1"));
    EXPECT_TRUE(target.band->Objects().isEmpty());

    source.memo1->SetBounds(5, 6, 7, 8);
    source.memo1->SetNext(source.memo2);
    target.band->AssignAll(source.band);
    ASSERT_EQ(NamesOf(target.band->Objects()), (QStringList{"Memo1", "Memo2"}));
    auto *memo1 = qobject_cast<TTestView *>(target.band->Objects().first());
    EXPECT_DOUBLE_EQ(memo1->Height(), 8);
    EXPECT_EQ(memo1->Next(), target.band->Objects().last());
    EXPECT_EQ(memo1->Owner(), target.report.get());
}

TEST(ComponentCopy, LoadingCollectsErrorsInTheReport)
{
    ReportTestTree tree;
    tree.report->errors->Add(QStringLiteral("earlier"));
    LoadReport(tree.report.get(), ReportFile("<TMissing/>"));
    EXPECT_EQ(tree.report->errors->Count(), 2);
    EXPECT_EQ(tree.report->current, nullptr);
    EXPECT_TRUE(tree.report->Objects().isEmpty());
}

TEST(ComponentReferences, ALinkedObjectIsForgottenWhenFreed)
{
    ReportTestTree tree;
    tree.memo1->SetLinkedObject(tree.memo2);
    tree.memo1->SetNext(tree.memo2);
    delete tree.memo2;
    EXPECT_EQ(tree.memo1->LinkedObject(), nullptr);
    EXPECT_EQ(tree.memo1->Next(), nullptr);
}
