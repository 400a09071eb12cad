#include "script/zqBasicScript.h"

#include "script/zqGrammarRules.h"
#include "script/zqLanguages.h"

namespace {

// The grammar document in pieces around the rules it shares with the other
// languages.
const char *const part1 = R"grammar(<?xml version="1.0"?>
<language text="BasicScript">
<parser>
<commentline1 text="'"/>
<commentline2 text="rem"/>
<commentblock1 text="/\,/\"/>
<commentblock2 text="/\,/\"/>
<stringquotes text="&#34;"/>
<hexsequence text="0x"/>
<declarevars text="0"/>
<skipeol text="0"/>
<skipchar text="_"/>
<keywords>
<addressof/>
<and/>
<as/>
<byref/>
<byval/>
<case/>
<catch/>
<delete/>
<dim/>
<do/>
<else/>
<elseif/>
<end/>
<endif/>
<exit/>
<finally/>
<for/>
<function/>
<if/>
<imports/>
<is/>
<loop/>
<mod/>
<new/>
<next/>
<not/>
<or/>
<rem/>
<return/>
<select/>
<set/>
<step/>
<sub/>
<then/>
<to/>
<try/>
<wend/>
<while/>
<with/>
<xor/>
</keywords>
<errors>
<err1 text="Identifier expected"/>
<err2 text="Expression expected"/>
<err3 text="End of line expected"/>
<err4 text="':' expected"/>
<err5 text="';' expected"/>
<err6 text="'.' expected"/>
<err7 text="')' expected"/>
<err8 text="']' expected"/>
<err9 text="'=' expected"/>
<err10 text="'TO' expected"/>
<err11 text="'END' expected"/>
<err12 text="'(' expected"/>
<err13 text="'THEN' expected"/>
<err14 text="'WHILE' expected"/>
<err15 text="'CASE' expected"/>
<err16 text="'SELECT' expected"/>
<err17 text="'FINALLY' or 'CATCH' expected"/>
<err18 text="'[' expected"/>
<err19 text="'..' expected"/>
<err20 text="'&#62;' expected"/>
<err21 text="'WEND' expected"/>
<err22 text="'NEXT' expected"/>
<err23 text="'WITH' expected"/>
<err24 text="'TRY' expected"/>
<err25 text="'SUB' expected"/>
<err26 text="'FUNCTION' expected"/>
<err27 text="'ELSE' expected"/>
<err28 text="'IF' expected"/>
</errors>
</parser>
<types>
<decimal type="extended"/>
</types>
<empty/>
<program>
<statements/>
</program>
<statements node="compoundstmt">
<optionalloop><statementlist/></optionalloop>
</statements>
<statementlist>
<optionalloop text=":"><statement/></optionalloop>
<eol/>
</statementlist>
<importstmt node="uses">
<keyword text="imports"/>
<loop text=","><string add="file" err="err1"/></loop>
</importstmt>
<dimstmt>
<keyword text="dim"/>
<loop text=","><vardecl/></loop>
</dimstmt>
<vardecl node="var">
<ident add="ident" err="err1"/>
<optional><array/></optional>
<optional><asclause/></optional>
<optional><initvalue/></optional>
</vardecl>
<asclause>
<keyword text="as"/>
<ident add="type" err="err1"/>
</asclause>
)grammar";

const char *const part2 = R"grammar(<addop>
<switch>
<char text="+" add="op"/>
<char text="-" add="op"/>
<char text="&#38;" add="op" addtext="strcat"/>
<keyword text="or" add="op"/>
<keyword text="xor" add="op"/>
</switch>
</addop>
<mulop>
<switch>
<char text="*" add="op"/>
<char text="/" add="op"/>
<char text="\" add="op" addtext="div"/>
<keyword text="mod" add="op"/>
<keyword text="and" add="op"/>
</switch>
</mulop>
)grammar";

const char *const part3 = R"grammar(<statement>
<switch>
<importstmt/>
<dimstmt/>
<setstmt/>
<ifstmt/>
<casestmt/>
<dostmt/>
<whilestmt/>
<forstmt/>
<trystmt/>
<withstmt/>
<procstmt/>
<funcstmt/>
<breakstmt/>
<exitstmt/>
<continuestmt/>
<returnstmt/>
<deletestmt/>
<assignstmt/>
<callstmt/>
</switch>
</statement>
<breakstmt>
<keyword text="exit"/>
<switch><keyword text="for" node="break"/><keyword text="do" node="break"/><keyword text="while" node="break"/></switch>
</breakstmt>
<continuestmt>
<keyword text="continue" node="continue"/>
</continuestmt>
<exitstmt>
<keyword text="exit" node="exit"/>
<optionalswitch><keyword text="sub"/><keyword text="function"/></optionalswitch>
</exitstmt>
)grammar";

const char *const part4 = R"grammar(<setstmt node="assignstmt">
<keyword text="set"/>
<designator err="err1"/>
<char text="=" err="err9"/>
<expression err="err2"/>
</setstmt>
)grammar";

