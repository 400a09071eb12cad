#include "script/zqJScript.h"

#include "script/zqGrammarRules.h"
#include "script/zqLanguages.h"

namespace {

// The grammar document in pieces around the rules it shares with the other
// languages.
const char *const part1 = R"grammar(<?xml version="1.0"?>
<language text="JScript">
<parser>
<commentline1 text="//"/>
<commentblock1 text="/*,*/"/>
<commentblock2 text="/*,*/"/>
<stringquotes text="&#34;"/>
<hexsequence text="0x"/>
<specstrchar text="1"/>
<declarevars text="0"/>
<keywords>
<break/>
<case/>
<continue/>
<default/>
<delete/>
<do/>
<else/>
<except/>
<finally/>
<for/>
<function/>
<import/>
<in/>
<is/>
<if/>
<new/>
<return/>
<switch/>
<try/>
<var/>
<while/>
<with/>
</keywords>
<errors>
<err1 text="Identifier expected"/>
<err2 text="Expression expected"/>
<err3 text="Statement expected"/>
<err4 text="':' expected"/>
<err5 text="';' expected"/>
<err6 text="'.' expected"/>
<err7 text="')' expected"/>
<err8 text="']' expected"/>
<err9 text="'=' expected"/>
<err10 text="'{' expected"/>
<err11 text="'}' expected"/>
<err12 text="'(' expected"/>
<err14 text="'WHILE' expected"/>
<err17 text="'FINALLY' or 'EXCEPT' expected"/>
<err18 text="'[' expected"/>
<err19 text="'..' expected"/>
<err20 text="'&#62;' expected"/>
</errors>
</parser>
<types/>
<empty/>
<program>
<statements/>
</program>
<statements node="compoundstmt">
<optionalloop><statement/></optionalloop>
</statements>
<block>
<char text="{"/>
<statements/>
<char text="}" err="err11"/>
</block>
<importstmt node="uses">
<keyword text="import"/>
<loop text=","><string add="file" err="err1"/></loop>
</importstmt>
<varstmt>
<keyword text="var"/>
<loop text=","><vardecl/></loop>
</varstmt>
<vardecl node="var">
<ident add="ident" err="err1"/>
<optional><array/></optional>
<optional><initvalue/></optional>
</vardecl>
)grammar";

const char *const part2 = R"grammar(<statement>
<switch>
<block/>
<importstmt/>
<varstmt/>
<functionstmt/>
<ifstmt/>
<switchstmt/>
<dowhilestmt/>
<whilestmt/>
<forstmt/>
<trystmt/>
<withstmt/>
<breakstmt/>
<continuestmt/>
<returnstmt/>
<deletestmt/>
<assignstmt/>
<callstmt/>
<char text=";"/>
</switch>
<optional><char text=";"/></optional>
</statement>
<breakstmt>
<keyword text="break" node="break"/>
</breakstmt>
<continuestmt>
<keyword text="continue" node="continue"/>
</continuestmt>
)grammar";

const char *const part3 = R"grammar(<ifstmt node="ifstmt">
<keyword text="if"/>
<char text="(" err="err12"/>
<expression err="err2"/>
<char text=")" err="err7"/>
<statement node="thenstmt" err="err3"/>
<optional><keyword text="else"/><statement node="elsestmt" err="err3"/></optional>
</ifstmt>
<switchstmt node="casestmt">
<keyword text="switch"/>
<char text="(" err="err12"/>
<expression err="err2"/>
<char text=")" err="err7"/>
<char text="{" err="err10"/>
<optionalloop><caseselector/></optionalloop>
<optional><keyword text="default"/><char text=":" err="err4"/><statements/></optional>
<char text="}" err="err11"/>
</switchstmt>
<caseselector node="caseselector">
<keyword text="case"/>
<setnode node="set"/>
<char text=":" err="err4"/>
<statements/>
</caseselector>
<dowhilestmt node="repeatstmt">
<keyword text="do"/>
<statement err="err3"/>
<keyword text="while" err="err14"/>
<char text="(" err="err12"/>
<expression err="err2"/>
<char text=")" err="err7"/>
<empty add="inverse"/>
</dowhilestmt>
<whilestmt node="whilestmt">
<keyword text="while"/>
<char text="(" err="err12"/>
<expression err="err2"/>
<char text=")" err="err7"/>
<statement err="err3"/>
</whilestmt>
<forstmt node="cppforstmt">
<keyword text="for"/>
<char text="(" err="err12"/>
<optional><keyword text="var"/></optional>
<forstmtitem node="compoundstmt"/>
<char text=";" err="err5"/>
<expression err="err2"/>
<char text=";" err="err5"/>
<forstmtitem node="compoundstmt"/>
<char text=")" err="err7"/>
<statement err="err3"/>
</forstmt>
<forstmtitem>
<optionalloop text=","><switch><assignstmt/><callstmt/></switch></optionalloop>
</forstmtitem>
<trystmt node="trystmt">
<keyword text="try"/>
<block err="err10"/>
<switch err="err17">
<sequence><keyword text="finally"/><block node="finallystmt" err="err10"/></sequence>
<sequence><keyword text="except"/><block node="exceptstmt" err="err10"/></sequence>
</switch>
</trystmt>
<functionstmt node="function">
<functionheading/>
<block err="err10"/>
</functionstmt>
<functionheading>
<keyword text="function"/>
<ident add="name" err="err1"/>
<formalparameters err="err12"/>
</functionheading>
<formalparameters node="parameters">
<char text="("/>
<optionalloop text=","><formalparam/></optionalloop>
<char text=")" err="err7"/>
</formalparameters>
<formalparam node="var">
<optional><char text="&#38;" add="varparam"/></optional>
<ident add="ident"/>
<optional><initvalue/></optional>
</formalparam>
<withstmt node="with">
<keyword text="with"/>
<char text="(" err="err12"/>
<loop text=","><designator err="err1"/></loop>
<char text=")" err="err7"/>
<statement err="err3"/>
</withstmt>
</language>
)grammar";

} // namespace

void RegisterJScript()
{
    using namespace zqGrammarRules;
    RegisterLanguage(QStringLiteral("JScript"),
                     QString::fromUtf8(part1)
                         + ArrayRules()
                         + ExpressionRules()
                         + FactorRule("<char text=\"!\" add=\"op\" addtext=\"not\"/>", true)
                         + SetRules()
                         + NewOperatorRule()
                         + COperatorRules()
                         + DesignatorRules("<char text=\"&#38;\" add=\"addr\"/>")
                         + QString::fromUtf8(part2)
                         + DeleteRule()
                         + AssignCallReturnRules()
                         + QString::fromUtf8(part3));
}
