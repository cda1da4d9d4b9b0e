#include "engine/GoldenFacts.h"

#include "Scenario.h"

#include <algorithm>
#include <fstream>

namespace runner {

std::vector<FactDifference> CompareFacts(const std::vector<std::wstring>& expected, const std::vector<std::wstring>& actual)
{
    // Longest common subsequence by lines; facts files have a few hundred lines at most.
    const size_t n = expected.size();
    const size_t m = actual.size();
    std::vector<std::vector<unsigned>> common(n + 1, std::vector<unsigned>(m + 1, 0));
    for (size_t i = n; i-- > 0;) {
        for (size_t j = m; j-- > 0;)
            common[i][j] = expected[i] == actual[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
    std::vector<FactDifference> differences;
    size_t i = 0;
    size_t j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && expected[i] == actual[j]) {
            ++i;
            ++j;
        } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
            // What was expected is told before what came instead.
            differences.push_back({FactDifference::Kind::Missing, i + 1, expected[i]});
            ++i;
        } else {
            differences.push_back({FactDifference::Kind::Unexpected, j + 1, actual[j]});
            ++j;
        }
    }
    return differences;
}

bool ReadFactsFile(const std::wstring& path, std::vector<std::wstring>& lines)
{
    std::ifstream file(path.c_str(), std::ios::binary);  // mingw's libstdc++ takes a wide path
    if (!file)
        return false;
    lines.clear();
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(hostkit::FromUtf8(line));
    }
    return true;
}

}  // namespace runner
