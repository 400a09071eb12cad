#include "script/zqILParser.h"

#include "script/zqBuilder.h"
#include "script/zqLanguages.h"
#include "script/zqMessages.h"
#include "script/zqScript.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>

namespace {

// Rule frames allowed at once; nesting in the source (parentheses, blocks)
// costs several frames a level, so this bounds recursion driven by input.
constexpr int maxRuleDepth = 2000;

class DepthGuard
{
public:
    explicit DepthGuard(int &depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }

private:
    int &m_depth;
};

QString quoted(const QString &name)
{
    return u'\'' + name + u'\'';
}

// A unit name is a relative file name that stays below the folders searched.
bool isSafeUnitName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'/') || name.startsWith(u'\\')
        || (name.size() > 1 && name[1] == u':'))
        return false;
    const QStringList parts = QString(name).replace(u'\\', u'/').split(u'/');
    return !parts.contains(QStringLiteral(".."));
}

// A text file as text lines, each ended by CR LF.
QString readTextLines(const QString &fileName, bool &ok)
{
    QFile file(fileName);
    ok = file.open(QIODevice::ReadOnly);
    if (!ok)
        return QString();
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += u'\n';
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

// The value of an attribute of one emitted leaf line "<name a="v" .../>".
QString leafAttribute(const QString &line, const QString &name)
{
    TzqXMLItem leaf;
    const qsizetype blank = line.indexOf(u' ');
    if (blank >= 0)
        leaf.SetText(line.mid(blank + 1, line.size() - blank - 3));
    return leaf.GetProp(name);
}

} // namespace

struct TzqILParser::GrammarItem
{
    enum Kind {
        Rule, Char, Keyword, Ident, Number, String, QVString, Eol,
        Sequence, Switch, OptionalSwitch, Loop, OptionalLoop, Optional, Reference
    };

    Kind kind = Reference;
    QString text; // lower case
    QString node; // lower case
    QString add;
    QString addText;
    QString err;
    QString skip;
    bool term = false;
    TzqXMLItem *rule = nullptr; // what a reference names; nil for an unknown name
};

// A grammar document read once, with the attributes of every rule item
// decoded and kept in the item's Data.
struct TzqILParser::CompiledGrammar
{
    TzqXMLDocument document;
    std::vector<std::unique_ptr<GrammarItem>> items;
    QHash<QString, TzqXMLItem *> rules;
};

TzqILParser::TzqILParser(TzqScript *program)
    : m_program(program),
      m_ilScript(std::make_unique<TzqXMLDocument>()),
      m_parser(std::make_unique<TzqParser>())
{
}

TzqILParser::~TzqILParser() = default;

void TzqILParser::SelectLanguage(const QString &name)
{
    m_parser->Clear();
    m_language = name;
    m_compiled = compile(GetLanguageGrammar(name));
    m_grammarRoot = m_compiled->document.Root();
    m_needDeclareVars = true;

    const int parserIndex = m_grammarRoot->Find(QStringLiteral("parser"));
    TzqXMLItem *settings = parserIndex >= 0 ? m_grammarRoot->Items(parserIndex) : nullptr;
    m_errors = nullptr;
    for (int i = 0; settings && i < settings->Count(); ++i) {
        TzqXMLItem *setting = settings->Items(i);
        const QString key = setting->Name().toLower();
        const QString value = setting->GetProp(QStringLiteral("text"));
        if (key == QStringLiteral("keywords")) {
            for (int k = 0; k < setting->Count(); ++k)
                m_parser->AddKeyword(setting->Items(k)->Name());
        } else if (key == QStringLiteral("errors")) {
            m_errors = setting;
        } else if (key == QStringLiteral("identchars")) {
            m_parser->SetIdentifierCharset(value);
        } else if (key == QStringLiteral("commentline1")) {
            m_parser->CommentLine1 = value;
        } else if (key == QStringLiteral("commentline2")) {
            m_parser->CommentLine2 = value;
        } else if (key == QStringLiteral("commentblock1")) {
            m_parser->SetCommentBlock1(value);
        } else if (key == QStringLiteral("commentblock2")) {
            m_parser->SetCommentBlock2(value);
        } else if (key == QStringLiteral("stringquotes")) {
            m_parser->StringQuotes = value;
        } else if (key == QStringLiteral("hexsequence")) {
            m_parser->HexSequence = value;
        } else if (key == QStringLiteral("specstrchar")) {
            if (value == QStringLiteral("1"))
                m_parser->SpecStrChar = true;
        } else if (key == QStringLiteral("declarevars")) {
            if (value == QStringLiteral("0"))
                m_needDeclareVars = false;
        } else if (key == QStringLiteral("skipeol")) {
            if (value == QStringLiteral("0"))
                m_parser->SkipEOL = false;
        } else if (key == QStringLiteral("skipchar")) {
            m_parser->SkipChar = value;
        } else if (key == QStringLiteral("casesensitive")) {
            if (value == QStringLiteral("1"))
                m_parser->CaseSensitive = true;
        }
    }
    if (m_program->ExtendedCharset)
        m_parser->AddExtendedCharset();
}

