#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace nimbrel::testing {

// Handles this thread's messages for a while, passing each through `filter`
// first (the window's dialog keys and shortcut) as the program's loop does.
void Pump(DWORD milliseconds, const std::function<bool(MSG&)>& filter = {});

// Real input, as a user's mouse and keyboard give it.
void SendMouse(POINT screen, DWORD button);
void ClickAt(POINT screen);
void Click(HWND control);
void PressKeys(std::initializer_list<WORD> keys);

// A control's rectangle relative to its parent's client area.
RECT RectInParent(HWND control);
std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
LOGFONTW FontOf(HWND control);
SIZE ClientSize(HWND window);
bool CentredOnWorkArea(HWND window);

// The first visible top-level window of this class (and title, if given) in a process.
HWND FindProcessWindow(DWORD process_id, const wchar_t* class_name, const wchar_t* title,
                       DWORD timeout_ms);

struct SeenMessageBox {
    bool seen = false;
    std::wstring title;
    std::wstring text;
    bool has_icon = false;
    bool has_yes_no = false;
    bool has_ok = false;
    // Whether every other window of the process was waiting for the answer.
    bool others_disabled = false;
};

// Runs `trigger` while another thread watches for a message box of the
// process, reads it and answers it, so that whoever showed it can go on.
SeenMessageBox AnswerMessageBox(DWORD process_id, int answer, const std::function<void()>& trigger,
                                DWORD timeout_ms = 5000);

// A child process of the program, ended at the latest when this goes.
class ProgramProcess {
public:
    explicit ProgramProcess(const std::string& command_line);
    ~ProgramProcess();
    DWORD id() const { return info_.dwProcessId; }
    bool WaitForExit(DWORD timeout_ms) const;
    HWND MainWindow() const;

private:
    PROCESS_INFORMATION info_ = {};
};

}  // namespace nimbrel::testing
