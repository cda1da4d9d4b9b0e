// A kernel handle (process, thread, file) closed when its holder goes, on every path.
#pragma once

#include <windows.h>

namespace hostkit {

class KernelHandle {
public:
    explicit KernelHandle(HANDLE handle) : m_handle(handle) {}
    ~KernelHandle()
    {
        if (m_handle && m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

}  // namespace hostkit
