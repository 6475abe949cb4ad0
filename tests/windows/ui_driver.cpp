#include "ui_driver.h"

#include <stdexcept>
#include <thread>
#include <vector>

namespace nimbrel::testing {

void Pump(DWORD milliseconds, const std::function<bool(MSG&)>& filter) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (filter && filter(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

void SendMouse(POINT screen, DWORD button) {
    // The position travels with the event, so queued clicks land where they were aimed.
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
    SendInput(1, &input, sizeof input);
}

void ClickAt(POINT screen) {
    SendMouse(screen, MOUSEEVENTF_LEFTDOWN);
    SendMouse(screen, MOUSEEVENTF_LEFTUP);
}

void Click(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

RECT RectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font = {};
    const auto handle = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (handle == nullptr || GetObjectW(handle, sizeof font, &font) == 0)
        throw std::runtime_error("control has no font");
    return font;
}

SIZE ClientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

bool CentredOnWorkArea(HWND window) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT rect;
    GetWindowRect(window, &rect);
    const RECT& area = monitor.rcWork;
    return std::abs((rect.left + rect.right) - (area.left + area.right)) <= 2 &&
           std::abs((rect.top + rect.bottom) - (area.top + area.bottom)) <= 2;
}

HWND FindProcessWindow(DWORD process_id, const wchar_t* class_name, const wchar_t* title,
                       DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    do {
        HWND found = nullptr;
        while ((found = FindWindowExW(nullptr, found, class_name, title)) != nullptr) {
            DWORD owner_process = 0;
            GetWindowThreadProcessId(found, &owner_process);
            if (owner_process == process_id && IsWindowVisible(found)) return found;
        }
        Sleep(20);
    } while (GetTickCount() - start < timeout_ms);
    return nullptr;
}

SeenMessageBox AnswerMessageBox(DWORD process_id, int answer, const std::function<void()>& trigger,
                                DWORD timeout_ms) {
    SeenMessageBox result;
    std::thread watcher([&result, process_id, answer, timeout_ms] {
        HWND box = FindProcessWindow(process_id, L"#32770", nullptr, timeout_ms);
        if (box == nullptr) return;
        result.seen = true;
        result.title = TextOf(box);
        result.text = TextOf(GetDlgItem(box, 0xFFFF));
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                IsWindowVisible(child))
                result.has_icon = true;
        }
        result.has_yes_no = GetDlgItem(box, IDYES) != nullptr && GetDlgItem(box, IDNO) != nullptr;
        result.has_ok = GetDlgItem(box, IDOK) != nullptr;
        result.others_disabled = true;
        HWND other = nullptr;
        while ((other = FindWindowExW(nullptr, other, nullptr, nullptr)) != nullptr) {
            DWORD owner_process = 0;
            GetWindowThreadProcessId(other, &owner_process);
            if (owner_process == process_id && other != box && IsWindowVisible(other) &&
                IsWindowEnabled(other))
                result.others_disabled = false;
        }
        PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    });
    trigger();
    watcher.join();
    return result;
}

ProgramProcess::ProgramProcess(const std::string& command_line) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string line = command_line;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_))
        throw std::runtime_error("cannot start " + command_line);
}

ProgramProcess::~ProgramProcess() {
    if (!WaitForExit(0)) TerminateProcess(info_.hProcess, 1);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ProgramProcess::WaitForExit(DWORD timeout_ms) const {
    return WaitForSingleObject(info_.hProcess, timeout_ms) == WAIT_OBJECT_0;
}

HWND ProgramProcess::MainWindow() const {
    return FindProcessWindow(id(), L"NimbrelMain", nullptr, 10000);
}

}  // namespace nimbrel::testing
