#pragma once

#include <windows.h>

#include "drive_mask.h"

namespace nimbrel {

inline constexpr wchar_t kPolicyKeyPath[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline constexpr wchar_t kNoDrivesName[] = L"NoDrives";

// What an operation did. Refused carries the status of the first call that
// failed; NothingToDo is a remove that found no key or no value.
struct StoreOutcome {
    enum class Result { Done, NothingToDo, Refused };
    Result result = Result::Done;
    LSTATUS status = ERROR_SUCCESS;
    bool operator==(const StoreOutcome&) const = default;
};

// Keep the drive mask as the current user's Explorer policy value NoDrives,
// or remove it. Every call of an operation runs whatever the earlier ones
// returned, and none is retried; the outcome is only reported afterwards.
StoreOutcome WriteMask(DriveMask mask) noexcept;
StoreOutcome RemoveValue() noexcept;

}  // namespace nimbrel
