// The program as a user runs it: a process of its own, driven from outside.
#include <gtest/gtest.h>

#include "harness.h"

namespace nimbrel::testing {
namespace {

const std::wstring kTitle = L"-Quorvex- Nimbrel v1.0";
const wchar_t* const kNotice = L"You must restart your Windows for the changes to take effect";
const std::wstring kQuestion = kTitle + L" Exit: Do you wish to exit the " + kTitle + L"?";
// The refusal, around the reason Windows gives.
const std::wstring kRefusal[] = {
    kTitle + L": Windows refused to change the drive policy:\n\n",
    L"\n\nChanging it takes administrator rights on this account; running the program as another "
    L"account changes that account's drives, not yours.\n\nThe drive policy was not changed."};

// While the exit question or a refusal is up, the main window takes no click
// and a close request, posted or sent, opens nothing new; after it the main
// window is in front with its focus. The About window outlives the main
// window, which Enter (Yes) closes, and its click ends the program.
TEST(Program, AsksOneBoxAtATimeAndEndsWithItsLastWindow) {
    REQUIRE_SCRATCH_REGISTRY();
    ResetPolicies();
    WriteValue("NoDrives", kEight);
    const HWND other_program = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                               0, 0, 99, 99, nullptr, nullptr, nullptr, nullptr);
    ProgramProcess program;
    const HWND box_b = Find(program.main, L"B:"), box_d = Find(program.main, L"D:"),
               unhide = Find(program.main, L"Unhide All");
    const auto gui = [](HWND window) {  // the focus and capture of its thread
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
        return thread;
    };
    SetWindowPos(program.main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // out from under
    Click(box_b);
    ASSERT_TRUE(WaitFor([&] { return gui(box_b).hwndFocus == box_b; }));
    for (const bool refusal : {false, true}) {
        const HWND had_focus = refusal ? unhide : box_b;
        std::optional<DenyWrites> deny;
        refusal ? (deny.emplace(), Click(unhide)) : PressKeys({VK_MENU, VK_F4});
        const HWND box = WaitForWindow(L"#32770");
        Click(box_d);
        PostMessageW(program.main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(SendMessageTimeoutW(program.main, WM_CLOSE, 0, 0, SMTO_NORMAL, 1000, nullptr))
            << "another box opened";
        EXPECT_EQ(WaitForWindow(L"#32770"), box);
        const std::wstring said = Answer(box, refusal ? VK_RETURN : 'N');
        EXPECT_TRUE(refusal ? said.starts_with(kRefusal[0]) && said.ends_with(kRefusal[1])
                            : said == kQuestion)
            << said;
        EXPECT_TRUE(WaitFor([&] {
            return GetForegroundWindow() == program.main && gui(box_b).hwndFocus == had_focus;
        }));
    }
    EXPECT_EQ(ReadValue("NoDrives"), kEight);
    EXPECT_EQ(SendMessageW(box_d, BM_GETCHECK, 0, 0), BST_UNCHECKED)
        << "ticked from the stored 8 at the start, or by a click during a box";

    PressKeys({VK_CONTROL, 'A'});
    const HWND about = WaitForWindow(L"NimbrelAbout");
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
    Click(Find(program.main, kNotice));  // the main window, aside, in front again
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == program.main; }));
    PressKeys({VK_MENU, 'H'});
    PressKeys({'A'});
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
    EXPECT_EQ(FindWindowExW(nullptr, about, L"NimbrelAbout", nullptr), nullptr) << "a second one";
    EXPECT_TRUE(Find(about, L"-Quorvex- Nimbrel"));
    const HWND version = Find(about, L"Version: 1.0.0");
    ASSERT_TRUE(version);
    PostMessageW(program.main, WM_CLOSE, 0, 0);
    const HWND question = WaitForWindow(L"#32770");
    EXPECT_FALSE(IsWindowEnabled(about)) << "the About window takes input during the question";
    Answer(question, VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(program.main) && IsWindowEnabled(about); }));
    Click(version, 0, {MOUSEEVENTF_LEFTDOWN});  // taken only while the program runs on
    EXPECT_TRUE(WaitFor([&] { return gui(about).hwndCapture == about; }));
    Click(version, 0, {MOUSEEVENTF_LEFTUP});
    EXPECT_EQ(WaitForSingleObject(program.info.hProcess, 3000), WAIT_OBJECT_0);
    DestroyWindow(other_program);
}

// The window opens centred, half as large again at 144 DPI, though its start
// asks for it maximised. A quit message from outside ends it cleanly.
TEST(Program, TheLayoutScalesWithTheDpiAndNeverMaximises) {
    REQUIRE_SCRATCH_REGISTRY();
    const DWORD dpi = 144;
    RegSetKeyValueA(HKEY_CURRENT_USER, R"(Control Panel\Desktop)", "LogPixels", REG_DWORD, &dpi, 4);
    ProgramProcess program(SW_SHOWMAXIMIZED);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, R"(Control Panel\Desktop)", "LogPixels");
    RECT client, notice, frame, work;
    GetClientRect(program.main, &client);
    GetWindowRect(program.main, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(Find(program.main, kNotice), &notice);
    MapWindowPoints(HWND_DESKTOP, program.main, reinterpret_cast<POINT*>(&notice), 2);
    const LONG got[] = {client.right, client.bottom, notice.left, notice.top};
    const LONG at96[] = {316, 109, 15, 96};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], at96[i] * 1.5, 1) << i;
    EXPECT_NEAR(frame.left + frame.right, work.left + work.right, 2) << "not centred";
    EXPECT_NEAR(frame.top + frame.bottom, work.top + work.bottom, 2) << "not centred";
    EXPECT_TRUE(notice.right <= client.right && notice.bottom <= client.bottom) << "clipped";
    EXPECT_FALSE(IsZoomed(program.main));
    PostMessageW(program.main, WM_QUIT, 0, 0);
    EXPECT_EQ(WaitForSingleObject(program.info.hProcess, 3000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace nimbrel::testing
