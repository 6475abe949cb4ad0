// The main and About windows in this process, driven by real mouse and keys.
#include "main_window.h"

#include <gtest/gtest.h>

#include "about_window.h"
#include "harness.h"

namespace nimbrel::testing {
namespace {

const StoredValue kEight = {REG_DWORD, {8, 0, 0, 0}};
HWND About() { return ui::AboutWindow::Current(); }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_SCRATCH_REGISTRY();
        ResetPolicies();
        ASSERT_TRUE(window.Open(SW_SHOWNORMAL));
        SetForegroundWindow(window.hwnd());
        ASSERT_TRUE(Settle([&] { return GetForegroundWindow() == window.hwnd(); }));
    }
    void TearDown() override { DestroyWindow(About()); }

    bool Settle(const std::function<bool()>& done = [] { return true; }) {
        return WaitFor(done, 2000, [this](MSG& message) { return window.PreTranslate(message); });
    }
    bool Stored(const std::optional<StoredValue>& value) {
        return Settle([&] { return ReadValue("NoDrives") == value; });
    }
    HWND Control(int id) const { return GetDlgItem(window.hwnd(), id); }
    HWND Box(int index) const { return Control(ui::kFirstDriveBoxId + index); }
    bool Ticked(int index) const { return SendMessageW(Box(index), BM_GETCHECK, 0, 0); }

    ui::MainWindow window;
};

TEST_F(MainWindowTest, TabRunsThroughTheBoxesThenTheButtons) {
    ASSERT_EQ(GetFocus(), Box(0));
    for (int stop = 1; stop <= kDriveCount + 2; ++stop) {
        PressKeys({VK_TAB});
        const HWND expected = stop == kDriveCount       ? Control(ui::kHideSelectedId)
                              : stop == kDriveCount + 1 ? Control(ui::kUnhideAllId)
                                                        : Box(stop % (kDriveCount + 2));
        ASSERT_TRUE(Settle([&] { return GetFocus() == expected; })) << "tab stop " << stop;
    }
}

// Enter presses the focused button too, though the focus came by a click.
TEST_F(MainWindowTest, ButtonsWriteAndRemoveThePolicyAndKeepTheTicks) {
    Click(Box(2));
    Click(Box(3));
    ASSERT_TRUE(Settle([&] { return Ticked(2) && Ticked(3); }));
    Click(Control(ui::kHideSelectedId));
    EXPECT_TRUE(Stored(StoredValue{REG_DWORD, {12, 0, 0, 0}}));
    Click(Control(ui::kUnhideAllId));
    EXPECT_TRUE(Stored(std::nullopt));
    EXPECT_TRUE(Ticked(2) && Ticked(3));
    WriteValue("NoDrives", kEight);
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Stored(std::nullopt)) << "Enter on the clicked button";
    Click(Box(2));
    Click(Box(3));
    ASSERT_TRUE(Settle([&] { return !Ticked(2) && !Ticked(3); }));
    WriteValue("NoDrives", kEight);
    Click(Control(ui::kHideSelectedId));
    EXPECT_TRUE(Stored(std::nullopt)) << "nothing ticked removes";
}

// A refusal gives the one warning and a remove with nothing to remove is
// silent, on a protected key too; neither changes the stored value.
TEST_F(MainWindowTest, OnlyARefusalSpeaks) {
    const std::wstring head =
        L"-Quorvex- Nimbrel v1.0: Windows refused to change the drive policy:";
    const std::wstring tail =
        L"\n\nChanging it takes administrator rights on this account; running "
        L"the program as another account changes that account's drives, not "
        L"yours.\n\nThe drive policy was not changed.";
    // clang-format off
    const struct {
        const char* value;  // holding 8 before the press
        bool denied;
        int button;
    } cases[] = {{"NoDrives", true, ui::kHideSelectedId}, {"NoDrives", true, ui::kUnhideAllId},
                 {nullptr, false, ui::kUnhideAllId}, {"Other", false, ui::kUnhideAllId},
                 {"Other", true, ui::kUnhideAllId}};
    // clang-format on
    Click(Box(2));
    for (const auto& c : cases) {
        ResetPolicies();
        if (c.value) WriteValue(c.value, kEight);
        std::optional<DenyWrites> deny;
        if (c.denied) deny.emplace();
        const auto click = [&] { Click(Control(c.button)), Settle(); };
        const std::wstring said = AnswerDuring(click, VK_RETURN);
        deny.reset();
        const bool refused = c.value && c.value == std::string_view("NoDrives");
        EXPECT_EQ(ReadValue("NoDrives"), refused ? std::optional(kEight) : std::nullopt);
        EXPECT_TRUE(refused ? said.starts_with(head) && said.ends_with(tail) : said.empty())
            << said;
    }
}

// A press alone leaves the About window open; the click that closes it is all
// a double-click on it does, though the main window lies under it.
TEST_F(MainWindowTest, ADoubleClickOnTheAboutWindowOnlyClosesIt) {
    WriteValue("NoDrives", kEight);
    ui::ShowAboutWindow();
    const DWORD now = GetTickCount();
    Click(Control(ui::kUnhideAllId), now, {MOUSEEVENTF_LEFTDOWN});
    ASSERT_TRUE(Settle() && About()) << "a press alone closed it";
    Click(Control(ui::kUnhideAllId), now + 50,
          {MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    ASSERT_TRUE(Settle([] { return !About(); }));
    EXPECT_EQ(ReadValue("NoDrives"), kEight);
    Click(Control(ui::kUnhideAllId), now + GetDoubleClickTime() + 50);  // a later click works
    EXPECT_TRUE(Stored(std::nullopt));
}

}  // namespace
}  // namespace nimbrel::testing
