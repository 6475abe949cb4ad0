// The main and About windows in this process, driven by real mouse and keys.
#include "main_window.h"

#include <gtest/gtest.h>

#include "about_window.h"
#include "harness.h"

namespace nimbrel::testing {
namespace {

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
    HWND Control(const wchar_t* caption) const { return Find(window.hwnd(), caption); }
    HWND Box(int index) const {
        return Control(std::wstring{static_cast<wchar_t>(L'A' + index), L':'}.c_str());
    }
    bool Ticked(int index) const { return SendMessageW(Box(index), BM_GETCHECK, 0, 0); }

    ui::MainWindow window;
};

// Tab runs from A: through the boxes, then the buttons. No box has the focus
// while the window is minimised, so a Space changes nothing unseen.
TEST_F(MainWindowTest, TheFocusRunsInTabOrderAndNeverToABoxOutOfSight) {
    for (int stop = 1; stop <= kDriveCount + 2; ++stop) {
        PressKeys({VK_TAB});
        const HWND expected = stop == kDriveCount       ? Control(L"Hide Selected")
                              : stop == kDriveCount + 1 ? Control(L"Unhide All")
                                                        : Box(stop % (kDriveCount + 2));
        ASSERT_TRUE(Settle([&] { return GetFocus() == expected; })) << "tab stop " << stop;
    }
    ShowWindow(window.hwnd(), SW_MINIMIZE);
    SetForegroundWindow(window.hwnd());
    ASSERT_TRUE(Settle([&] { return GetForegroundWindow() == window.hwnd(); }));
    PressKeys({VK_SPACE});
    Settle();
    EXPECT_FALSE(Ticked(0)) << "a Space ticked a box nobody sees";
    ShowWindow(window.hwnd(), SW_RESTORE);
    PressKeys({VK_SPACE});
    EXPECT_TRUE(Settle([&] { return Ticked(0); }));
}

// Each press keeps the ticks and stores what it should; only a refusal speaks,
// though the key is protected. Escape does nothing; Enter presses the clicked button.
TEST_F(MainWindowTest, EachPressStoresItsMaskAndOnlyARefusalSpeaks) {
    const struct {
        std::initializer_list<int> clicked;  // boxes, first
        const char* value;                   // holding 8 before the press
        bool denied;                         // a refusal leaves the 8 as it was
        const wchar_t* button;               // else Enter
        std::optional<StoredValue> after;
    } cases[] = {
        {{2, 3}, "NoDrives", false, L"Hide Selected", StoredValue{REG_DWORD, {12, 0, 0, 0}}},
        {{}, "NoDrives", false, L"Unhide All", std::nullopt},
        {{}, "NoDrives", false, nullptr, std::nullopt},
        {{}, "NoDrives", true, L"Hide Selected", kEight},
        {{}, "NoDrives", true, L"Unhide All", kEight},
        {{}, "Other", true, L"Unhide All", std::nullopt},
        {{2}, nullptr, false, L"Hide Selected", kEight},
        {{3}, "NoDrives", false, L"Hide Selected", std::nullopt},
    };
    DriveMask ticked = 0;
    for (const auto& c : cases) {
        ResetPolicies();
        if (c.value) WriteValue(c.value, kEight);
        std::optional<DenyWrites> deny;
        if (c.denied) deny.emplace();
        for (const int box : c.clicked) ticked ^= 1 << box, Click(Box(box));
        PressKeys({VK_ESCAPE});
        const std::wstring said = AnswerDuring(
            [&] { c.button ? Click(Control(c.button)) : PressKeys({VK_RETURN}), Settle(); },
            VK_RETURN);
        EXPECT_EQ(ReadValue("NoDrives"), c.after) << &c - cases;
        EXPECT_EQ(said.empty(), !(c.denied && c.after)) << &c - cases << said;
        for (int i = 0; i < kDriveCount; ++i) EXPECT_EQ(Ticked(i), (ticked >> i & 1) != 0) << i;
    }
}

// A press alone leaves the About window open; a multi-click on it, each press
// within the double-click time of the last, closes it and does nothing else.
TEST_F(MainWindowTest, AMultiClickOnTheAboutWindowOnlyClosesIt) {
    WriteValue("NoDrives", kEight);
    ui::ShowAboutWindow();
    const HWND unhide = Control(L"Unhide All");
    const DWORD now = GetTickCount(), step = GetDoubleClickTime() * 2 / 3;
    Click(unhide, now, {MOUSEEVENTF_LEFTDOWN});
    ASSERT_TRUE(Settle() && About()) << "a press alone closed it";
    Click(unhide, now, {MOUSEEVENTF_LEFTUP});
    for (const DWORD press : {1, 2, 3}) Click(unhide, now + press * step);
    ASSERT_TRUE(Settle([] { return !About(); }));
    EXPECT_EQ(ReadValue("NoDrives"), kEight);
    Click(unhide, now + 3 * step + GetDoubleClickTime() + 50);  // a later click works
    EXPECT_TRUE(Settle([] { return !ReadValue("NoDrives"); }));
}

// After each change of DPI the whole window is drawn anew: the divider below
// the grid lies where the layout puts it, and back at 96 DPI all looks as before.
TEST_F(MainWindowTest, ADpiChangeRedrawsTheWholeWindowAtTheNewSize) {
    const std::vector<COLORREF> at96 = Shown(window.hwnd());
    RECT was, client;
    GetWindowRect(window.hwnd(), &was);
    for (const int dpi : {144, 96}) {
        RECT size = {was.left, was.top, was.left + MulDiv(was.right - was.left, dpi, 96),
                     was.top + MulDiv(was.bottom - was.top, dpi, 96)};
        SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&size));
        Settle();
        GetClientRect(window.hwnd(), &client);
        EXPECT_EQ(Shown(window.hwnd()).at(ui::TwipsToPixels(1320, dpi) * client.right),
                  GetSysColor(COLOR_WINDOWTEXT));
    }
    EXPECT_TRUE(Shown(window.hwnd()) == at96);
}

}  // namespace
}  // namespace nimbrel::testing
