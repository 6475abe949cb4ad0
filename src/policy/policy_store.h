#pragma once

#include "drive_mask.h"
#include "registry.h"

namespace nimbrel {

inline constexpr wchar_t kPolicyKeyPath[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline constexpr wchar_t kNoDrivesName[] = L"NoDrives";

enum class RegCall { CreateKey, SetValue, OpenKey, DeleteValue };

// What a command did. Refused names the first call that failed and its status;
// NothingToDo is a remove that found no key or no value.
struct StoreOutcome {
    enum class Result { Done, NothingToDo, Refused, Aborted };
    Result result = Result::Done;
    RegCall failed_call = RegCall::CreateKey;
    RegStatus status = kSuccess;
    bool operator==(const StoreOutcome&) const = default;
};

// Keeps the drive mask as the per-user Explorer policy value NoDrives. Every
// call of an operation runs whatever the earlier ones returned, and none is
// retried; the outcome is only reported afterwards.
class PolicyStore {
public:
    explicit PolicyStore(Registry& registry) : registry_(registry) {}

    StoreOutcome WriteMask(DriveMask mask) noexcept;
    StoreOutcome RemoveValue() noexcept;
    // The "Hide Selected" command: writes the ticked drives, or removes the
    // value when none is ticked. Aborted when the mask cannot be computed.
    StoreOutcome ApplySelection(DriveBoxes& boxes);

private:
    Registry& registry_;
};

}  // namespace nimbrel