TzqXMLDocument *TzqILParser::Grammar() const
{
    return m_compiled ? const_cast<TzqXMLDocument *>(&m_compiled->document) : nullptr;
}

// Reads a grammar text into a document and decodes the attributes of every
// rule item once.  Each text is read once and kept for the program's life.
std::shared_ptr<const TzqILParser::CompiledGrammar> TzqILParser::compile(const QString &text)
{
    static QHash<QString, std::shared_ptr<const CompiledGrammar>> cache;
    if (auto found = cache.value(text))
        return found;

    static const QHash<QString, GrammarItem::Kind> kinds = {
        {QStringLiteral("char"), GrammarItem::Char},
        {QStringLiteral("keyword"), GrammarItem::Keyword},
        {QStringLiteral("ident"), GrammarItem::Ident},
        {QStringLiteral("number"), GrammarItem::Number},
        {QStringLiteral("string"), GrammarItem::String},
        {QStringLiteral("qvstring"), GrammarItem::QVString},
        {QStringLiteral("eol"), GrammarItem::Eol},
        {QStringLiteral("sequence"), GrammarItem::Sequence},
        {QStringLiteral("switch"), GrammarItem::Switch},
        {QStringLiteral("optionalswitch"), GrammarItem::OptionalSwitch},
        {QStringLiteral("loop"), GrammarItem::Loop},
        {QStringLiteral("optionalloop"), GrammarItem::OptionalLoop},
        {QStringLiteral("optional"), GrammarItem::Optional},
    };
    auto compiled = std::make_shared<CompiledGrammar>();
    TStringStream stream(text);
    compiled->document.LoadFromStream(&stream);
    TzqXMLItem *root = compiled->document.Root();
    for (int i = 0; i < root->Count(); ++i) {
        TzqXMLItem *rule = root->Items(i);
        const QString name = rule->Name().toLower();
        if (!compiled->rules.contains(name))
            compiled->rules.insert(name, rule);
    }

    std::vector<TzqXMLItem *> pending;
    for (TzqXMLItem *rule : std::as_const(compiled->rules))
        pending.push_back(rule);
    while (!pending.empty()) {
        TzqXMLItem *item = pending.back();
        pending.pop_back();
        auto g = std::make_unique<GrammarItem>();
        const QString name = item->Name().toLower();
        g->kind = item->Parent() == root ? GrammarItem::Rule : kinds.value(name, GrammarItem::Reference);
        g->text = item->GetProp(QStringLiteral("text")).toLower();
        g->node = item->GetProp(QStringLiteral("node")).toLower();
        g->add = item->GetProp(QStringLiteral("add"));
        g->addText = item->GetProp(QStringLiteral("addtext"));
        g->err = item->GetProp(QStringLiteral("err"));
        g->skip = item->GetProp(QStringLiteral("skip"));
        g->term = item->GetProp(QStringLiteral("term")) == QStringLiteral("1");
        if (g->kind == GrammarItem::Reference)
            g->rule = compiled->rules.value(name);
        item->SetData(g.get());
        compiled->items.push_back(std::move(g));
        for (int i = 0; i < item->Count(); ++i)
            pending.push_back(item->Items(i));
    }
    cache.insert(text, compiled);
    return compiled;
}

