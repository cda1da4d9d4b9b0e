// Nothing may cross the export boundary but the export's own value: a failure inside becomes the
// value the export promises for that case.
#pragma once

#include <utility>

namespace formwell {

template <typename Result, typename Body>
Result Guarded(Result onFailure, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return onFailure;
    }
}

}  // namespace formwell
