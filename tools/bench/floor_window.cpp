// The start-up floor: what the program shows, made as plainly as Win32
// allows. The same window, menu, 29 native controls, fonts and manifest, with
// no font lookup, icon, DPI query, text measuring or layout code of its own.
#include <windows.h>
#include <commctrl.h>

#include "bench_common.h"
#include "layout.h"

int WINAPI wWinMain(HINSTANCE hInstance, [[maybe_unused]] HINSTANCE hPrevInstance,
                    [[maybe_unused]] LPWSTR lpCmdLine, int nShowCmd) {
    using namespace nimbrel::ui;
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    nimbrel::bench::RegisterBaselineClass(hInstance, L"FloorWindow");

    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, kAboutCommandId, L"&About\tCtrl+A");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    RECT frame = {0, 0, 316, 109};
    AdjustWindowRectEx(&frame, style, TRUE, ex_style);
    HWND hwnd = CreateWindowExW(ex_style, L"FloorWindow", L"Floor", style, 350, 300,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, bar,
                                hInstance, nullptr);

    HFONT box_font =
        CreateFontW(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HFONT dialog_font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                    L"Microsoft Sans Serif");
    for (const ControlRow& row : main_window::kControls) {
        const bool box = row.kind == Kind::CheckBox;
        const DWORD kind = box ? BS_AUTOCHECKBOX | WS_TABSTOP
                           : row.kind == Kind::PushButton
                               ? BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP
                               : SS_CENTER | SS_NOPREFIX;
        HWND control = CreateWindowExW(
            0, row.kind == Kind::CentredLabel ? L"STATIC" : L"BUTTON", row.text,
            WS_CHILD | WS_VISIBLE | kind, TwipsToPixels(row.twips.left, 96),
            TwipsToPixels(row.twips.top, 96), TwipsToPixels(row.twips.width, 96),
            TwipsToPixels(row.twips.height, 96), hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), hInstance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(box ? box_font : dialog_font),
                     0);
    }
    ShowWindow(hwnd, nShowCmd);
    UpdateWindow(hwnd);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(box_font);
    DeleteObject(dialog_font);
    return 0;
}
