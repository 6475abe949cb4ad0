#pragma once

#include <windows.h>
#include <sddl.h>
#include <winternl.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Tests that rewrite the current user's policy keys run only where the caller
// says the registry is a throwaway one (a scratch Wine prefix).
#define REQUIRE_SCRATCH_REGISTRY()                                      \
    if (const char* allowed = std::getenv("NIMBREL_SCRATCH_REGISTRY");   \
        allowed == nullptr || std::string_view(allowed) != "1")          \
    GTEST_SKIP() << "set NIMBREL_SCRATCH_REGISTRY=1 in a throwaway prefix to run this"

namespace nimbrel::testing {

inline constexpr const char* kPolicies = R"(Software\Microsoft\Windows\CurrentVersion\Policies)";
inline constexpr const char* kExplorer = R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";

struct StoredValue {
    DWORD type = 0;
    std::vector<BYTE> bytes;
    bool operator==(const StoredValue&) const = default;
};

inline void ResetPolicies() { RegDeleteTreeA(HKEY_CURRENT_USER, kPolicies); }

inline std::optional<StoredValue> ReadValue(const char* name) {
    StoredValue value{0, std::vector<BYTE>(64)};
    auto size = static_cast<DWORD>(value.bytes.size());
    if (RegGetValueA(HKEY_CURRENT_USER, kExplorer, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type,
                     value.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

inline void WriteValue(const char* name, const StoredValue& value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kExplorer, name, value.type, value.bytes.data(),
                    static_cast<DWORD>(value.bytes.size()));
}

inline HKEY OpenExplorer(REGSAM access) {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, kExplorer, 0, access, &key);
    return key;
}

inline bool ExplorerKeyExists() {
    HKEY key = OpenExplorer(KEY_READ);
    return key != nullptr && RegCloseKey(key) == ERROR_SUCCESS;
}

// No stable key can be created under a volatile one.
inline void MakePoliciesVolatile() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kPolicies, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    RegCloseKey(key);
}

// Key handles open in this process, found by asking each handle its type.
inline int OpenKeyHandles() {
    int keys = 0;
    alignas(8) BYTE info[1024];
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        if (NtQueryObject(reinterpret_cast<HANDLE>(value), ObjectTypeInformation, info,
                          sizeof info, nullptr) < 0)
            continue;
        const auto& type = reinterpret_cast<PUBLIC_OBJECT_TYPE_INFORMATION*>(info)->TypeName;
        keys += std::wstring_view(type.Buffer, type.Length / 2) == L"Key";
    }
    return keys;
}

// Denies set-value, create-subkey and delete on the Explorer policies key,
// but lets tests read it, as Windows does for a standard user.
class DenyWrites {
public:
    DenyWrites() { SetDacl("D:P(D;;0x10006;;;WD)(A;;KA;;;WD)"); }
    ~DenyWrites() { SetDacl("D:P(A;;KA;;;WD)"); }

private:
    static void SetDacl(const char* sddl) {
        PSECURITY_DESCRIPTOR dacl = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &dacl, nullptr);
        HKEY key = OpenExplorer(WRITE_DAC);
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, dacl);
        RegCloseKey(key);
        LocalFree(dacl);
    }
};

// Handles this thread's messages, each through `filter` first as the
// program's loop does, until `done` holds or the deadline passes.
inline bool WaitFor(const std::function<bool()>& done, DWORD timeout_ms = 2000,
                    const std::function<bool(MSG&)>& filter = {}) {
    for (const DWORD start = GetTickCount();;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (filter && filter(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        if (GetTickCount() - start > timeout_ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Real mouse and keyboard input; a time of 0 is now.
inline void SendMouse(POINT screen, DWORD button, DWORD time = 0) {
    INPUT input = {INPUT_MOUSE, {.mi = {MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1),
                                        MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1),
                                        0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button, time,
                                        0}}};
    SendInput(1, &input, sizeof input);
}

inline void ClickAt(POINT screen, DWORD time = 0) {
    SendMouse(screen, MOUSEEVENTF_LEFTDOWN, time);
    SendMouse(screen, MOUSEEVENTF_LEFTUP, time);
}

inline POINT CentreOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

inline void Click(HWND window) { ClickAt(CentreOf(window)); }

inline void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys) inputs.push_back({INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, 0}}});
    for (auto key = keys.end(); key != keys.begin();)
        inputs.push_back({INPUT_KEYBOARD, {.ki = {*--key, 0, KEYEVENTF_KEYUP, 0, 0}}});
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The first visible window of this class and process, waited for.
inline HWND FindProcessWindow(DWORD process, const wchar_t* class_name, DWORD timeout_ms) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            while ((found = FindWindowExW(nullptr, found, class_name, nullptr)) != nullptr) {
                DWORD owner = 0;
                GetWindowThreadProcessId(found, &owner);
                if (owner == process && IsWindowVisible(found)) return true;
            }
            return false;
        },
        timeout_ms);
    return found;
}

inline std::wstring TextOf(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

struct SeenMessageBox {
    bool seen = false;
    std::wstring title;
    std::wstring text;
    bool others_disabled = false;  // every other window of the process waited for the answer
};

// Runs `trigger` while another thread waits for a message box of the
// process, reads it and answers it with a key, as a user would. The wait
// ends once the box is answered, or `timeout_ms` after `trigger` returned.
inline SeenMessageBox AnswerMessageBox(DWORD process, WORD key,
                                       const std::function<void()>& trigger,
                                       DWORD timeout_ms = 5000) {
    SeenMessageBox seen;
    std::atomic<bool> triggered = false;
    std::thread watcher([&] {
        HWND box = nullptr;
        while (box == nullptr && !triggered) box = FindProcessWindow(process, L"#32770", 10);
        if (box == nullptr && (box = FindProcessWindow(process, L"#32770", timeout_ms)) == nullptr)
            return;
        seen = {true, TextOf(box), TextOf(GetDlgItem(box, 0xFFFF)), true};
        for (HWND other = nullptr; (other = FindWindowExW(nullptr, other, nullptr, nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(other, &owner);
            if (owner == process && other != box && IsWindowVisible(other) && IsWindowEnabled(other))
                seen.others_disabled = false;
        }
        WaitFor([&] { return GetForegroundWindow() == box; });
        PressKeys({key});
        WaitFor([&] { return !IsWindow(box); });
    });
    trigger();
    triggered = true;
    watcher.join();
    return seen;
}

// The program in a process of its own, ended at the latest when this goes.
class ProgramProcess {
public:
    explicit ProgramProcess(WORD show = SW_SHOWDEFAULT) {
        char path[MAX_PATH];
        std::string line(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
        line = '"' + line.substr(0, line.find_last_of('\\') + 1) + "nimbrel.exe\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = show == SW_SHOWDEFAULT ? 0 : STARTF_USESHOWWINDOW;
        startup.wShowWindow = show;
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info_);
    }
    ~ProgramProcess() {
        TerminateProcess(info_.hProcess, 1);
        WaitForExit(5000);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    DWORD id() const { return info_.dwProcessId; }
    bool WaitForExit(DWORD timeout_ms) const {
        return WaitForSingleObject(info_.hProcess, timeout_ms) == WAIT_OBJECT_0;
    }
    // The program's window of this class, once it is shown and in front.
    HWND Window(const wchar_t* class_name = L"NimbrelMain") const {
        const HWND found = FindProcessWindow(id(), class_name, 10000);
        return WaitFor([&] { return GetForegroundWindow() == found; }) ? found : nullptr;
    }

private:
    PROCESS_INFORMATION info_ = {};
};

}  // namespace nimbrel::testing
