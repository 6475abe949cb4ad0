#pragma once

#include <windows.h>
#include <sddl.h>
#include <winternl.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Tests that rewrite the current user's policy keys run in a scratch prefix only.
#define REQUIRE_SCRATCH_REGISTRY()                                        \
    if (std::getenv("NIMBREL_SCRATCH_REGISTRY") != std::string_view("1")) \
    GTEST_SKIP() << "set NIMBREL_SCRATCH_REGISTRY=1 in a throwaway prefix to run this"

namespace nimbrel::testing {

inline constexpr const char* kPolicies = R"(Software\Microsoft\Windows\CurrentVersion\Policies)";
inline const std::string kExplorer = std::string(kPolicies) + R"(\Explorer)";

struct StoredValue {
    DWORD type = 0;
    std::vector<BYTE> bytes;
    bool operator==(const StoredValue&) const = default;
};

inline const StoredValue kEight = {REG_DWORD, {8, 0, 0, 0}};

inline void ResetPolicies() { RegDeleteTreeA(HKEY_CURRENT_USER, kPolicies); }

inline std::optional<StoredValue> ReadValue(const char* name) {
    StoredValue value{0, std::vector<BYTE>(64)};
    auto size = static_cast<DWORD>(value.bytes.size());
    if (RegGetValueA(HKEY_CURRENT_USER, kExplorer.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND,
                     &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

inline void WriteValue(const char* name, const StoredValue& value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kExplorer.c_str(), name, value.type, value.bytes.data(),
                    static_cast<DWORD>(value.bytes.size()));
}

// Key handles open in this process, found by asking each handle its type.
inline int OpenKeyHandles() {
    int keys = 0;
    alignas(8) BYTE info[1024];
    for (ULONG_PTR handle = 4; handle < 0x10000; handle += 4) {
        if (NtQueryObject(reinterpret_cast<HANDLE>(handle), ObjectTypeInformation, info,
                          sizeof info, nullptr) < 0)
            continue;
        const auto& type = reinterpret_cast<PUBLIC_OBJECT_TYPE_INFORMATION*>(info)->TypeName;
        keys += std::wstring_view(type.Buffer, type.Length / 2) == L"Key";
    }
    return keys;
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

// Real input: mouse buttons at a window's centre (a time of 0 is now), keys.
// The position travels with each event, so queued clicks land where aimed.
inline void Click(HWND window, DWORD time = 0,
                  std::initializer_list<DWORD> buttons = {MOUSEEVENTF_LEFTDOWN,
                                                          MOUSEEVENTF_LEFTUP}) {
    RECT rect;
    GetWindowRect(window, &rect);
    const LONG x = MulDiv(rect.left + rect.right, 65535, 2 * GetSystemMetrics(SM_CXSCREEN) - 2);
    const LONG y = MulDiv(rect.top + rect.bottom, 65535, 2 * GetSystemMetrics(SM_CYSCREEN) - 2);
    for (const DWORD button : buttons) {
        const MOUSEINPUT mouse = {x,    y, 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button,
                                  time, 0};
        INPUT input = {INPUT_MOUSE, {.mi = mouse}};
        SendInput(1, &input, sizeof input);
    }
}

inline void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys) inputs.push_back({INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, 0}}});
    for (auto key = keys.end(); key != keys.begin();)
        inputs.push_back({INPUT_KEYBOARD, {.ki = {*--key, 0, KEYEVENTF_KEYUP, 0, 0}}});
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A control as a user finds it: by the caption it shows.
inline HWND Find(HWND in, const wchar_t* text) { return FindWindowExW(in, nullptr, nullptr, text); }

// What the screen shows of a window's client area, row by row.
inline std::vector<COLORREF> Shown(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(screen, x, y));
    ReleaseDC(window, screen);
    return pixels;
}

// The top visible window of the class, waited for.
inline HWND WaitForWindow(const wchar_t* class_name, DWORD timeout_ms = 5000) {
    HWND found = nullptr;
    const auto shown = [&] { return IsWindowVisible(found = FindWindowW(class_name, nullptr)); };
    return WaitFor(shown, timeout_ms) ? found : nullptr;
}

// Reads a message box as "title: text" and answers it with a key, as a user would.
inline std::wstring Answer(HWND box, WORD key) {
    wchar_t title[128] = L"", text[512] = L"";
    GetWindowTextW(box, title, 128);
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    WaitFor([&] { return GetForegroundWindow() == box; });
    PressKeys({key});
    WaitFor([&] { return !IsWindow(box); });
    return std::wstring(title) + L": " + text;
}

// Runs `act` while another thread answers any message box it shows.
inline std::wstring AnswerDuring(const std::function<void()>& act, WORD key) {
    std::wstring said;
    std::atomic<bool> done = false;
    std::thread watcher([&] {
        while (!done && said.empty())
            if (HWND box = WaitForWindow(L"#32770", 10)) said = Answer(box, key);
    });
    act();
    done = true;
    watcher.join();
    return said;
}

// The program in a process of its own, ended at the latest when this goes.
struct ProgramProcess {
    explicit ProgramProcess(WORD show = SW_SHOWNORMAL) {
        char line[] = "nimbrel.exe";  // found first beside this program
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = show;
        CreateProcessA(nullptr, line, nullptr, nullptr, 0, 0, nullptr, nullptr, &startup, &info);
        main = WaitForWindow(L"NimbrelMain", 10000);
        EXPECT_TRUE(WaitFor([&] { return main && GetForegroundWindow() == main; })) << "no window";
    }
    ~ProgramProcess() {
        TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }

    PROCESS_INFORMATION info = {};
    HWND main = nullptr;  // the main window, once it is shown and in front
};

}  // namespace nimbrel::testing
