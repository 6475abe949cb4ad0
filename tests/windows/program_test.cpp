// The program as a user runs it: a process of its own, driven from outside.
#include <gtest/gtest.h>

#include <fstream>

#include "harness.h"
#include "layout.h"

namespace nimbrel::testing {
namespace {

const std::wstring kTitle = L"-Quorvex- Nimbrel v1.0";

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

// The About window, by either route, is one. Each box is the only one while
// it is up, owned by the main window, which has the focus back after it; and
// nothing another program sends acts meanwhile. On Yes the main window goes,
// the About window stays, and its click ends the program.
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
    EXPECT_EQ(SendMessageW(box_d, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "the start read NoDrives";
    GUITHREADINFO gui = {};  // the focus and capture of the program's thread
    gui.cbSize = sizeof gui;
    const auto focus = [&] {
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gui);
        return gui.hwndFocus;
    };
    SetWindowPos(main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // not under the boxes
    PressKeys({VK_CONTROL, 'A'});
    const HWND about = WaitForWindow(L"NimbrelAbout");
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
    Click(box_b);
    ASSERT_TRUE(WaitFor([&] { return focus() == box_b; }));
    PressKeys({VK_MENU, 'H'});
    PressKeys({'A'});
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; })) << "not raised";
    Click(box_b);

    const std::tuple<HWND, UINT, WPARAM, const char*> sends[] = {
        {hide, BM_CLICK, 0, "a click on Hide Selected"},
        {box_d, BM_CLICK, 0, "a click on D:"},
        {main, WM_COMMAND, ui::kAboutCommandId, "the About command"},  // Wine lends no menu
        {about, WM_LBUTTONDOWN, MK_LBUTTON, "a press on the About window"},
        {about, WM_LBUTTONUP, 0, "a release on the About window"},
    };
    const struct {
        bool refusal;               // else the exit question
        std::wstring starts, ends;  // around the reason Windows gives for a refusal
        const wchar_t* icon;
        WORD answer;
        HWND focus_after;
    } boxes[] = {
        {false, kTitle + L" Exit: Do you wish to exit the " + kTitle + L"?", L"", IDI_INFORMATION,
         'N', box_b},
        {true, kTitle + L": Windows refused to change the drive policy:\n\n",
         L".\n\nChanging it takes administrator rights on this account; running the program as "
         L"another account changes that account's drives, not yours.\n\nThe drive policy was not "
         L"changed.",
         IDI_WARNING, VK_RETURN, hide},
    };
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.refusal ? "a refusal" : "the exit question");
        std::optional<DenyWrites> deny;
        b.refusal ? (deny.emplace(), Click(hide)) : PressKeys({VK_MENU, VK_F4});
        const HWND box = WaitForWindow(L"#32770");
        ASSERT_NE(box, nullptr);
        Click(box_d);
        for (const auto& [to, message, wparam, what] : sends) {
            EXPECT_TRUE(SendMessageTimeoutW(to, message, wparam, 0, SMTO_NORMAL, 1000, nullptr))
                << what << ": another box opened";
        }
        ShowWindow(about, SW_MINIMIZE);  // as another program may
        EXPECT_EQ(WaitForWindow(L"#32770"), box) << "another box";
        EXPECT_EQ(FindWindowExW(nullptr, nullptr, L"NimbrelAbout", nullptr), about);
        EXPECT_EQ(FindWindowExW(nullptr, about, L"NimbrelAbout", nullptr), nullptr);
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; })) << "not in front";
        EXPECT_EQ(GetWindow(box, GW_OWNER), main);
        EXPECT_TRUE(WaitFor([&] { return ShowsIcon(box, b.icon); }));
        const std::wstring said = Answer(box, b.answer);
        EXPECT_TRUE(said.starts_with(b.starts)) << said;
        EXPECT_TRUE(said.ends_with(b.ends)) << said;
        EXPECT_EQ(said.size() > b.starts.size() + b.ends.size(), b.refusal) << said;
        EXPECT_TRUE(WaitFor([&] { return focus() == b.focus_after; }));
        EXPECT_EQ(GetForegroundWindow(), main);
        EXPECT_EQ(SendMessageW(box_d, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "D: ticked meanwhile";
    }
    EXPECT_EQ(ReadValue("NoDrives"), kEight);

    PressKeys({VK_MENU, VK_F4});
    Answer(WaitForWindow(L"#32770"), VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(main); })) << "Yes is not the default";
    EXPECT_TRUE(IsWindowEnabled(about));
    const HWND version = Find(about, L"Version: 1.0.0");
    Click(version, 0, {MOUSEEVENTF_LEFTDOWN});  // taken only while the program runs on
    EXPECT_TRUE(WaitFor([&] { return focus(), gui.hwndCapture == about; }));
    Click(version, 0, {MOUSEEVENTF_LEFTUP});
    EXPECT_EQ(WaitForSingleObject(program.info.hProcess, 3000), WAIT_OBJECT_0);
    DestroyWindow(other_program);
}

