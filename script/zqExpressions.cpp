#include "script/zqExpressions.h"

#include "script/zqClasses.h"
#include "script/zqDesignators.h"
#include "script/zqMessages.h"
#include "script/zqScript.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/TextLimits.h"
#include "toolkit/core/VariantOps.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

// Deeper trees are refused, so that evaluating one cannot exhaust the stack.
constexpr int maxTreeDepth = 2000;

struct OperatorInfo {
    const char *text;
    const char *className;
    int priority;
};

// By TzqOperatorKind.
constexpr OperatorInfo operators[] = {
    {"", "TNoneNode", 7},         {">", "TGreatNode", 4},       {"<", "TLessNode", 4},
    {"<=", "TLessEqNode", 4},     {">=", "TGreatEqNode", 4},    {"<>", "TNonEqNode", 4},
    {"=", "TEqNode", 4},          {"IN", "TInNode", 4},         {"IS", "TIsNode", 4},
    {"+", "TPlusNode", 3},        {"STRCAT", "TStrCatNode", 3}, {"-", "TMinusNode", 3},
    {"OR", "TOrNode", 3},         {"XOR", "TXorNode", 3},       {"*", "TMulNode", 2},
    {"/", "TDivFloatNode", 2},    {"DIV", "TDivIntNode", 2},    {"MOD", "TModNode", 2},
    {"AND", "TAndNode", 2},       {"SHL", "TShlNode", 2},       {"SHR", "TShrNode", 2},
    {"(", "TLeftBracketNode", 6}, {")", "TRightBracketNode", 5}, {"NOT", "TNotNode", 1},
    {"UNMINUS", "TUnMinusNode", 1},
};

const OperatorInfo &infoOf(TzqOperatorKind kind)
{
    return operators[int(kind)];
}

bool isComparison(TzqOperatorKind kind)
{
    return kind >= TzqOperatorKind::Great && kind <= TzqOperatorKind::Is;
}

bool isMarker(const Variant &value)
{
    return value.IsNull() || value.IsEmpty();
}

// Which operators a left operand of this kind allows.
bool allows(TzqVarType typ, TzqOperatorKind kind)
{
    using K = TzqOperatorKind;
    switch (typ) {
    case fvtBool:
        return kind == K::NonEq || kind == K::Eq || kind == K::Or || kind == K::Xor || kind == K::And
               || kind == K::Not;
    case fvtChar:
    case fvtString:
        return (isComparison(kind) && kind != K::Is) || kind == K::Plus || kind == K::StrCat;
    case fvtClass:
    case fvtArray: return kind == K::NonEq || kind == K::Eq;
    default: return true;
    }
}

bool isNumberType(TzqVarType typ)
{
    return typ == fvtInt || typ == fvtFloat || typ == fvtInt64 || typ == fvtEnum || typ == fvtVariant;
}

bool isInteger(const Variant &v)
{
    return v.Type() == varInteger;
}

bool isNumber(const Variant &v)
{
    return v.Type() == varInteger || v.Type() == varDouble;
}

double numberOf(const Variant &v)
{
    return v.Type() == varInteger ? double(v.AsInt64()) : v.AsDouble();
}

Variant integerResult(qint64 value)
{
    return value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max()
               ? Variant(int(value))
               : Variant(value);
}

