#include "window.h"

#include "resource.h"

namespace nimbrel::ui {

Window::~Window() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        --live_windows_;
    }
}

void Window::Register(const wchar_t* class_name, HINSTANCE instance) {
    WNDCLASSEXW window_class = {};
    if (GetClassInfoExW(instance, class_name, &window_class)) return;
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = Procedure;
    window_class.hInstance = instance;
    // A shared icon: the system keeps it, so it has no owner here.
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_NIMBREL));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = class_name;
    RegisterClassExW(&window_class);
}

bool Window::Create(const wchar_t* class_name, const wchar_t* title, DWORD style, DWORD ex_style,
                    POINT position, SIZE size, HWND owner, HMENU menu, HINSTANCE instance) {
    return CreateWindowExW(ex_style, class_name, title, style, position.x, position.y, size.cx,
                           size.cy, owner, menu, instance, this) != nullptr;
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ++live_windows_;
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);

    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        --live_windows_;
        self->OnDestroyed();
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    if (message == WM_DPICHANGED) {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
        SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        self->Layout(HIWORD(wparam));
        return 0;
    }
    // The program is built without exceptions, so nothing can unwind into the
    // system's code that called us.
    return self->HandleMessage(message, wparam, lparam);
}

}  // namespace nimbrel::ui
