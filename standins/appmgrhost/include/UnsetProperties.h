// What a property that no product defines reads as in this host process (undefined unless a test
// says otherwise): lets a test make every property a plug-in asks for hold one value without
// knowing the names it asks for. Kept apart from the host's class header, which the plug-in includes.
#pragma once

#include "AppMgrHost.h"

#include <optional>

APPMGRHOST_API void SetUnsetPropertyValue(std::optional<QString> value);
