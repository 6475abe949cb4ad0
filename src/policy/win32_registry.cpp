#include "win32_registry.h"

#include <windows.h>

namespace nimbrel {
namespace {

// HKEY_CURRENT_USER is sign-extended on 64-bit Windows, so it is mapped by
// name rather than by value.
HKEY ToHkey(RegKey key) {
    if (key == kCurrentUser) return HKEY_CURRENT_USER;
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
}

RegKey FromHkey(HKEY key) { return RegKey{reinterpret_cast<std::uintptr_t>(key)}; }

}  // namespace

RegStatus Win32Registry::CreateKey(RegKey root, const char* path, RegKey* key) noexcept {
    HKEY opened = nullptr;
    const LONG status = RegCreateKeyA(ToHkey(root), path, &opened);
    if (key != nullptr) *key = status == ERROR_SUCCESS ? FromHkey(opened) : kNullKey;
    if (status == ERROR_SUCCESS) ++open_handles_;
    return status;
}

RegStatus Win32Registry::SetValueEx(RegKey key, const char* name, std::uint32_t reserved,
                                    std::uint32_t type, const std::uint8_t* data,
                                    std::uint32_t size) noexcept {
    return RegSetValueExA(ToHkey(key), name, reserved, type, data, size);
}

RegStatus Win32Registry::OpenKey(RegKey root, const char* path, RegKey* key) noexcept {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyA(ToHkey(root), path, &opened);
    if (key != nullptr) *key = status == ERROR_SUCCESS ? FromHkey(opened) : kNullKey;
    if (status == ERROR_SUCCESS) ++open_handles_;
    return status;
}

RegStatus Win32Registry::DeleteValue(RegKey key, const char* name) noexcept {
    return RegDeleteValueA(ToHkey(key), name);
}

RegStatus Win32Registry::CloseKey(RegKey key) noexcept {
    const LONG status = RegCloseKey(ToHkey(key));
    if (status == ERROR_SUCCESS && key != kCurrentUser && open_handles_ > 0) --open_handles_;
    return status;
}

}  // namespace nimbrel
