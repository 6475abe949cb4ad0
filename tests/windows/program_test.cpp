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

// Whether a message box shows this system icon: its picture is the icon
// drawn on the picture's own background.
bool ShowsIcon(HWND box, const wchar_t* icon) {
    HWND picture = nullptr;
    do picture = FindWindowExW(box, picture, L"Static", nullptr);
    while (picture != nullptr && (GetWindowLongW(picture, GWL_STYLE) & SS_TYPEMASK) != SS_ICON);
    const std::vector<COLORREF> shown = Shown(picture);
    return picture &&
           shown == Shown(picture, {}, [&](HDC dc) {
               SelectObject(dc, GetStockObject(DC_BRUSH));
               SetDCBrushColor(dc, shown.at(0));
               PatBlt(dc, 0, 0, 99, 99, PATCOPY);
               DrawIconEx(dc, 0, 0, LoadIconW(nullptr, icon), 0, 0, 0, nullptr, DI_NORMAL);
           });
}

// While the exit question or a refusal is up, nothing another program sends
// acts: no button press, no command, no close request, posted or sent, opens
// a box or touches the policy, and a click on the main window does nothing.
// After it the main window is in front with its focus. The About window
// survives a close request to every window, never covers the question, and
// outlives the main window, which Enter (Yes) closes; its click ends the program.
TEST(Program, AsksOneBoxAtATimeAndEndsWithItsLastWindow) {
    REQUIRE_SCRATCH_REGISTRY();
    ResetPolicies();
    WriteValue("NoDrives", kEight);
    // Another program's window, clear of where the main window goes: under it,
    // Wine's X11 driver may hand it the keyboard as the main window moves.
    const HWND other_program =
        CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 900, 600, 99, 99,
                        nullptr, nullptr, nullptr, nullptr);
    START_PROGRAM(program);
    const HWND main = program.main, box_b = Find(main, L"B:"), box_d = Find(main, L"D:"),
               hide = Find(main, L"Hide Selected"), unhide = Find(main, L"Unhide All");
    const UINT about_id = ui::kAboutCommandId;  // Wine lends no menu to another process
    const auto send = [](HWND to, UINT message, WPARAM wparam) {
        return SendMessageTimeoutW(to, message, wparam, 0, SMTO_NORMAL, 1000, nullptr) != 0;
    };
    const auto gui = [](HWND window) {  // the focus and capture of its thread
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
        return thread;
    };
    SetWindowPos(main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // out from under
    Click(box_b);
    ASSERT_TRUE(
        WaitFor([&] { return GetForegroundWindow() == main && gui(box_b).hwndFocus == box_b; }));
    for (const bool refusal : {false, true}) {
        const HWND had_focus = refusal ? unhide : box_b;
        std::optional<DenyWrites> deny;
        refusal ? (deny.emplace(), Click(unhide)) : PressKeys({VK_MENU, VK_F4});
        const HWND box = WaitForWindow(L"#32770");
        Click(box_d);
        PostMessageW(main, WM_CLOSE, 0, 0);
        for (const auto& [to, message, id] : {std::tuple<HWND, UINT, UINT>{hide, BM_CLICK, 0},
                                              {box_d, BM_CLICK, 0},
                                              {main, WM_COMMAND, GetDlgCtrlID(hide)},
                                              {main, WM_COMMAND, GetDlgCtrlID(unhide)},
                                              {main, WM_COMMAND, about_id},
                                              {main, WM_CLOSE, 0}})
            EXPECT_TRUE(send(to, message, id)) << message << " " << id << ": another box opened";
        EXPECT_EQ(WaitForWindow(L"#32770"), box);
        EXPECT_TRUE(
            WaitFor([&] { return ShowsIcon(box, refusal ? IDI_WARNING : IDI_INFORMATION); }));
        EXPECT_FALSE(FindWindowW(L"NimbrelAbout", nullptr));
        const std::wstring said = Answer(box, refusal ? VK_RETURN : 'N');
        EXPECT_TRUE(refusal ? said.starts_with(kRefusal[0]) && said.ends_with(kRefusal[1])
                            : said == kQuestion)
            << said;
        EXPECT_TRUE(WaitFor(
            [&] { return GetForegroundWindow() == main && gui(box_b).hwndFocus == had_focus; }));
    }
    EXPECT_EQ(ReadValue("NoDrives"), kEight);
    EXPECT_EQ(SendMessageW(box_d, BM_GETCHECK, 0, 0), BST_UNCHECKED)
        << "ticked from the stored 8 at the start, or by a click during a box";

    PressKeys({VK_CONTROL, 'A'});
    HWND about = WaitForWindow(L"NimbrelAbout");
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
    // A window's start and end, and a DPI change through the queue, are the
    // system's alone: sent or posted by another program, they change nothing.
    CREATESTRUCTW create = {};
    for (const LPVOID params : {LPVOID{}, reinterpret_cast<LPVOID>(0x10)}) {
        for (const HWND window : {main, about}) {
            create.lpCreateParams = params;
            SendMessageTimeoutW(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create),
                                SMTO_NORMAL, 1000, nullptr);
            EXPECT_TRUE(send(window, WM_NCDESTROY, 0));
            PostMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), 0x10);
            PostMessageW(window, WM_GETDPISCALEDSIZE, 144, 0x10);
        }
    }
    Click(Find(main, kNotice));  // the main window, aside, in front again
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }));
    PressKeys({VK_MENU, 'H'});
    PressKeys({'A'});
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
    // Any second one stands somewhere after the first in z-order.
    EXPECT_FALSE(
        FindWindowExW(nullptr, FindWindowW(L"NimbrelAbout", nullptr), L"NimbrelAbout", nullptr));
    // What taskkill without /f does: a close request to every window, hidden ones too.
    // The About window has no taskbar button: its owner is hidden.
    const HWND owner = GetWindow(about, GW_OWNER);
    EXPECT_TRUE(owner && !IsWindowVisible(owner) &&
                !(GetWindowLongW(about, GWL_EXSTYLE) & WS_EX_APPWINDOW));
    for (const HWND window : {main, about, owner}) PostMessageW(window, WM_CLOSE, 0, 0);
    Answer(WaitForWindow(L"#32770"), 'N');
    PressKeys({VK_CONTROL, 'A'});
    ASSERT_TRUE(WaitFor(
        [&] { return GetForegroundWindow() == (about = FindWindowW(L"NimbrelAbout", nullptr)); }));
    EXPECT_TRUE(Find(about, L"-Quorvex- Nimbrel"));
    const HWND version = Find(about, L"Version: 1.0.0");
    ASSERT_TRUE(version);
    PostMessageW(main, WM_CLOSE, 0, 0);
    const HWND question = WaitForWindow(L"#32770");
    EXPECT_TRUE(send(main, WM_COMMAND, about_id) && send(about, WM_LBUTTONDOWN, MK_LBUTTON) &&
                send(about, WM_LBUTTONUP, 0));
    EXPECT_TRUE(GetForegroundWindow() == question && !IsWindowEnabled(about) && IsWindow(about))
        << "the About window takes input, or covers the question";
    Answer(question, VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(main) && IsWindowEnabled(about); }));
    Click(version, 0, {MOUSEEVENTF_LEFTDOWN});  // taken only while the program runs on
    EXPECT_TRUE(WaitFor([&] { return gui(about).hwndCapture == about; }));
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
    RECT notice, work;
    GetWindowRect(Find(main, kNotice), &notice);
    MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&notice), 2);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (const auto& [window, width, height] : {std::tuple{main, 316, 109}, {about, 312, 187}}) {
        RECT frame, client;
        GetWindowRect(window, &frame);
        GetClientRect(window, &client);
        EXPECT_TRUE(std::abs(client.right - width * 3.5) <= 1 &&
                    std::abs(client.bottom - height * 3.5) <= 1 && !IsZoomed(window) &&
                    frame.left == work.left && frame.top >= work.top)
            << client.right << "x" << client.bottom << " at " << frame.left << "," << frame.top;
        TITLEBARINFO bar = {};
        bar.cbSize = sizeof bar;
        GetTitleBarInfo(window, &bar);
        const auto shown = [&](int button) {
            return !(bar.rgstate[button] & STATE_SYSTEM_INVISIBLE);
        };
        EXPECT_TRUE(!shown(2) && !shown(3) && shown(5) == (window == main));  // min, max, close
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
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size);
    EXPECT_TRUE(fixed->dwFileVersionMS == 0x10000 && fixed->dwFileVersionLS == 0 &&
                fixed->dwProductVersionMS == 0x10000 && fixed->dwProductVersionLS == 0);
    for (const auto& [name, value] : {std::pair{L"FileVersion", L"1.0.0.0"},
                                      {L"ProductVersion", L"1.0.0.0"},
                                      {L"ProductName", L"-Quorvex- Nimbrel"},
                                      {L"OriginalFilename", L"nimbrel.exe"}}) {
        wchar_t* text = nullptr;
        VerQueryValueW(info.data(), (std::wstring(L"\\StringFileInfo\\040904B0\\") + name).c_str(),
                       reinterpret_cast<void**>(&text), &size);
        EXPECT_STREQ(text, value) << name;
    }
    const HMODULE exe = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(exe, found))),
                               SizeofResource(exe, found));
    for (const char* promise :
         {R"(level="highestAvailable" uiAccess="false")",
          R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm<)",
          ">PerMonitorV2, PerMonitor<",
          R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(promise), std::string::npos) << promise;
    FreeLibrary(exe);
}

}  // namespace
}  // namespace nimbrel::testing
