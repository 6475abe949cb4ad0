#pragma once

#include <windows.h>
#include <sddl.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Tests that rewrite the current user's policy keys run in a scratch prefix only.
#define REQUIRE_SCRATCH_REGISTRY()                                                               \
    if (char scratch[2] = "";                                                                    \
        GetEnvironmentVariableA("NIMBREL_SCRATCH_REGISTRY", scratch, 2) != 1 || *scratch != '1') \
    GTEST_SKIP() << "set NIMBREL_SCRATCH_REGISTRY=1 in a throwaway prefix to run this"

namespace nimbrel::testing {

inline constexpr const char* kPolicies = R"(Software\Microsoft\Windows\CurrentVersion\Policies)";
inline const std::string kExplorer = std::string(kPolicies) + R"(\Explorer)";

// A registry value as stored: its type and its bytes.
using StoredValue = std::pair<DWORD, std::vector<BYTE>>;
inline const StoredValue kEight = {REG_DWORD, {8, 0, 0, 0}};

inline void ResetPolicies() { RegDeleteTreeA(HKEY_CURRENT_USER, kPolicies); }

inline std::optional<StoredValue> ReadValue(const char* name) {
    StoredValue value{0, std::vector<BYTE>(64)};
    auto size = static_cast<DWORD>(value.second.size());
    if (RegGetValueA(HKEY_CURRENT_USER, kExplorer.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND,
                     &value.first, value.second.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.second.resize(size);
    return value;
}

inline void WriteValue(const char* name, const StoredValue& value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kExplorer.c_str(), name, value.first, value.second.data(),
                    static_cast<DWORD>(value.second.size()));
}

// The policies key as Windows keeps it for a standard user: readable, not writable.
struct DenyWrites {
    DenyWrites() { SetDacl("D:P(D;;0x10006;;;WD)(A;;KA;;;WD)"); }
    ~DenyWrites() { SetDacl("D:P(A;;KA;;;WD)"); }
    static void SetDacl(const char* sddl) {
        PSECURITY_DESCRIPTOR dacl = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &dacl, nullptr);
        HKEY key = nullptr;
        RegOpenKeyExA(HKEY_CURRENT_USER, kExplorer.c_str(), 0, WRITE_DAC, &key);
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, dacl);
        RegCloseKey(key);
        LocalFree(dacl);
    }
};

// Handles this thread's messages, `filter` first, until `done` or the deadline.
inline bool WaitFor(const std::function<bool()>& done, DWORD timeout_ms = 2000,
                    const std::function<bool(MSG&)>& filter = {}) {
    for (const DWORD start = GetTickCount();;) {
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            if (filter && filter(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        if (GetTickCount() - start > timeout_ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Real input, each event numbered, as its messages report; the process that
// sent the last input may give the foreground away.
inline std::atomic<ULONG_PTR> last_input = 0;

// Mouse buttons at a window's centre (a time of 0 is now), each event where aimed.
inline void Click(HWND window, DWORD time = 0,
                  std::initializer_list<DWORD> buttons = {MOUSEEVENTF_LEFTDOWN,
                                                          MOUSEEVENTF_LEFTUP}) {
    RECT rect;
    GetWindowRect(window, &rect);
    const LONG x = MulDiv(rect.left + rect.right, 65535, 2 * GetSystemMetrics(SM_CXSCREEN) - 2);
    const LONG y = MulDiv(rect.top + rect.bottom, 65535, 2 * GetSystemMetrics(SM_CYSCREEN) - 2);
    for (const DWORD button : buttons) {
        INPUT input = {INPUT_MOUSE,
                       {.mi = {x, y, 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button, time,
                               ++last_input}}};
        SendInput(1, &input, sizeof input);
    }
}

inline void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys)
        inputs.push_back({INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, ++last_input}}});
    for (auto key = keys.end(); key != keys.begin();)
        inputs.push_back({INPUT_KEYBOARD, {.ki = {*--key, 0, KEYEVENTF_KEYUP, 0, ++last_input}}});
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A control as a user finds it: by the caption it shows.
inline HWND Find(HWND in, const wchar_t* text) { return FindWindowExW(in, nullptr, nullptr, text); }

}  // namespace nimbrel::testing