// The result the variant operator gives for two Integer, two Boolean or an
// Integer and a Double operand, computed inline; false for other kinds and
// wherever the operator raises, which the variant road then does.
[[gnu::always_inline]] inline bool inlineResult(TzqOperatorKind kind, const Variant &a, const Variant &b, Variant &out)
{
    using K = TzqOperatorKind;
    if (isInteger(a) && isInteger(b)) {
        // Both fit 32 bits, so no 64-bit result overflows.
        const qint64 x = a.AsInt64();
        const qint64 y = b.AsInt64();
        switch (kind) {
        case K::Plus:
        case K::StrCat: out = integerResult(x + y); return true;
        case K::Minus: out = integerResult(x - y); return true;
        case K::Mul: out = integerResult(x * y); return true;
        case K::DivInt:
        case K::Mod:
            if (y == 0)
                return false;
            out = integerResult(kind == K::DivInt ? x / y : x % y);
            return true;
        case K::DivFloat:
            if (y == 0)
                return false;
            out = Variant(double(x) / double(y));
            return true;
        case K::And: out = integerResult(x & y); return true;
        case K::Or: out = integerResult(x | y); return true;
        case K::Xor: out = integerResult(x ^ y); return true;
        case K::Shl:
        case K::Shr: {
            const quint32 u = quint32(x);
            const int count = int(y & 31);
            out = Variant(int(qint32(kind == K::Shl ? u << count : u >> count)));
            return true;
        }
        default: return false;
        }
    }
    if (isNumber(a) && isNumber(b)) {
        const double x = numberOf(a);
        const double y = numberOf(b);
        double result = 0;
        switch (kind) {
        case K::Plus:
        case K::StrCat: result = x + y; break;
        case K::Minus: result = x - y; break;
        case K::Mul: result = x * y; break;
        case K::DivFloat:
            if (y == 0)
                return false;
            result = x / y;
            break;
        default: return false;
        }
        if (std::isinf(result))
            return false;
        out = Variant(result);
        return true;
    }
    if (a.Type() == varBoolean && b.Type() == varBoolean) {
        const bool x = a.AsBoolean();
        const bool y = b.AsBoolean();
        switch (kind) {
        case K::And: out = Variant(x && y); return true;
        case K::Or: out = Variant(x || y); return true;
        case K::Xor: out = Variant(x != y); return true;
        default: return false;
        }
    }
    return false;
}

template <class T>
TVariantRelationship order(T x, T y)
{
    return x < y ? vrLessThan : y < x ? vrGreaterThan : vrEqual;
}

// VarCompareValue, inline for two Integer, two Boolean or an Integer and a
// Double operand.
[[gnu::always_inline]] inline TVariantRelationship relation(const Variant &a, const Variant &b)
{
    if (isInteger(a) && isInteger(b))
        return order(a.AsInt64(), b.AsInt64());
    if (isNumber(a) && isNumber(b)) {
        const double x = numberOf(a);
        const double y = numberOf(b);
        return std::isnan(x) || std::isnan(y) ? vrNotEqual : order(x, y);
    }
    if (a.Type() == varBoolean && b.Type() == varBoolean)
        return order(a.AsBoolean(), b.AsBoolean());
    return VarCompareValue(a, b);
}

[[gnu::always_inline]] inline bool holds(TzqOperatorKind kind, TVariantRelationship r)
{
    using K = TzqOperatorKind;
    switch (kind) {
    case K::Great: return r == vrGreaterThan;
    case K::Less: return r == vrLessThan;
    case K::LessEq: return r == vrLessThan || r == vrEqual;
    case K::GreatEq: return r == vrGreaterThan || r == vrEqual;
    case K::NonEq: return r != vrEqual;
    default: return r == vrEqual;
    }
}

Variant valueOf(TzqExpressionNode *node)
{
    return node ? node->Value() : Variant();
}

// The variant operator of a binary kind; kept out of line, off the inline
// roads.
[[gnu::noinline]] Variant variantOperator(TzqOperatorKind kind, const Variant &left, const Variant &right)
{
    using K = TzqOperatorKind;
    switch (kind) {
    case K::Plus: return zqAdd(left, right);
    case K::StrCat:
        if (VarType(left) == varString)
            return zqAdd(left, Variant(VarToStr(right)));
        return zqAdd(left, right);
    case K::Minus: return VarSub(left, right);
    case K::Or: return VarOr(left, right);
    case K::Xor: return VarXor(left, right);
    case K::Mul: return VarMul(left, right);
    case K::DivFloat: return VarDivide(left, right);
    case K::DivInt: return VarIntDiv(left, right);
    case K::Mod: return VarMod(left, right);
    case K::And: return VarAnd(left, right);
    case K::Shl: return VarShl(left, right);
    case K::Shr: return VarShr(left, right);
    default: return Variant();
    }
}

