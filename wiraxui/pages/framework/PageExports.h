// How an export creates a page for the host: the configuration-page pattern hands back the
// page, the wizard-page pattern shows it and returns when the user leaves it.
#pragma once

#include "exports/ExportGuard.h"
#include "host/HostRecord.h"
#include "host/ResourceLibrary.h"
#include "pages/framework/MessageLoop.h"

#include <HostPage.h>
#include <commctrl.h>

#include <memory>
#include <string>

namespace wiraxui {

// Exit codes of wizard pages, as the host reads them.
constexpr int kWizardNext = Setup::WIZARD_NEXT;
constexpr int kWizardBack = Setup::WIZARD_BACK;
constexpr int kWizardFirst = Setup::WIZARD_FIRST;
constexpr int kWizardCancelled = Setup::WIZARD_CANCELLED;
constexpr int kWizardNotCreated = Setup::WIZARD_NOT_CREATED;

inline void RegisterPageControlClasses()
{
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
}

// Creates page TPage as a child of the record's parent from a template of library. Null when
// the library cannot be loaded or the window cannot be created.
template <class TPage>
IConfigPage* CreateConfigPage(HostRecord* record, const wchar_t* library) noexcept
{
    return Guarded<IConfigPage*>(nullptr, [&]() -> IConfigPage* {
        if (!record)
            return nullptr;
        const std::wstring path = ResolveResourceLibrary(library);
        CResourceLibraryLoader loader;
        if (!loader.Load(path))
            return nullptr;
        CResourceInstanceScope scope(loader.Module());
        record[PageRecord::kResourcePath] = reinterpret_cast<uintptr_t>(path.c_str());
        auto page = std::make_unique<TPage>(record);
        // The host may read the path after this export returns: point it at the page's copy.
        record[PageRecord::kResourcePath] = reinterpret_cast<uintptr_t>(page->ResourceLibraryPath().c_str());
        RegisterPageControlClasses();
        if (!page->Create(reinterpret_cast<HWND>(record[PageRecord::kParentWindow]))) {
            record[PageRecord::kResourcePath] = 0;  // the page and its copy of the path go with it
            return nullptr;
        }
        return page.release();
    });
}

// Shows wizard page TPage from a template of library and runs its loop until the user leaves;
// answers the page's exit code.
template <class TPage>
int RunWizardPage(HostRecord* record, const wchar_t* library) noexcept
{
    return Guarded<int>(kWizardNotCreated, [&]() -> int {
        if (!record)
            return kWizardNotCreated;
        CResourceLibraryLoader loader;
        if (!loader.Load(ResolveResourceLibrary(library)))
            return kWizardNotCreated;
        CResourceInstanceScope scope(loader.Module());
        record[PageRecord::kResourceModule] = reinterpret_cast<uintptr_t>(loader.Module());
        RegisterPageControlClasses();
        CMessageLoop loop;
        int code = kWizardNotCreated;
        {
            CMessageLoopRegistration registration(&loop);
            TPage page(record);
            if (!page.Create(nullptr))
                return kWizardNotCreated;
            ShowWindow(page.m_hWnd, SW_SHOW);
            code = loop.Run();
            if (loop.EndedByForeignQuit())
                code = page.ExitCode();
        }
        // A quit message that was not the page's belongs to the host's loop: hand it back.
        if (loop.EndedByForeignQuit())
            PostQuitMessage(loop.ForeignQuitCode());
        return code;
    });
}

}  // namespace wiraxui
