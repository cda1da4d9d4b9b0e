// Folders the runner and the tests make for themselves and remove again, and the one way they
// remove a tree: what another user placed inside (a junction, a symbolic link) is removed as a
// link, never followed, so nothing outside the tree is touched.
#pragma once

#include <string>

namespace hostkit {

// The process's temporary folder, with its trailing backslash.
std::wstring TemporaryFolder();

// True when attributes are those of a link of the file system (a junction or a symbolic link).
bool IsLink(unsigned long attributes);

// Removes folder and everything below it. A folder or file below it that is a link is removed
// as a link: its target and what the target holds stay. True when folder is gone afterwards
// (or was not there).
bool RemoveTree(const std::wstring& folder);

// A folder of the caller's own below the temporary folder ("NAME-PROCESSID"), emptied when made
// and removed with its content when it goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& relative) const { return m_path + L"\\" + relative; }

    // A file with content at relative, its folders made first; false when it cannot be written.
    bool Put(const std::wstring& relative, const std::string& content) const;

private:
    std::wstring m_path;
};

}  // namespace hostkit
