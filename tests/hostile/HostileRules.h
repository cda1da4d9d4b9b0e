// What the hostile-host test calls, in which installation, and what each export may answer:
// the deciding half of hostilecalls, apart from its process and file handling.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace hostile {

enum class Condition {
    MissingProduct,  // the installation holds no product of the keys the exports look for
    EmptyProperties,
    LongProperties,    // 5,000 characters
    MarkedProperties,  // quotes, format directives, control characters
    NoRegistry,        // ordinary properties, but none of the registry keys they lead to exists
    NoResources,       // the host's resource folder is empty
};

std::optional<Condition> ParseCondition(const std::wstring& word);

enum class Kind { Plain, ProductCheck, Notice, ProductNotice, ConfigurationPage, WizardPage, Formwell };

struct Call {
    std::wstring plugin;      // WiraxUI or FormwellChecks
    std::wstring exportName;
    Kind kind = Kind::Plain;
    std::wstring arguments;   // what follows the export on the call line
    int setupMode = 1;
};

// The calls of a group: "wiraxui-checks" (exports that show no page), "wiraxui-pages",
// "formwell"; empty for another word.
std::vector<Call> CallsOf(const std::wstring& group);

// The hostrun scenario that plays one call under the condition.
std::wstring Scenario(const Call& call, Condition condition, const std::wstring& emptyResourceFolder);

// Whether the export may answer result (as hostrun reports it) under the condition.
bool ReturnAllowed(const Call& call, Condition condition, const std::wstring& result);

// Whether a box ("CAPTION | TEXT" as hostrun reports it) may be shown by the call that answered result.
bool BoxAllowed(const Call& call, const std::wstring& result, const std::wstring& box);

// The folders (lower case, ending in a backslash) the export is meant to write under the condition.
std::vector<std::wstring> MayWrite(const Call& call, Condition condition);

// Folders (lower-case prefixes) that the calls of other conditions, running side by side with
// this one, may write.
std::vector<std::wstring> OthersMayWrite();

// Whether a file or folder (lower-case path) that appeared during the call is one the export is
// meant to write beyond its folders.
bool FileAllowed(const Call& call, const std::wstring& path);

}  // namespace hostile
