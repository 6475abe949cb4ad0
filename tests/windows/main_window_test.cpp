// The main and About windows in this process, driven by real mouse and keys.
#include "main_window.h"

#include <gtest/gtest.h>

#include <functional>

#include "about_window.h"
#include "harness.h"

namespace nimbrel::testing {
namespace {

const StoredValue kEight = {REG_DWORD, {8, 0, 0, 0}};

HWND About() { return FindWindowW(L"NimbrelAbout", nullptr); }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_SCRATCH_REGISTRY();
        ResetPolicies();
        ASSERT_TRUE(window.Open(SW_SHOWNORMAL));
        SetForegroundWindow(window.hwnd());
        ASSERT_TRUE(Settle([&] { return GetForegroundWindow() == window.hwnd(); }));
    }
    void TearDown() override {
        if (About() != nullptr) DestroyWindow(About());
        ResetPolicies();
    }

    // Runs the window's messages, as the program's loop does, until `done`.
    bool Settle(const std::function<bool()>& done = [] { return true; }) {
        return WaitFor(done, 2000, [this](MSG& message) { return window.PreTranslate(message); });
    }
    HWND Control(int id) const { return GetDlgItem(window.hwnd(), id); }
    HWND Box(int index) const { return Control(ui::kFirstDriveBoxId + index); }
    LRESULT Tick(int index) const { return SendMessageW(Box(index), BM_GETCHECK, 0, 0); }
    // Runs `act` and answers a message box if one comes; returns its text, or
    // nothing when the program stayed silent.
    std::optional<std::wstring> MessageFrom(const std::function<void()>& act) {
        const SeenMessageBox box = AnswerMessageBox(GetCurrentProcessId(), VK_RETURN, [&] {
            act();
            Settle();
        }, 0);
        if (!box.seen) return std::nullopt;
        EXPECT_EQ(box.title, L"-Quorvex- Nimbrel v1.0");
        return box.text;
    }

    ui::MainWindow window;
};

TEST_F(MainWindowTest, TabRunsThroughTheBoxesThenTheButtons) {
    ASSERT_EQ(GetFocus(), Box(0));
    for (int stop = 1; stop <= kDriveCount + 2; ++stop) {
        PressKeys({VK_TAB});
        const HWND expected = stop < kDriveCount        ? Box(stop)
                              : stop == kDriveCount     ? Control(ui::kHideSelectedId)
                              : stop == kDriveCount + 1 ? Control(ui::kUnhideAllId)
                                                        : Box(0);
        ASSERT_TRUE(Settle([&] { return GetFocus() == expected; })) << "tab stop " << stop;
    }
}

TEST_F(MainWindowTest, ButtonsWriteAndRemoveThePolicyAndKeepTheTicks) {
    Click(Box(2));
    ASSERT_TRUE(Settle([&] { return Tick(2) == BST_CHECKED; }));
    SetFocus(Box(3));
    PressKeys({VK_SPACE});
    ASSERT_TRUE(Settle([&] { return Tick(3) == BST_CHECKED; }));
    EXPECT_EQ(ReadValue("NoDrives"), std::nullopt) << "a tick alone changes nothing";
    Click(Control(ui::kHideSelectedId));
    EXPECT_TRUE(Settle([] { return ReadValue("NoDrives") == StoredValue{REG_DWORD, {12, 0, 0, 0}}; }));
    Click(Control(ui::kUnhideAllId));
    EXPECT_TRUE(Settle([] { return !ReadValue("NoDrives"); }));
    EXPECT_TRUE(Tick(2) == BST_CHECKED && Tick(3) == BST_CHECKED);

    Click(Box(2));
    Click(Box(3));
    ASSERT_TRUE(Settle([&] { return Tick(2) == BST_UNCHECKED && Tick(3) == BST_UNCHECKED; }));
    WriteValue("NoDrives", kEight);
    Click(Control(ui::kHideSelectedId));
    EXPECT_TRUE(Settle([] { return !ReadValue("NoDrives"); })) << "nothing ticked removes";
}