// At the system's 350%, each window opens three and a half times as large,
// though the start asks for the main one maximised, and larger than the work
// area, with its caption on it. Only the main window has a title-bar button,
// to close it.
TEST(Program, OpensAtTheSystemDpi) {
    REQUIRE_SCRATCH_REGISTRY();
    const DWORD dpi = 336;
    RegSetKeyValueA(HKEY_CURRENT_USER, R"(Control Panel\Desktop)", "LogPixels", REG_DWORD, &dpi, 4);
    START_PROGRAM(program, SW_SHOWMAXIMIZED);
    PressKeys({VK_CONTROL, 'A'});
    const HWND main = program.main, about = WaitForWindow(L"NimbrelAbout");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, R"(Control Panel\Desktop)", "LogPixels");
    ASSERT_NE(about, nullptr);
    RECT work, client;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (const auto& [window, width, height] : {std::tuple{main, 316, 109}, {about, 312, 187}}) {
        SCOPED_TRACE(window == main ? "main" : "About");
        GetClientRect(window, &client);
        EXPECT_NEAR(client.right, width * 3.5, 1);
        EXPECT_NEAR(client.bottom, height * 3.5, 1);
        EXPECT_FALSE(IsZoomed(window));
        EXPECT_EQ(Bounds(window).left, work.left);
        EXPECT_GE(Bounds(window).top, work.top);
        TITLEBARINFO bar = {};
        bar.cbSize = sizeof bar;
        GetTitleBarInfo(window, &bar);
        EXPECT_TRUE(bar.rgstate[2] & STATE_SYSTEM_INVISIBLE) << "a minimise button";
        EXPECT_TRUE(bar.rgstate[3] & STATE_SYSTEM_INVISIBLE) << "a maximise button";
        EXPECT_EQ(!(bar.rgstate[5] & STATE_SYSTEM_INVISIBLE), window == main) << "close button";
    }
}

// What the file tells Windows before it runs, as Explorer's Properties and
// the loader read it: the version, its strings, and the manifest's promises.
TEST(Program, TheFileDeclaresItsVersionAndNeeds) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    lstrcpyW(std::wcsrchr(path, L'\\') + 1, L"nimbrel.exe");  // beside this program
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    std::wstring declared(bytes.begin(), bytes.end());  // the manifest is plain text
    std::vector<BYTE> info(GetFileVersionInfoSizeW(path, nullptr));
    GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data());
    for (const std::wstring name :
         {L"FileVersion", L"ProductVersion", L"ProductName", L"OriginalFilename"}) {
        wchar_t* text = nullptr;
        UINT size = 0;
        VerQueryValueW(info.data(), (L"\\StringFileInfo\\040904B0\\" + name).c_str(),
                       reinterpret_cast<void**>(&text), &size);
        declared += name + L"=" + (text ? text : L"") + L"\n";
    }
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
