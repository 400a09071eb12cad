#include "script/zqJScript.h"

#include "script/zqLanguages.h"

namespace {

const char *const grammar = R"grammar(<?xml version="1.0"?>
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
<ifstmt node="ifstmt">
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
    RegisterLanguage(QStringLiteral("JScript"), QString::fromUtf8(grammar));
}
