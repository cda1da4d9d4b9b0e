// Owners of Windows handles: whoever holds one releases it, on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace wiraxui {

template <typename Handle, BOOL(WINAPI* Release)(Handle)>
class CUniqueHandle {
public:
    CUniqueHandle() = default;
    explicit CUniqueHandle(Handle handle) : m_handle(handle) {}
    ~CUniqueHandle() { Reset(); }
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;

    void Reset(Handle handle = nullptr)
    {
        if (m_handle)
            Release(m_handle);
        m_handle = handle;
    }
    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    Handle m_handle = nullptr;
};

// Some Win32 calls answer INVALID_HANDLE_VALUE rather than null for "no handle".
inline BOOL WINAPI CloseKernelHandle(HANDLE handle)
{
    return handle == INVALID_HANDLE_VALUE ? TRUE : CloseHandle(handle);
}

using UniqueHandle = CUniqueHandle<HANDLE, CloseKernelHandle>;

// A search of FindFirstFileW, which also answers INVALID_HANDLE_VALUE when nothing was found.
inline BOOL WINAPI CloseFindHandle(HANDLE handle)
{
    return handle == INVALID_HANDLE_VALUE ? TRUE : FindClose(handle);
}

using UniqueFindHandle = CUniqueHandle<HANDLE, CloseFindHandle>;

}  // namespace wiraxui
