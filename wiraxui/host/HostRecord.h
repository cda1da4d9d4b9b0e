// The record the setup host hands to an export: pointer-sized words, numbered from zero.
#pragma once

#include <HostVocabulary.h>

#include <cstddef>
#include <cstdint>

class CSetupManager;

namespace wiraxui {

using HostRecord = uintptr_t;

inline CSetupManager* SetupManagerOf(const HostRecord* record)
{
    return record ? reinterpret_cast<CSetupManager*>(record[PageRecord::kSetupManager]) : nullptr;
}

}  // namespace wiraxui
