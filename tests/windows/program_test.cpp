// The program as a user runs it: a process of its own, driven from outside.
#include <gtest/gtest.h>

#include "harness.h"
#include "layout.h"

namespace nimbrel::testing {
namespace {

// Closing asks first. No leaves the main window as it was, in front with its
// focus, even with another program open; a close sent from another process,
// as Task Manager sends it, ends the program on Yes.
TEST(Program, ExitAsksFirstAndOnlyYesEndsTheProgram) {
    const HWND other_program = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                               0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    ProgramProcess program;
    const HWND main = program.Window();
    ASSERT_NE(main, nullptr);
    const HWND box_b = GetDlgItem(main, ui::kFirstDriveBoxId + 1);
    Click(box_b);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    const auto focus = [&] {
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread);
        return thread.hwndFocus;
    };
    ASSERT_TRUE(WaitFor([&] { return focus() == box_b; }));

    const SeenMessageBox question =
        AnswerMessageBox(program.id(), 'N', [] { PressKeys({VK_MENU, VK_F4}); });
    ASSERT_TRUE(question.seen);
    EXPECT_EQ(question.title, L"-Quorvex- Nimbrel v1.0 Exit");
    EXPECT_EQ(question.text, L"Do you wish to exit the -Quorvex- Nimbrel v1.0?");
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == main && focus() == box_b; }));
    EXPECT_FALSE(program.WaitForExit(0));
    EXPECT_EQ(SendMessageW(box_b, BM_GETCHECK, 0, 0), BST_CHECKED);

    EXPECT_TRUE(AnswerMessageBox(program.id(), 'Y', [&] { SendMessageW(main, WM_CLOSE, 0, 0); }).seen);
    EXPECT_TRUE(program.WaitForExit(3000));
    DestroyWindow(other_program);
}

TEST(Program, RunsOnUntilTheAboutWindowClosesToo) {
    ProgramProcess program;
    const HWND main = program.Window();
    ASSERT_NE(main, nullptr);
    PressKeys({VK_CONTROL, 'A'});
    const HWND about = program.Window(L"NimbrelAbout");
    ASSERT_NE(about, nullptr);

    const SeenMessageBox question =
        AnswerMessageBox(program.id(), 'Y', [&] { SendMessageW(main, WM_CLOSE, 0, 0); });
    ASSERT_TRUE(question.seen);
    EXPECT_TRUE(question.others_disabled) << "the About window took input during the question";
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(main); }));
    EXPECT_FALSE(program.WaitForExit(0));
    ASSERT_TRUE(IsWindowVisible(about) && IsWindowEnabled(about));

    Click(about);
    EXPECT_TRUE(program.WaitForExit(3000));
}

TEST(Program, AMaximisedStartOpensAtTheNormalSize) {
    ProgramProcess program(SW_SHOWMAXIMIZED);
    const HWND main = program.Window();
    ASSERT_NE(main, nullptr);
    RECT client;
    GetClientRect(main, &client);
    EXPECT_FALSE(IsZoomed(main));
    EXPECT_EQ(client.right, 316);
}

// Restores the prefix's screen DPI when the test ends.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(BYTE dpi) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kPath, "LogPixels", REG_DWORD,
                        std::array<BYTE, 4>{dpi}.data(), 4);
    }
    ~ScopedLogPixels() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kPath, "LogPixels"); }

private:
    static constexpr const char* kPath = R"(Control Panel\Desktop)";
};

TEST(Program, LayoutScalesWithTheScreenDpi) {
    REQUIRE_SCRATCH_REGISTRY();
    const ScopedLogPixels dpi(144);
    ProgramProcess program;
    const HWND main = program.Window();
    ASSERT_NE(main, nullptr);

    const auto scaled = [](RECT at96) {
        return RECT{at96.left * 3 / 2, at96.top * 3 / 2, at96.right * 3 / 2, at96.bottom * 3 / 2};
    };
    const auto close_to = [](RECT a, RECT b) {
        return std::abs(a.left - b.left) <= 1 && std::abs(a.top - b.top) <= 1 &&
               std::abs(a.right - b.right) <= 1 && std::abs(a.bottom - b.bottom) <= 1;
    };
    RECT client;
    GetClientRect(main, &client);
    EXPECT_TRUE(close_to(client, scaled({0, 0, 316, 109}))) << client.right << "x" << client.bottom;
    const struct {
        int id;
        RECT at96;
    } controls[] = {{ui::kFirstDriveBoxId, {8, 0, 41, 17}},
                    {ui::kFirstDriveBoxId + 12, {88, 32, 129, 49}},
                    {ui::kFirstDriveBoxId + 25, {208, 32, 241, 49}},
                    {ui::kUnhideAllId, {256, 40, 313, 73}}};
    for (const auto& control : controls) {
        RECT rect;
        GetWindowRect(GetDlgItem(main, control.id), &rect);
        MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_TRUE(close_to(rect, scaled(control.at96))) << control.id;
    }
    RECT notice;
    GetWindowRect(GetDlgItem(main, ui::kNoticeId), &notice);
    MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&notice), 2);
    EXPECT_TRUE(notice.right <= client.right && notice.bottom <= client.bottom) << "clipped";
}

}  // namespace
}  // namespace nimbrel::testing
