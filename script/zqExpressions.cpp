#include "script/zqExpressions.h"

#include "script/zqClasses.h"
#include "script/zqDesignators.h"
#include "script/zqMessages.h"
#include "script/zqScript.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/TextLimits.h"
#include "toolkit/core/VariantOps.h"

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
    return m_designator->GetValue();
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

Variant TzqOperatorNode::Value()
{
    using K = TzqOperatorKind;
    switch (Kind) {
    case K::None:
    case K::LeftBracket:
    case K::RightBracket: return Left ? Left->Value() : Variant();
    case K::Not: return VarNot(Left->Value());
    case K::UnMinus: return VarNeg(Left->Value());
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
    const Variant left = Left ? Left->Value() : Variant();
    switch (Kind) {
    case K::In: return Variant(isIn(left));
    case K::Is: return Variant(isInstance(left));
    default: break;
    }
    const Variant right = Right ? Right->Value() : Variant();
    switch (Kind) {
    case K::Great: return Variant(VarCompareValue(left, right) == vrGreaterThan);
    case K::Less: return Variant(VarCompareValue(left, right) == vrLessThan);
    case K::LessEq: return Variant(left <= right);
    case K::GreatEq: return Variant(left >= right);
    case K::NonEq: return Variant(VarCompareValue(left, right) != vrEqual);
    case K::Eq: return Variant(VarCompareValue(left, right) == vrEqual);
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
