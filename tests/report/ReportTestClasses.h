#pragma once

// Small report classes that publish one property of every kind the report
// file knows: enumerations, sets, floats, strings, variants, a font that
// follows the parent's, a read-only sub-object, a string list, a reference
// and custom binary data; a band with a nested collection; a report that
// collects errors and knows a parent report.

#include "report/base/TWideStrings.h"
#include "report/components/qvxReportComponent.h"
#include "report/model/qvxReportLink.h"
#include "report/model/qvxVariables.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/classes/TFiler.h"
#include "toolkit/classes/TStringList.h"

#include <QRecursiveMutex>

#include <memory>

namespace TestTypes {
Q_NAMESPACE

enum TTestShape { tsBox, tsCircle, tsStar };
Q_ENUM_NS(TTestShape)

enum TTestSide { sdLeft = 0x1, sdRight = 0x2, sdTop = 0x4, sdBottom = 0x8 };
Q_DECLARE_FLAGS(TTestSides, TTestSide)
Q_FLAG_NS(TTestSides)

} // namespace TestTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(TestTypes::TTestSides)

class TTestFrame : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(TestTypes::TTestSides Typ MEMBER typ)
    Q_PROPERTY(int Color MEMBER color)
    Q_PROPERTY(double Width MEMBER width)

public:
    TestTypes::TTestSides typ;
    int color = 0;
    double width = 1;
};

class TTestView : public TqvxReportComponent
{
    Q_OBJECT
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(ReportTypes::TqvxAlign Align MEMBER align)
    Q_PROPERTY(TestTypes::TTestShape Shape MEMBER shape)
    Q_PROPERTY(ReportTypes::TqvxRestrictions Restrictions READ Restrictions WRITE SetRestrictions)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(int Color MEMBER color)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(TTestFrame *Frame READ Frame)
    Q_PROPERTY(QString Hint MEMBER hint)
    Q_PROPERTY(TStrings *Lines READ Lines WRITE SetLines)
    Q_PROPERTY(TTestView *Next READ Next WRITE SetNext)
    Q_PROPERTY(Variant Value READ Value WRITE SetValue)
    Q_PROPERTY(QString OnBeforePrint READ OnBeforePrint WRITE SetOnBeforePrint)

public:
    explicit TTestView(TComponent *owner = nullptr);
    ~TTestView() override;

    TTestFrame *Frame() const { return frame; }
    TStrings *Lines() const { return lines; }
    void SetLines(TStrings *value) { lines->Assign(value); }
    Variant Value() const { return value; }
    void SetValue(const Variant &v) { value = v; }
    TTestView *Next() const { return next; }
    // Refuses a chain that comes back to this view.
    void SetNext(TTestView *value);

    TqvxAlign ViewAlign() const override { return align; }
    void Draw(TCanvas *, double, double, double, double) override {}
    void DefineProperties(TFiler &filer) override;
    void Loaded() override;

    TqvxAlign align = baNone;
    TestTypes::TTestShape shape = TestTypes::tsBox;
    int color = 0x1FFFFFFF;
    QString hint;
    Variant value;
    qint32 secret = 0;
    int loadedCount = 0;

private:
    TTestFrame *frame = new TTestFrame;
    TStringList *lines = new TStringList;
    TGuardedRef<TTestView> next{this};
};

// Keeps a list of variables as the nested element "Variables".
class TTestBand : public TTestView
{
    Q_OBJECT

public:
    explicit TTestBand(TComponent *owner = nullptr);

    void WriteNestedProperties(TqvxXMLItem *item) override;
    bool ReadNestedProperty(TqvxXMLItem *item) override;

    TqvxVariables variables;
};

// A view with a text of wide strings, written as Text.
class TTestMemo : public TTestView
{
    Q_OBJECT
    Q_PROPERTY(TWideStrings *Memo READ Memo WRITE SetMemo)

public:
    using TTestView::TTestView;

    TWideStrings *MemoText() const override { return memo.get(); }

    TWideStrings *Memo() const { return memo.get(); }
    void SetMemo(TWideStrings *value) { memo->Assign(value); }

private:
    std::unique_ptr<TWideStrings> memo = std::make_unique<TWideStrings>();
};

class TTestPage : public TTestView
{
    Q_OBJECT

public:
    explicit TTestPage(TComponent *owner = nullptr) : TTestView(owner) { AddKind(ckPage); }
};

class TTestReport : public TqvxComponent, public TqvxReportLink
{
    Q_OBJECT
    Q_PROPERTY(QString Title MEMBER title)

public:
    explicit TTestReport(TComponent *owner = nullptr);

    TStrings *Errors() const override { return errors.get(); }
    TqvxComponent *DoGetAncestor(const QString &name) override;
    TqvxCustomDataEvent OnGetCustomData() const override { return onGetCustomData; }
    TqvxCustomDataEvent OnSaveCustomData() const override { return onSaveCustomData; }
    TqvxXMLSerializer *CurrentSerializer() const override { return current; }
    void SetCurrentSerializer(TqvxXMLSerializer *serializer) override { current = serializer; }
    QRecursiveMutex *LoadLock() const override { return nullptr; }
    bool Terminated() const override { return terminated; }
    void SetTerminated(bool value) override { terminated = value; }
    // Progress calls are recorded as "start 1", "progress 1 3", "stop 1"
    // (the number of the progress type first).
    void DoProgressStart(TqvxProgressType type) override;
    void InternalOnProgress(TqvxProgressType type, int progress) override;
    void DoProgressStop(TqvxProgressType type) override;
    TqvxCustomPreview *Preview() const override { return preview; }

    QString title;
    std::unique_ptr<TStringList> errors = std::make_unique<TStringList>();
    TTestReport *parentReport = nullptr;
    TqvxCustomDataEvent onGetCustomData;
    TqvxCustomDataEvent onSaveCustomData;
    TqvxXMLSerializer *current = nullptr;
    bool terminated = false;
    QStringList progress;
    TqvxCustomPreview *preview = nullptr;
};

// Registers the classes above and declares their defaults; safe to call
// more than once.
void RegisterReportTestClasses();
