#include "report/report/qvxExpressionCache.h"

#include "report/model/qvxResources.h"
#include "script/zqScript.h"
#include "script/zqVariables.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Exceptions.h"

namespace {

// Sets a flag for a scope and puts the old value back, also when an
// exception passes.
class FlagScope
{
public:
    FlagScope(bool &flag, bool value) : m_flag(flag), m_saved(flag) { m_flag = value; }
    ~FlagScope() { m_flag = m_saved; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
    bool m_saved;
};

QString functionName(int index)
{
    return QStringLiteral("qv3f") + QString::number(index);
}

} // namespace

TqvxExpressionCache::TqvxExpressionCache(TzqScript *mainScript)
    : m_mainScript(mainScript), m_script(std::make_unique<TzqScript>())
{
}

TqvxExpressionCache::~TqvxExpressionCache() = default;

QString TqvxExpressionCache::WrapperText(const QString &language, int index, const QString &expression)
{
    const QString name = functionName(index);
    if (language.compare(QLatin1String("PascalScript"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("function ") + name + QStringLiteral(": Variant; begin ") + QStringLiteral("Result := ") +
               expression + QStringLiteral(" end; begin end.");
    if (language.compare(QLatin1String("C++Script"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Variant ") + name + QStringLiteral("() { ") + QStringLiteral("return ") + expression +
               QStringLiteral("; } {}");
    if (language.compare(QLatin1String("BasicScript"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("function ") + name + QStringLiteral("\r\n") + QStringLiteral("return ") + expression +
               QStringLiteral("\r\n") + QStringLiteral("end function");
    if (language.compare(QLatin1String("JScript"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("function ") + name + QStringLiteral("() { ") + QStringLiteral("return ") + expression +
               QStringLiteral("; }");
    return QString();
}

TzqCustomVariable *TqvxExpressionCache::compile(const QString &expression, QString &errorMsg)
{
    const int index = Count();
    const QString text = WrapperText(m_scriptLanguage, index, expression);
    if (!text.isEmpty())
        m_script->Lines()->SetText(text);
    m_script->SetSyntaxType(m_scriptLanguage);
    const bool compiled = m_script->Compile();
    TzqCustomVariable *function = m_script->FindLocal(functionName(index));
    if (!compiled || !function) {
        if (function) {
            m_script->Remove(function);
            delete function;
        }
        errorMsg = qvxResources()->Get(QStringLiteral("clExprError")) + QStringLiteral(" '") + expression +
                   QStringLiteral("': ") + m_script->ErrorMsg;
        return nullptr;
    }
    m_expressions.emplace(expression, function);
    return function;
}

void TqvxExpressionCache::Calc(const QString &expression, QString &errorMsg, Variant &value, TzqScript *script)
{
    errorMsg.clear();
    value = Variant::Null();
    m_script->Parent = script ? script : m_mainScript;
    TzqCustomVariable *function = nullptr;
    if (auto found = m_expressions.find(expression); found != m_expressions.end())
        function = found->second;
    else
        function = compile(expression, errorMsg);
    if (!function)
        return;
    FlagScope notMain(m_mainScript->IsMainScript, false);
    try {
        value = function->GetValue();
    } catch (const std::exception &e) {
        errorMsg = QString::fromUtf8(e.what());
        value = Variant::Null();
    }
}

void TqvxExpressionCache::Clear()
{
    m_expressions.clear();
    m_script->Clear();
}