// Every way the registry can refuse or have nothing to do, met through the
// window: a refusal shows the one warning, nothing else shows anything, and
// the stored value stays as it was.
TEST_F(MainWindowTest, OnlyARefusalSpeaks) {
    const auto eight = [] { WriteValue("NoDrives", kEight); };
    const auto other = [] { WriteValue("Other", {REG_SZ, {0}}); };
    const struct {
        const char* name;
        std::function<void()> arrange;
        bool denied;
        int button;
        const wchar_t* says;  // nothing when silent
    } cases[] = {
        {"create refused", MakePoliciesVolatile, false, ui::kHideSelectedId, L""},
        {"set denied", eight, true, ui::kHideSelectedId, L"takes administrator rights"},
        {"delete denied", eight, true, ui::kUnhideAllId, L"takes administrator rights"},
        {"key absent", [] {}, false, ui::kUnhideAllId, nullptr},
        {"value absent", other, false, ui::kUnhideAllId, nullptr},
        {"delete denied, value absent", other, true, ui::kUnhideAllId, nullptr},
    };
    Click(Box(2));
    ASSERT_TRUE(Settle([&] { return Tick(2) == BST_CHECKED; }));
    for (const auto& c : cases) {
        ResetPolicies();
        c.arrange();
        const auto before = ReadValue("NoDrives");
        std::optional<DenyWrites> deny;
        if (c.denied) deny.emplace();
        const auto said = MessageFrom([&] { Click(Control(c.button)); });
        deny.reset();
        ASSERT_EQ(said.has_value(), c.says != nullptr) << c.name;
        if (said) {
            EXPECT_NE(said->find(L"Windows refused to change the drive policy"), std::wstring::npos);
            EXPECT_NE(said->find(c.says), std::wstring::npos) << c.name;
            EXPECT_NE(said->find(L"The drive policy was not changed."), std::wstring::npos) << c.name;
        }
        EXPECT_EQ(ReadValue("NoDrives"), before) << c.name;
        EXPECT_EQ(Tick(2), BST_CHECKED) << c.name;
    }
}

TEST_F(MainWindowTest, ShortcutAndMenuOpenTheOneAboutWindow) {
    PressKeys({VK_CONTROL, 'A'});
    ASSERT_TRUE(Settle([] { return About() != nullptr && GetForegroundWindow() == About(); }));
    const HWND about = About();
    SetForegroundWindow(window.hwnd());
    ASSERT_TRUE(Settle([&] { return GetForegroundWindow() == window.hwnd(); }));
    PressKeys({VK_MENU, 'H'});
    PressKeys({'A'});
    EXPECT_TRUE(Settle([&] { return GetForegroundWindow() == about; }));
    EXPECT_EQ(FindWindowExW(nullptr, about, L"NimbrelAbout", nullptr), nullptr);
}

TEST_F(MainWindowTest, AClickAnywhereOnTheAboutWindowClosesIt) {
    // The title, the version line, the icon, and empty space inside the frame.
    for (POINT target : {POINT{120, 40}, POINT{30, 70}, POINT{40, 40}, POINT{200, 140}}) {
        ui::ShowAboutWindow();
        ASSERT_TRUE(Settle([] { return About() != nullptr; }));
        ClientToScreen(About(), &target);
        SendMouse(target, MOUSEEVENTF_LEFTDOWN);
        Settle();
        ASSERT_NE(About(), nullptr) << "a press alone closed it";
        SendMouse(target, MOUSEEVENTF_LEFTUP);
        EXPECT_TRUE(Settle([] { return About() == nullptr; })) << target.x << "," << target.y;
    }
}

// The click that closes the About window is all a double-click on it does,
// even where the main window lies under it; a later click works as usual.
TEST_F(MainWindowTest, ADoubleClickOnTheAboutWindowOnlyClosesIt) {
    WriteValue("NoDrives", kEight);
    const POINT button = CentreOf(Control(ui::kUnhideAllId));
    ui::ShowAboutWindow();
    ASSERT_TRUE(Settle([&] { return About() != nullptr; }));
    ASSERT_EQ(GetAncestor(WindowFromPoint(button), GA_ROOT), About()) << "nothing to shield";
    const DWORD now = GetTickCount();
    ClickAt(button, now);
    ClickAt(button, now + 50);
    ASSERT_TRUE(Settle([] { return About() == nullptr; }));
    Settle();
    EXPECT_EQ(ReadValue("NoDrives"), kEight);
    ClickAt(button, now + GetDoubleClickTime() + 50);
    EXPECT_TRUE(Settle([] { return !ReadValue("NoDrives"); }));
}

// Enter presses the focused push button, whether the focus came by Tab or by
// a click; on a check box, as Escape anywhere, it does nothing.
TEST_F(MainWindowTest, EnterPressesTheFocusedButton) {
    const HWND unhide = Control(ui::kUnhideAllId);
    Click(unhide);
    ASSERT_TRUE(Settle([&] { return GetFocus() == unhide; }));
    WriteValue("NoDrives", kEight);
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Settle([] { return !ReadValue("NoDrives"); })) << "Enter after a click";

    WriteValue("NoDrives", kEight);
    Click(Box(2));
    ASSERT_TRUE(Settle([&] { return GetFocus() == Box(2); }));
    PressKeys({VK_RETURN});
    PressKeys({VK_ESCAPE});
    Settle();
    EXPECT_EQ(ReadValue("NoDrives"), kEight);
    EXPECT_EQ(Tick(2), BST_CHECKED);
}

}  // namespace
}  // namespace nimbrel::testing