TzqILParser::GrammarItem *TzqILParser::info(TzqXMLItem *item)
{
    return static_cast<GrammarItem *>(item->Data());
}

TzqXMLItem *TzqILParser::findRule(const QString &name) const
{
    return m_compiled->rules.value(name.toLower());
}

bool TzqILParser::MakeIL(const QString &text)
{
    m_errorMsg.clear();
    m_errorPos.clear();
    m_errorTerm = false;
    m_aborted = false;
    m_lines.clear();
    m_ilScript->Root()->Clear();
    m_ilScript->Root()->SetName(QString());
    if (UnitName.isEmpty()) {
        m_program->ErrorUnit.clear();
        UsedUnits.clear();
    }

    struct WriteBack {
        TzqILParser *self;
        ~WriteBack()
        {
            self->m_program->ErrorMsg = self->m_errorMsg;
            self->m_program->ErrorPos = self->m_errorPos;
        }
    } writeBack{this};

    m_parser->SetText(text);
    const int start = startPosition(text);
    m_parser->SetPosition(start);
    m_furthest = start;

    TzqXMLItem *program = findRule(QStringLiteral("program"));
    if (!program)
        throw Exception(SInvalidLanguage);
    bool ok = runItem(program);
    if (ok && m_errorMsg.isEmpty()) {
        // Text that no statement could start is an error, not an end.
        while (m_parser->GetEOL()) {
        }
        if (m_parser->Position() <= m_parser->Size()) {
            m_furthest = std::max(m_furthest, m_parser->Position());
            ok = false;
        }
    }
    if (m_parser->UnclosedComment() > 0 && !m_aborted) {
        m_errorTerm = false;
        const int saved = m_parser->Position();
        m_parser->SetPosition(m_parser->UnclosedComment());
        setError(SUnclosedComment, m_parser->GetXYPosition());
        m_parser->SetPosition(saved);
        ok = false;
    }
    ok = ok && m_errorMsg.isEmpty();
    if (!ok && m_errorMsg.isEmpty()) {
        const int index = m_errors ? m_errors->Find(QStringLiteral("err3")) : -1;
        QString message = index >= 0 ? m_errors->Items(index)->GetProp(QStringLiteral("text")) : QString();
        if (message.isEmpty())
            message = SInvalidLanguage;
        setError(message, positionAfterBlanks(m_furthest));
    }
    if (ok)
        loadILScript();
    return ok;
}

// Where translation starts: after a first line "#language Name", which
// selects that language, else at the beginning.
int TzqILParser::startPosition(const QString &text)
{
    static const QString directive = QStringLiteral("#language");
    if (!text.startsWith(directive, Qt::CaseInsensitive))
        return 1;
    qsizetype end = directive.size();
    if (end < text.size() && (text[end].isLetterOrNumber() || text[end] == u'_'))
        return 1;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    SelectLanguage(text.mid(directive.size(), end - directive.size()).trimmed());
    m_parser->SetText(text);
    if (end < text.size() && text[end] == u'\r')
        ++end;
    if (end < text.size() && text[end] == u'\n')
        ++end;
    return int(end) + 1;
}

