// Results of the install-time actions: Windows error codes the host understands.
#pragma once

#include <functional>

namespace wiraxui::actions {

constexpr int kDone = 0;
constexpr int kCancelled = 1602;  // the user asked to stop
constexpr int kFailed = 1603;     // fatal error during installation

// Asked between units of work; true once the user has asked to cancel.
using CancelCheck = std::function<bool()>;

}  // namespace wiraxui::actions
