#include "engine/Report.h"

#include "engine/MachineFolders.h"
#include "Scenario.h"

#include <cwctype>
#include <map>
#include <set>

namespace runner {

namespace {

void Write(FILE* file, const std::wstring& text)
{
    const std::string bytes = hostkit::Utf8(text) + "\n";
    fwrite(bytes.data(), 1, bytes.size(), file);
    fflush(file);
}

// Facts keep one line each: line breaks and backslashes are escaped.
std::wstring Escaped(const std::wstring& value)
{
    std::wstring result;
    for (wchar_t c : value) {
        if (c == L'\n')
            result += L"\\n";
        else if (c == L'\r')
            result += L"\\r";
        else
            result += c;
    }
    return result;
}

// From this many manufacturers written "0" in one call, people get one line for them.
constexpr size_t kCollapseFrom = 5;

std::wstring Padded(const std::wstring& text, size_t width)
{
    return text.size() >= width ? text : text + std::wstring(width - text.size(), L' ');
}

}  // namespace

Report::~Report()
{
    if (m_facts && !m_factsOnConsole)
        fclose(m_facts);
}

bool Report::OpenFacts(const std::wstring& path)
{
    if (path == L"-") {
        m_facts = stdout;
        m_factsOnConsole = true;
        return true;
    }
    m_facts = _wfopen(path.c_str(), L"wb");
    return m_facts != nullptr;
}

void Report::Heading(const std::wstring& text)
{
    m_pendingHeading.clear();
    if (!m_factsOnConsole)
        Write(stdout, L"\n" + text);
}

void Report::PendingHeading(const std::wstring& text) { m_pendingHeading = text; }

void Report::Line(const std::wstring& text)
{
    if (!m_pendingHeading.empty()) {
        const std::wstring heading = m_pendingHeading;
        Heading(heading);
    }
    if (!m_factsOnConsole)
        Write(stdout, L"  " + text);
}

void Report::Fact(const std::wstring& text)
{
    const std::wstring fact = WithFolderRoles(Escaped(text));
    if (m_facts)
        Write(m_facts, fact);
    if (m_keepFacts)
        m_kept.push_back(fact);
}

namespace {

// A manufacturer's selection flag ("M_SI"): a commit writes all 47 of them, most of them "0".
bool IsManufacturerFlag(const std::wstring& name)
{
    if (name.size() < 3 || name.compare(0, 2, L"M_") != 0)
        return false;
    for (size_t i = 2; i < name.size(); ++i) {
        if (!iswupper(name[i]) && !iswdigit(name[i]))
            return false;
    }
    return true;
}

// Manufacturers not chosen: people read one line for them, the facts keep every write.
bool IsUnchosenManufacturer(const HostEvent& e)
{
    return (e.kind == HostEvent::Kind::PropertySet || e.kind == HostEvent::Kind::InstallPropertySet)
           && IsManufacturerFlag(e.name) && e.after == L"0";
}

std::wstring UnchosenManufacturersLine(const std::wstring& owner, size_t count, bool anyChosen)
{
    return Padded(owner, 16) + std::to_wstring(count) + (anyChosen ? L" other" : L"") + L" manufacturer properties -> \"0\"";
}

}  // namespace

std::optional<std::wstring> HostEventFact(const HostEvent& e)
{
    switch (e.kind) {
    case HostEvent::Kind::PropertySet:
        return L"property " + e.product + L" " + e.name + L"=" + e.after;
    case HostEvent::Kind::InstallPropertySet:
        return L"install-property " + e.name + L"=" + e.after;
    case HostEvent::Kind::MessageSet:
        return L"message " + e.product + L" " + std::to_wstring(e.number) + L" " + e.extra + L" | " + e.after;
    case HostEvent::Kind::MessageDeleted:
        return L"message-deleted " + e.product + L" " + std::to_wstring(e.number);
    case HostEvent::Kind::CostAdded:
        return L"cost " + e.product + L" " + e.name + L" " + std::to_wstring(e.number);
    case HostEvent::Kind::CostCleared:
        return L"cost-cleared " + e.product;
    case HostEvent::Kind::AlertUrlSet:
        return L"alert-url " + e.product + L" " + e.after;
    case HostEvent::Kind::AlertUrlTitleSet:
        return L"alert-title " + e.product + L" " + e.after;
    case HostEvent::Kind::Progress:
        return std::nullopt;  // the export's own caller tells the phases
    case HostEvent::Kind::FeatureActionSet:
        return L"feature-action " + e.product + L" " + e.name + L" " + std::to_wstring(e.number);
    default:
        return L"host-event " + std::to_wstring(static_cast<int>(e.kind)) + L" " + e.name + L" " + std::to_wstring(e.number);
    }
}

void Report::HostEvents(const std::vector<HostEvent>& events, size_t from)
{
    // Per product (or the installation): how many manufacturers were written "0", and whether
    // any was chosen; the count is told where the first of them was written.
    std::map<std::wstring, std::pair<size_t, bool>> manufacturers;
    for (size_t i = from; i < events.size(); ++i) {
        const HostEvent& e = events[i];
        const std::wstring owner = e.kind == HostEvent::Kind::InstallPropertySet ? L"(installation)" : e.product;
        if (IsUnchosenManufacturer(e))
            ++manufacturers[owner].first;
        else if ((e.kind == HostEvent::Kind::PropertySet || e.kind == HostEvent::Kind::InstallPropertySet) && IsManufacturerFlag(e.name))
            manufacturers[owner].second = true;
    }
    std::set<std::wstring> told;
    for (size_t i = from; i < events.size(); ++i) {
        const HostEvent& e = events[i];
        if (IsUnchosenManufacturer(e)) {
            const std::wstring owner = e.kind == HostEvent::Kind::InstallPropertySet ? L"(installation)" : e.product;
            const auto& [count, anyChosen] = manufacturers[owner];
            if (count < kCollapseFrom) {
                // A few are worth a line each.
            } else {
                if (told.insert(owner).second)
                    Line(UnchosenManufacturersLine(owner, count, anyChosen));
                Fact(*HostEventFact(e));
                continue;
            }
        }
        switch (e.kind) {
        case HostEvent::Kind::PropertySet:
            if (e.hadBefore && e.before == e.after) {
                Line(Padded(e.product, 16) + Padded(e.name, 30) + Quoted(e.after) + L" (unchanged)");
            } else {
                Line(Padded(e.product, 16) + Padded(e.name, 30) + (e.hadBefore ? Quoted(e.before) : L"(unset)") + L" -> "
                     + Quoted(e.after));
            }
            Fact(*HostEventFact(e));
            break;
        case HostEvent::Kind::InstallPropertySet:
            Line(Padded(L"(installation)", 16) + Padded(e.name, 30) + (e.hadBefore ? Quoted(e.before) : L"(unset)")
                 + L" -> " + Quoted(e.after));
            Fact(*HostEventFact(e));
            break;
        case HostEvent::Kind::MessageSet:
            Line(L"message on " + e.product + L", kind " + std::to_wstring(e.number) + L": " + Quoted(e.extra) + L" "
                 + Quoted(e.after));
            Fact(*HostEventFact(e));
            break;
        case HostEvent::Kind::MessageDeleted:
            Line(L"message on " + e.product + L", kind " + std::to_wstring(e.number) + L" deleted");
            Fact(*HostEventFact(e));
            break;
        case HostEvent::Kind::CostAdded:
            Line(L"cost on " + e.product + L", drive " + e.name + L" +" + Bytes(e.number) + L" bytes");
            Fact(*HostEventFact(e));
            break;
        case HostEvent::Kind::CostCleared:
            Line(L"cost on " + e.product + L" cleared");
            Fact(*HostEventFact(e));
            break;
        case HostEvent::Kind::AlertUrlSet:
            Line(L"alert link on " + e.product + L": " + Quoted(e.after));
            Fact(*HostEventFact(e));
            break;
        case HostEvent::Kind::AlertUrlTitleSet:
            Line(L"alert title on " + e.product + L": " + Quoted(e.after));
            Fact(*HostEventFact(e));
            break;
        case HostEvent::Kind::Progress:
            break;  // the export's own caller tells the phases
        case HostEvent::Kind::FeatureActionSet:
            Line(L"feature " + e.name + L" of " + e.product + L": install action " + std::to_wstring(e.number));
            Fact(*HostEventFact(e));
            break;
        default:
            Line(L"host call: " + (e.name.empty() ? std::wstring(L"(event)") : e.name) + L" " + std::to_wstring(e.number));
            Fact(*HostEventFact(e));
            break;
        }
    }
}

void Report::Summary(const CSetupManager& setup)
{
    Heading(L"At the end of the scenario");
    std::set<std::pair<std::wstring, std::wstring>> written;
    for (const HostEvent& e : setup.Journal().Events()) {
        if (e.kind == HostEvent::Kind::PropertySet)
            written.insert({e.product, e.name});
    }
    for (const auto& product : setup.Products()) {
        bool any = false;
        size_t unchosen = 0;
        bool anyChosen = false;
        for (const auto& [name, value] : product->Properties()) {
            if (!written.count({product->Key(), name}) || !IsManufacturerFlag(name))
                continue;
            if (value == L"0")
                ++unchosen;
            else
                anyChosen = true;
        }
        for (const auto& [name, value] : product->Properties()) {
            if (!written.count({product->Key(), name}))
                continue;
            if (!any)
                Line(product->Key() + L" properties written:");
            any = true;
            Fact(L"final-property " + product->Key() + L" " + name + L"=" + value);
            if (unchosen >= kCollapseFrom && IsManufacturerFlag(name) && value == L"0")
                continue;
            Line(L"  " + Padded(name, 30) + Quoted(value));
        }
        if (unchosen >= kCollapseFrom)
            Line(L"  " + std::to_wstring(unchosen) + (anyChosen ? L" other" : L"") + L" manufacturer properties \"0\"");
        for (const auto& [drive, bytes] : product->Costs()) {
            Line(product->Key() + L" extra cost on drive " + drive + L" " + Bytes(bytes) + L" bytes");
            Fact(L"total-cost " + product->Key() + L" " + drive + L" " + std::to_wstring(bytes));
        }
        for (const auto& [kind, message] : product->Messages()) {
            Line(product->Key() + L" shows message kind " + std::to_wstring(kind) + L": " + Quoted(message.title) + L" "
                 + Quoted(message.text));
            Fact(L"final-message " + product->Key() + L" " + std::to_wstring(kind) + L" " + message.title + L" | "
                 + message.text);
        }
    }
}

std::wstring Quoted(const std::wstring& value)
{
    std::wstring result = L"\"";
    for (wchar_t c : value)
        result += c == L'\n' ? std::wstring(L"\\n") : std::wstring(1, c);
    return result + L"\"";
}

std::wstring Bytes(long long bytes)
{
    std::wstring digits = std::to_wstring(bytes < 0 ? -bytes : bytes);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), L",");
    return (bytes < 0 ? L"-" : L"") + digits;
}

}  // namespace runner
