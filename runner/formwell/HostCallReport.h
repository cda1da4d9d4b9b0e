// How the player tells what FormwellChecks did to the host: one line for people and one fact for
// scripts per change, and the products as they stand at the end.
#pragma once

#include "FormwellPlayer.h"

#include <AppMgrHost.h>

#include <vector>

namespace formwellrun {

// A value as people read it: quoted, with line breaks shown as \n.
std::wstring Quoted(const std::wstring& value);
// "7 (blocked)".
std::wstring StateText(int value);

// The changes among calls[from...]: install states and actions, messages, links, user messages
// and SSE2 questions. Lookups and reads are left out; they change nothing.
void ReportHostCalls(const std::vector<HostCall>& calls, size_t from, IPlayerReport& report);

// Every product and requisite with its state, action, message and links.
void ReportFinalState(const CSetupManager& setup, IPlayerReport& report);

}  // namespace formwellrun
