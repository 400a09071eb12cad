#pragma once

// The translator: runs the rules of the selected language grammar over the
// tokenizer and writes the intermediate program, an XML document whose
// vocabulary is the same for every language.  Syntax errors never raise: the
// first one is kept with its message from the grammar and its "line:col", and
// written to the script's ErrorMsg and ErrorPos.

#include "script/zqParser.h"
#include "script/zqXML.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TzqScript;

class TzqILParser
{
public:
    explicit TzqILParser(TzqScript *program);
    ~TzqILParser();

    TzqILParser(const TzqILParser &) = delete;
    TzqILParser &operator=(const TzqILParser &) = delete;

    // Resets the tokenizer and applies the grammar of the language, which is
    // read once per registered text and kept.  Raises for an unregistered
    // language.
    void SelectLanguage(const QString &name);

    // Translates a whole text into ILScript.  A first line "#language Name"
    // selects that language for the text (line numbers still count it).
    // True when the text translated whole without error; ErrorMsg and
    // ErrorPos of the script are set either way, and nesting too deep to
    // translate is the error "Expression too complex".
    //
    // Each used unit is included once, translated by a nested translator in
    // the same language; its text comes from the script's OnGetUnit, else
    // from the first folder of IncludePath that has the file.  A unit name
    // must be a relative path that does not climb with "..".  An unknown,
    // refused or failing unit is the recorded error, and the script's
    // ErrorUnit names the innermost unit concerned.
    bool MakeIL(const QString &text);

    // Builds the intermediate program into the script (see TzqProgramBuilder).
    // Never raises: a failure sets the script's ErrorMsg, ErrorPos (the
    // element being built) and ErrorUnit.
    void BuildProgram();

    TzqXMLDocument *Grammar() const;
    TzqXMLDocument *ILScript() const { return m_ilScript.get(); }
    TzqParser *Parser() const { return m_parser.get(); }
    TzqScript *Program() const { return m_program; }
    const QString &Language() const { return m_language; }
    bool NeedDeclareVars() const { return m_needDeclareVars; }

    // "line:col" of the element the builder is working on.
    QString CurrentPos;
    // Name of the unit being translated; empty for the main text.
    QString UnitName;
    // Units already included, shared with the translations of used units.
    QStringList UsedUnits;
    // The source texts of the units translated, by name.
    QHash<QString, QString> UnitTexts;

private:
    struct GrammarItem;
    struct CompiledGrammar;

    static std::shared_ptr<const CompiledGrammar> compile(const QString &text);
    static GrammarItem *info(TzqXMLItem *item);
    TzqXMLItem *findRule(const QString &name) const;

    int startPosition(const QString &text);
    bool runItem(TzqXMLItem *item);
    bool matchItem(const GrammarItem &g, QString &token);
    bool runChildren(TzqXMLItem *item);
    bool runSwitch(TzqXMLItem *item, const GrammarItem &g, int entry);
    bool runOptional(TzqXMLItem *item, int entry);
    bool runLoop(TzqXMLItem *item, const GrammarItem &g, int entry);
    void emitQVString();

    void applyNode(const GrammarItem &g, int entry, int firstLine);
    void emitLeaf(const QString &name, const QString &text);
    void recordError(const GrammarItem &g, int entry);
    void setError(const QString &message, const QString &position);
    void abortWith(const QString &message, const QString &position);
    QString positionAfterBlanks(int position);

    void includeUnits(int firstLine);
    // The lines that stand for one used unit: its translated program inside
    // a uses element, or nothing when it was included before.
    QStringList MakeILUnit(const QString &name, const QString &position);
    bool readUnit(const QString &name, QString &text);
    void loadILScript();

    TzqScript *m_program;
    std::shared_ptr<const CompiledGrammar> m_compiled;
    std::unique_ptr<TzqXMLDocument> m_ilScript;
    std::unique_ptr<TzqParser> m_parser;
    QString m_language;
    bool m_needDeclareVars = true;
    TzqXMLItem *m_grammarRoot = nullptr;
    TzqXMLItem *m_errors = nullptr;

    QStringList m_lines;
    QString m_errorMsg;
    QString m_errorPos;
    bool m_errorTerm = false;
    bool m_aborted = false;
    int m_depth = 0;
    int m_furthest = 1;
};
