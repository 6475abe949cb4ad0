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
    Click(Find(main, kNotice));  // the main window, aside, in front again
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }));
    PressKeys({VK_MENU, 'H'});
    PressKeys({'A'});
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
    // Any second one stands somewhere after the first in z-order.
    EXPECT_FALSE(
        FindWindowExW(nullptr, FindWindowW(L"NimbrelAbout", nullptr), L"NimbrelAbout", nullptr));
    // What taskkill without /f does: a close request to every window, hidden ones too.
    for (const HWND window : {main, about, GetWindow(about, GW_OWNER)})
        PostMessageW(window, WM_CLOSE, 0, 0);
    Answer(WaitForWindow(L"#32770"), 'N');
    PressKeys({VK_CONTROL, 'A'});
    ASSERT_TRUE(WaitFor(
        [&] { return GetForegroundWindow() == (about = FindWindowW(L"NimbrelAbout", nullptr)); }));
    EXPECT_TRUE(Find(about, L"-Quorvex- Nimbrel"));
    const HWND version = Find(about, L"Version: 1.0.0");
    ASSERT_TRUE(version);
    PostMessageW(main, WM_CLOSE, 0, 0);
    const HWND question = WaitForWindow(L"#32770");
    EXPECT_TRUE(send(main, WM_COMMAND, about_id));
    EXPECT_TRUE(GetForegroundWindow() == question && !IsWindowEnabled(about))
        << "the About window takes input, or covers the question";
    Answer(question, VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(main) && IsWindowEnabled(about); }));
    Click(version, 0, {MOUSEEVENTF_LEFTDOWN});  // taken only while the program runs on
    EXPECT_TRUE(WaitFor([&] { return gui(about).hwndCapture == about; }));
    Click(version, 0, {MOUSEEVENTF_LEFTUP});
    EXPECT_EQ(WaitForSingleObject(program.info.hProcess, 3000), WAIT_OBJECT_0);
    DestroyWindow(other_program);
}

// The window opens centred, half as large again at 144 DPI, though its start
// asks for it maximised. No system command another program sends changes
// either window's size, and only the main window has a title-bar button, to
// close it. A DPI change sent with no rectangle still lays the window out.
// A quit message from outside ends it cleanly.
TEST(Program, TheLayoutScalesWithTheDpiAndKeepsItsSize) {
    REQUIRE_SCRATCH_REGISTRY();
    const DWORD dpi = 144;
    RegSetKeyValueA(HKEY_CURRENT_USER, R"(Control Panel\Desktop)", "LogPixels", REG_DWORD, &dpi, 4);
    START_PROGRAM(program, SW_SHOWMAXIMIZED);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, R"(Control Panel\Desktop)", "LogPixels");
    RECT client, notice, frame, work;
    const auto notice_at = [&] {
        GetWindowRect(Find(program.main, kNotice), &notice);
        MapWindowPoints(HWND_DESKTOP, program.main, reinterpret_cast<POINT*>(&notice), 2);
        return POINT{notice.left, notice.top};
    };
    GetClientRect(program.main, &client);
    GetWindowRect(program.main, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    notice_at();
    const LONG got[] = {client.right, client.bottom, notice.left, notice.top};
    const LONG at96[] = {316, 109, 15, 96};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], at96[i] * 1.5, 1) << i;
    EXPECT_NEAR(frame.left + frame.right, work.left + work.right, 2) << "not centred";
    EXPECT_NEAR(frame.top + frame.bottom, work.top + work.bottom, 2) << "not centred";
    EXPECT_TRUE(notice.right <= client.right && notice.bottom <= client.bottom) << "clipped";

    PressKeys({VK_CONTROL, 'A'});
    const HWND about = WaitForWindow(L"NimbrelAbout");
    ASSERT_TRUE(about);
    for (const HWND window : {program.main, about}) {
        RECT was, now;
        GetWindowRect(window, &was);
        for (const WPARAM command : {SC_MAXIMIZE, SC_SIZE, SC_RESTORE, SC_MINIMIZE}) {
            if (command == SC_MINIMIZE && window == program.main) continue;  // has a taskbar button
            SendMessageTimeoutW(window, WM_SYSCOMMAND, command, 0, SMTO_NORMAL, 1000, nullptr);
            GetWindowRect(window, &now);
            EXPECT_TRUE(EqualRect(&was, &now) && !IsZoomed(window) && !IsIconic(window)) << command;
        }
        TITLEBARINFO bar = {};
        bar.cbSize = sizeof bar;
        GetTitleBarInfo(window, &bar);
        const auto shown = [&](int button) {
            return !(bar.rgstate[button] & STATE_SYSTEM_INVISIBLE);
        };
        EXPECT_TRUE(!shown(2) && !shown(3) &&
                    shown(5) == (window == program.main))  // min, max, close
            << window;
    }

    PostMessageW(program.main, WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    EXPECT_TRUE(WaitFor([&] { return notice_at().x == 15 && notice.top == 96; }));
    PostMessageW(program.main, WM_QUIT, 0, 0);
    EXPECT_EQ(WaitForSingleObject(program.info.hProcess, 3000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace nimbrel::testing
