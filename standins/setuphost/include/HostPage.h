// The host's side of plug-in pages: the page record an export receives, the host's callback
// lists inside it, and the interface of a configuration page that the host drives.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// A host callback run around a page: it receives a page record (see PageRecord below) and
// answers 2 to keep the user on the page.
using PageCallback = int (*)(uintptr_t* pageRecord);

// A host vector of callback pointers: first element, one past the last, end of the storage.
// It occupies three words of a page record.
struct HostCallbackList {
    PageCallback* first;
    PageCallback* last;
    PageCallback* storageEnd;
};
static_assert(sizeof(HostCallbackList) == 3 * sizeof(uintptr_t), "a callback list is three record words");

// Word numbers of the page record; every word is pointer-sized.
namespace PageRecord {
constexpr size_t kWords = 32;
constexpr size_t kParentWindow = 0;    // HWND: parent of a configuration page
constexpr size_t kSetupManager = 6;    // CSetupManager*
constexpr size_t kProduct = 7;         // CProduct*
constexpr size_t kHostValue = 8;       // kept by the page, not interpreted
constexpr size_t kHostText = 9;        // with word 8: a string the page-event record leaves empty
constexpr size_t kInitList = 11;       // HostCallbackList, words 11-13
constexpr size_t kRefreshList = 14;    // words 14-16
constexpr size_t kLeaveList = 17;      // words 17-19
constexpr size_t kContext = 20;        // handed back to the callbacks
constexpr size_t kResourceModule = 21; // HMODULE of the product resource library (wizard pages)
constexpr size_t kResourcePath = 22;   // const wchar_t*: full path of it (configuration pages)
constexpr size_t kHostWords = 23;      // words 23-25; word 23 zero: the wizard page has no Back
constexpr size_t kHostWordCount = 3;
}  // namespace PageRecord

// What a configuration-page export returns; the host owns the page from then on.
// The order of the operations is the host's contract.
class IConfigPage {
public:
    // Validates and writes the page's properties; false keeps the user on the page.
    virtual bool Commit() = 0;
    virtual HWND GetWindow() = 0;
    // Destroys the window and deletes the page.
    virtual void Destroy() = 0;
    // Client height in pixels, as recorded when the page initialised.
    virtual int GetHeight() = 0;
    // A property changed: its name, or a string number of the product resource library in the
    // low 16 bits (high bits zero); null passes an empty name.
    virtual void OnPropertyChanged(const wchar_t* name) = 0;

protected:
    ~IConfigPage() = default;
};
