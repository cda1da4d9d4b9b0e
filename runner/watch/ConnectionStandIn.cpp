// Whether the machine is connected, as the plug-in asks the system. Wine always answers that it
// is, so a page's offline documents would never be opened; the scenario says what the system
// answers instead:
//
//   connection none|online    from here on the plug-in's InternetGetConnectedStateExW answers no
//                             connection (none) or a LAN connection (online); the runner hooks
//                             the plug-in's import of it for the rest of the scenario
//
// Each time the plug-in asks, after the call the facts show what it was told:
//
//   connection-asked none|online
#include "engine/WiraxPlayer.h"
#include "watch/ImportHook.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace runner {

namespace {

using hostkit::ExpectWords;
using hostkit::ScenarioError;
using hostkit::ScenarioLine;

class ConnectionStandIn {
public:
    explicit ConnectionStandIn(HMODULE plugin)
        : m_hook(plugin, "WININET.dll", "InternetGetConnectedStateExW", reinterpret_cast<void*>(&Asked))
    {
    }
    bool Hooked() const { return m_hook.Original() != nullptr; }
    void SetOnline(bool online) { m_online = online; }

    std::vector<bool> TakeAnswers()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::move(m_answers);
    }

    static ConnectionStandIn* current;

private:
    static BOOL WINAPI Asked(LPDWORD flags, LPWSTR name, DWORD nameLength, DWORD)
    {
        ConnectionStandIn* self = current;
        const bool online = self && self->m_online;
        if (flags)
            *flags = online ? INTERNET_CONNECTION_LAN : INTERNET_CONNECTION_OFFLINE;
        if (name && nameLength > 0)
            name[0] = L'\0';
        if (self) {
            std::lock_guard<std::mutex> lock(self->m_mutex);
            self->m_answers.push_back(online);
        }
        return online ? TRUE : FALSE;
    }

    ImportHook m_hook;
    std::atomic<bool> m_online{true};
    std::mutex m_mutex;
    std::vector<bool> m_answers;
};

ConnectionStandIn* ConnectionStandIn::current = nullptr;

void ReportAnswers(Report& report)
{
    if (!ConnectionStandIn::current)
        return;
    for (bool online : ConnectionStandIn::current->TakeAnswers()) {
        report.Line(std::wstring(L"the plug-in asked whether the machine is connected: ") + (online ? L"it is" : L"it is not"));
        report.Fact(std::wstring(L"connection-asked ") + (online ? L"online" : L"none"));
    }
}

void Connection(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"connection none|online");
    const std::wstring& word = line.words[1];
    if (word != L"none" && word != L"online")
        throw ScenarioError(line.number, L"expected none or online, found '" + word + L"'");
    if (!ConnectionStandIn::current) {
        auto standIn = std::make_shared<ConnectionStandIn>(session.plugin);
        if (!standIn->Hooked())
            throw ScenarioError(line.number, L"the runner cannot answer for the system: WiraxUI.dll does not import InternetGetConnectedStateExW from WININET.dll");
        ConnectionStandIn::current = standIn.get();
        // Released with the scenario's other arrangements: the plug-in asks the system again.
        session.arranged.push_back(std::shared_ptr<void>(nullptr, [standIn](void*) mutable {
            ConnectionStandIn::current = nullptr;
            standIn.reset();
        }));
        session.afterEachCall.push_back(ReportAnswers);
    }
    ConnectionStandIn::current->SetOnline(word == L"online");
    report.Line(word == L"online" ? L"the machine has a connection" : L"the machine has no connection");
}

const bool kRegistered = [] {
    WiraxDirectives()[L"connection"] = Connection;
    return true;
}();

}  // namespace

}  // namespace runner
