#include "script/zqPascalScript.h"

#include "script/zqGrammarRules.h"
#include "script/zqLanguages.h"

namespace {

// The grammar document in pieces around the rules it shares with the other
// languages.
const char *const part1 = R"grammar(<?xml version="1.0"?>
<language text="PascalScript">
<parser>
<commentline1 text="//"/>
<commentblock1 text="{,}"/>
<commentblock2 text="(*,*)"/>
<stringquotes text="'"/>
<hexsequence text="$"/>
<keywords>
<and/>
<array/>
<begin/>
<break/>
<case/>
<const/>
<continue/>
<div/>
<do/>
<downto/>
<else/>
<end/>
<except/>
<exit/>
<finally/>
<for/>
<function/>
<goto/>
<if/>
<in/>
<is/>
<label/>
<mod/>
<not/>
<of/>
<or/>
<procedure/>
<program/>
<repeat/>
<shl/>
<shr/>
<then/>
<to/>
<try/>
<until/>
<uses/>
<var/>
<while/>
<with/>
<xor/>
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
<err10 text="'BEGIN' expected"/>
<err11 text="'END' expected"/>
<err12 text="'OF' expected"/>
<err13 text="'THEN' expected"/>
<err14 text="'UNTIL' expected"/>
<err15 text="'TO' or 'DOWNTO' expected"/>
<err16 text="'DO' expected"/>
<err17 text="'FINALLY' or 'EXCEPT' expected"/>
<err18 text="'[' expected"/>
<err19 text="'..' expected"/>
<err20 text="'&#62;' expected"/>
</errors>
</parser>
<types/>
<empty/>
<program>
<optional><keyword text="program"/><ident err="err1"/><char text=";" err="err5"/></optional>
<optional><usesclause/></optional>
<block/>
<char text="." err="err6"/>
</program>
<usesclause node="uses">
<keyword text="uses"/>
<loop text=","><string add="file" err="err1"/></loop>
<char text=";" err="err5"/>
</usesclause>
<block>
<declsection/>
<compoundstmt err="err10"/>
</block>
<declsection>
<optionalloop><switch><constsection/><varsection/><proceduredeclsection/></switch></optionalloop>
</declsection>
<constsection>
<keyword text="const"/>
<loop><constantdecl/></loop>
</constsection>
<constantdecl node="const">
<ident add="ident" err="err1" term="1"/>
<char text="=" err="err9"/>
<expression err="err2"/>
<char text=";" err="err5"/>
</constantdecl>
<varsection>
<keyword text="var"/>
<loop><varlist/></loop>
</varsection>
<varlist node="var">
<loop text=","><ident add="ident" err="err1" term="1"/></loop>
<char text=":" err="err4"/>
<typeident/>
<optional><initvalue/></optional>
<char text=";" err="err5"/>
</varlist>
<typeident>
<optional><array/></optional>
<ident add="type" err="err1"/>
</typeident>
<array node="array">
<keyword text="array"/>
<optional><char text="["/><loop text=","><arraydim/></loop><char text="]" err="err8"/></optional>
<keyword text="of" err="err12"/>
</array>
<arraydim node="dim">
<expression err="err2"/>
<optional><char text="."/><char text="." skip="0" err="err19"/><expression err="err2"/></optional>
</arraydim>
<initvalue node="init">
<char text="="/>
<expression err="err2"/>
</initvalue>
)grammar";

const char *const part2 = R"grammar(<addop>
<switch>
<char text="+" add="op"/>
<char text="-" add="op"/>
<keyword text="or" add="op"/>
<keyword text="xor" add="op"/>
</switch>
</addop>
<mulop>
<switch>
<char text="*" add="op"/>
<char text="/" add="op"/>
<keyword text="div" add="op"/>
<keyword text="mod" add="op"/>
<keyword text="and" add="op"/>
<keyword text="shl" add="op"/>
<keyword text="shr" add="op"/>
</switch>
</mulop>
)grammar";

