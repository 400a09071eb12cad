#include "script/zqDeclarations.h"

#include "script/zqParser.h"
#include "script/zqScript.h"
#include "toolkit/core/FormatSettings.h"
#include "toolkit/core/SysUtils.h"

#include <limits>

namespace {

struct ParameterGroup {
    QStringList names;
    bool byReference = false;
    QString typeName;
    bool hasDefault = false;
    Variant defaultValue;
};

// The character at the position after blanks and comments; #0 at the end.
QChar nextChar(TzqParser &parser)
{
    parser.SkipSpaces();
    return parser.Position() <= parser.Size() ? parser.Text()[parser.Position() - 1] : QChar(0);
}

// Moves past one character, so that every step of the parser advances.
void skipChar(TzqParser &parser)
{
    parser.SetPosition(parser.Position() + 1);
}

Variant readDefault(TzqParser &parser, TzqScript *script)
{
    QString text = parser.GetNumber();
    if (text.isEmpty())
        text = parser.GetString();
    if (text.isEmpty() && nextChar(parser) == u'-') {
        skipChar(parser);
        const QString number = parser.GetNumber();
        if (!number.isEmpty())
            text = u'-' + number;
    }
    if (!text.isEmpty())
        return ParseConstant(text);
    const QString name = parser.GetWord();
    const TzqCustomVariable *item = name.isEmpty() || !script ? nullptr : script->Find(name);
    return item ? item->Value : Variant();
}

// Names up to ':' or ')', then the type and the default value.
ParameterGroup readGroup(TzqParser &parser, TzqScript *script)
{
    ParameterGroup group;
    for (;;) {
        const QChar c = nextChar(parser);
        if (c.isNull() || c == u':' || c == u')')
            break;
        const QString word = parser.GetWord();
        if (word.isEmpty()) {
            skipChar(parser); // ',' or a stray character
            continue;
        }
        if (word.compare(QStringLiteral("var"), Qt::CaseInsensitive) == 0)
            group.byReference = true;
        else if (word.compare(QStringLiteral("const"), Qt::CaseInsensitive) != 0)
            group.names << word;
    }
    if (nextChar(parser) != u':')
        return group;
    skipChar(parser);
    group.typeName = parser.GetWord();
    if (nextChar(parser) == u'=') {
        skipChar(parser);
        group.hasDefault = true;
        group.defaultValue = readDefault(parser, script);
    }
    return group;
}

} // namespace

TzqVarType StrToVarType(const QString &typeName, TzqScript *script)
{
    const TzqCustomVariable *item = script ? script->Find(typeName) : nullptr;
    return item ? item->Typ : fvtClass;
}

Variant ParseConstant(const QString &text)
{
    if (text.isEmpty())
        return Variant();
    if (text.startsWith(u'\''))
        return Variant(text.mid(1, text.size() - 2));
    qint64 integer = 0;
    if (TryStrToInt64(text, integer)) {
        if (integer >= std::numeric_limits<qint32>::min() && integer <= std::numeric_limits<qint32>::max())
            return Variant(int(integer));
        return Variant(integer);
    }
    QString number = text;
    const qsizetype point = number.indexOf(u'.');
    if (point >= 0)
        number[point] = FormatSettings.DecimalSeparator;
    return Variant(StrToFloat(number));
}

std::unique_ptr<TzqCustomVariable> ParseMethodSyntax(const QString &declaration, TzqScript *script)
{
    TzqParser parser;
    if (script && script->ExtendedCharset)
        parser.AddExtendedCharset();
    parser.SetText(declaration);

    QString kind = parser.GetWord().toLower();
    const bool isMacro = kind.startsWith(QStringLiteral("macro"));
    if (isMacro)
        kind = kind.mid(5);
    const bool isFunction = kind == u"function";
    const QString name = parser.GetWord();
    const int bodyPosition = parser.Position();

    QString resultType;
    const qsizetype colon = declaration.lastIndexOf(u':');
    if (isFunction && colon >= 0) {
        parser.SetPosition(int(colon) + 2);
        resultType = parser.GetWord();
    }
    auto descriptor = std::make_unique<TzqCustomVariable>(name, StrToVarType(resultType, script), resultType);
    descriptor->IsMacro = isMacro;

    parser.SetPosition(bodyPosition);
    if (nextChar(parser) != u'(')
        return descriptor;
    skipChar(parser);
    while (!nextChar(parser).isNull()) {
        const ParameterGroup group = readGroup(parser, script);
        const TzqVarType typ = StrToVarType(group.typeName, script);
        for (qsizetype i = 0; i < group.names.size(); ++i) {
            const bool last = i == group.names.size() - 1;
            auto param = std::make_unique<TzqParamItem>(group.names[i], typ, group.typeName,
                                                         last && group.hasDefault, group.byReference);
            if (last && group.hasDefault)
                param->DefValue = group.defaultValue;
            descriptor->AddParam(std::move(param));
        }
        const QChar separator = nextChar(parser);
        skipChar(parser);
        if (separator == u')')
            break;
    }
    return descriptor;
}
