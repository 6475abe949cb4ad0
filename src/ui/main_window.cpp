#include "main_window.h"

#include "about_window.h"
#include "controls.h"
#include "layout.h"

namespace nimbrel::ui {
namespace {

namespace rows = main_window;

constexpr const wchar_t* kBoxFace = L"Arno Pro Caption";
// Stands in for the box face where it is not installed; every Windows has it.
constexpr const wchar_t* kBoxFallbackFace = L"Tahoma";
// The face Windows maps its standard dialog font to, named outright: Wine maps
// the logical name to the wider Tahoma, which would clip the notice.
constexpr const wchar_t* kDialogFace = L"Microsoft Sans Serif";

bool FontInstalled(const wchar_t* face) {
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

HMENU MakeMenu() {
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, kAboutCommandId, L"&About\tCtrl+A");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    return bar;
}

using MessageText = FixedText<wchar_t, 640>;

// The system's own words for a status code, or its number where it has none.
void AppendSystemMessage(MessageText& text, RegStatus status) {
    wchar_t words[512] = L"";
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(status), 0, words,
                                  static_cast<DWORD>(std::size(words)), nullptr);
    while (length > 0 && (words[length - 1] == L'\n' || words[length - 1] == L'\r')) --length;
    if (length == 0) {
        text.Append(L"Error ").AppendNumber(status).Append(L".");
    } else {
        text.Append({words, length});
    }
}

}  // namespace

bool MainWindow::Open(HINSTANCE instance, int show) {
    Register(kClassName, instance);
    const int dpi = WindowDpi(nullptr);
    const SIZE size = WindowSizeForClient(rows::kClient, kStyle, kExStyle, true, dpi);
    UniqueMenu menu(MakeMenu());
    if (!Create(kClassName, kTitle, kStyle, kExStyle, CentredOnScreen(size), size, nullptr,
                menu.get(), instance)) {
        return false;
    }
    menu.release();  // the window destroys its menu with itself
    ACCEL about = {FVIRTKEY | FCONTROL, 'A', kAboutCommandId};
    shortcuts_.reset(CreateAcceleratorTableW(&about, 1));
    ShowWindow(hwnd(), show);
    UpdateWindow(hwnd());
    return true;
}

bool MainWindow::PreTranslate(MSG& message) {
    if (hwnd() == nullptr) return false;
    if (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)) return false;
    return TranslateAcceleratorW(hwnd(), shortcuts_.get(), &message) ||
           IsDialogMessageW(hwnd(), &message);
}

std::int16_t MainWindow::Value(int index) const {
    return static_cast<std::int16_t>(SendMessageW(boxes_[index], BM_GETCHECK, 0, 0));
}

std::string_view MainWindow::Tag(int index) const { return tags_[index].view(); }

// A text too long for the slot is not kept in part: an empty tag reads as no
// number, where a cut one could read as a wrong one.
void MainWindow::SetTag(int index, std::string_view text) {
    tags_[index] = text.size() <= kTagCapacity ? FixedText<char, kTagCapacity + 1>(text)
                                               : FixedText<char, kTagCapacity + 1>();
}

void MainWindow::OnCreate() {
    // Creation order is tab order: the boxes A: to Z:, then the two buttons.
    auto make = [this](const wchar_t* window_class, const ControlRow& row, DWORD style) {
        return CreateControl(hwnd(), window_class, row, style);
    };
    for (int i = 0; i < kDriveCount; ++i)
        boxes_[i] = make(L"BUTTON", rows::kDriveBoxes[i], BS_AUTOCHECKBOX | WS_TABSTOP);
    hide_selected_ =
        make(L"BUTTON", rows::kHideSelected, BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP);
    unhide_all_ = make(L"BUTTON", rows::kUnhideAll, BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP);
    notice_ = make(L"STATIC", rows::kNotice, SS_CENTER | SS_NOPREFIX);
    last_focus_ = boxes_[0];
    Layout(WindowDpi(hwnd()));
}

void MainWindow::Layout(int dpi) {
    auto box_font = MakeFont(FontInstalled(kBoxFace) ? kBoxFace : kBoxFallbackFace,
                             rows::kBoxFontCentipoints, dpi, FW_BOLD, false, ANSI_CHARSET);
    auto dialog_font = MakeFont(kDialogFace, rows::kDialogFontCentipoints, dpi, FW_NORMAL, false);
    auto big_icon = LoadProgramIcon(GetSystemMetrics(SM_CXICON));
    auto small_icon = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON));

    for (int i = 0; i < kDriveCount; ++i) {
        PlaceControl(boxes_[i], rows::kDriveBoxes[i].twips, dpi);
        SendMessageW(boxes_[i], WM_SETFONT, reinterpret_cast<WPARAM>(box_font.get()), TRUE);
    }
    for (const auto& [control, row] :
         {std::pair{hide_selected_, rows::kHideSelected}, std::pair{unhide_all_, rows::kUnhideAll},
          std::pair{notice_, rows::kNotice}}) {
        PlaceControl(control, row.twips, dpi);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(dialog_font.get()), TRUE);
    }
    FitToText(notice_);
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon.get()));

    box_font_ = std::move(box_font);
    dialog_font_ = std::move(dialog_font);
    big_icon_ = std::move(big_icon);
    small_icon_ = std::move(small_icon);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void MainWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    const int dpi = WindowDpi(hwnd());
    const HGDIOBJ old_pen = SelectObject(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    for (const LineRow& line : rows::kLines) {
        MoveToEx(dc, TwipsToPixels(line.x1, dpi), TwipsToPixels(line.y1, dpi), nullptr);
        LineTo(dc, TwipsToPixels(line.x2, dpi), TwipsToPixels(line.y2, dpi));
    }
    SelectObject(dc, old_pen);
    EndPaint(hwnd(), &paint);
}

void MainWindow::OnCommand(int id) {
    StoreOutcome outcome;
    switch (id) {
        case kHideSelectedId:
            outcome = store_.ApplySelection(*this);
            break;
        case kUnhideAllId:
            outcome = store_.RemoveValue();
            break;
        case kAboutCommandId:
            ShowAboutWindow();
            return;
        default:
            return;
    }
    if (outcome.result == StoreOutcome::Result::Refused) ReportRefusal(outcome);
}

// Writing the policy takes administrator rights on current Windows; a refusal
// must not pass for success while the notice asks for a restart.
void MainWindow::ReportRefusal(const StoreOutcome& outcome) {
    MessageText text(L"Windows refused to change the drive policy:\n\n");
    AppendSystemMessage(text, outcome.status);
    text.Append(L"\n\nNothing was changed.");
    MessageBoxW(hwnd(), text.c_str(), kTitle, MB_OK | MB_ICONWARNING);
}

void MainWindow::OnClose() {
    // Task-modal without an owner: every window of the program waits for the answer.
    const int answer =
        MessageBoxW(nullptr, L"Do you wish to exit the -Quorvex- Nimbrel v1.0?",
                    L"-Quorvex- Nimbrel v1.0 Exit", MB_YESNO | MB_ICONINFORMATION | MB_TASKMODAL);
    if (answer == IDYES) DestroyWindow(hwnd());
}

void MainWindow::OnActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd(), focus)) last_focus_ = focus;
    } else if (last_focus_ != nullptr) {
        SetFocus(last_focus_);
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
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
            OnActivate(LOWORD(wparam) != WA_INACTIVE);
            return 0;
        default:
            return DefWindowProcW(hwnd(), message, wparam, lparam);
    }
}

}  // namespace nimbrel::ui
