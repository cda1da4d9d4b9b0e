// An example scenario's outcome as committed beside it: the facts of a run are compared with it
// line by line, and the lines that differ are told.
#pragma once

#include <string>
#include <vector>

namespace runner {

struct FactDifference {
    enum class Kind { Missing, Unexpected };
    Kind kind;
    size_t line;  // in the committed facts (Missing) or in this run's facts (Unexpected), from 1
    std::wstring text;
};

// The fewest lines to drop from each side so that the rest agree, in the order of the files.
std::vector<FactDifference> CompareFacts(const std::vector<std::wstring>& expected, const std::vector<std::wstring>& actual);

// The lines of a facts file (UTF-8); false when it cannot be read.
bool ReadFactsFile(const std::wstring& path, std::vector<std::wstring>& lines);

}  // namespace runner
