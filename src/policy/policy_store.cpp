#include "policy_store.h"

#include <array>

#include "ansi_text.h"

namespace nimbrel {
namespace {

StoreOutcome Refused(RegCall call, RegStatus status) {
    return {StoreOutcome::Result::Refused, call, status};
}

}  // namespace

StoreOutcome PolicyStore::WriteMask(DriveMask mask) noexcept {
    RegKey key = kNullKey;
    const RegStatus created =
        registry_.CreateKey(kCurrentUser, ToAnsi(kPolicyKeyPath).c_str(), &key);
    const auto bits = static_cast<std::uint32_t>(mask);
    const std::array<std::uint8_t, 4> data = {
        static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
        static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
    const RegStatus set = registry_.SetValueEx(key, ToAnsi(kNoDrivesName).c_str(), 0, kRegDword,
                                               data.data(), data.size());
    registry_.CloseKey(key);

    if (created != kSuccess) return Refused(RegCall::CreateKey, created);
    if (set != kSuccess) return Refused(RegCall::SetValue, set);
    return {};
}

StoreOutcome PolicyStore::RemoveValue() noexcept {
    RegKey key = kNullKey;
    const RegStatus opened = registry_.OpenKey(kCurrentUser, ToAnsi(kPolicyKeyPath).c_str(), &key);
    const RegStatus deleted = registry_.DeleteValue(key, ToAnsi(kNoDrivesName).c_str());
    registry_.CloseKey(key);

    if (opened == kFileNotFound) return {StoreOutcome::Result::NothingToDo};
    if (opened != kSuccess) return Refused(RegCall::OpenKey, opened);
    if (deleted == kFileNotFound) return {StoreOutcome::Result::NothingToDo};
    if (deleted != kSuccess) return Refused(RegCall::DeleteValue, deleted);
    return {};
}

StoreOutcome PolicyStore::ApplySelection(DriveBoxes& boxes) {
    const auto mask = ComputeDriveMask(boxes);
    if (!mask) return {StoreOutcome::Result::Aborted};
    return *mask == 0 ? RemoveValue() : WriteMask(*mask);
}

}  // namespace nimbrel