const char *const part3 = R"grammar(<statement>
<switch><simplestatement/><structstmt/><empty/></switch>
</statement>
<stmtlist>
<loop text=";"><statement/></loop>
</stmtlist>
<simplestatement>
<switch>
<assignstmt/>
<callstmt/>
<keyword text="break" node="break"/>
<keyword text="continue" node="continue"/>
<keyword text="exit" node="exit"/>
</switch>
</simplestatement>
<assignstmt node="assignstmt">
<designator/>
<char text=":"/>
<char text="=" skip="0" err="err9"/>
<expression err="err2"/>
</assignstmt>
<callstmt node="callstmt">
<designator/>
</callstmt>
<structstmt>
<switch><compoundstmt/><conditionalstmt/><loopstmt/><trystmt/><withstmt/></switch>
</structstmt>
<compoundstmt node="compoundstmt">
<keyword text="begin"/>
<stmtlist/>
<keyword text="end" err="err5"/>
</compoundstmt>
<conditionalstmt>
<switch><ifstmt/><casestmt/></switch>
</conditionalstmt>
<ifstmt node="ifstmt">
<keyword text="if"/>
<expression err="err2"/>
<keyword text="then" err="err13"/>
<statement node="thenstmt"/>
<optional><keyword text="else"/><statement node="elsestmt"/></optional>
</ifstmt>
<casestmt node="casestmt">
<keyword text="case"/>
<expression err="err2"/>
<keyword text="of" err="err12"/>
<loop text=";"><caseselector/></loop>
<optional><keyword text="else"/><stmtlist node="compoundstmt"/></optional>
<keyword text="end" err="err11"/>
</casestmt>
<caseselector node="caseselector">
<setnode node="set"/>
<char text=":" err="err4"/>
<statement/>
</caseselector>
<loopstmt>
<switch><repeatstmt/><whilestmt/><forstmt/></switch>
</loopstmt>
<repeatstmt node="repeatstmt">
<keyword text="repeat"/>
<stmtlist/>
<keyword text="until" err="err14"/>
<expression err="err2"/>
</repeatstmt>
<whilestmt node="whilestmt">
<keyword text="while"/>
<expression err="err2"/>
<keyword text="do" err="err16"/>
<statement/>
</whilestmt>
<forstmt node="forstmt">
<keyword text="for"/>
<ident add="ident" err="err1"/>
<char text=":" err="err4"/>
<char text="=" skip="0" err="err9"/>
<expression err="err2"/>
<switch err="err15"><keyword text="to"/><keyword text="downto" add="downto"/></switch>
<expression err="err2"/>
<keyword text="do" err="err16"/>
<statement/>
</forstmt>
<trystmt node="trystmt">
<keyword text="try"/>
<stmtlist/>
<switch err="err17">
<sequence><keyword text="finally"/><stmtlist node="finallystmt"/></sequence>
<sequence><keyword text="except"/><stmtlist node="exceptstmt"/></sequence>
</switch>
<keyword text="end" err="err11"/>
</trystmt>
<withstmt node="with">
<keyword text="with"/>
<loop text=","><designator err="err1"/></loop>
<keyword text="do" err="err16"/>
<statement/>
</withstmt>
<proceduredeclsection>
<switch><proceduredecl/><functiondecl/></switch>
</proceduredeclsection>
<proceduredecl node="procedure">
<procedureheading/>
<block/>
<char text=";" err="err5"/>
</proceduredecl>
<procedureheading>
<keyword text="procedure"/>
<ident add="name" err="err1"/>
<optional><formalparameters/></optional>
<char text=";" err="err5"/>
</procedureheading>
<functiondecl node="function">
<functionheading/>
<block/>
<char text=";" err="err5"/>
</functiondecl>
<functionheading>
<keyword text="function"/>
<ident add="name" err="err1"/>
<optional><formalparameters/></optional>
<char text=":" err="err4"/>
<ident add="type" err="err1"/>
<char text=";" err="err5"/>
</functionheading>
<formalparameters node="parameters">
<char text="("/>
<optionalloop text=";">
<optionalswitch><keyword text="var" node="varparams"/><keyword text="const"/></optionalswitch>
<formalparam node="var"/>
</optionalloop>
<char text=")" err="err7"/>
</formalparameters>
<formalparam>
<loop text=","><ident add="ident"/></loop>
<char text=":" err="err4"/>
<ident add="type" err="err1"/>
<optional><initvalue/></optional>
</formalparam>
</language>
)grammar";

} // namespace

void RegisterPascalScript()
{
    using namespace zqGrammarRules;
    RegisterLanguage(QStringLiteral("PascalScript"),
                     QString::fromUtf8(part1)
                         + ExpressionRules()
                         + FactorRule("<keyword text=\"not\" add=\"op\"/>", false)
                         + SetRules()
                         + PascalRelopRule()
                         + QString::fromUtf8(part2)
                         + DesignatorRules("<char text=\"@\" add=\"addr\"/>")
                         + QString::fromUtf8(part3));
}