bool TzqILParser::runItem(TzqXMLItem *item)
{
    if (m_aborted)
        return false;
    if (m_depth >= maxRuleDepth) {
        abortWith(STooComplex, m_parser->GetXYPosition());
        return false;
    }
    DepthGuard guard(m_depth);
    const GrammarItem &g = *info(item);
    const int entry = m_parser->Position();
    const int firstLine = int(m_lines.size());

    switch (g.kind) {
    case GrammarItem::Switch:
    case GrammarItem::OptionalSwitch:
        return runSwitch(item, g, entry);
    case GrammarItem::Optional:
        return runOptional(item, entry);
    case GrammarItem::Loop:
    case GrammarItem::OptionalLoop:
        return runLoop(item, g, entry);
    default:
        break;
    }

    QString token;
    bool ok = matchItem(g, token);
    if (ok && g.kind != GrammarItem::Rule) {
        if (!g.node.isEmpty())
            applyNode(g, entry, firstLine);
        if (!g.add.isEmpty())
            emitLeaf(g.add, g.addText.isEmpty() ? token : g.addText);
    }
    ok = ok && runChildren(item);
    if (ok && g.kind == GrammarItem::Rule && !g.node.isEmpty())
        applyNode(g, entry, firstLine);
    if (!ok) {
        recordError(g, entry);
        m_parser->SetPosition(entry);
        if (!g.node.isEmpty())
            m_lines.erase(m_lines.begin() + std::min<qsizetype>(firstLine, m_lines.size()), m_lines.end());
    }
    return ok;
}

bool TzqILParser::matchItem(const GrammarItem &g, QString &token)
{
    switch (g.kind) {
    case GrammarItem::Rule:
    case GrammarItem::Sequence:
        return true;
    case GrammarItem::QVString:
        emitQVString();
        return true;
    case GrammarItem::Eol:
        return m_parser->GetEOL();
    case GrammarItem::Reference:
        if (!g.rule)
            throw Exception(SInvalidLanguage);
        return runItem(g.rule);
    case GrammarItem::Char:
        if (g.skip != QStringLiteral("0"))
            m_parser->SkipSpaces();
        token = m_parser->GetChar();
        break;
    case GrammarItem::Keyword:
        token = m_parser->GetWord();
        break;
    case GrammarItem::Ident:
        token = m_parser->GetIdent();
        break;
    case GrammarItem::Number:
        token = m_parser->GetNumber();
        break;
    case GrammarItem::String:
        token = m_parser->GetString();
        break;
    default:
        return false;
    }
    m_furthest = std::max(m_furthest, m_parser->LastPosition());
    if (token.isEmpty())
        return false;
    if (g.text.isEmpty())
        return true;
    return m_parser->CaseSensitive ? token == g.text : token.compare(g.text, Qt::CaseInsensitive) == 0;
}

bool TzqILParser::runChildren(TzqXMLItem *item)
{
    for (int i = 0; i < item->Count(); ++i) {
        if (!runItem(item->Items(i)))
            return false;
    }
    return true;
}

bool TzqILParser::runSwitch(TzqXMLItem *item, const GrammarItem &g, int entry)
{
    for (int i = 0; i < item->Count(); ++i) {
        if (runItem(item->Items(i)))
            return true;
    }
    m_parser->SetPosition(entry);
    if (g.kind == GrammarItem::OptionalSwitch)
        return !m_aborted;
    recordError(g, entry);
    return false;
}

bool TzqILParser::runOptional(TzqXMLItem *item, int entry)
{
    if (!runChildren(item))
        m_parser->SetPosition(entry);
    return !m_aborted;
}

