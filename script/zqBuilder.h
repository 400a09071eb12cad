#pragma once

// The program builder: walks the intermediate program that the translator
// wrote and creates the run-time objects of the script: variables,
// constants, procedures with their local scripts, statements, designators
// and expressions.  Every name is resolved and every check made here; a
// failed check raises an exception with one of the engine's messages, and
// TzqILParser::BuildProgram turns it into the script's error fields.
//
// Intermediate programs that a host supplies for used units are not
// trusted: every element is checked, and a malformed one is "Invalid file
// format".

#include <QHash>
#include <QList>
#include <QString>
#include <memory>

#include "script/zqVariables.h"

class TzqDesignator;
class TzqParser;
class TzqExpression;
class TzqILParser;
class TzqScript;
class TzqSetExpression;
class TzqStatement;
class TzqXMLItem;

class TzqProgramBuilder
{
public:
    explicit TzqProgramBuilder(TzqILParser &parser);

    // Builds the parser's intermediate program into its script.
    void Build();
    // Builds a designator left unresolved at build time, now that the
    // values it depends on are known.
    std::unique_ptr<TzqDesignator> BuildRuntimeDesignator(TzqXMLItem *element);

private:
    // One name or index list of a designator as the translator wrote it.
    struct RawStep {
        QString name;
        bool index = false;
        QString pos;
        QList<TzqXMLItem *> args;
    };
    struct WithEntry {
        QString name;
        TzqCustomVariable *variable;
    };

    void buildProgram(TzqXMLItem *program, TzqStatement *list);
    void declareProcedures(TzqXMLItem *parent);
    TzqCustomVariable *declareProcedure(TzqXMLItem *element);
    void buildProcedure(TzqXMLItem *element);
    void buildParameters(TzqXMLItem *parameters, TzqCustomVariable *proc);

    void buildStatements(TzqXMLItem *parent, TzqStatement *list, int first = 0, int last = -1);
    void buildStatement(TzqXMLItem *element, TzqStatement *list);
    void buildUses(TzqXMLItem *element, TzqStatement *list);
    void buildVar(TzqXMLItem *element, TzqStatement *list);
    void buildVariable(const QString &name, const QString &typeName, TzqXMLItem *array, TzqXMLItem *init,
                       TzqStatement *list);
    void buildConst(TzqXMLItem *element);
    void buildAssignment(TzqXMLItem *element, TzqStatement *list);
    void buildCall(TzqXMLItem *element, TzqStatement *list);
    void buildIf(TzqXMLItem *element, TzqStatement *list);
    void buildCase(TzqXMLItem *element, TzqStatement *list);
    void buildFor(TzqXMLItem *element, TzqStatement *list, bool stepped);
    void buildCppFor(TzqXMLItem *element, TzqStatement *list);
    void buildWhile(TzqXMLItem *element, TzqStatement *list);
    void buildRepeat(TzqXMLItem *element, TzqStatement *list);
    void buildTry(TzqXMLItem *element, TzqStatement *list);
    void buildWith(TzqXMLItem *element, TzqStatement *list);
    void buildReturn(TzqXMLItem *element, TzqStatement *list);
    void buildDelete(TzqXMLItem *element, TzqStatement *list);
    template <class Statement>
    Statement *append(TzqXMLItem *element, TzqStatement *list);

    std::unique_ptr<TzqExpression> buildExpression(TzqXMLItem *element);
    void feedExpression(TzqExpression &expression, TzqXMLItem *element);
    void feedItem(TzqExpression &expression, TzqXMLItem *item, bool last);
    std::unique_ptr<TzqSetExpression> buildSet(TzqXMLItem *element);
    std::unique_ptr<TzqDesignator> buildDesignator(TzqXMLItem *element, bool isNew = false);
    // Resolves one step after the first by the type of the chain so far
    // (next: the index list that follows it, if any); the number of raw
    // steps used, 0 when the designator is left for run time.
    int resolveStep(TzqDesignator &designator, const RawStep &step, const RawStep *next, TzqXMLItem *element);
    void addStep(TzqDesignator &designator, TzqCustomVariable *ref, const RawStep &step);
    bool defer(TzqDesignator &designator, TzqXMLItem *element);
    // The value of the chain built so far, when it can be known now.
    bool currentValue(TzqDesignator &designator, Variant &value);
    Variant evaluate(TzqXMLItem *element);

    // Type name -> kind, through the aliases and the script's types.
    TzqVarType resolveType(QString &typeName);
    TzqCustomVariable *findOrDeclare(const QString &name);
    TzqCustomVariable *namedHelper(const QString &name);
    void checkAssignable(TzqVarType l, const QString &lName, TzqVarType r, const QString &rName);

    QString sourceText(const QString &pos, const QString &pos1);

    TzqILParser &m_parser;
    TzqScript *m_script;
    TzqXMLItem *m_programRoot = nullptr;
    QList<WithEntry> m_withList;
    // Line tables of the unit texts, for the source text of expressions.
    QHash<QString, std::shared_ptr<TzqParser>> m_lineTables;
    bool m_runtime = false;
    int m_depth = 0;
};
