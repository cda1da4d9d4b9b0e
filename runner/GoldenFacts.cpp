#include "GoldenFacts.h"

#include "Scenario.h"

#include <algorithm>
#include <cstdio>
#include <memory>

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
    std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path.c_str(), L"rb"), fclose);
    if (!file)
        return false;
    std::string bytes;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, file.get())) > 0;)
        bytes.append(buffer, got);
    lines.clear();
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(hostkit::FromUtf8(line));
        start = end + 1;
    }
    return true;
}

}  // namespace runner