bool TzqILParser::runLoop(TzqXMLItem *item, const GrammarItem &g, int entry)
{
    const bool errorBefore = !m_errorMsg.isEmpty();
    int iterations = 0;
    bool result = false;
    for (;;) {
        ++iterations;
        const int start = m_parser->Position();
        result = runChildren(item);
        if (!result)
            break;
        if (!g.text.isEmpty()) {
            m_parser->SkipSpaces();
            const int beforeSeparator = m_parser->Position();
            if (m_parser->GetChar() != g.text) {
                m_parser->SetPosition(beforeSeparator);
                break;
            }
        }
        if (m_parser->Position() == start)
            break;
    }
    if (m_aborted)
        return false;
    if (iterations > 1) {
        // Only an error recorded inside this loop may be forgotten.
        if (!errorBefore && (g.skip == QStringLiteral("1") || m_errorTerm)) {
            m_errorMsg.clear();
            m_errorPos.clear();
            m_errorTerm = false;
        }
        return true;
    }
    if (result)
        return true;
    if (g.kind == GrammarItem::OptionalLoop) {
        m_parser->SetPosition(entry);
        return true;
    }
    recordError(g, entry);
    return false;
}

// A bracketed report text becomes a call of Get with the body as its string
// argument, every piece at the position of the closing sign.
void TzqILParser::emitQVString()
{
    const QString body = m_parser->GetQVString();
    const QString pos = QStringLiteral("pos=\"") + m_parser->GetXYPosition() + u'"';
    m_lines << QStringLiteral("<dsgn ") + pos + u'>'
            << QStringLiteral("<node text=\"Get\" ") + pos + QStringLiteral("/>")
            << QStringLiteral("<expr ") + pos + QStringLiteral(" pos1") + pos.mid(3) + u'>'
            << QStringLiteral("<string text=\"") + zqEscapeAttribute(u'\'' + body + u'\'') + QStringLiteral("\" ") + pos + QStringLiteral("/>")
            << QStringLiteral("</expr>")
            << QStringLiteral("</dsgn>");
}

void TzqILParser::applyNode(const GrammarItem &g, int entry, int firstLine)
{
    if (g.node == QStringLiteral("uses")) {
        includeUnits(firstLine);
        return;
    }
    QString tag = u'<' + g.node + QStringLiteral(" pos=\"") + positionAfterBlanks(entry) + u'"';
    if (g.node == QStringLiteral("expr"))
        tag += QStringLiteral(" pos1=\"") + m_parser->GetXYPosition() + u'"';
    m_lines.insert(firstLine, tag + u'>');
    m_lines.append(QStringLiteral("</") + g.node + u'>');
}

void TzqILParser::emitLeaf(const QString &name, const QString &text)
{
    m_lines.append(u'<' + name + QStringLiteral(" text=\"") + zqEscapeAttribute(text) + QStringLiteral("\" pos=\"")
                   + m_parser->GetXYPosition() + QStringLiteral("\"/>"));
}

// "line:col" of a position after the blanks and comments that follow it; the
// tokenizer's position is left as it was.
QString TzqILParser::positionAfterBlanks(int position)
{
    const int saved = m_parser->Position();
    m_parser->SetPosition(position);
    m_parser->SkipSpaces();
    const QString result = m_parser->GetXYPosition();
    m_parser->SetPosition(saved);
    return result;
}

void TzqILParser::recordError(const GrammarItem &g, int entry)
{
    if (m_aborted || !m_errorMsg.isEmpty() || g.err.isEmpty() || !m_errors)
        return;
    const int index = m_errors->Find(g.err);
    if (index < 0)
        return;
    const QString message = m_errors->Items(index)->GetProp(QStringLiteral("text"));
    if (message.isEmpty())
        return;
    setError(message, positionAfterBlanks(entry));
    m_errorTerm = g.term;
}

void TzqILParser::setError(const QString &message, const QString &position)
{
    // The languages' own error texts, in the program's language when it has
    // a translation of them.
    m_errorMsg = QCoreApplication::translate("TzqScript", message.toUtf8().constData());
    m_errorPos = position;
}

// An error that ends the translation at once; no loop may forget it.
void TzqILParser::abortWith(const QString &message, const QString &position)
{
    setError(message, position);
    m_errorTerm = false;
    m_aborted = true;
}

