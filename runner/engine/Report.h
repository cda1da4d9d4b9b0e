// What the runner tells: a report for people on the console and, when asked, the same facts one
// per line in a stable form that scripts can compare.
#pragma once

#include <SetupHost.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace runner {

class Report {
public:
    Report() = default;
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // "-" writes the facts to the console instead of the report for people.
    bool OpenFacts(const std::wstring& path);

    void Heading(const std::wstring& text);
    // A heading shown only if a line follows it before the next heading: the directives between
    // two calls get one when they have something to say.
    void PendingHeading(const std::wstring& text);
    void Line(const std::wstring& text);
    void Fact(const std::wstring& text);
    // Keeps every fact in memory as well, for a comparison once the scenario has played.
    void KeepFacts() { m_keepFacts = true; }
    const std::vector<std::wstring>& KeptFacts() const { return m_kept; }

    // Everything the plug-in did to the host since event number `from` of the journal.
    void HostEvents(const std::vector<HostEvent>& events, size_t from);
    // What the installation holds at the end: properties that were written, messages, costs.
    void Summary(const CSetupManager& setup);

private:
    FILE* m_facts = nullptr;
    bool m_factsOnConsole = false;
    bool m_keepFacts = false;
    std::wstring m_pendingHeading;
    std::vector<std::wstring> m_kept;
};

// The fact of one thing the plug-in did to the host, as the facts of a call show it; none for
// progress records (the export's own caller tells the phases).
std::optional<std::wstring> HostEventFact(const HostEvent& event);

// A value as people read it: quoted, with line breaks shown as \n.
std::wstring Quoted(const std::wstring& value);
// Bytes with thousands separators: 1,085,473,258.
std::wstring Bytes(long long bytes);

}  // namespace runner
