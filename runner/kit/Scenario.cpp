#include "Scenario.h"

#include <windows.h>

#include <cwchar>
#include <fstream>
#include <sstream>

namespace hostkit {

ScenarioError::ScenarioError(int line, const std::wstring& message)
    : std::runtime_error(Utf8(message)), m_line(line), m_message(message)
{
}

std::vector<ScenarioLine> ParseScenario(const std::wstring& text)
{
    std::vector<ScenarioLine> lines;
    std::wistringstream input(text);
    std::wstring raw;
    int number = 0;
    while (std::getline(input, raw)) {
        ++number;
        ScenarioLine line{number, {}};
        size_t at = 0;
        while (at < raw.size()) {
            const wchar_t c = raw[at];
            if (c == L' ' || c == L'\t' || c == L'\r') {
                ++at;
            } else if (c == L'#') {
                break;
            } else if (c == L'"') {
                // Inside quotes a doubled quote stands for one; every other character, the
                // backslash too, is itself.
                std::wstring word;
                size_t end = at + 1;
                for (;; ++end) {
                    if (end >= raw.size() || raw[end] == L'\r')
                        throw ScenarioError(number, L"a quoted word is not closed");
                    if (raw[end] != L'"') {
                        word += raw[end];
                    } else if (end + 1 < raw.size() && raw[end + 1] == L'"') {
                        word += L'"';
                        ++end;
                    } else {
                        break;
                    }
                }
                line.words.push_back(std::move(word));
                at = end + 1;
            } else {
                size_t end = at;
                while (end < raw.size() && raw[end] != L' ' && raw[end] != L'\t' && raw[end] != L'\r')
                    ++end;
                line.words.push_back(raw.substr(at, end - at));
                at = end;
            }
        }
        if (!line.words.empty())
            lines.push_back(std::move(line));
    }
    return lines;
}

std::wstring QuotedWord(const std::wstring& word)
{
    if (!word.empty() && word.find_first_of(L" \t\"#") == std::wstring::npos)
        return word;
    std::wstring quoted = L"\"";
    for (wchar_t c : word)
        quoted += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
    return quoted + L"\"";
}

std::wstring ReadScenarioFile(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);  // mingw's libstdc++ takes a wide path
    if (!file)
        throw ScenarioError(0, L"cannot read the scenario file " + path);
    std::ostringstream content;
    content << file.rdbuf();
    return FromUtf8(content.str());
}

void ExpectWords(const ScenarioLine& line, size_t minimum, size_t maximum, const wchar_t* usage)
{
    const size_t count = line.words.size() - 1;
    if (count < minimum || count > maximum)
        throw ScenarioError(line.number, std::wstring(L"expected: ") + usage);
}

void ThrowUndeclaredProduct(const ScenarioLine& line, const std::wstring& key)
{
    throw ScenarioError(line.number, L"product '" + key + L"' is not declared; add a 'product " + key + L"' line first");
}

long long ParseNumber(const ScenarioLine& line, const std::wstring& word)
{
    wchar_t* end = nullptr;
    const long long value = std::wcstoll(word.c_str(), &end, 0);
    if (word.empty() || !end || *end != L'\0')
        throw ScenarioError(line.number, L"not a number: '" + word + L"'");
    return value;
}

bool ParseYesNo(const ScenarioLine& line, const std::wstring& word)
{
    if (word == L"yes" || word == L"1")
        return true;
    if (word == L"no" || word == L"0")
        return false;
    throw ScenarioError(line.number, L"expected yes or no, found '" + word + L"'");
}

ProductStates ParseProductStates(const ScenarioLine& line, size_t from)
{
    ProductStates states;
    for (size_t i = from; i < line.words.size(); ++i) {
        const std::wstring& word = line.words[i];
        const size_t equals = word.find(L'=');
        const std::wstring name = word.substr(0, equals);
        if (equals == std::wstring::npos || (name != L"state" && name != L"action"))
            throw ScenarioError(line.number, L"expected state=N or action=N, found '" + word + L"'");
        (name == L"state" ? states.state : states.action) = static_cast<int>(ParseNumber(line, word.substr(equals + 1)));
    }
    return states;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring FromUtf8(const std::string& text)
{
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // a byte-order mark is not text
    if (text.size() <= start)
        return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data() + start, static_cast<int>(text.size() - start), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data() + start, static_cast<int>(text.size() - start), result.data(), size);
    return result;
}

std::optional<std::wstring> EveryPropertyValue(const std::wstring& word)
{
    if (word == L"empty")
        return std::wstring();
    if (word == L"long") {
        std::wstring text = L"C:\\";
        while (text.size() < 5000)
            text += L"LongFolderName\\";
        text.resize(5000);
        return text;
    }
    if (word == L"marked")
        return std::wstring(L"\"quoted\" 'single' %s%s%n%n %d %ls %1 {0} \t tab \r\n line \x01\x02\x07\x08\x1b\x7f end\\");
    return std::nullopt;
}

}  // namespace hostkit