// Evaluations made for one operator kind, so that no switch on the kind is
// left at run time.
template <TzqOperatorKind kind>
Variant arithmeticValue(TzqOperatorNode &node)
{
    const Variant left = valueOf(node.Left);
    const Variant right = valueOf(node.Right);
    Variant result;
    if (inlineResult(kind, left, right, result))
        return result;
    return node.Binary(left, right);
}

template <TzqOperatorKind kind>
bool comparisonTruth(TzqOperatorNode &node)
{
    const Variant left = valueOf(node.Left);
    return holds(kind, relation(left, valueOf(node.Right)));
}

template <TzqOperatorKind kind>
Variant comparisonValue(TzqOperatorNode &node)
{
    return Variant(comparisonTruth<kind>(node));
}

} // namespace

bool zqTypesCompatible(const TzqScript *script, TzqVarType l, const QString &lName, TzqVarType r,
                       const QString &rName)
{
    if (r == fvtVariant || l == fvtVariant)
        return true;
    switch (l) {
    case fvtInt:
    case fvtInt64: return r == fvtInt || r == fvtFloat || r == fvtEnum || r == fvtInt64;
    case fvtBool: return r == fvtBool;
    case fvtFloat: return r == fvtInt || r == fvtFloat || r == fvtInt64;
    case fvtChar:
    case fvtString: return r == fvtChar || r == fvtString;
    case fvtClass: return r == fvtClass && zqClassDescendsFrom(script, rName, lName);
    case fvtArray: return r == fvtArray;
    case fvtEnum:
        return r == fvtInt || r == fvtInt64 || (r == fvtEnum && lName.compare(rName, Qt::CaseInsensitive) == 0);
    default: return false;
    }
}

Variant zqAdd(const Variant &a, const Variant &b)
{
    if (VarIsStr(a) && VarIsStr(b))
        CheckTextLength(a.AsString().size() + b.AsString().size());
    return VarAdd(a, b);
}

Variant zqApply(TzqOperatorKind kind, const Variant &left, const Variant &right)
{
    Variant result;
    if (inlineResult(kind, left, right, result))
        return result;
    return variantOperator(kind, left, right);
}

bool zqOperatorKindOf(const QString &text, TzqOperatorKind &kind)
{
    const QByteArray upper = text.toUpper().toLatin1();
    for (int i = 1; i < int(std::size(operators)); ++i) {
        if (upper == operators[i].text) {
            kind = TzqOperatorKind(i);
            return true;
        }
    }
    return false;
}

TzqExpressionNode::~TzqExpressionNode()
{
    delete Left;
    delete Right;
}

TzqOperandNode::TzqOperandNode(const Variant &constant) : m_constant(constant)
{
    switch (VarKindOf(VarType(constant))) {
    case VarKind::Boolean: Typ = fvtBool; break;
    case VarKind::Currency: Typ = fvtFloat; break;
    case VarKind::Float: Typ = VarType(constant) == varDate ? fvtInt : fvtFloat; break;
    case VarKind::String: Typ = fvtString; break;
    default: Typ = fvtInt; break;
    }
}

TzqDesignatorNode::TzqDesignatorNode(std::unique_ptr<TzqDesignator> designator)
    : m_designator(std::move(designator))
{
    Typ = m_designator->Typ;
    TypeName = m_designator->TypeName;
}

TzqDesignatorNode::~TzqDesignatorNode() = default;

Variant TzqDesignatorNode::Value()
{
    return m_designator->Read();
}

TzqSetNode::TzqSetNode(std::unique_ptr<TzqSetExpression> set) : m_set(std::move(set))
{
    Typ = fvtVariant;
}

TzqSetNode::~TzqSetNode() = default;

Variant TzqSetNode::Value()
{
    return m_set->GetValue();
}

TzqOperatorNode::TzqOperatorNode(TzqOperatorKind kind) : Kind(kind)
{
}

int TzqOperatorNode::Priority() const
{
    return infoOf(Kind).priority;
}

QString TzqOperatorNode::ClassName() const
{
    return QString::fromLatin1(infoOf(Kind).className);
}

