// Installation scenarios for the runner: one directive per line, words separated by blanks,
// double quotes around a word that holds blanks or is empty, "#" starts a comment. Inside
// quotes a doubled quote is one quote character ("""C:\My Data""" is the word "C:\My Data" with
// its quotes); a backslash is always a plain character, so Windows paths are written as they are.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace hostkit {

struct ScenarioLine {
    int number = 0;
    std::vector<std::wstring> words;
};

// A mistake in a scenario, with the line it is on (0: not tied to a line).
class ScenarioError : public std::runtime_error {
public:
    ScenarioError(int line, const std::wstring& message);
    int Line() const { return m_line; }
    const std::wstring& Message() const { return m_message; }

private:
    int m_line;
    std::wstring m_message;
};

// Splits a scenario text into its directive lines; blank and comment lines are dropped.
// Throws ScenarioError for an unterminated quote.
// QuotedWord gives a word back in the form the reader takes: as it is when it needs no quotes.
std::wstring QuotedWord(const std::wstring& word);
std::vector<ScenarioLine> ParseScenario(const std::wstring& text);

// Reads a UTF-8 scenario file. Throws ScenarioError (line 0) when it cannot be read.
std::wstring ReadScenarioFile(const std::wstring& path);

// Helpers for directive arguments; each throws ScenarioError naming the line.
void ExpectWords(const ScenarioLine& line, size_t minimum, size_t maximum, const wchar_t* usage);
long long ParseNumber(const ScenarioLine& line, const std::wstring& word);

// A line that names a product needs an earlier "product KEY" line: `found` is what the
// installation holds under KEY, and nothing there is the scenario's mistake.
[[noreturn]] void ThrowUndeclaredProduct(const ScenarioLine& line, const std::wstring& key);
template <typename Product>
Product* RequireDeclared(const ScenarioLine& line, const std::wstring& key, Product* found)
{
    if (!found)
        ThrowUndeclaredProduct(line, key);
    return found;
}
// "yes" or "1", "no" or "0".
bool ParseYesNo(const ScenarioLine& line, const std::wstring& word);

// The "state=N" and "action=N" words of a product line, from word `from` on.
struct ProductStates {
    std::optional<int> state;
    std::optional<int> action;
};
ProductStates ParseProductStates(const ScenarioLine& line, size_t from);

// The value an "every-property WORD" directive gives every property that no one set: "empty",
// "long" (5,000 characters, a path-like text) or "marked" (quotes, format directives, tabs, line
// breaks and other control characters). Nothing for another word.
std::optional<std::wstring> EveryPropertyValue(const std::wstring& word);

// UTF-8 for the console and for files.
std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace hostkit
