#include "policy_store.h"

#include <string_view>

#include "unique_handle.h"

namespace nimbrel {
namespace {

// Zero-terminated text in the ANSI code page, for the ANSI entry points. Held
// without allocation, so that no conversion can fail halfway through.
struct AnsiText {
    static constexpr std::size_t kCapacity = 64;
    char chars[kCapacity] = {};
    explicit AnsiText(std::wstring_view text) {
        const int written =
            WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), chars,
                                static_cast<int>(std::size(chars)) - 1, nullptr, nullptr);
        chars[written > 0 ? written : 0] = '\0';
    }
};

// Text that did not fit would come out empty, and an empty key path or value
// name would make the calls act on HKEY_CURRENT_USER itself.
static_assert(std::size(kPolicyKeyPath) <= AnsiText::kCapacity &&
              std::size(kNoDrivesName) <= AnsiText::kCapacity);

StoreOutcome Refused(LSTATUS status) { return {StoreOutcome::Result::Refused, status}; }

}  // namespace

StoreOutcome WriteMask(DriveMask mask) noexcept {
    UniqueKey key;
    const LSTATUS created =
        RegCreateKeyA(HKEY_CURRENT_USER, AnsiText(kPolicyKeyPath).chars, key.put());
    const auto bits = static_cast<std::uint32_t>(mask);
    const BYTE data[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                          static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
    const LSTATUS set =
        RegSetValueExA(key.get(), AnsiText(kNoDrivesName).chars, 0, REG_DWORD, data, sizeof data);

    if (created != ERROR_SUCCESS) return Refused(created);
    if (set != ERROR_SUCCESS) return Refused(set);
    return {};
}

StoreOutcome RemoveValue() noexcept {
    UniqueKey key;
    const LSTATUS opened =
        RegOpenKeyA(HKEY_CURRENT_USER, AnsiText(kPolicyKeyPath).chars, key.put());
    LSTATUS deleted = RegDeleteValueA(key.get(), AnsiText(kNoDrivesName).chars);
    // A standard user may not delete under the policies key even when there
    // is nothing to delete; only a value that is there makes it a refusal.
    if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND &&
        RegQueryValueExA(key.get(), AnsiText(kNoDrivesName).chars, nullptr, nullptr, nullptr,
                         nullptr) == ERROR_FILE_NOT_FOUND) {
        deleted = ERROR_FILE_NOT_FOUND;
    }

    if (opened == ERROR_FILE_NOT_FOUND) return {StoreOutcome::Result::NothingToDo};
    if (opened != ERROR_SUCCESS) return Refused(opened);
    if (deleted == ERROR_FILE_NOT_FOUND) return {StoreOutcome::Result::NothingToDo};
    if (deleted != ERROR_SUCCESS) return Refused(deleted);
    return {};
}

}  // namespace nimbrel
