#pragma once

#include <windows.h>

namespace nimbrel::ui {

// Base of the program's windows: a static window procedure finds the object
// through GWLP_USERDATA and hands each message to HandleMessage. It keeps
// count of the windows alive, so that the program can end with its last one.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    static int LiveWindows() { return live_windows_; }

protected:
    // Registers a window class of the program, with its icon, once.
    static void Register(const wchar_t* class_name, HINSTANCE instance);
    bool Create(const wchar_t* class_name, const wchar_t* title, DWORD style, DWORD ex_style,
                POINT position, SIZE size, HWND owner, HMENU menu, HINSTANCE instance);
    virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) = 0;
    // Places and sizes everything for a DPI; also run when the DPI changes.
    virtual void Layout(int dpi) = 0;
    // Called once the window is gone; the object may delete itself here.
    virtual void OnDestroyed() {}

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    HWND hwnd_ = nullptr;
    static inline int live_windows_ = 0;
};

}  // namespace nimbrel::ui
