// The program as a user runs it: a process of its own, driven from outside.
#include <gtest/gtest.h>

#include "harness.h"
#include "layout.h"

namespace nimbrel::testing {
namespace {

const std::wstring kTitle = L"-Quorvex- Nimbrel v1.0";
const std::wstring kQuestion = kTitle + L" Exit: Do you wish to exit the " + kTitle + L"?";
// The refusal, around the reason Windows gives.
const std::wstring kRefusal[] = {
    kTitle + L": Windows refused to change the drive policy:\n\n",
    L"\n\nChanging it takes administrator rights on this account; running the program as another "
    L"account changes that account's drives, not yours.\n\nThe drive policy was not changed."};

// Whether a message box shows this system icon: its picture, the first
// static control, is the icon drawn on the picture's own background.
bool ShowsIcon(HWND box, const wchar_t* icon) {
    const HWND picture = FindWindowExW(box, nullptr, L"Static", nullptr);
    const std::vector<COLORREF> shown = Shown(picture);
    return shown == Shown(picture, {}, [&](HDC dc) {
               SelectObject(dc, GetStockObject(DC_BRUSH));
               SetDCBrushColor(dc, shown.at(0));
               PatBlt(dc, 0, 0, 99, 99, PATCOPY);
               DrawIconEx(dc, 0, 0, LoadIconW(nullptr, icon), 0, 0, 0, nullptr, DI_NORMAL);
           });
}

// Reads a message box as "title: text" and answers it with a key, as a user would.
std::wstring Answer(HWND box, WORD key) {
    wchar_t title[128] = L"", text[512] = L"";
    GetWindowTextW(box, title, 128);
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    WaitFor([&] { return GetForegroundWindow() == box; });
    PressKeys({key});
    WaitFor([&] { return !IsWindow(box); });
    return std::wstring(title) + L": " + text;
}

// While a box is up, nothing anyone sends acts, and after it the main window
// has its focus back. A window's start and end, and a DPI change through the
// queue, are the system's alone. The About window is one, survives a close
// request to every window, and outlives the main window; its click ends the program.
TEST(Program, AsksOneBoxAtATimeAndEndsWithItsLastWindow) {
    REQUIRE_SCRATCH_REGISTRY();
    ResetPolicies();
    WriteValue("NoDrives", kEight);
    // Another program's window, clear of where the main window goes: under it,
    // Wine's X11 driver may hand it the keyboard as the main window moves.
    const HWND other_program = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 900, 600,
                                               99, 99, nullptr, nullptr, nullptr, nullptr);
    START_PROGRAM(program);
    const HWND main = program.main, box_b = Find(main, L"B:"), box_d = Find(main, L"D:"),
               hide = Find(main, L"Hide Selected");
    const UINT about_id = ui::kAboutCommandId;  // Wine lends no menu to another process
    const auto send = [](HWND to, UINT message, WPARAM wparam, const void* lparam = nullptr) {
        return SendMessageTimeoutW(to, message, wparam, reinterpret_cast<LPARAM>(lparam),
                                   SMTO_NORMAL, 1000, nullptr) != 0;
    };
    GUITHREADINFO gui = {};  // the focus and capture of the program's thread
    gui.cbSize = sizeof gui;
    const auto focus = [&] {
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gui);
        return gui.hwndFocus;
    };
    SetWindowPos(main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // out from under
    Click(box_b);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main && focus() == box_b; }));
    for (const bool refusal : {false, true}) {
        std::optional<DenyWrites> deny;
        refusal ? (deny.emplace(), Click(hide)) : PressKeys({VK_MENU, VK_F4});
        const HWND box = WaitForWindow(L"#32770");
        Click(box_d);
        PostMessageW(main, WM_CLOSE, 0, 0);
        for (const auto& [to, message, id] : {std::tuple<HWND, UINT, UINT>{hide, BM_CLICK, 0},
                                              {box_d, BM_CLICK, 0},
                                              {main, WM_COMMAND, GetDlgCtrlID(hide)},
                                              {main, WM_COMMAND, about_id},
                                              {main, WM_CLOSE, 0}})
            EXPECT_TRUE(send(to, message, id)) << message << " " << id << ": another box opened";
        EXPECT_TRUE(WaitForWindow(L"#32770") == box && !FindWindowW(L"NimbrelAbout", nullptr));
        EXPECT_TRUE(
            WaitFor([&] { return ShowsIcon(box, refusal ? IDI_WARNING : IDI_INFORMATION); }));
        const std::wstring said = Answer(box, refusal ? VK_RETURN : 'N');
        EXPECT_TRUE(refusal ? said.starts_with(kRefusal[0]) && said.ends_with(kRefusal[1])
                            : said == kQuestion)
            << said;
        EXPECT_TRUE(WaitFor([&] {
            return GetForegroundWindow() == main && focus() == (refusal ? hide : box_b) &&
                   !SendMessageW(box_d, BM_GETCHECK, 0, 0);
        })) << "the focus is elsewhere, or D: was ticked during the box";
    }
    EXPECT_EQ(ReadValue("NoDrives"), kEight);

    PressKeys({VK_CONTROL, 'A'});
    const HWND about = WaitForWindow(L"NimbrelAbout"), version = Find(about, L"Version: 1.0.0");
    ASSERT_TRUE(version && WaitFor([&] { return GetForegroundWindow() == about; }));
    CREATESTRUCTW create = {};
    for (const HWND window : {main, about, main, about}) {
        send(window, WM_NCCREATE, 0, &create);  // with no object, then with one at 0x10
        create.lpCreateParams = reinterpret_cast<LPVOID>(0x10);
        EXPECT_TRUE(send(window, WM_NCDESTROY, 0));
        PostMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), 0x10);
        PostMessageW(window, WM_GETDPISCALEDSIZE, 144, 0x10);
    }
    Click(Find(main, kNotice));  // the main window, aside, in front again
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }));
    PressKeys({VK_MENU, 'H'});
    PressKeys({'A'});
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
    // What taskkill without /f does: a close request to every window, hidden
    // ones too. The About window's owner is hidden, so it has no taskbar button.
    const HWND owner = GetWindow(about, GW_OWNER);
    EXPECT_TRUE(owner && !IsWindowVisible(owner) &&
                !(GetWindowLongW(about, GWL_EXSTYLE) & WS_EX_APPWINDOW));
    for (const HWND window : {main, about, owner}) PostMessageW(window, WM_CLOSE, 0, 0);
    Answer(WaitForWindow(L"#32770"), 'N');
    PressKeys({VK_CONTROL, 'A'});
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
    // Any second one stands somewhere after the first in z-order.
    EXPECT_FALSE(FindWindowExW(nullptr, about, L"NimbrelAbout", nullptr));
    PostMessageW(main, WM_CLOSE, 0, 0);
    const HWND question = WaitForWindow(L"#32770");
    EXPECT_TRUE(send(main, WM_COMMAND, about_id) && send(about, WM_LBUTTONDOWN, MK_LBUTTON) &&
                send(about, WM_LBUTTONUP, 0));
    EXPECT_TRUE(GetForegroundWindow() == question && !IsWindowEnabled(about) && IsWindow(about))
        << "the About window takes input, or covers the question";
    Answer(question, VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(main) && IsWindowEnabled(about); }));
    Click(version, 0, {MOUSEEVENTF_LEFTDOWN});  // taken only while the program runs on
    EXPECT_TRUE(WaitFor([&] { return focus(), gui.hwndCapture == about; }));
    Click(version, 0, {MOUSEEVENTF_LEFTUP});
    EXPECT_EQ(WaitForSingleObject(program.info.hProcess, 3000), WAIT_OBJECT_0);
    DestroyWindow(other_program);
}

