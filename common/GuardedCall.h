// Nothing may cross a plug-in's export boundary but the export's own value: a failure inside
// becomes the value the export promises for that case. Shared by both plug-ins.
#pragma once

#include <utility>

namespace plugins {

template <typename Result, typename Body>
Result Guarded(Result onFailure, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return onFailure;
    }
}

}  // namespace plugins