bool TzqOperatorNode::isIn(const Variant &value)
{
    if (auto *set = dynamic_cast<TzqSetNode *>(Right))
        return set->Set()->Check(value);
    const Variant array = Right ? Right->Value() : Variant();
    if (!VarIsArray(array) || VarArrayDimCount(array) != 1)
        return false;
    const int low = VarArrayLowBound(array, 1);
    const int high = VarArrayHighBound(array, 1);
    for (int i = low; i <= high; ++i) {
        const Variant element = array.GetElement({i});
        if (isMarker(element) && i > low && i < high) {
            if (array.GetElement({i - 1}) <= value && value <= array.GetElement({i + 1}))
                return true;
        } else if (element == value) {
            return true;
        }
    }
    return false;
}

bool TzqOperatorNode::isInstance(const Variant &value) const
{
    auto *node = dynamic_cast<TzqDesignatorNode *>(Right);
    if (!node || node->Designator()->Steps.empty())
        return false;
    auto *cls = dynamic_cast<TzqClassVariable *>(node->Designator()->Steps.front().Ref);
    TObject *object = zqObjectOf(value);
    return cls && object && object->InheritsFrom(cls->ClassRef);
}

void TzqOperatorNode::ChooseEvaluation()
{
    using K = TzqOperatorKind;
    m_value = nullptr;
    m_truth = nullptr;
    if (Road == VariantRoad || !Left || !Right)
        return;
    switch (Kind) {
    case K::Great: m_value = comparisonValue<K::Great>; m_truth = comparisonTruth<K::Great>; break;
    case K::Less: m_value = comparisonValue<K::Less>; m_truth = comparisonTruth<K::Less>; break;
    case K::LessEq: m_value = comparisonValue<K::LessEq>; m_truth = comparisonTruth<K::LessEq>; break;
    case K::GreatEq: m_value = comparisonValue<K::GreatEq>; m_truth = comparisonTruth<K::GreatEq>; break;
    case K::NonEq: m_value = comparisonValue<K::NonEq>; m_truth = comparisonTruth<K::NonEq>; break;
    case K::Eq: m_value = comparisonValue<K::Eq>; m_truth = comparisonTruth<K::Eq>; break;
    case K::Plus: m_value = arithmeticValue<K::Plus>; break;
    case K::Minus: m_value = arithmeticValue<K::Minus>; break;
    case K::Mul: m_value = arithmeticValue<K::Mul>; break;
    case K::DivFloat: m_value = arithmeticValue<K::DivFloat>; break;
    case K::DivInt: m_value = arithmeticValue<K::DivInt>; break;
    case K::Mod: m_value = arithmeticValue<K::Mod>; break;
    case K::Shl: m_value = arithmeticValue<K::Shl>; break;
    case K::Shr: m_value = arithmeticValue<K::Shr>; break;
    case K::Xor: m_value = arithmeticValue<K::Xor>; break;
    case K::And:
        if (!Logical)
            m_value = arithmeticValue<K::And>;
        break;
    case K::Or:
        if (!Logical)
            m_value = arithmeticValue<K::Or>;
        break;
    default: break;
    }
}

Variant TzqOperatorNode::generalValue()
{
    using K = TzqOperatorKind;
    switch (Kind) {
    case K::None:
    case K::LeftBracket:
    case K::RightBracket: return valueOf(Left);
    case K::Not: {
        const Variant operand = Left->Value();
        if (operand.Type() == varBoolean)
            return Variant(!operand.AsBoolean());
        return VarNot(operand);
    }
    case K::UnMinus: {
        const Variant operand = Left->Value();
        if (isInteger(operand))
            return integerResult(-operand.AsInt64());
        if (operand.Type() == varDouble)
            return Variant(-operand.AsDouble());
        return VarNeg(operand);
    }
    case K::And:
    case K::Or:
        if (Logical) {
            Variant left = Left->Value();
            if (left.AsBoolean() == (Kind == K::Or))
                return left;
            return Right->Value();
        }
        break;
    default: break;
    }
    const Variant left = valueOf(Left);
    switch (Kind) {
    case K::In: return Variant(isIn(left));
    case K::Is: return Variant(isInstance(left));
    default: break;
    }
    const Variant right = valueOf(Right);
    if (isComparison(Kind))
        return Variant(holds(Kind, Road == VariantRoad ? VarCompareValue(left, right) : relation(left, right)));
    if (Road != VariantRoad) {
        Variant result;
        if (inlineResult(Kind, left, right, result))
            return result;
    }
    return Binary(left, right);
}

