// The program as a user runs it: a process of its own, driven from outside.
#include <gtest/gtest.h>

#include "layout.h"
#include "scratch_registry.h"
#include "ui_driver.h"

namespace nimbrel::testing {
namespace {

constexpr const wchar_t* kExitTitle = L"-Quorvex- Nimbrel v1.0 Exit";

std::string ProgramPath() { return '"' + ProgramFolder() + "nimbrel.exe\""; }

// Asks the main window to close and answers the exit question.
SeenMessageBox RequestClose(const ProgramProcess& program, HWND main, int answer) {
    return AnswerMessageBox(program.id(), answer, [main] { PostMessageW(main, WM_CLOSE, 0, 0); });
}

TEST(Program, ExitAsksFirstAndOnlyYesCloses) {
    ProgramProcess program(ProgramPath());
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    const RECT notice = RectInParent(GetDlgItem(main, ui::kNoticeId));
    EXPECT_LE(notice.right, ClientSize(main).cx) << notice.left << " " << notice.right;
    const HWND box_b = GetDlgItem(main, ui::kFirstDriveBoxId + 1);
    SendMessageW(box_b, BM_CLICK, 0, 0);

    const SeenMessageBox question = RequestClose(program, main, IDNO);
    ASSERT_TRUE(question.seen);
    EXPECT_EQ(question.title, kExitTitle);
    EXPECT_EQ(question.text, L"Do you wish to exit the -Quorvex- Nimbrel v1.0?");
    EXPECT_TRUE(question.has_icon && question.has_yes_no);
    EXPECT_FALSE(program.WaitForExit(500));
    ASSERT_TRUE(IsWindow(main));
    EXPECT_EQ(SendMessageW(box_b, BM_GETCHECK, 0, 0), BST_CHECKED);

    EXPECT_TRUE(RequestClose(program, main, IDYES).seen);
    EXPECT_TRUE(program.WaitForExit(5000));
}

TEST(Program, RunsOnUntilTheAboutWindowClosesToo) {
    ProgramProcess program(ProgramPath());
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_COMMAND, ui::kAboutCommandId, 0);
    const HWND about = FindProcessWindow(program.id(), L"NimbrelAbout", nullptr, 5000);
    ASSERT_NE(about, nullptr);

    const SeenMessageBox question = RequestClose(program, main, IDYES);
    ASSERT_TRUE(question.seen);
    EXPECT_TRUE(question.others_disabled) << "the About window took input during the question";
    EXPECT_FALSE(program.WaitForExit(700));
    EXPECT_FALSE(IsWindow(main));
    ASSERT_TRUE(IsWindowVisible(about));
    ASSERT_TRUE(IsWindowEnabled(about));

    SetForegroundWindow(about);
    Click(about);
    EXPECT_TRUE(program.WaitForExit(5000));
}

// Restores the prefix's screen DPI when the test ends.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        WriteValue(kPath, "LogPixels", {REG_DWORD, {static_cast<BYTE>(dpi), 0, 0, 0}});
    }
    ~ScopedLogPixels() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kPath, "LogPixels"); }

private:
    static constexpr const char* kPath = R"(Control Panel\Desktop)";
};

TEST(Program, LayoutScalesWithTheScreenDpi) {
    REQUIRE_SCRATCH_REGISTRY();
    const ScopedLogPixels dpi(144);
    ProgramProcess program(ProgramPath());
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);

    auto close_to = [](LONG actual, double expected) { return std::abs(actual - expected) <= 1.0; };
    const SIZE client = ClientSize(main);
    EXPECT_TRUE(close_to(client.cx, 316 * 1.5) && close_to(client.cy, 109 * 1.5))
        << client.cx << "x" << client.cy;

    const struct {
        int id;
        RECT at96;
    } controls[] = {{ui::kFirstDriveBoxId, {8, 0, 41, 17}},
                    {ui::kFirstDriveBoxId + 12, {88, 32, 129, 49}},
                    {ui::kFirstDriveBoxId + 25, {208, 32, 241, 49}},
                    {ui::kHideSelectedId, {256, 8, 313, 41}},
                    {ui::kUnhideAllId, {256, 40, 313, 73}}};
    for (const auto& control : controls) {
        const RECT rect = RectInParent(GetDlgItem(main, control.id));
        EXPECT_TRUE(close_to(rect.left, control.at96.left * 1.5) &&
                    close_to(rect.top, control.at96.top * 1.5) &&
                    close_to(rect.right, control.at96.right * 1.5) &&
                    close_to(rect.bottom, control.at96.bottom * 1.5))
            << control.id << ": " << rect.left << "," << rect.top << "," << rect.right << ","
            << rect.bottom;
    }
    const RECT notice = RectInParent(GetDlgItem(main, ui::kNoticeId));
    EXPECT_TRUE(close_to(notice.left, 15 * 1.5) && close_to(notice.top, 96 * 1.5));
    EXPECT_LE(notice.right, client.cx) << "the notice is clipped";
    EXPECT_LE(notice.bottom, client.cy) << "the notice is clipped";
}

}  // namespace
}  // namespace nimbrel::testing
