// Owner of one Windows Installer handle (database, view, record), closed on every path.
#pragma once

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <utility>

namespace wiraxui::msidb {

class CMsiHandle {
public:
    CMsiHandle() = default;
    explicit CMsiHandle(MSIHANDLE handle) : m_handle(handle) {}
    ~CMsiHandle() { Reset(); }
    CMsiHandle(CMsiHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, 0)) {}
    CMsiHandle& operator=(CMsiHandle&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_handle, 0));
        return *this;
    }
    CMsiHandle(const CMsiHandle&) = delete;
    CMsiHandle& operator=(const CMsiHandle&) = delete;

    void Reset(MSIHANDLE handle = 0)
    {
        if (m_handle)
            MsiCloseHandle(m_handle);
        m_handle = handle;
    }
    // For the installer calls that hand out a handle through a pointer.
    MSIHANDLE* Receive()
    {
        Reset();
        return &m_handle;
    }
    MSIHANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != 0; }

private:
    MSIHANDLE m_handle = 0;
};

}  // namespace wiraxui::msidb
