#include "about_window.h"

#include <cstdlib>
#include <utility>

#include "layout.h"
#include "version.h"

namespace nimbrel::ui {
namespace {

namespace design = about_window;

constexpr WindowDesign kDesign = {
    L"NimbrelAbout",     L"About " NIMBREL_TITLE, WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN,
    WS_EX_DLGMODALFRAME, design::kClient,         design::kControls,
    design::kFonts,
};

// The window's stored fore colour: set on its drawing surface, though nothing
// the window draws takes its colour from there.
constexpr COLORREF kForeColour = RGB(255, 0, 0);

// The click that closed the window, and the presses after it that make it a
// double or a triple click: the last of them taken, and how many more may come.
struct ClosingClick {
    DWORD time = 0;
    POINT at = {};
    int presses_left = 0;
    bool taking_release = false;
} closing_click;

LRESULT CALLBACK OwnerProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return message == WM_CLOSE ? 0 : DefWindowProcW(hwnd, message, wparam, lparam);
}

// Owned windows get no taskbar button. One owner, never shown, serves every
// About window and lives as long as the program, so none goes with its
// window. It ignores a close request, which taskkill sends to hidden windows too.
HWND HiddenOwner() {
    static const UniqueWindow owner = [] {
        WNDCLASSW owner_class = {};
        owner_class.lpfnWndProc = OwnerProcedure;
        owner_class.hInstance = GetModuleHandleW(nullptr);
        owner_class.lpszClassName = L"NimbrelOwner";
        RegisterClassW(&owner_class);
        return UniqueWindow(CreateWindowExW(0, owner_class.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0,
                                            nullptr, nullptr, owner_class.hInstance, nullptr));
    }();
    return owner.get();
}

}  // namespace

void ShowAboutWindow() {
    if (HWND open = AboutWindow::Current()) {
        ShowWindow(open, SW_SHOWNORMAL);
        SetForegroundWindow(open);
        return;
    }
    // Once open, the object lives as long as its window and deletes itself with it.
    auto* window = new AboutWindow();
    if (!window->Open()) delete window;
}

AboutWindow::AboutWindow() : Window(kDesign) {}

bool AboutWindow::Open() {
    if (!Create(HiddenOwner(), nullptr)) return false;
    current_ = this;
    // Its first press is its own, however soon after the last window closed.
    closing_click = {};
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    return true;
}

// "Version: " and the major, minor and revision numbers, in that order.
void AboutWindow::OnCreate() {
    wchar_t version[48];
    wsprintfW(version, L"Version: %d.%d.%d", NIMBREL_VERSION_MAJOR, NIMBREL_VERSION_MINOR,
              NIMBREL_VERSION_PATCH);
    SetDlgItemTextW(hwnd(), kAboutVersionId, version);
}

void AboutWindow::OnDestroyed() {
    // A window that failed to open is still owned by ShowAboutWindow.
    if (current_ != this) return;
    current_ = nullptr;
    delete this;
}

void AboutWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    SetTextColor(dc, kForeColour);
    const RECT frame = ToPixels(design::kFrame, dpi());
    const HGDIOBJ old_pen = SelectObject(dc, GetStockObject(DC_PEN));
    const HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    SetDCPenColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const int corner = MulDiv(12, dpi(), 96);
    RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, corner, corner);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    EndPaint(hwnd(), &paint);
}

bool AboutWindow::TakesRestOfMultiClick(const MSG& message) {
    ClosingClick& closing = closing_click;
    switch (message.message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            // Within the system's double-click time and distance of the press
            // before: the second and third press of the click that closed it.
            // Any other press ends the multi-click and acts.
            closing.taking_release =
                closing.presses_left > 0 && message.time - closing.time <= GetDoubleClickTime() &&
                std::abs(message.pt.x - closing.at.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                std::abs(message.pt.y - closing.at.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
            closing = {message.time, message.pt,
                       closing.taking_release ? closing.presses_left - 1 : 0,
                       closing.taking_release};
            return closing.taking_release;
        case WM_LBUTTONUP:
        case WM_NCLBUTTONUP:
            return std::exchange(closing.taking_release, false);
        default:
            return false;
    }
}

// A click is a press and a release on the window, as for a button.
void AboutWindow::OnButtonUp(LPARAM lparam) {
    const bool clicked = pressed_;
    pressed_ = false;
    ReleaseCapture();
    RECT client;
    GetClientRect(hwnd(), &client);
    const POINT at = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    if (!clicked || !PtInRect(&client, at)) return;
    closing_click = {press_time_, press_at_, 2, false};
    DestroyWindow(hwnd());
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_CTLCOLORSTATIC: {
            // The labels: the button-text colour on the dialog face, opaque.
            auto* const dc = reinterpret_cast<HDC>(wparam);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_LBUTTONDOWN: {
            pressed_ = true;
            press_time_ = static_cast<DWORD>(GetMessageTime());
            const DWORD at = GetMessagePos();
            press_at_ = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
            SetCapture(hwnd());
            return 0;
        }
        case WM_LBUTTONUP:
            OnButtonUp(lparam);
            return 0;
        case WM_CAPTURECHANGED:
            pressed_ = false;
            return 0;
        default:
            return DefWindowProcW(hwnd(), message, wparam, lparam);
    }
}

}  // namespace nimbrel::ui
