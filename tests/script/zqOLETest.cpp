// Late-bound calls on an automation object of a class registered for the
// test: names, reversed arguments, flags, the put argument, errors.

#include "ScriptTestSupport.h"

#include "script/zqOLE.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/VariantOps.h"

namespace {

// Members: Value (a property), Sum (a method of any arity), Child (an object
// property put by reference).
class FakeAutomation : public TzqDispatch
{
public:
    HRESULT GetIDsOfNames(const QString &name, qint32 &dispId) override
    {
        const qsizetype index = names.indexOf(name.toUpper());
        if (index < 0)
            return DISP_E_UNKNOWNNAME;
        dispId = qint32(index) + 1;
        return S_OK;
    }

    HRESULT Invoke(qint32 dispId, quint16 flags, const TzqDispParams &params, Variant *result,
                   TzqExcepInfo &info) override
    {
        calls << QStringLiteral("%1/%2/%3").arg(names[dispId - 1]).arg(flags).arg(params.Args.size());
        lastArgs = params.Args;
        lastNamed = params.NamedArgs;
        switch (dispId) {
        case 1:
            if (flags & DISPATCH_PROPERTYPUT)
                value = params.Args.front();
            else if (result)
                *result = value;
            return S_OK;
        case 2: {
            Variant sum(0);
            for (const Variant &arg : params.Args)
                sum = sum * Variant(10) + arg;
            if (result)
                *result = sum;
            return S_OK;
        }
        case 3: return S_OK;
        default:
            info.Source = QStringLiteral("Fake");
            info.Description = QStringLiteral("It failed");
            return DISP_E_EXCEPTION;
        }
    }

    const QStringList names{QStringLiteral("VALUE"), QStringLiteral("SUM"), QStringLiteral("CHILD"),
                            QStringLiteral("FAIL")};
    QStringList calls;
    QList<Variant> lastArgs;
    QList<qint32> lastNamed;
    Variant value;
};

class OleScript : public ScriptRunner
{
public:
    OleScript()
    {
        RegisterOleClass(QStringLiteral("Fake.Application"), [this] { return made.emplace_back(new FakeAutomation).get(); });
        script.AddMethod(QStringLiteral("function CreateOleObject(ClassName: String): Variant"),
                         [](TObject *, TClass, const QString &, TzqMethodHelper *caller) {
                             return Variant(CreateOleObject(caller->GetParams(0).AsString())->Handle());
                         });
    }
    ~OleScript() { UnregisterOleClass(QStringLiteral("Fake.Application")); }

    std::vector<std::unique_ptr<FakeAutomation>> made;
};

TEST(zqOLE, LateBoundReadsWritesAndCalls)
{
    OleScript r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var app, other, sum: Variant;
begin
  app := CreateOleObject('Fake.Application');
  other := CreateOleObject('fake.application');
  app.Value := 5;
  sum := app.Sum(1, 2, 3) + app.Value;
  app.Sum(7);
  app.Child := other
end.
)")));
    ASSERT_EQ(r.made.size(), 2u);
    FakeAutomation &app = *r.made[0];
    EXPECT_EQ(app.calls, QStringList({QStringLiteral("VALUE/4/1"), QStringLiteral("SUM/3/3"), QStringLiteral("VALUE/3/0"),
                                      QStringLiteral("SUM/1/1"), QStringLiteral("CHILD/8/1")}));
    EXPECT_EQ(r.Int(QStringLiteral("sum")), 321 + 5) << "the arguments arrive last first";
    EXPECT_EQ(app.lastNamed, QList<qint32>({DISPID_PROPERTYPUT}));
}

TEST(zqOLE, FailuresNameTheCodeMemberAndDetails)
{
    OleScript r;
    ASSERT_TRUE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral(R"(
var app: Variant;
procedure Unknown; begin app.Nothing := 1 end;
procedure Fails; begin app.Fail end;
procedure NoClass; begin app := CreateOleObject('No.Such') end;
begin
  app := CreateOleObject('Fake.Application')
end.
)")));
    r.script.Execute();
    EXPECT_EQ(r.Raised(QStringLiteral("Unknown")), QStringLiteral("OLE error 80020006: Nothing: Unknown name"));
    EXPECT_EQ(r.Raised(QStringLiteral("Fails")), QStringLiteral("OLE error 80020009: Fail: Exception occurred\r\n"
                                                                "Source        ::  Fake\r\n"
                                                                "Description ::  It failed"));
    EXPECT_EQ(r.Raised(QStringLiteral("NoClass")), QStringLiteral("OLE error 800401F3: No.Such: Invalid class string"));
    EXPECT_THROW(r.script.CallFunction(QStringLiteral("Fails"), Variant()), EOleError);
}

TEST(zqOLE, MoreThan64ArgumentsAreRefused)
{
    FakeAutomation object;
    const QList<Variant> arguments(MaxDispatchArgs + 1, Variant(0));
    EXPECT_THROW(DispatchInvoke(&object, QStringLiteral("Sum"), DISPATCH_METHOD, arguments, true), EOleError);
    EXPECT_TRUE(object.calls.isEmpty());
    DispatchInvoke(&object, QStringLiteral("Sum"), DISPATCH_METHOD, arguments.mid(1), true);
    EXPECT_EQ(object.calls, QStringList({QStringLiteral("SUM/3/64")}));
}

} // namespace