// At 336 DPI each window opens three and a half times as large, though the
// start asks for the main one maximised, and larger than the work area, with
// its caption on it. Only the main window has a title-bar button, to close
// it. A quit message from outside ends the program cleanly.
TEST(Program, TheLayoutScalesWithTheDpi) {
    REQUIRE_SCRATCH_REGISTRY();
    const DWORD dpi = 336;
    RegSetKeyValueA(HKEY_CURRENT_USER, R"(Control Panel\Desktop)", "LogPixels", REG_DWORD, &dpi, 4);
    START_PROGRAM(program, SW_SHOWMAXIMIZED);
    PressKeys({VK_CONTROL, 'A'});
    const HWND main = program.main, about = WaitForWindow(L"NimbrelAbout");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, R"(Control Panel\Desktop)", "LogPixels");
    const RECT notice = Bounds(Find(main, kNotice), main);
    RECT client, work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (const auto& [window, width, height] : {std::tuple{main, 316, 109}, {about, 312, 187}}) {
        const RECT frame = Bounds(window);
        GetClientRect(window, &client);
        TITLEBARINFO bar = {};
        bar.cbSize = sizeof bar;
        GetTitleBarInfo(window, &bar);
        EXPECT_TRUE(std::abs(client.right - width * 3.5) <= 1 &&
                    std::abs(client.bottom - height * 3.5) <= 1 && !IsZoomed(window) &&
                    frame.left == work.left && frame.top >= work.top &&
                    (bar.rgstate[2] & bar.rgstate[3] & STATE_SYSTEM_INVISIBLE) &&    // min, max
                    !(bar.rgstate[5] & STATE_SYSTEM_INVISIBLE) == (window == main))  // close
            << client.right << "x" << client.bottom << " at " << frame.left << "," << frame.top;
    }
    EXPECT_TRUE(std::abs(notice.left - 15 * 3.5) <= 1 && std::abs(notice.top - 96 * 3.5) <= 1);
    PostMessageW(main, WM_QUIT, 0, 0);
    EXPECT_EQ(WaitForSingleObject(program.info.hProcess, 3000), WAIT_OBJECT_0);
}

