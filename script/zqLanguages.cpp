#include "script/zqLanguages.h"

#include "script/zqMessages.h"
#include "toolkit/core/Exceptions.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <memory>

namespace {

using Registry = QList<QPair<QString, QString>>;

std::unique_ptr<Registry> &registry()
{
    static std::unique_ptr<Registry> languages;
    return languages;
}

QPair<QString, QString> *find(const QString &name)
{
    if (!registry())
        return nullptr;
    for (auto &entry : *registry()) {
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}

} // namespace

// The resources of a static library are registered by hand.
static void initializeGrammarResources()
{
    Q_INIT_RESOURCE(zqGrammars);
}

QString GrammarResource(const QString &fileName)
{
    initializeGrammarResources();
    QFile file(QStringLiteral(":/script/grammars/") + fileName + QStringLiteral(".xml"));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(SInvalidLanguage);
    return QString::fromUtf8(file.readAll());
}

void InitializeLanguageRegistry()
{
    registry() = std::make_unique<Registry>();
}

void FinalizeLanguageRegistry()
{
    registry().reset();
}

void RegisterLanguage(const QString &name, const QString &grammar)
{
    if (auto *entry = find(name)) {
        entry->second = grammar;
        return;
    }
    if (!registry())
        InitializeLanguageRegistry();
    registry()->append({name, grammar});
}

QString GetLanguageGrammar(const QString &name)
{
    if (const auto *entry = find(name))
        return entry->second;
    throw Exception(QString(SLangNotFound).replace(QStringLiteral("%s"), name));
}
