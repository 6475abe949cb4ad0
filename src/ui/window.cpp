#include "window.h"

#include <algorithm>

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
const auto metrics_for_dpi = User32Entry<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
const auto scale_non_client = User32Entry<BOOL(WINAPI*)(HWND)>("EnableNonClientDpiScaling");

int SystemMetric(int index, int dpi) {
    if (metrics_for_dpi != nullptr) return metrics_for_dpi(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

// The window's DPI where the system can tell it per window, else the
// screen's, else 96.
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

// Top-left corner that centres a window of this size on the primary work
// area. One larger than the area keeps its caption on it.
POINT CentredOnScreen(SIZE window) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    return {area.left + std::max(0L, (area.right - area.left - window.cx) / 2),
            area.top + std::max(0L, (area.bottom - area.top - window.cy) / 2)};
}

void SetBounds(HWND window, POINT at, SIZE size) {
    SetWindowPos(window, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FontInstalled(const wchar_t* face) {
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM out) -> int {
            *reinterpret_cast<bool*>(out) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

UniqueFont MakeFont(const FontRow& row, int dpi) {
    LOGFONTW font = {};
    font.lfHeight = -FontPixelHeight(row.centipoints, dpi);
    font.lfWeight = row.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = row.italic;
    font.lfCharSet = static_cast<BYTE>(row.ansi_charset ? ANSI_CHARSET : DEFAULT_CHARSET);
    const bool use_face = row.fallback == nullptr || FontInstalled(row.face);
    lstrcpynW(font.lfFaceName, use_face ? row.face : row.fallback, LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&font));
}

// The program icon's image nearest to a square of this many pixels.
UniqueIcon LoadProgramIcon(int pixels) {
    return UniqueIcon(static_cast<HICON>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_NIMBREL), IMAGE_ICON, pixels, pixels, 0)));
}

HWND CreateControl(HWND parent, const ControlRow& row) {
    const wchar_t* window_class = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE;
    switch (row.kind) {
        case Kind::CheckBox:
            style |= BS_AUTOCHECKBOX | WS_TABSTOP;
            break;
        case Kind::PushButton:
            // The captions wrap: "Hide Selected" is wider than its button.
            style |= BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP;
            break;
        case Kind::Label:
        case Kind::CentredLabel:
            // Without SS_NOTIFY a label lets clicks through to its window.
            window_class = L"STATIC";
            style |= (row.kind == Kind::Label ? SS_LEFT : SS_CENTER) | SS_NOPREFIX;
            break;
        case Kind::Icon:
            window_class = L"STATIC";
            style |= SS_ICON | SS_REALSIZECONTROL;
            break;
    }
    return CreateWindowExW(0, window_class, row.text, style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                           GetModuleHandleW(nullptr), nullptr);
}

