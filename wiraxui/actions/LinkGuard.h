// Below the shared folders any authenticated user may make folders of their own, and so put a
// junction or symbolic link where the deployment will later create, enter or write: the elevated
// deployment would then write wherever the link points. While a guard lives, the file helpers of
// the deployment refuse every link met below its roots; the roots themselves are the
// administrator's choice and are taken as they are.
#pragma once

#include "util/FinalPath.h"

#include <set>
#include <string>
#include <vector>

namespace wiraxui::actions {

class SharedRootsGuard {
public:
    // Roots may end with a backslash; empty ones are ignored.
    explicit SharedRootsGuard(const std::vector<std::wstring>& roots);
    ~SharedRootsGuard();
    SharedRootsGuard(const SharedRootsGuard&) = delete;
    SharedRootsGuard& operator=(const SharedRootsGuard&) = delete;

    // True once some look found a link: the step that met it ends as a damaged destination.
    bool LinkMet() const { return m_linkMet; }

private:
    friend bool LinkFreeBelowRoots(const std::wstring& folder);
    std::vector<std::wstring> m_roots;     // without trailing backslash, longest first
    std::set<std::wstring> m_checked;      // folders found to be plain, upper-cased
    bool m_linkMet = false;
    SharedRootsGuard* m_previous = nullptr;
};

// True when no folder below the innermost guarded root that holds `folder`, down to `folder`
// itself, is a link. A path below no guarded root (or with no guard alive) is not looked at. A
// folder that does not exist ends the look: nothing below it exists either. Each folder found
// plain is remembered while the guard lives, so that it costs one look for the whole deployment.
bool LinkFreeBelowRoots(const std::wstring& folder);

}  // namespace wiraxui::actions
