// A configuration page opened through its export inside a host panel and worked through its
// controls the way a user does: clicks, typed text, boxes answered by another thread.
#pragma once

#include "PageHost.h"
#include "PageLayoutChecks.h"

#include "DialogAnswerer.h"
#include "FileTree.h"

#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace pagetest {

using hostkit::ScratchFolder;

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ConfigPageTest : public PageTest {
protected:
    explicit ConfigPageTest(const char* exportName) : m_exportName(exportName) {}

    void SetUp() override
    {
        PageTest::SetUp();
        create = plugin.Export<ConfigPageExport>(m_exportName);
        ASSERT_NE(create, nullptr);
        host.record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(panel.Handle());
        host.record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(main);
    }
    void TearDown() override
    {
        if (page)
            page->Destroy();
        PageTest::TearDown();
    }

    IConfigPage* Open()
    {
        page = create(host.record.data());
        if (page) {
            ShowWindow(panel.Handle(), SW_SHOW);
            ShowWindow(page->GetWindow(), SW_SHOW);
        }
        return page;
    }
    HWND Window() const { return page->GetWindow(); }
    HWND Control(int id) const { return GetDlgItem(page->GetWindow(), id); }
    bool Checked(int id) const { return IsDlgButtonChecked(page->GetWindow(), id) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    bool Visible(int id) const { return IsWindowVisible(Control(id)) != FALSE; }
    // A click as the user makes it: the control notifies the page.
    void Press(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    void Type(int id, const std::wstring& text) { SetWindowTextW(Control(id), text.c_str()); }
    std::wstring Text(int id) const
    {
        wchar_t text[1024] = L"";
        GetWindowTextW(Control(id), text, 1024);
        return text;
    }
    // The values written to a property of the main product, in order.
    std::vector<std::wstring> Writes(const std::wstring& name) const
    {
        std::vector<std::wstring> values;
        for (const HostEvent& event : host.setup.Journal().Events()) {
            if (event.kind == HostEvent::Kind::PropertySet && event.name == name)
                values.push_back(event.after);
        }
        return values;
    }
    // Names of the properties written, in order.
    std::vector<std::wstring> WrittenNames() const
    {
        std::vector<std::wstring> names;
        for (const HostEvent& event : host.setup.Journal().Events()) {
            if (event.kind == HostEvent::Kind::PropertySet)
                names.push_back(event.name);
        }
        return names;
    }
    // Commits while another thread answers the boxes captioned like the installation.
    bool CommitAnswering(int answer, std::vector<hostkit::SeenDialog>* seen = nullptr)
    {
        hostkit::DialogAnswerer answerer({host.setup.m_titleText}, answer);
        const bool committed = page->Commit();
        if (seen)
            *seen = answerer.Seen();
        return committed;
    }

    HostPanel panel;
    ConfigPageExport* create = nullptr;
    IConfigPage* page = nullptr;

private:
    const char* m_exportName;
};

}  // namespace pagetest
