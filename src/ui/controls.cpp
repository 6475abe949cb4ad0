#include "controls.h"

#include "resource.h"

namespace nimbrel::ui {
namespace {

// Looked up at run time: these entry points are missing before Windows 10.
template <typename Function>
Function User32Entry(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

const auto get_dpi_for_window = User32Entry<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
const auto adjust_for_dpi =
    User32Entry<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");

}  // namespace

int WindowDpi(HWND hwnd) {
    if (get_dpi_for_window != nullptr && hwnd != nullptr) {
        if (const UINT dpi = get_dpi_for_window(hwnd)) return static_cast<int>(dpi);
    }
    if (HDC screen = GetDC(nullptr)) {
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        if (dpi > 0) return dpi;
    }
    return 96;
}

RECT ToPixels(const TwipRect& twips, int dpi) {
    const int left = TwipsToPixels(twips.left, dpi);
    const int top = TwipsToPixels(twips.top, dpi);
    return {left, top, left + TwipsToPixels(twips.width, dpi),
            top + TwipsToPixels(twips.height, dpi)};
}

HWND CreateControl(HWND parent, const wchar_t* window_class, const ControlRow& row, DWORD style) {
    auto* const instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    return CreateWindowExW(0, window_class, row.text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance,
                           nullptr);
}

void PlaceControl(HWND control, const TwipRect& twips, int dpi) {
    const RECT rect = ToPixels(twips, dpi);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE WindowSizeForClient(TwipSize client, DWORD style, DWORD ex_style, bool has_menu, int dpi) {
    RECT rect = {0, 0, TwipsToPixels(client.width, dpi), TwipsToPixels(client.height, dpi)};
    if (adjust_for_dpi == nullptr ||
        !adjust_for_dpi(&rect, style, has_menu, ex_style, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&rect, style, has_menu, ex_style);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

POINT CentredOnScreen(SIZE window) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    return {area.left + (area.right - area.left - window.cx) / 2,
            area.top + (area.bottom - area.top - window.cy) / 2};
}

UniqueFont MakeFont(const wchar_t* face, int centipoints, int dpi, int weight, bool italic,
                    BYTE charset) {
    LOGFONTW font = {};
    font.lfHeight = -FontPixelHeight(centipoints, dpi);
    font.lfWeight = weight;
    font.lfItalic = italic;
    font.lfCharSet = charset;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&font));
}

UniqueIcon LoadProgramIcon(int pixels) {
    return UniqueIcon(static_cast<HICON>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_NIMBREL), IMAGE_ICON, pixels, pixels, 0)));
}

void FitToText(HWND control) {
    wchar_t text[128] = L"";
    const int length = GetWindowTextW(control, text, static_cast<int>(std::size(text)));
    // Measured the way a static control draws its text.
    RECT extent = {};
    if (HDC dc = GetDC(control)) {
        auto* const font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
        const HGDIOBJ old = SelectObject(dc, font);
        DrawTextW(dc, text, length, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
    }
    SetWindowPos(control, nullptr, 0, 0, extent.right, extent.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace nimbrel::ui
