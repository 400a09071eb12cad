#pragma once

// Expression trees.
//
// The translator writes an expression as a flat, source-order run of
// operands and operators; TzqExpression builds the tree from it with one
// priority table shared by every language (smaller binds tighter):
//   NOT, unary minus                    1
//   *  /  DIV  MOD  AND  SHL  SHR        2
//   +  -  OR  XOR  STRCAT                3
//   comparisons, IN, IS                 4
// so AND binds like "*" and OR like "+", both tighter than the comparisons,
// and equal priorities associate to the left.  Types are inferred at build
// time against the compatibility matrix (zqTypesCompatible); evaluation works
// on variants, with AND and OR short-cut when both operands are Boolean.
// An operator whose operands are numbers (or of unknown type) computes
// Integer and Double operands inline and leaves every other kind, and every
// error, to the variant operators; so does one on two Booleans.

#include "script/zqVariables.h"

#include <QString>
#include <memory>

class TzqDesignator;
class TzqScript;
class TzqSetExpression;

// Whether a target of type l accepts a value of type r (assignments,
// arguments, loop bounds and the left operand of an operator).
bool zqTypesCompatible(const TzqScript *script, TzqVarType l, const QString &lName, TzqVarType r,
                       const QString &rName);

// Variant addition that refuses to make a text longer than scripts may hold
// (MaxTextLength), so that a script doubling a text cannot exhaust memory.
Variant zqAdd(const Variant &a, const Variant &b);

enum class TzqOperatorKind : quint8 {
    None, Great, Less, LessEq, GreatEq, NonEq, Eq, In, Is, Plus, StrCat, Minus, Or, Xor,
    Mul, DivFloat, DivInt, Mod, And, Shl, Shr, LeftBracket, RightBracket, Not, UnMinus,
};

class TzqExpressionNode
{
public:
    TzqExpressionNode() = default;
    virtual ~TzqExpressionNode();

    TzqExpressionNode(const TzqExpressionNode &) = delete;
    TzqExpressionNode &operator=(const TzqExpressionNode &) = delete;

    virtual Variant Value() = 0;
    // Value().AsBoolean(), without the variant where the node can.
    virtual bool Truth() { return Value().AsBoolean(); }
    virtual int Priority() const { return 0; }

    // Owned; a prefix operator uses Left.
    TzqExpressionNode *Left = nullptr;
    TzqExpressionNode *Right = nullptr;
    TzqExpressionNode *Parent = nullptr;
    QString SourcePos;
    TzqVarType Typ = fvtVariant;
    QString TypeName;
};

class TzqOperandNode : public TzqExpressionNode
{
public:
    // The kind follows the constant: Boolean, float, string, else integer.
    explicit TzqOperandNode(const Variant &constant);

    Variant Value() override { return m_constant; }

protected:
    TzqOperandNode() = default;

private:
    Variant m_constant;
};

class TzqDesignatorNode : public TzqOperandNode
{
public:
    explicit TzqDesignatorNode(std::unique_ptr<TzqDesignator> designator);
    ~TzqDesignatorNode() override;

    Variant Value() override;
    TzqDesignator *Designator() const { return m_designator.get(); }

private:
    std::unique_ptr<TzqDesignator> m_designator;
};

class TzqSetNode : public TzqOperandNode
{
public:
    explicit TzqSetNode(std::unique_ptr<TzqSetExpression> set);
    ~TzqSetNode() override;

    Variant Value() override;
    TzqSetExpression *Set() const { return m_set.get(); }

private:
    std::unique_ptr<TzqSetExpression> m_set;
};

class TzqOperatorNode : public TzqExpressionNode
{
public:
    explicit TzqOperatorNode(TzqOperatorKind kind);

    Variant Value() override { return m_value ? m_value(*this) : generalValue(); }
    bool Truth() override { return m_truth ? m_truth(*this) : generalTruth(); }
    int Priority() const override;
    // "TPlusNode", ... for diagnostics.
    QString ClassName() const;

    // How the operands are computed, from their types: numbers (or
    // unknown) try the inline Integer and Double road, two Booleans the
    // inline Boolean road, anything else goes to the variant operators.
    enum Roads : quint8 { VariantRoad, NumberRoad, BooleanRoad };

    TzqOperatorKind Kind;
    // Both operands are Boolean: AND and OR short-cut.
    bool Logical = false;
    Roads Road = VariantRoad;

    // The variant operator of Kind.
    Variant Binary(const Variant &left, const Variant &right) const;
    // Picks the evaluation made for Kind on Road (infer, once the road is
    // known).
    void ChooseEvaluation();

private:
    Variant generalValue();
    bool generalTruth();

    // Value and Truth made for one kind of operator on the inline roads;
    // nil for the general ones.
    Variant (*m_value)(TzqOperatorNode &node) = nullptr;
    bool (*m_truth)(TzqOperatorNode &node) = nullptr;

    bool isIn(const Variant &value);
    bool isInstance(const Variant &value) const;
};

// A binary operator applied to two values, as an operator node computes it:
// inline for Integer, Double and Boolean operands, else by the variant
// operator.
Variant zqApply(TzqOperatorKind kind, const Variant &left, const Variant &right);

// The operator a text names ("+", "div", "UNMINUS" ... ignoring case);
// false when the text names none.
bool zqOperatorKindOf(const QString &text, TzqOperatorKind &kind);

class TzqExpression final : public TzqCustomVariable
{
public:
    explicit TzqExpression(TzqScript *script);
    ~TzqExpression() override;

    void AddOperator(const QString &text, const QString &sourcePos);
    void AddConstOperand(const Variant &value, const QString &sourcePos);
    void AddDesignatorOperand(std::unique_ptr<TzqDesignator> designator, const QString &sourcePos);
    void AddSetOperand(std::unique_ptr<TzqSetExpression> set, const QString &sourcePos);

    // Completes the tree, infers the types and returns the position of the
    // first node with a type error (empty when none).  Raises "Expression
    // too complex" for a tree deeper than the evaluator allows.
    QString Finish();

    // The variable when the expression is one plain-variable designator,
    // else nil.
    TzqCustomVariable *SingleVariable() const;
    TzqDesignator *SingleDesignator() const;
    // The top node of the tree (after Finish).
    TzqExpressionNode *Root() const { return m_root; }

    // The source text of the expression (macro arguments).
    QString Source;

    Variant GetValue() override;
    // The value and its truth, without the virtual call of GetValue.
    Variant Evaluate() { return m_variable ? zqRead(m_variable) : m_root->Value(); }
    bool IsTrue() { return m_root->Truth(); }
    // Writes through the designator the expression consists of; nothing when
    // it is read-only.
    void SetValue(const Variant &value) override;

private:
    void addOperand(TzqExpressionNode *node, const QString &sourcePos);
    void attach(TzqExpressionNode *node, TzqExpressionNode *parent);
    void closeBracket();
    bool infer(TzqExpressionNode *node, QString &errorPos);

    TzqScript *m_script;
    TzqExpressionNode *m_root;
    // SingleVariable as Finish found it.
    TzqCustomVariable *m_variable = nullptr;
    TzqExpressionNode *m_current;
};
