// The program as a user runs it: a process of its own, driven from outside.
#include <gtest/gtest.h>

#include "harness.h"
#include "layout.h"

namespace nimbrel::testing {
namespace {

// Closing asks first. No leaves the main window as it was, in front with its
// focus, though another program is open; a close sent from another process,
// as Task Manager sends it, ends the program on Yes.
TEST(Program, ExitAsksFirstAndOnlyYesEndsTheProgram) {
    const HWND other_program = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                               0, 0, 99, 99, nullptr, nullptr, nullptr, nullptr);
    ProgramProcess program;
    const HWND box_b = GetDlgItem(program.main, ui::kFirstDriveBoxId + 1);
    const auto focus = [&] {
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        GetGUIThreadInfo(GetWindowThreadProcessId(program.main, nullptr), &thread);
        return thread.hwndFocus;
    };
    Click(box_b);
    ASSERT_TRUE(WaitFor([&] { return focus() == box_b; }));

    PressKeys({VK_MENU, VK_F4});
    EXPECT_EQ(Answer(WaitForWindow(program.info.dwProcessId, L"#32770"), 'N'),
              L"-Quorvex- Nimbrel v1.0 Exit: Do you wish to exit the -Quorvex- Nimbrel v1.0?");
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == program.main && focus() == box_b; }));
    EXPECT_EQ(SendMessageW(box_b, BM_GETCHECK, 0, 0), BST_CHECKED);

    std::thread close([&] { SendMessageW(program.main, WM_CLOSE, 0, 0); });
    Answer(WaitForWindow(program.info.dwProcessId, L"#32770"), 'Y');
    close.join();
    EXPECT_TRUE(program.Ended(3000));
    DestroyWindow(other_program);
}

// Ctrl+A and the menu open one About window. It takes no input during the
// question, outlives the main window, and the program ends when a click on
// its title closes it too.
TEST(Program, RunsOnUntilTheOneAboutWindowClosesToo) {
    ProgramProcess program;
    const DWORD id = program.info.dwProcessId;
    PressKeys({VK_CONTROL, 'A'});
    const HWND about = WaitForWindow(id, L"NimbrelAbout");
    SetForegroundWindow(program.main);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == program.main; }));
    PressKeys({VK_MENU, 'H'});
    PressKeys({'A'});
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
    EXPECT_EQ(FindWindowExW(nullptr, about, L"NimbrelAbout", nullptr), nullptr);

    std::thread close([&] { SendMessageW(program.main, WM_CLOSE, 0, 0); });
    const HWND question = WaitForWindow(id, L"#32770");
    EXPECT_FALSE(IsWindowEnabled(about)) << "the About window takes input during the question";
    Answer(question, 'Y');
    close.join();
    EXPECT_TRUE(!IsWindow(program.main) && IsWindowEnabled(about) && !program.Ended(0));
    Click(GetDlgItem(about, ui::kAboutTitleId));
    EXPECT_TRUE(program.Ended(3000));
}

// The window keeps its one size, scaled with the screen's DPI, though its
// start asks for it maximised.
TEST(Program, TheLayoutScalesWithTheDpiAndNeverMaximises) {
    REQUIRE_SCRATCH_REGISTRY();
    const DWORD dpi = 144;
    RegSetKeyValueA(HKEY_CURRENT_USER, R"(Control Panel\Desktop)", "LogPixels", REG_DWORD, &dpi, 4);
    ProgramProcess program(SW_SHOWMAXIMIZED);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, R"(Control Panel\Desktop)", "LogPixels");
    RECT client, rects[2];
    GetClientRect(program.main, &client);
    for (int i : {0, 1}) {
        GetWindowRect(GetDlgItem(program.main, i ? ui::kNoticeId : ui::kUnhideAllId), &rects[i]);
        MapWindowPoints(HWND_DESKTOP, program.main, reinterpret_cast<POINT*>(&rects[i]), 2);
    }
    // Half as large again as at 96 DPI, give or take a pixel.
    const LONG got[] = {client.right, client.bottom,  rects[0].left,
                        rects[0].top, rects[0].right, rects[0].bottom};
    const LONG at96[] = {316, 109, 256, 40, 313, 73};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], at96[i] * 1.5, 1) << i;
    EXPECT_FALSE(IsZoomed(program.main));
    EXPECT_TRUE(rects[1].right <= client.right && rects[1].bottom <= client.bottom) << "clipped";
}

}  // namespace
}  // namespace nimbrel::testing
