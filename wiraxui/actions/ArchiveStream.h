// minizip reads archives through these callbacks: the archive is opened by its wide path and
// read through a large read-ahead cache, so that minizip's many small reads of headers and
// compressed data cost few system calls.
#pragma once

#include <ioapi.h>

namespace wiraxui::actions {

// Callbacks whose open function takes a `const wchar_t*` path (passed to unzOpen2_64).
zlib_filefunc64_def WideArchiveStream();

}  // namespace wiraxui::actions