// Resizes a label to its text, keeping its left and top edges.
void FitToText(HWND label) {
    wchar_t text[128] = L"";
    const int length = GetWindowTextW(label, text, static_cast<int>(std::size(text)));
    // Measured the way a static control draws its text.
    RECT extent = {};
    if (HDC dc = GetDC(label)) {
        auto* const font = reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0));
        const HGDIOBJ old = SelectObject(dc, font);
        DrawTextW(dc, text, length, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
    }
    SetWindowPos(label, nullptr, 0, 0, extent.right, extent.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

RECT ToPixels(const TwipRect& twips, int dpi) {
    const int left = TwipsToPixels(twips.left, dpi);
    const int top = TwipsToPixels(twips.top, dpi);
    return {left, top, left + TwipsToPixels(twips.width, dpi),
            top + TwipsToPixels(twips.height, dpi)};
}

// By the time this runs the derived part of the object is gone, so the window
// is let go of first: none of its last messages may reach HandleMessage.
Window::~Window() {
    if (const HWND open = hwnd_) {
        Detach();
        DestroyWindow(open);
    }
}

// However the last window goes, even by a message sent from another process,
// the message loop learns of it.
void Window::Detach() {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    if (--live_windows_ == 0) PostQuitMessage(0);
}

bool Window::Create(HWND owner, HMENU menu) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW window_class = {};
    if (!GetClassInfoExW(instance, design_.class_name, &window_class)) {
        window_class.cbSize = sizeof window_class;
        window_class.lpfnWndProc = Procedure;
        window_class.hInstance = instance;
        window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        window_class.lpszClassName = design_.class_name;
        RegisterClassExW(&window_class);
    }
    // Placed on the primary monitor first; only there can it learn that monitor's DPI.
    dpi_ = WindowDpi(nullptr);
    const SIZE first = FrameSize(dpi_, menu != nullptr);
    const POINT at = CentredOnScreen(first);
    if (CreateWindowExW(design_.ex_style, design_.class_name, design_.title, design_.style, at.x,
                        at.y, first.cx, first.cy, owner, menu, instance, this) == nullptr) {
        return false;
    }
    for (const ControlRow& row : design_.controls) CreateControl(hwnd_, row);
    OnCreate();
    Layout(WindowDpi(hwnd_), std::nullopt);
    return true;
}

// The frame round the designed client area at this DPI. Computed, never
// scaled: caption, menu bar and borders do not grow in proportion.
SIZE Window::FrameSize(int dpi) const { return FrameSize(dpi, GetMenu(hwnd_) != nullptr); }

SIZE Window::FrameSize(int dpi, bool has_menu) const {
    RECT rect = {0, 0, TwipsToPixels(design_.client.width, dpi),
                 TwipsToPixels(design_.client.height, dpi)};
    if (adjust_for_dpi == nullptr ||
        !adjust_for_dpi(&rect, design_.style, has_menu, design_.ex_style, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&rect, design_.style, has_menu, design_.ex_style);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// The window takes the frame round its designed client at this DPI, which
// WM_GETMINMAXINFO answers from here on, its top-left corner at `at`, else
// centred. The new fonts and icons replace the old ones once the windows use them.
void Window::Layout(int dpi, std::optional<POINT> at) {
    dpi_ = dpi;
    // A minimised window comes back where the user left it, in the size
    // WM_GETMINMAXINFO then gives.
    if (!IsIconic(hwnd_)) {
        const SIZE frame = FrameSize(dpi);
        SetBounds(hwnd_, at.value_or(CentredOnScreen(frame)), frame);
    }
    std::array<UniqueFont, 2> fonts;
    for (std::size_t i = 0; i < design_.fonts.size(); ++i)
        fonts[i] = MakeFont(design_.fonts[i], dpi);
    UniqueIcon picture;
    for (const ControlRow& row : design_.controls) {
        HWND control = GetDlgItem(hwnd_, row.id);
        const RECT rect = ToPixels(row.twips, dpi);
        SetBounds(control, {rect.left, rect.top}, {rect.right - rect.left, rect.bottom - rect.top});
        if (row.font != kNoFont) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[row.font].get()),
                         TRUE);
        }
        if (row.kind == Kind::Label || row.kind == Kind::CentredLabel) FitToText(control);
        if (row.kind == Kind::Icon) {
            picture = LoadProgramIcon(rect.right - rect.left);
            SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(picture.get()), 0);
        }
    }
    UniqueIcon big_icon = LoadProgramIcon(SystemMetric(SM_CXICON, dpi));
    UniqueIcon small_icon = LoadProgramIcon(SystemMetric(SM_CXSMICON, dpi));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon.get()));

    fonts_ = std::move(fonts);
    big_icon_ = std::move(big_icon);
    small_icon_ = std::move(small_icon);
    picture_ = std::move(picture);
    // A label that shrank keeps its old picture unless it is drawn anew too.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Messages the system only ever sends, whose pointers the system does not
