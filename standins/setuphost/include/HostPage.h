// The host's side of plug-in pages: the page record an export receives, the host's callback
// lists inside it, and the interface of a configuration page that the host drives.
#pragma once

#include "HostVocabulary.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

// A host callback run around a page: it receives a page record (its words: PageRecord in
// HostVocabulary.h) and answers Setup::CALLBACK_STAY_ON_PAGE to keep the user on the page.
using PageCallback = int (*)(uintptr_t* pageRecord);

// A host vector of callback pointers: first element, one past the last, end of the storage.
// It occupies three words of a page record.
struct HostCallbackList {
    PageCallback* first;
    PageCallback* last;
    PageCallback* storageEnd;
};
static_assert(sizeof(HostCallbackList) == 3 * sizeof(uintptr_t), "a callback list is three record words");

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
