// Unpacks one zip archive into a folder, streaming every entry through one 1 MiB buffer.
#pragma once

#include "actions/ActionResult.h"

#include <string>

namespace wiraxui::actions {

constexpr unsigned kUnpackBufferBytes = 1024 * 1024;

// Why an archive failed, for the host's log of the deployment: the reason in words, the entry at
// fault (its name as the archive gives it; empty when the archive as a whole failed) and the
// system's error code when a file operation of the system failed (0 otherwise).
struct UnpackFailure {
    std::string reason;
    std::wstring entry;
    unsigned long systemError = 0;
};

// `destination` ends with a backslash. Returns kDone, kCancelled or kFailed. Complete files stay
// after a failure or a cancel; a file whose data could not be written whole is removed. Nothing is
// ever written outside `destination`: an entry whose name could leave it fails the archive.
// `why`, when given, receives the reason of a failure; `failure` all that is known of it.
int UnpackArchive(const std::wstring& archive, const std::wstring& destination, const CancelCheck& cancelled,
                  std::string* why = nullptr);
int UnpackArchive(const std::wstring& archive, const std::wstring& destination, const CancelCheck& cancelled,
                  UnpackFailure& failure);

}  // namespace wiraxui::actions
