// The scenario language in one table: every directive and step hostrun plays, how it is written
// and what it does in one line. `hostrun --help` prints it, the README's tables are held to it, and
// the directives WiraxUI's player knows are checked against it.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace runner {

enum class Speaker {
    Wirax,     // a directive of a WiraxUI scenario
    Step,      // a user's or the host's step on a page, right after the call that opens it
    Formwell,  // a directive of a FormwellChecks scenario
};

struct Phrase {
    Speaker speaker;
    const wchar_t* syntax;  // as written; its first word names it (two for a step: "user click")
    const wchar_t* help;    // one line
};

const std::vector<Phrase>& ScenarioLanguage();

// The names a phrase's syntax gives: "setup-mode N" -> setup-mode; "user next|back" -> user next,
// user back.
std::vector<std::wstring> PhraseNames(const std::wstring& syntax);

// What WiraxUI's player handles and the table do not agree on, one line each; nothing when they
// agree. `handled` are the directive names the player dispatches.
std::vector<std::wstring> LanguageDisagreements(const std::vector<std::wstring>& handled);

void PrintLanguage(FILE* out);

}  // namespace runner
