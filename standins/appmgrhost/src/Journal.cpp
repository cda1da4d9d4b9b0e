#include "AppMgrHost.h"

void CHostJournal::Add(HostCall call) { m_calls.push_back(std::move(call)); }

std::vector<HostCall> CHostJournal::Calls(HostCall::Kind kind) const
{
    std::vector<HostCall> calls;
    for (const HostCall& call : m_calls) {
        if (call.kind == kind)
            calls.push_back(call);
    }
    return calls;
}
