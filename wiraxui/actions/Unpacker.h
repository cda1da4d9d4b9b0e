// Unpacks one zip archive into a folder, streaming every entry through one 1 MiB buffer.
#pragma once

#include "actions/ActionResult.h"

#include <string>

namespace wiraxui::actions {

constexpr unsigned kUnpackBufferBytes = 1024 * 1024;

// `destination` ends with a backslash. Returns kDone, kCancelled or kFailed. Complete files stay
// after a failure or a cancel; a file whose data could not be written whole is removed. Nothing is
// ever written outside `destination`: an entry whose name could leave it fails the archive.
// `why`, when given, receives the reason of a failure.
int UnpackArchive(const std::wstring& archive, const std::wstring& destination, const CancelCheck& cancelled,
                  std::string* why = nullptr);

}  // namespace wiraxui::actions
