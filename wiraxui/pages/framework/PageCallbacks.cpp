#include "pages/framework/PageCallbacks.h"

#include <HostVocabulary.h>
#include <array>

namespace wiraxui {

CallbackList CopyCallbackList(const HostRecord* record, size_t firstWord)
{
    CallbackList copy;
    if (!record)
        return copy;
    const auto* list = reinterpret_cast<const HostCallbackList*>(record + firstWord);
    if (!list->first || list->last < list->first)
        return copy;
    for (PageCallback* entry = list->first; entry != list->last; ++entry) {
        if (*entry)
            copy.push_back(*entry);
    }
    return copy;
}

namespace {

int RunList(const CallbackList& list, const PageEventSource& source, int emptyResult, bool stopOnStay)
{
    // One record for the whole list: the host's callbacks may leave words in it for the ones
    // after them.
    std::array<uintptr_t, PageRecord::kWords> record{};
    record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(source.window);
    record[PageRecord::kSetupManager] = reinterpret_cast<uintptr_t>(source.setup);
    record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(source.product);
    record[PageRecord::kContext] = source.context;
    record[PageRecord::kEventMark] = 1;
    int result = emptyResult;
    for (PageCallback callback : list) {
        result = callback(record.data());
        if (stopOnStay && result == kStayOnPage)
            break;
    }
    return result;
}

}  // namespace

int RunCallbackList(const CallbackList& list, const PageEventSource& source, int emptyResult)
{
    return RunList(list, source, emptyResult, false);
}

int RunCallbackListUntilStay(const CallbackList& list, const PageEventSource& source, int emptyResult)
{
    return RunList(list, source, emptyResult, true);
}

}  // namespace wiraxui