bool TzqOperatorNode::generalTruth()
{
    using K = TzqOperatorKind;
    if (Road != VariantRoad && isComparison(Kind) && Kind != K::In && Kind != K::Is) {
        const Variant left = valueOf(Left);
        return holds(Kind, relation(left, valueOf(Right)));
    }
    if (Logical && (Kind == K::And || Kind == K::Or)) {
        const bool left = Left->Truth();
        if (left == (Kind == K::Or))
            return left;
        return Right->Truth();
    }
    return Value().AsBoolean();
}

Variant TzqOperatorNode::Binary(const Variant &left, const Variant &right) const
{
    return variantOperator(Kind, left, right);
}

TzqExpression::TzqExpression(TzqScript *script)
    : TzqCustomVariable(QString(), fvtVariant, QString()),
      m_script(script),
      m_root(new TzqOperatorNode(TzqOperatorKind::None)),
      m_current(m_root)
{
}

TzqExpression::~TzqExpression()
{
    // Freed without recursion: a long chain of operators makes a deep tree.
    std::vector<TzqExpressionNode *> pending{m_root};
    while (!pending.empty()) {
        TzqExpressionNode *node = pending.back();
        pending.pop_back();
        if (!node)
            continue;
        pending.push_back(node->Left);
        pending.push_back(node->Right);
        node->Left = node->Right = nullptr;
        delete node;
    }
}

void TzqExpression::attach(TzqExpressionNode *node, TzqExpressionNode *parent)
{
    if (!parent->Left)
        parent->Left = node;
    else
        parent->Right = node;
    node->Parent = parent;
}

void TzqExpression::addOperand(TzqExpressionNode *node, const QString &sourcePos)
{
    node->SourcePos = sourcePos;
    attach(node, m_current);
    m_current = node;
}

void TzqExpression::AddConstOperand(const Variant &value, const QString &sourcePos)
{
    addOperand(new TzqOperandNode(value), sourcePos);
}

void TzqExpression::AddDesignatorOperand(std::unique_ptr<TzqDesignator> designator, const QString &sourcePos)
{
    addOperand(new TzqDesignatorNode(std::move(designator)), sourcePos);
}

void TzqExpression::AddSetOperand(std::unique_ptr<TzqSetExpression> set, const QString &sourcePos)
{
    addOperand(new TzqSetNode(std::move(set)), sourcePos);
}

void TzqExpression::closeBracket()
{
    TzqExpressionNode *node = m_current;
    while (node && node->Priority() <= 5)
        node = node->Parent;
    if (!node || node == m_root)
        return; // no "(" to close
    TzqExpressionNode *inner = node->Left;
    TzqExpressionNode *parent = node->Parent;
    (parent->Left == node ? parent->Left : parent->Right) = inner;
    if (inner)
        inner->Parent = parent;
    node->Left = nullptr;
    delete node;
    m_current = inner ? inner : parent;
}

void TzqExpression::AddOperator(const QString &text, const QString &sourcePos)
{
    TzqOperatorKind kind;
    if (!zqOperatorKindOf(text, kind))
        return;
    if (kind == TzqOperatorKind::RightBracket) {
        closeBracket();
        return;
    }
    auto *op = new TzqOperatorNode(kind);
    op->SourcePos = sourcePos;
    const bool prefix = kind == TzqOperatorKind::LeftBracket || kind == TzqOperatorKind::UnMinus
                        || kind == TzqOperatorKind::Not;
    const bool openBracket = dynamic_cast<TzqOperatorNode *>(m_current)
                             && static_cast<TzqOperatorNode *>(m_current)->Kind == TzqOperatorKind::LeftBracket
                             && !m_current->Left;
    if (prefix || m_current == m_root || openBracket) {
        attach(op, m_current);
        m_current = op;
        return;
    }
    TzqExpressionNode *node = m_current;
    while (node->Parent && node->Parent->Priority() <= op->Priority())
        node = node->Parent;
    TzqExpressionNode *parent = node->Parent;
    (parent->Left == node ? parent->Left : parent->Right) = op;
    op->Parent = parent;
    op->Left = node;
    node->Parent = op;
    m_current = op;
}