// What the file tells Windows before it runs, as Explorer's Properties and
// the loader read it: the version, its strings, and the manifest's promises.
TEST(Program, TheFileDeclaresItsVersionAndNeeds) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    lstrcpyW(std::wcsrchr(path, L'\\') + 1, L"nimbrel.exe");  // beside this program
    std::vector<BYTE> info(GetFileVersionInfoSizeW(path, nullptr));
    GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data());
    const HMODULE exe = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    const auto* manifest = static_cast<const char*>(LockResource(LoadResource(exe, found)));
    std::wstring declared(manifest, manifest + SizeofResource(exe, found));
    FreeLibrary(exe);
    for (const std::wstring name :
         {L"FileVersion", L"ProductVersion", L"ProductName", L"OriginalFilename"}) {
        wchar_t* text = nullptr;
        UINT size = 0;
        VerQueryValueW(info.data(), (L"\\StringFileInfo\\040904B0\\" + name).c_str(),
                       reinterpret_cast<void**>(&text), &size);
        declared += name + L"=" + (text ? text : L"") + L"\n";
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size);
    EXPECT_TRUE(fixed && fixed->dwFileVersionMS == 0x10000 && fixed->dwFileVersionLS == 0 &&
                fixed->dwProductVersionMS == 0x10000 && fixed->dwProductVersionLS == 0);
    for (const wchar_t* promise :
         {L"FileVersion=1.0.0.0\n", L"ProductVersion=1.0.0.0\n", L"ProductName=-Quorvex- Nimbrel\n",
          L"OriginalFilename=nimbrel.exe\n", LR"(level="highestAvailable" uiAccess="false")",
          LR"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm<)",
          L">PerMonitorV2, PerMonitor<",
          LR"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
          L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}", L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(declared.find(promise), std::wstring::npos) << promise;
}

}  // namespace
}  // namespace nimbrel::testing
