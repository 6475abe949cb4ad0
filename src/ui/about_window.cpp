#include "about_window.h"

#include "controls.h"
#include "fixed_text.h"
#include "layout.h"
#include "version.h"

namespace nimbrel::ui {
namespace {

namespace rows = about_window;

// The window's stored fore colour: set on its drawing surface, though nothing
// the window draws takes its colour from there.
constexpr COLORREF kForeColour = RGB(255, 0, 0);

// "Version: " and the major, minor and revision numbers, in that order.
FixedText<wchar_t, 48> VersionText() {
    FixedText<wchar_t, 48> text(L"Version: ");
    text.AppendNumber(NIMBREL_VERSION_MAJOR).Append(L".").AppendNumber(NIMBREL_VERSION_MINOR);
    text.Append(L".").AppendNumber(NIMBREL_VERSION_PATCH);
    return text;
}

// The labels: the button-text colour on the dialog face, opaque.
LRESULT ColorStatic(HDC dc) {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
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
    if (!window->Open(GetModuleHandleW(nullptr))) delete window;
}

bool AboutWindow::Open(HINSTANCE instance) {
    hidden_owner_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        instance, nullptr));
    Register(kClassName, instance);
    const int dpi = WindowDpi(nullptr);
    const SIZE size = WindowSizeForClient(rows::kClient, kStyle, kExStyle, false, dpi);
    if (!Create(kClassName, kTitle, kStyle, kExStyle, CentredOnScreen(size), size,
                hidden_owner_.get(), nullptr, instance)) {
        return false;
    }
    current_ = this;
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    return true;
}

void AboutWindow::OnDestroyed() {
    // A window that failed to open is still owned by ShowAboutWindow.
    if (current_ != this) return;
    current_ = nullptr;
    delete this;
}

void AboutWindow::OnCreate() {
    // Without SS_NOTIFY the statics let clicks through to the window, which closes on them.
    auto make_static = [this](const ControlRow& row, DWORD style) {
        return CreateControl(hwnd(), L"STATIC", row, style);
    };
    title_ = make_static(rows::kTitle, SS_LEFT | SS_NOPREFIX);
    version_ = make_static(rows::kVersion, SS_LEFT | SS_NOPREFIX);
    image_ = make_static(rows::kIcon, SS_ICON | SS_REALSIZECONTROL);
    SetWindowTextW(version_, VersionText().c_str());
    Layout(WindowDpi(hwnd()));
}

void AboutWindow::Layout(int dpi) {
    // The new fonts and icon replace the old ones only once the controls use them.
    auto title_font = MakeFont(L"Arial", rows::kTitleFontCentipoints, dpi, FW_BOLD, false);
    auto version_font = MakeFont(L"Arial", rows::kVersionFontCentipoints, dpi, FW_BOLD, true);
    UniqueIcon icon = LoadProgramIcon(MulDiv(32, dpi, 96));

    for (const auto& [control, row] :
         {std::pair{title_, rows::kTitle}, std::pair{version_, rows::kVersion},
          std::pair{image_, rows::kIcon}}) {
        PlaceControl(control, row.twips, dpi);
    }
    SendMessageW(title_, WM_SETFONT, reinterpret_cast<WPARAM>(title_font.get()), TRUE);
    SendMessageW(version_, WM_SETFONT, reinterpret_cast<WPARAM>(version_font.get()), TRUE);
    SendMessageW(image_, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    title_font_ = std::move(title_font);
    version_font_ = std::move(version_font);
    icon_ = std::move(icon);
    FitToText(title_);
    FitToText(version_);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void AboutWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    SetTextColor(dc, kForeColour);
    const int dpi = WindowDpi(hwnd());
    const RECT frame = ToPixels(rows::kFrame, dpi);
    const HGDIOBJ old_pen = SelectObject(dc, GetStockObject(DC_PEN));
    const HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    SetDCPenColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const int corner = MulDiv(12, dpi, 96);
    RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, corner, corner);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    EndPaint(hwnd(), &paint);
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_CTLCOLORSTATIC:
            return ColorStatic(reinterpret_cast<HDC>(wparam));
        case WM_LBUTTONDOWN:
            pressed_ = true;
            SetCapture(hwnd());
            return 0;
        case WM_LBUTTONUP: {
            // A click is a press and a release on the window, as for a button.
            const bool clicked = pressed_;
            pressed_ = false;
            ReleaseCapture();
            RECT client;
            GetClientRect(hwnd(), &client);
            const POINT at = {static_cast<short>(LOWORD(lparam)),
                              static_cast<short>(HIWORD(lparam))};
            if (clicked && PtInRect(&client, at)) DestroyWindow(hwnd());
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            return 0;
        default:
            return DefWindowProcW(hwnd(), message, wparam, lparam);
    }
}

}  // namespace nimbrel::ui