bool TzqExpression::infer(TzqExpressionNode *node, QString &errorPos)
{
    auto *op = dynamic_cast<TzqOperatorNode *>(node);
    if (!op)
        return true;
    bool ok = true;
    if (node->Left)
        ok = infer(node->Left, errorPos) && ok;
    if (node->Right)
        ok = infer(node->Right, errorPos) && ok;
    const TzqVarType l = node->Left ? node->Left->Typ : fvtVariant;
    const TzqVarType r = node->Right ? node->Right->Typ : fvtVariant;
    const QString lName = node->Left ? node->Left->TypeName : QString();
    const QString rName = node->Right ? node->Right->TypeName : QString();
    using K = TzqOperatorKind;
    if (op->Kind == K::None || op->Kind == K::LeftBracket) {
        node->Typ = l;
        node->TypeName = lName;
        return ok;
    }
    op->Logical = l == fvtBool && r == fvtBool;
    if (op->Logical || (l == fvtBool && !node->Right))
        op->Road = TzqOperatorNode::BooleanRoad;
    else if (isNumberType(l) && isNumberType(r))
        op->Road = TzqOperatorNode::NumberRoad;
    op->ChooseEvaluation();
    const bool valid = (op->Kind == K::Is && l == fvtClass && r == fvtClass)
                       || (zqTypesCompatible(m_script, l, lName, r, rName) && allows(l, op->Kind));
    if (!valid) {
        if (errorPos.isEmpty())
            errorPos = node->SourcePos;
        return false;
    }
    node->Typ = l;
    node->TypeName = lName;
    if ((l == fvtInt && r == fvtFloat) || (l == fvtFloat && r == fvtInt) || op->Kind == K::DivFloat)
        node->Typ = l == fvtVariant ? fvtVariant : fvtFloat;
    if (isComparison(op->Kind)) {
        node->Typ = fvtBool;
        node->TypeName.clear();
    }
    return ok;
}

QString TzqExpression::Finish()
{
    std::vector<std::pair<TzqExpressionNode *, int>> pending{{m_root, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (depth > maxTreeDepth)
            throw Exception(STooComplex);
        if (node->Left)
            pending.push_back({node->Left, depth + 1});
        if (node->Right)
            pending.push_back({node->Right, depth + 1});
    }
    if (m_root->Left && !m_root->Right) {
        TzqExpressionNode *placeholder = m_root;
        m_root = placeholder->Left;
        m_root->Parent = nullptr;
        placeholder->Left = nullptr;
        delete placeholder;
    }
    m_current = m_root;
    QString errorPos;
    infer(m_root, errorPos);
    Typ = m_root->Typ;
    TypeName = m_root->TypeName;
    TzqDesignator *designator = SingleDesignator();
    IsReadOnly = !designator || designator->IsReadOnly;
    return errorPos;
}

TzqDesignator *TzqExpression::SingleDesignator() const
{
    auto *node = dynamic_cast<TzqDesignatorNode *>(m_root);
    return node ? node->Designator() : nullptr;
}

TzqCustomVariable *TzqExpression::SingleVariable() const
{
    TzqDesignator *designator = SingleDesignator();
    if (!designator || designator->Kind != TzqDesignator::SingleVariable || designator->Deferred)
        return nullptr;
    return designator->RefItem;
}

Variant TzqExpression::GetValue()
{
    return m_root->Value();
}

void TzqExpression::SetValue(const Variant &value)
{
    if (IsReadOnly)
        return;
    if (TzqDesignator *designator = SingleDesignator())
        designator->SetValue(value);
}
