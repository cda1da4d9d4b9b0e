// What a property that no one set reads as in this host process (empty unless a test says
// otherwise): lets a test make every property a plug-in asks for hold one value without knowing
// the names it asks for. Kept apart from the host's class header, which every plug-in includes.
#pragma once

#include "SetupHost.h"

#include <optional>
#include <string>

SETUPHOST_API void SetUnsetPropertyValue(std::optional<std::wstring> value);
