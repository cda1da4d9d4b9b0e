// The record the setup host hands to an export: pointer-sized words, numbered from zero.
#pragma once

#include <cstddef>
#include <cstdint>

class CSetupManager;

namespace wiraxui {

using HostRecord = uintptr_t;

constexpr size_t kRecordSetupManager = 6;

inline CSetupManager* SetupManagerOf(const HostRecord* record)
{
    return record ? reinterpret_cast<CSetupManager*>(record[kRecordSetupManager]) : nullptr;
}

}  // namespace wiraxui
