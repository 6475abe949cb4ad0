#include "main_window.h"

#include "about_window.h"
#include "layout.h"

namespace nimbrel::ui {
namespace {

namespace design = main_window;

constexpr WindowDesign kDesign = {
    L"NimbrelMain",
    L"" NIMBREL_TITLE,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT,
    design::kClient,
    design::kControls,
    design::kFonts,
};

HMENU MakeMenu() {
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, kAboutCommandId, L"&About\tCtrl+A");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    return bar;
}

}  // namespace

MainWindow::MainWindow() : Window(kDesign) {}

bool MainWindow::Open(int show) {
    UniqueMenu menu(MakeMenu());
    if (!Create(nullptr, menu.get())) return false;
    menu.release();  // the window destroys its menu with itself
    ACCEL about = {FVIRTKEY | FCONTROL, 'A', kAboutCommandId};
    shortcuts_.reset(CreateAcceleratorTableW(&about, 1));
    // A start asked to be maximised opens normal: the window has one size.
    const bool minimised = show == SW_SHOWMINIMIZED || show == SW_MINIMIZE ||
                           show == SW_SHOWMINNOACTIVE || show == SW_FORCEMINIMIZE;
    ShowWindow(hwnd(), minimised ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
    UpdateWindow(hwnd());
    return true;
}

bool MainWindow::PreTranslate(MSG& message) {
    if (OnlySent(message) || AboutWindow::TakesRestOfMultiClick(message)) return true;
    if (hwnd() == nullptr) return false;
    if (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)) return false;
    return TranslateAcceleratorW(hwnd(), shortcuts_.get(), &message) ||
           IsDialogMessageW(hwnd(), &message);
}

void MainWindow::OnCreate() { last_focus_ = GetDlgItem(hwnd(), kFirstDriveBoxId); }

void MainWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    const HGDIOBJ old_pen = SelectObject(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    for (const LineRow& line : design::kLines) {
        MoveToEx(dc, TwipsToPixels(line.x1, dpi()), TwipsToPixels(line.y1, dpi()), nullptr);
        LineTo(dc, TwipsToPixels(line.x2, dpi()), TwipsToPixels(line.y2, dpi()));
    }
    SelectObject(dc, old_pen);
    EndPaint(hwnd(), &paint);
}

void MainWindow::OnCommand(int id) {
    switch (id) {
        case kHideSelectedId:
            ApplySelection();
            break;
        case kUnhideAllId:
            Report(RemoveValue());
            break;
        case kAboutCommandId:
            ShowAboutWindow();
            break;
        case IDOK:
            // Enter: the dialog keys send IDOK unless Tab made the focused
            // button the default one. Either way it presses the focused button.
            if (const int focused = GetDlgCtrlID(GetFocus());
                focused == kHideSelectedId || focused == kUnhideAllId) {
                OnCommand(focused);
            }
            break;
        default:
            break;
    }
}

// "Hide Selected": the ticked drives are written, or the value is removed
// when none is ticked. A mask that cannot be computed reaches no registry.
void MainWindow::ApplySelection() {
    const auto mask = ComputeDriveMask(Ticks(), tags_);
    if (!mask) return;
    Report(*mask == 0 ? RemoveValue() : WriteMask(*mask));
}

// Writing the policy takes administrator rights on current Windows; a refusal
// must not pass for success while the notice asks for a restart.
void MainWindow::Report(const StoreOutcome& outcome) {
    if (outcome.result != StoreOutcome::Result::Refused) return;
    wchar_t reason[512] = L"";
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(outcome.status), 0, reason,
                                  static_cast<DWORD>(std::size(reason)), nullptr);
    while (length > 0 && (reason[length - 1] == L'\n' || reason[length - 1] == L'\r')) --length;
    reason[length] = L'\0';
    if (length == 0) wsprintfW(reason, L"Error %ld.", outcome.status);
    // A create may have made part of the key path before the set was refused.
    wchar_t text[1024];
    wsprintfW(text, L"Windows refused to change the drive policy:\n\n%s\n\n%s%s", reason,
              outcome.status == ERROR_ACCESS_DENIED
                  ? L"Changing it takes administrator rights on this account; running the "
                    L"program as another account changes that account's drives, not yours.\n\n"
                  : L"",
              L"The drive policy was not changed.");
    ShowBox(text, L"" NIMBREL_TITLE, MB_OK | MB_ICONWARNING);
}

BoxValues MainWindow::Ticks() const {
    BoxValues values;
    for (int i = 0; i < kDriveCount; ++i)
        values[i] = static_cast<std::int16_t>(IsDlgButtonChecked(hwnd(), kFirstDriveBoxId + i));
    return values;
}

// Every window of the program waits for the answer, disabled: the box is
// owned by the main window, which is active again afterwards.
int MainWindow::ShowBox(const wchar_t* text, const wchar_t* title, UINT type) {
    const HWND about = AboutWindow::Current();
    if (about != nullptr) EnableWindow(about, FALSE);
    // A check box acts on a click another program sends it before the
    // disabled window can refuse it: the ticks come back as they were.
    const BoxValues ticks = Ticks();
    const int answer = MessageBoxW(hwnd(), text, title, type);
    for (int i = 0; i < kDriveCount; ++i)
        CheckDlgButton(hwnd(), kFirstDriveBoxId + i, static_cast<UINT>(ticks[i]));
    if (about != nullptr) EnableWindow(about, TRUE);
    return answer;
}

void MainWindow::OnClose() {
    if (ShowBox(L"Do you wish to exit the " NIMBREL_TITLE "?", L"" NIMBREL_TITLE " Exit",
                MB_YESNO | MB_ICONINFORMATION) == IDYES) {
        DestroyWindow(hwnd());
    }
}

// The controls give up the focus as the window goes inactive or is minimised,
// which it may be while active: no box may take a key nobody sees. The focus
// goes back to the same control once the window is active and shown.
void MainWindow::SetFocusAside() {
    const HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(hwnd(), focus)) return;
    last_focus_ = focus;
    SetFocus(nullptr);
}

void MainWindow::RestoreFocus() {
    if (GetActiveWindow() == hwnd() && !IsIconic(hwnd()) && !IsChild(hwnd(), GetFocus()))
        SetFocus(last_focus_);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wparam));
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                SetFocusAside();
            } else {
                RestoreFocus();
            }
            return 0;
        case WM_SIZE:
            if (wparam == SIZE_MINIMIZED) {
                SetFocusAside();
            } else {
                RestoreFocus();
            }
            return 0;
        default:
            return DefWindowProcW(hwnd(), message, wparam, lparam);
    }
}

}  // namespace nimbrel::ui
