// The host side of the catalog browser add-in pages: the add-in product the record names, a
// host panel, and a user who works the modal dialog a page opens from a second thread.
#pragma once

#include "PageHost.h"

#include "DialogAnswerer.h"

#include <shlobj.h>

#include <atomic>
#include <functional>
#include <thread>

namespace pagetest {

inline std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
    return std::wstring(path) + L"\\";
}

inline std::wstring ControlText(HWND page, int id)
{
    wchar_t text[1024] = L"";
    GetDlgItemTextW(page, id, text, 1024);
    return text;
}

// Types into an edit as the user does: the text is replaced and the edit reports the change.
inline void TypeInto(HWND page, int id, const std::wstring& text) { SetDlgItemTextW(page, id, text.c_str()); }

// Waits for a dialog of this process captioned caption, then runs script on it from its own
// thread; a dialog the script left open is cancelled, so the page's modal loop always ends.
class ModalUser {
public:
    ModalUser(std::wstring caption, std::function<void(HWND dialog)> script)
        : m_thread([this, caption, script] {
              HWND dialog = nullptr;
              if (!WaitUntil([&] { return (dialog = hostkit::FindOwnDialog(caption.c_str())) != nullptr; }, 15000))
                  return;
              m_saw = true;
              script(dialog);
              if (!WaitUntil([&] { return !IsWindow(dialog); }, 5000))
                  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
          })
    {
    }
    ~ModalUser() { Join(); }
    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    bool SawDialog() const { return m_saw; }

private:
    std::atomic<bool> m_saw{false};
    std::thread m_thread;
};

// A page test whose record names the add-in product "WRXFWLADDIN".
class AddInPageTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        addIn = host.Add(L"WRXFWLADDIN");
        host.record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(addIn);
        host.record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(panel.Handle());
        Seed(L"Manufacturer", L"Tarvena");
        Seed(L"WRXLIBFOLDERNAME", L"Catalog Browser");
        Seed(L"WIRAXDEFAULTFOLDER", L"Wirax 2027");
        Seed(L"LANG2LONG", L"English");
    }
    void TearDown() override
    {
        if (page)
            page->Destroy();
        page = nullptr;
        PageTest::TearDown();
    }

    IConfigPage* Open(const char* exportName)
    {
        auto* create = plugin.Export<ConfigPageExport>(exportName);
        page = create ? create(host.record.data()) : nullptr;
        return page;
    }
    HWND Window() const { return page->GetWindow(); }
    void Seed(const wchar_t* name, const std::wstring& value) { addIn->SeedProperty(name, value); }
    std::wstring Get(const wchar_t* name) const { return addIn->Property(name); }
    // How often the page wrote the property during this test.
    size_t Writes(const wchar_t* name) const
    {
        size_t count = 0;
        for (const HostEvent& event : host.setup.Journal().Events())
            count += event.kind == HostEvent::Kind::PropertySet && event.name == name;
        return count;
    }

    HostPanel panel;
    CProduct* addIn = nullptr;
    IConfigPage* page = nullptr;
};

}  // namespace pagetest