// Replaces the file leaves of a uses clause by the included units, the units
// named later first.
void TzqILParser::includeUnits(int firstLine)
{
    const QStringList leaves = m_lines.mid(firstLine);
    m_lines.erase(m_lines.begin() + firstLine, m_lines.end());
    for (qsizetype i = leaves.size() - 1; i >= 0 && !m_aborted; --i) {
        const QString name = leafAttribute(leaves[i], QStringLiteral("text"));
        m_lines += MakeILUnit(name.mid(1, name.size() - 2), leafAttribute(leaves[i], QStringLiteral("pos")));
    }
}

QStringList TzqILParser::MakeILUnit(const QString &name, const QString &position)
{
    if (UsedUnits.contains(name, Qt::CaseInsensitive))
        return {};
    UsedUnits.append(name);

    const auto fail = [&](const QString &message, const QString &errorPos) {
        if (m_program->ErrorUnit.isEmpty())
            m_program->ErrorUnit = name;
        abortWith(message, errorPos);
        return QStringList();
    };
    if (!isSafeUnitName(name))
        return fail(SInvalidUnitName + quoted(name), position);
    QString text;
    if (!readUnit(name, text))
        return fail(SUnitNotFound + quoted(name), position);

    QString program;
    if (!text.isEmpty()) {
        TzqILParser nested(m_program);
        nested.UnitName = name;
        nested.SelectLanguage(m_language);
        nested.UsedUnits = UsedUnits;
        nested.m_depth = m_depth;
        if (!nested.MakeIL(text))
            return fail(m_program->ErrorMsg, m_program->ErrorPos);
        UsedUnits = nested.UsedUnits;
        UnitTexts.insert(nested.UnitTexts);
        UnitTexts.insert(name, text);
        TMemoryStream stream;
        {
            TzqXMLWriter writer(&stream);
            writer.WriteRootItem(nested.ILScript()->Root());
        }
        program = QString::fromUtf8(stream.Bytes());
    }
    return {QStringLiteral("<uses unit=\"") + zqEscapeAttribute(name) + QStringLiteral("\">"), program, QStringLiteral("</uses>")};
}

// The unit's text from the host, or from the first folder of the include path
// that has the file.  False when no folder has it.
bool TzqILParser::readUnit(const QString &name, QString &text)
{
    if (m_program->OnGetUnit) {
        m_program->OnGetUnit(m_program, name, text);
        return true;
    }
    for (QString folder : std::as_const(m_program->IncludePath)) {
        if (!folder.isEmpty() && !folder.endsWith(u'/') && !folder.endsWith(u'\\'))
            folder += u'/';
        const QString fileName = QString(folder + name).replace(u'\\', u'/');
        if (!QFile::exists(fileName))
            continue;
        bool ok = false;
        text = readTextLines(fileName, ok);
        return ok;
    }
    return false;
}

void TzqILParser::BuildProgram()
{
    m_program->ErrorUnit.clear();
    UnitName.clear();
    const auto fail = [this](const QString &message) {
        m_program->ErrorMsg = message;
        m_program->ErrorPos = CurrentPos;
        m_program->ErrorUnit = UnitName;
    };
    try {
        TzqProgramBuilder(*this).Build();
        m_program->ErrorPos.clear();
    } catch (const Exception &e) {
        fail(e.Message());
    } catch (const std::exception &e) {
        fail(QString::fromUtf8(e.what()));
    }
}

void TzqILParser::loadILScript()
{
    QByteArray bytes = "<?xml version=\"1.0\"?>\r\n<program>\r\n";
    for (const QString &line : std::as_const(m_lines))
        bytes += line.toUtf8() + "\r\n";
    bytes += "</program>\r\n";
    TMemoryStream stream;
    stream.WriteBuffer(bytes);
    stream.SetPosition(0);
    m_ilScript->LoadFromStream(&stream);
    const int types = m_grammarRoot->Find(QStringLiteral("types"));
    if (types >= 0)
        m_ilScript->Root()->Add()->Assign(m_grammarRoot->Items(types));
}
