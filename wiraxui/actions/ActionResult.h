// Results of the install-time actions: Windows error codes the host understands.
#pragma once

#include <HostVocabulary.h>

#include <functional>

namespace wiraxui::actions {

constexpr int kDone = Setup::RESULT_DONE;
constexpr int kCancelled = Setup::RESULT_CANCELLED;  // the user asked to stop
constexpr int kFailed = Setup::RESULT_FAILED;        // fatal error during installation

// Asked between units of work; true once the user has asked to cancel.
using CancelCheck = std::function<bool()>;

}  // namespace wiraxui::actions
