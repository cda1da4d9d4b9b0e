// Files of a deployment reach their final names only when they are complete: each is written under
// a temporary name in its own folder and then moved over the final name in one step, so that a
// reader of the shared folders, a failed write or a killed host never sees half a file, and an
// earlier version stays in place until its successor is whole.
#pragma once

#include <set>
#include <string>

namespace wiraxui::actions {

// True for the names of this module's temporary files: "~wxp" + 1 to 8 hex digits + ".tmp".
bool IsTemporaryName(const std::wstring& name);

// The temporary path of the given number in `folder`; a folder just prepared (below) holds none,
// so number 1 is free there unless a leftover could not be removed.
std::wstring TemporaryPath(const std::wstring& folder, unsigned number = 1);

// A temporary path in `folder` that no file holds at the moment. The names are short ("~wxp1.tmp")
// so that a folder that fits the path limit also fits its temporary files.
std::wstring FreeTemporaryPath(const std::wstring& folder);

// Moves the complete file `temporary` over `target` (replacing it, read-only or not). On failure
// the temporary file is removed and `target` is what it was.
bool CommitFile(const std::wstring& temporary, const std::wstring& target);

// Deletes one file, read-only or not. A name that leads elsewhere (a link) is left as it is, and
// what it points at is never touched.
bool RemoveFile(const std::wstring& path);

// A path that the file functions accept beyond the classic path limit ("\\?\" form) when needed.
std::wstring ExtendedPath(const std::wstring& path);

// Copies one file whole (CopyFileW into a temporary name, then the move). Clears the read-only
// attribute of the copy when asked.
bool CopyWhole(const std::wstring& from, const std::wstring& to, bool clearReadOnly);

// The folders one piece of work writes into: each is made when it is missing and, the first time
// it is met, cleared of the temporary files that an interrupted earlier deployment left there.
class FolderPreparer {
public:
    // False when the folder could not be made (or is a file), or it or a folder above it is a
    // link below a guarded shared root (LinkGuard.h).
    bool Prepare(const std::wstring& folder);
    // How many leftovers were removed so far.
    size_t Removed() const { return m_removed; }

private:
    std::set<std::wstring> m_ready;
    size_t m_removed = 0;
};

}  // namespace wiraxui::actions