// stop a post from carrying: through the queue, they point nowhere.
bool Window::OnlySent(const MSG& message) {
    return message.message == WM_DPICHANGED || message.message == WM_GETDPISCALEDSIZE;
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // The system attaches a window to its object once, as it creates it, and
    // ends it once its children are gone: another program can do neither.
    if (message == WM_NCCREATE) {
        if (self != nullptr) return FALSE;
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ++live_windows_;
        // Per-monitor v1 scales caption and menu bar only when asked here; the
        // frame computed for a DPI counts on them being scaled.
        if (scale_non_client != nullptr) scale_non_client(hwnd);
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        if (GetWindow(hwnd, GW_CHILD) != nullptr) return 0;
        self->Detach();
        self->OnDestroyed();
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    // A disabled window, as every window is while a box waits for its answer,
    // takes no input, command or close request, whoever sends it.
    if (!IsWindowEnabled(hwnd) && (message == WM_COMMAND || message == WM_CLOSE ||
                                   (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
                                   (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)))
        return 0;
    switch (message) {
        case WM_GETMINMAXINFO: {
            // Windows asks here before any sizing, maximising or restoring:
            // the window has one size, the frame of its designed client.
            const SIZE frame = self->FrameSize(self->dpi_);
            auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
            limits->ptMaxSize = limits->ptMinTrackSize =
                limits->ptMaxTrackSize = {frame.cx, frame.cy};
            return 0;
        }
        case WM_WINDOWPOSCHANGING:
            // While a box waits for its answer, a window without a taskbar
            // button (the About window) comes no nearer the top, whoever moves it.
            if (!IsWindowEnabled(hwnd) && !self->OnTaskbar())
                reinterpret_cast<WINDOWPOS*>(lparam)->flags |= SWP_NOZORDER;
            break;
        case WM_WINDOWPOSCHANGED:
            // Never left maximised, which leaves no way to move it; minimised
            // only with a taskbar button to bring it back. Brought back without
            // the activation, which may belong to a box that waits for an answer.
            if (IsZoomed(hwnd) || (IsIconic(hwnd) && !self->OnTaskbar()))
                ShowWindow(hwnd, SW_SHOWNOACTIVATE);
            break;
        case WM_GETDPISCALEDSIZE:
        case WM_DPICHANGED: {
            // Windows scales from 100% to 500%; any other DPI came from elsewhere.
            const int dpi = LOWORD(wparam);
            if (dpi < 96 || dpi > 480) return 0;
            if (message == WM_GETDPISCALEDSIZE) {
                if (lparam == 0) return FALSE;
                *reinterpret_cast<SIZE*>(lparam) = self->FrameSize(dpi);
                return TRUE;
            }
            // Only the suggested top-left corner is taken, if any: a frame
            // scaled in proportion would leave the client off its designed size.
            RECT frame;
            GetWindowRect(hwnd, &frame);
            if (lparam != 0) frame = *reinterpret_cast<const RECT*>(lparam);
            self->Layout(dpi, POINT{frame.left, frame.top});
            return 0;
        }
        case WM_ENDSESSION:
            // The session ends, or the restart manager closes the program for
            // an installer: the user has answered there, so nothing asks. The
            // quit message also ends any box that is up.
            if (wparam) {
                session_ended_ = true;
                PostQuitMessage(0);
            }
            break;
        case WM_CLOSE:
            // The restart manager's close that follows, should a menu or a move
            // have swallowed the quit message, closes without a question too.
            if (session_ended_) {
                DestroyWindow(hwnd);
                return 0;
            }
            break;
        case WM_SETTINGCHANGE:
            // New caption or menu metrics: asked for any size, the window takes
            // the one WM_GETMINMAXINFO gives, at once or as it is restored.
            if (!IsIconic(hwnd))
                SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        default:
            break;
    }
    // The program is built without exceptions, so nothing can unwind into the
    // system's code that called us.
    return self->HandleMessage(message, wparam, lparam);
}

}  // namespace nimbrel::ui