const char *const part5 = R"grammar(<ifstmt node="ifstmt">
<keyword text="if"/>
<expression err="err2"/>
<keyword text="then" err="err13"/>
<switch>
<sequence>
<eol/>
<statements node="thenstmt"/>
<optionalswitch><elseifstmt node="elsestmt"/><elsestmt/></optionalswitch>
<switch err="err11"><sequence><keyword text="end"/><keyword text="if" err="err28"/></sequence><keyword text="endif"/></switch>
</sequence>
<sequence>
<thenstmt node="thenstmt"/>
<optional><keyword text="else"/><thenstmt node="elsestmt" err="err3"/></optional>
</sequence>
</switch>
</ifstmt>
<thenstmt>
<loop text=":"><statement/></loop>
</thenstmt>
<elseifstmt node="ifstmt">
<keyword text="elseif"/>
<expression err="err2"/>
<keyword text="then" err="err13"/>
<eol err="err3"/>
<statements node="thenstmt"/>
<optionalswitch><elseifstmt node="elsestmt"/><elsestmt/></optionalswitch>
</elseifstmt>
<elsestmt>
<keyword text="else"/>
<eol err="err3"/>
<statements node="elsestmt"/>
</elsestmt>
<casestmt node="casestmt">
<keyword text="select"/>
<keyword text="case" err="err15"/>
<expression err="err2"/>
<eol err="err3"/>
<optionalloop><caseselector/></optionalloop>
<optional><keyword text="case"/><keyword text="else"/><optional><char text=":"/></optional><statements/></optional>
<keyword text="end" err="err11"/>
<keyword text="select" err="err16"/>
</casestmt>
<caseselector node="caseselector">
<keyword text="case"/>
<setnode node="set"/>
<optional><char text=":"/></optional>
<statements/>
</caseselector>
<dostmt node="repeatstmt">
<keyword text="do"/>
<eol err="err3"/>
<statements/>
<keyword text="loop"/>
<switch err="err14">
<sequence><keyword text="until"/><expression err="err2"/></sequence>
<sequence><keyword text="while"/><expression err="err2"/><empty add="inverse"/></sequence>
</switch>
</dostmt>
<whilestmt node="whilestmt">
<keyword text="while"/>
<expression err="err2"/>
<eol err="err3"/>
<statements/>
<keyword text="wend" err="err21"/>
</whilestmt>
<forstmt node="vbforstmt">
<keyword text="for"/>
<ident add="ident" err="err1"/>
<char text="=" err="err9"/>
<expression err="err2"/>
<keyword text="to" err="err10"/>
<expression err="err2"/>
<optional><keyword text="step"/><expression err="err2"/></optional>
<eol err="err3"/>
<statements/>
<keyword text="next" err="err22"/>
<optional><ident/></optional>
</forstmt>
<trystmt node="trystmt">
<keyword text="try"/>
<eol err="err3"/>
<statements/>
<switch err="err17">
<sequence><keyword text="finally"/><eol err="err3"/><statements node="finallystmt"/></sequence>
<sequence><keyword text="catch"/><eol err="err3"/><statements node="exceptstmt"/></sequence>
</switch>
<keyword text="end" err="err11"/>
<keyword text="try" err="err24"/>
</trystmt>
<withstmt node="with">
<keyword text="with"/>
<designator err="err1"/>
<eol err="err3"/>
<statements/>
<keyword text="end" err="err11"/>
<keyword text="with" err="err23"/>
</withstmt>
<procstmt node="procedure">
<keyword text="sub"/>
<ident add="name" err="err1"/>
<optional><formalparameters/></optional>
<eol err="err3"/>
<statements/>
<keyword text="end" err="err11"/>
<keyword text="sub" err="err25"/>
<empty node="exit"/>
</procstmt>
<funcstmt node="function">
<keyword text="function"/>
<ident add="name" err="err1"/>
<optional><formalparameters/></optional>
<optional><asclause/></optional>
<eol err="err3"/>
<statements/>
<keyword text="end" err="err11"/>
<keyword text="function" err="err26"/>
<empty node="exit"/>
</funcstmt>
<formalparameters node="parameters">
<char text="("/>
<optionalloop text=","><optionalswitch><keyword text="byref" node="varparams"/><keyword text="byval"/></optionalswitch><formalparam node="var"/></optionalloop>
<char text=")" err="err7"/>
</formalparameters>
<formalparam>
<ident add="ident"/>
<optional><asclause/></optional>
<optional><initvalue/></optional>
</formalparam>
</language>
)grammar";

} // namespace

void RegisterBasicScript()
{
    using namespace zqGrammarRules;
    RegisterLanguage(QStringLiteral("BasicScript"),
                     QString::fromUtf8(part1)
                         + ArrayRules()
                         + ExpressionRules()
                         + FactorRule("<keyword text=\"not\" add=\"op\"/>", true)
                         + SetRules()
                         + NewOperatorRule()
                         + PascalRelopRule()
                         + QString::fromUtf8(part2)
                         + DesignatorRules("<keyword text=\"addressof\" add=\"addr\"/>")
                         + QString::fromUtf8(part3)
                         + DeleteRule()
                         + QString::fromUtf8(part4)
                         + AssignCallReturnRules()
                         + QString::fromUtf8(part5));
}
