#include "script/zqGrammarRules.h"

namespace zqGrammarRules {

QString ArrayRules()
{
    return QString::fromUtf8(R"rules(<array node="array">
<loop><char text="["/><loop text=","><arraydim/></loop><char text="]" err="err8"/></loop>
</array>
<arraydim node="dim">
<expression err="err2"/>
</arraydim>
<initvalue node="init">
<char text="="/>
<expression err="err2"/>
</initvalue>
)rules");
}

QString ExpressionRules()
{
    return QString::fromUtf8(R"rules(<expression node="expr">
<simpleexpression/>
<optionalloop><relop/><simpleexpression err="err2"/></optionalloop>
</expression>
<simpleexpression>
<optional><char text="-" add="op" addtext="unminus"/></optional>
<term/>
<optionalloop><addop/><term err="err2"/></optionalloop>
</simpleexpression>
<term>
<factor/>
<optionalloop><mulop/><factor err="err2"/></optionalloop>
</term>
)rules");
}

QString FactorRule(const char *negation, bool withNew)
{
    return QString::fromUtf8(R"rules(<factor>
<switch>
<designator/>
<number add="number"/>
<string add="string"/>
<sequence><char text="(" add="op"/><expression err="err2"/><char text=")" add="op" err="err7"/></sequence>
<sequence>)rules") + QString::fromUtf8(negation)
           + QString::fromUtf8(R"rules(<factor err="err2"/></sequence>
<setconstructor/>
)rules") + (withNew ? QStringLiteral("<newoperator/>\n") : QString())
           + QString::fromUtf8(R"rules(<sequence><char text="&#60;"/><qvstring/><char text="&#62;" err="err20"/></sequence>
</switch>
</factor>
)rules");
}

QString SetRules()
{
    return QString::fromUtf8(R"rules(<setconstructor node="set">
<char text="["/>
<optional><setnode/></optional>
<char text="]" err="err8"/>
</setconstructor>
<setnode>
<loop text=","><expression/><optional><char text="."/><char text="." skip="0" add="range" err="err19"/><expression err="err2"/></optional></loop>
</setnode>
)rules");
}

QString NewOperatorRule()
{
    return QString::fromUtf8(R"rules(<newoperator node="new">
<keyword text="new"/>
<designator err="err1"/>
</newoperator>
)rules");
}

QString PascalRelopRule()
{
    return QString::fromUtf8(R"rules(<relop>
<switch>
<sequence><char text="&#62;"/><char text="=" skip="0" add="op" addtext="&#62;="/></sequence>
<sequence><char text="&#60;"/><char text="=" skip="0" add="op" addtext="&#60;="/></sequence>
<sequence><char text="&#60;"/><char text="&#62;" skip="0" add="op" addtext="&#60;&#62;"/></sequence>
<char text="&#62;" add="op"/>
<char text="&#60;" add="op"/>
<char text="=" add="op"/>
<keyword text="in" add="op"/>
<keyword text="is" add="op"/>
</switch>
</relop>
)rules");
}

QString COperatorRules()
{
    return QString::fromUtf8(R"rules(<relop>
<switch>
<sequence><char text="&#62;"/><char text="=" skip="0" add="op" addtext="&#62;="/></sequence>
<sequence><char text="&#60;"/><char text="=" skip="0" add="op" addtext="&#60;="/></sequence>
<sequence><char text="="/><char text="=" skip="0" add="op" addtext="="/></sequence>
<sequence><char text="!"/><char text="=" skip="0" add="op" addtext="&#60;&#62;"/></sequence>
<char text="&#62;" add="op"/>
<char text="&#60;" add="op"/>
<keyword text="in" add="op"/>
<keyword text="is" add="op"/>
</switch>
</relop>
<addop>
<switch>
<char text="+" add="op"/>
<char text="-" add="op"/>
<sequence><char text="|"/><char text="|" skip="0" add="op" addtext="or"/></sequence>
<char text="^" add="op" addtext="xor"/>
</switch>
</addop>
<mulop>
<switch>
<char text="*" add="op"/>
<char text="/" add="op"/>
<keyword text="div" add="op"/>
<char text="%" add="op" addtext="mod"/>
<sequence><char text="&#38;"/><char text="&#38;" skip="0" add="op" addtext="and"/></sequence>
<sequence><char text="&#60;"/><char text="&#60;" skip="0" add="op" addtext="shl"/></sequence>
<sequence><char text="&#62;"/><char text="&#62;" skip="0" add="op" addtext="shr"/></sequence>
</switch>
</mulop>
)rules");
}

QString DesignatorRules(const char *addressOf)
{
    return QString::fromUtf8(R"rules(<designator node="dsgn">
<optional>)rules") + QString::fromUtf8(addressOf) + QString::fromUtf8(R"rules(</optional>
<ident add="node"/>
<optionalloop>
<switch>
<sequence><char text="."/><keyword add="node" err="err1"/></sequence>
<sequence><char text="[" add="node"/><exprlist/><char text="]" err="err8"/></sequence>
<sequence><char text="("/><switch><char text=")"/><sequence><exprlist/><char text=")" err="err7"/></sequence></switch></sequence>
</switch>
</optionalloop>
</designator>
<exprlist>
<loop text=","><expression err="err2"/></loop>
</exprlist>
)rules");
}

QString DeleteRule()
{
    return QString::fromUtf8(R"rules(<deletestmt node="delete">
<keyword text="delete"/>
<designator err="err1"/>
</deletestmt>
)rules");
}

QString AssignCallReturnRules()
{
    return QString::fromUtf8(R"rules(<assignstmt node="assignstmt">
<designator/>
<switch>
<char text="="/>
<sequence><switch><char text="+" add="modificator"/><char text="-" add="modificator"/><char text="*" add="modificator"/><char text="/" add="modificator"/></switch><char text="=" skip="0"/></sequence>
</switch>
<expression err="err2"/>
</assignstmt>
<callstmt node="callstmt">
<designator/>
<optional>
<switch>
<sequence><char text="+"/><char text="+" skip="0" add="modificator"/></sequence>
<sequence><char text="-"/><char text="-" skip="0" add="modificator"/></sequence>
</switch>
</optional>
</callstmt>
<returnstmt node="return">
<keyword text="return"/>
<optional><expression/></optional>
</returnstmt>
)rules");
}

} // namespace zqGrammarRules
