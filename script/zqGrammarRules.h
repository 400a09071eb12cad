#pragma once

// Rules that several language grammars share, in the element language of the
// grammar documents.  Each language unit places them among its own rules in
// the order its document keeps.

#include <QString>

namespace zqGrammarRules {

// array, arraydim, initvalue: "[n, m]" dimensions (repeatable) and "= value".
QString ArrayRules();
// expression, simpleexpression, term: operands and operators in source order.
QString ExpressionRules();
// factor; negation is the item that reads the negation operator, and withNew
// adds the new operator.
QString FactorRule(const char *negation, bool withNew);
// setconstructor, setnode.
QString SetRules();
QString NewOperatorRule();
// relop of PascalScript and BasicScript.
QString PascalRelopRule();
// relop, addop, mulop of C++Script and JScript.
QString COperatorRules();
// designator and exprlist; addressOf is the item that reads the address-of
// marker.
QString DesignatorRules(const char *addressOf);
// deletestmt.
QString DeleteRule();
// assignstmt with compound assignments, callstmt with ++ and --, returnstmt.
QString AssignCallReturnRules();

} // namespace zqGrammarRules
