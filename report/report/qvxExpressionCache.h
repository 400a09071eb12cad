#pragma once

// Compiled expressions of a report: every distinct expression text becomes a
// one-function script "qv3f<N>" in the report's script language, compiled
// once into the cache's own script and called on every later evaluation.
// The cache's script hangs below the script it evaluates for, so an
// expression sees the report's objects, variables and procedures.

#include "toolkit/core/Variants.h"

#include <QString>

#include <map>
#include <memory>

class TzqCustomVariable;
class TzqScript;

class TqvxExpressionCache
{
public:
    // mainScript (the report's script) is not owned.
    explicit TqvxExpressionCache(TzqScript *mainScript);
    ~TqvxExpressionCache();

    TqvxExpressionCache(const TqvxExpressionCache &) = delete;
    TqvxExpressionCache &operator=(const TqvxExpressionCache &) = delete;

    // Evaluates expression below script (nullptr: the main script).  On a
    // failure errorMsg says why and value is Null: a text that does not
    // compile gives "clExprError '<expression>': <compiler message>", a run
    // that raises gives the exception's message.
    void Calc(const QString &expression, QString &errorMsg, Variant &value, TzqScript *script = nullptr);
    // Forgets every compiled expression.
    void Clear();

    // "PascalScript", "C++Script", "BasicScript" or "JScript".
    QString ScriptLanguage() const { return m_scriptLanguage; }
    void SetScriptLanguage(const QString &value) { m_scriptLanguage = value; }
    int Count() const { return int(m_expressions.size()); }
    TzqScript *Script() const { return m_script.get(); }

    // The text of the wrapper function number index around expression;
    // empty for an unknown language.
    static QString WrapperText(const QString &language, int index, const QString &expression);

private:
    TzqCustomVariable *compile(const QString &expression, QString &errorMsg);

    TzqScript *m_mainScript;
    std::unique_ptr<TzqScript> m_script;
    QString m_scriptLanguage = QStringLiteral("PascalScript");
    // Texts compare case-sensitively: "a" and "A" may name different things
    // in a case-sensitive script language.
    std::map<QString, TzqCustomVariable *> m_expressions;
};
