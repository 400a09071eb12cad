#include "script/zqCppScript.h"

#include "script/zqLanguages.h"

namespace {

const char *const grammar = R"grammar(<?xml version="1.0"?>
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
<array node="array">
<loop><char text="["/><loop text=","><arraydim/></loop><char text="]" err="err8"/></loop>
</array>
<arraydim node="dim">
<expression err="err2"/>
</arraydim>
<initvalue node="init">
<char text="="/>
<expression err="err2"/>
</initvalue>
<expression node="expr">
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
<factor>
<switch>
<designator/>
<number add="number"/>
<string add="string"/>
<sequence><char text="(" add="op"/><expression err="err2"/><char text=")" add="op" err="err7"/></sequence>
<sequence><char text="!" add="op" addtext="not"/><factor err="err2"/></sequence>
<setconstructor/>
<newoperator/>
<sequence><char text="&#60;"/><qvstring/><char text="&#62;" err="err20"/></sequence>
</switch>
</factor>
<setconstructor node="set">
<char text="["/>
<optional><setnode/></optional>
<char text="]" err="err8"/>
</setconstructor>
<setnode>
<loop text=","><expression/><optional><char text="."/><char text="." skip="0" add="range"/><expression err="err2"/></optional></loop>
</setnode>
<newoperator node="new">
<keyword text="new"/>
<designator err="err1"/>
</newoperator>
<relop>
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
<designator node="dsgn">
<optional><char text="&#38;" add="addr"/></optional>
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
<statement>
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
<deletestmt node="delete">
<keyword text="delete"/>
<designator err="err1"/>
</deletestmt>
<assignstmt node="assignstmt">
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
<structstmt>
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
    RegisterLanguage(QStringLiteral("C++Script"), QString::fromUtf8(grammar));
}
