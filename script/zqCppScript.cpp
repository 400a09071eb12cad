#include "script/zqCppScript.h"

#include "script/zqGrammarRules.h"
#include "script/zqLanguages.h"

namespace {

// The grammar document in pieces around the rules it shares with the other
// languages.
const char *const part1 = R"grammar(<?xml version="1.0"?>
<language text="C++Script">
<parser>
<commentline1 text="//"/>
<commentblock1 text="/*,*/"/>
<commentblock2 text="/*,*/"/>
<stringquotes text="&#34;"/>
<hexsequence text="0x"/>
<specstrchar text="1"/>
<casesensitive text="1"/>
<keywords>
<break/>
<case/>
<continue/>
<define/>
<default/>
<delete/>
<do/>
<else/>
<except/>
<finally/>
<for/>
<in/>
<is/>
<if/>
<new/>
<return/>
<switch/>
<try/>
<while/>
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
<err13 text="'DEFINE' expected"/>
<err14 text="'WHILE' expected"/>
<err17 text="'FINALLY' or 'EXCEPT' expected"/>
<err18 text="'[' expected"/>
<err19 text="'..' expected"/>
<err20 text="'&#62;' expected"/>
</errors>
</parser>
<types>
<int type="integer"/>
<long type="integer"/>
<void type="integer"/>
<bool type="boolean"/>
<float type="extended"/>
</types>
<empty/>
<program>
<optional><usesclause/></optional>
<declsection/>
<compoundstmt err="err10"/>
</program>
<usesclause node="uses">
<char text="#"/>
<keyword text="include"/>
<loop text=","><string add="file" err="err1"/></loop>
</usesclause>
<declsection>
<optionalloop><switch><constsection/><functiondecl/><varstmt/></switch></optionalloop>
</declsection>
<constsection>
<char text="#"/>
<keyword text="define" err="err13"/>
<constantdecl/>
</constsection>
<constantdecl node="const">
<ident add="ident" err="err1"/>
<expression err="err2"/>
</constantdecl>
<varstmt node="var">
<ident add="type"/>
<loop text=","><ident add="ident"/><optional><array/></optional><optional><initvalue/></optional></loop>
<char text=";" err="err5"/>
</varstmt>
)grammar";

const char *const part2 = R"grammar(<statement>
<switch>
<structstmt/>
<varstmt/>
<sequence><simplestatement/><char text=";" err="err5"/></sequence>
<emptystmt/>
</switch>
</statement>
<emptystmt node="empty">
<char text=";"/>
</emptystmt>
<stmtlist>
<optionalloop><statement/></optionalloop>
</stmtlist>
<simplestatement>
<switch>
<assignstmt/>
<callstmt/>
<keyword text="break" node="break"/>
<keyword text="continue" node="continue"/>
<returnstmt/>
<deletestmt/>
</switch>
</simplestatement>
)grammar";

const char *const part3 = R"grammar(<structstmt>
<switch><compoundstmt/><conditionalstmt/><loopstmt/><trystmt/></switch>
</structstmt>
<compoundstmt node="compoundstmt">
<char text="{"/>
<stmtlist/>
<char text="}" err="err11"/>
</compoundstmt>
<conditionalstmt>
<switch><ifstmt/><casestmt/></switch>
</conditionalstmt>
<ifstmt node="ifstmt">
<keyword text="if"/>
<char text="(" err="err12"/>
<expression err="err2"/>
<char text=")" err="err7"/>
<statement node="thenstmt" err="err3"/>
<optional><keyword text="else"/><statement node="elsestmt" err="err3"/></optional>
</ifstmt>
<casestmt node="casestmt">
<keyword text="switch"/>
<char text="(" err="err12"/>
<expression err="err2"/>
<char text=")" err="err7"/>
<char text="{" err="err10"/>
<optionalloop><caseselector/></optionalloop>
<optional><keyword text="default"/><char text=":" err="err4"/><stmtlist node="compoundstmt"/></optional>
<char text="}" err="err11"/>
</casestmt>
<caseselector node="caseselector">
<keyword text="case"/>
<setnode node="set"/>
<char text=":" err="err4"/>
<stmtlist node="compoundstmt"/>
</caseselector>
<loopstmt>
<switch><repeatstmt/><whilestmt/><forstmt/></switch>
</loopstmt>
<repeatstmt node="repeatstmt">
<keyword text="do"/>
<statement err="err3"/>
<keyword text="while" err="err14"/>
<char text="(" err="err12"/>
<expression err="err2"/>
<char text=")" err="err7"/>
<empty add="inverse"/>
<char text=";" err="err5"/>
</repeatstmt>
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
<forcompoundstmt/>
<char text=";" err="err5"/>
<expression err="err2"/>
<char text=";" err="err5"/>
<forcompoundstmt/>
<char text=")" err="err7"/>
<statement err="err3"/>
</forstmt>
<forcompoundstmt node="compoundstmt">
<optionalloop text=","><forstmtitem/></optionalloop>
</forcompoundstmt>
<forstmtitem>
<switch><assignstmt/><callstmt/></switch>
</forstmtitem>
<trystmt node="trystmt">
<keyword text="try"/>
<compoundstmt err="err10"/>
<switch err="err17">
<sequence><keyword text="finally"/><compoundstmt node="finallystmt" err="err10"/></sequence>
<sequence><keyword text="except"/><compoundstmt node="exceptstmt" err="err10"/></sequence>
</switch>
</trystmt>
<functiondecl node="function">
<functionheading/>
<compoundstmt err="err10"/>
</functiondecl>
<functionheading>
<ident add="type"/>
<ident add="name"/>
<formalparameters/>
</functionheading>
<formalparameters node="parameters">
<char text="("/>
<optionalloop text=","><formalparam/></optionalloop>
<char text=")" err="err7"/>
</formalparameters>
<formalparam node="var">
<ident add="type"/>
<optional><char text="&#38;" add="varparam"/></optional>
<ident add="ident" err="err1"/>
<optional><initvalue/></optional>
</formalparam>
</language>
)grammar";

} // namespace

void RegisterCppScript()
{
    using namespace zqGrammarRules;
    RegisterLanguage(QStringLiteral("C++Script"),
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
