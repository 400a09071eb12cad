#pragma once

// The registry of script languages: each language name maps to the whole
// text of its grammar document.  Names are compared without regard to case.
// The registry exists between the unit's start and its end.

#include <QString>

// Replaces the grammar of that name, or adds it.
void RegisterLanguage(const QString &name, const QString &grammar);

// The grammar text; raises "Language '...' not found" for an unknown name.
QString GetLanguageGrammar(const QString &name);

// The text of a grammar document built into the program
// (script/grammars/<fileName>.xml).
QString GrammarResource(const QString &fileName);

void InitializeLanguageRegistry();
void FinalizeLanguageRegistry();
