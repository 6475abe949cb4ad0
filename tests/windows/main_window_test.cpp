#include <gtest/gtest.h>

#include "about_window.h"
#include "layout.h"
#include "main_window.h"
#include "policy_store.h"
#include "scratch_registry.h"
#include "ui_driver.h"
#include "win32_registry.h"

namespace nimbrel::testing {
namespace {

using ui::AboutWindow;
using ui::MainWindow;

constexpr DWORD kSettle = 150;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_SCRATCH_REGISTRY();
        ResetPolicies();
        ASSERT_TRUE(window.Open(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
        SetForegroundWindow(window.hwnd());
        Settle();
    }
    void TearDown() override {
        if (HWND about = AboutWindow::Current()) DestroyWindow(about);
        if (ScratchRegistryAllowed()) ResetPolicies();
    }

    void Settle(DWORD milliseconds = kSettle) {
        Pump(milliseconds, [this](MSG& message) { return window.PreTranslate(message); });
    }
    HWND Control(int id) const { return GetDlgItem(window.hwnd(), id); }
    HWND Box(int index) const { return Control(ui::kFirstDriveBoxId + index); }
    std::vector<LRESULT> Ticks() const {
        std::vector<LRESULT> ticks;
        for (int i = 0; i < kDriveCount; ++i) ticks.push_back(SendMessageW(Box(i), BM_GETCHECK, 0, 0));
        return ticks;
    }

    Win32Registry registry;
    PolicyStore store{registry};
    MainWindow window{store};
};

TEST_F(MainWindowTest, EveryControlStandsWhereTheLayoutPutsIt) {
    EXPECT_EQ(TextOf(window.hwnd()), L"-Quorvex- Nimbrel v1.0");
    const SIZE client = ClientSize(window.hwnd());
    EXPECT_EQ(client.cx, 316);
    EXPECT_EQ(client.cy, 109);
    EXPECT_TRUE(CentredOnWorkArea(window.hwnd()));

    const LONG style = GetWindowLongW(window.hwnd(), GWL_STYLE);
    const LONG ex_style = GetWindowLongW(window.hwnd(), GWL_EXSTYLE);
    EXPECT_TRUE((style & WS_SYSMENU) && (style & WS_DLGFRAME));
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE((ex_style & WS_EX_DLGMODALFRAME) && (ex_style & WS_EX_APPWINDOW));

    const int columns[] = {8, 48, 88, 128, 168};
    for (int i = 0; i < kDriveCount; ++i) {
        const HWND box = Box(i);
        ASSERT_NE(box, nullptr) << i;
        const RECT expected = i == 25 ? RECT{208, 32, 241, 49}
                                      : RECT{columns[i / 5], 16 * (i % 5), columns[i / 5] + (i == 12 ? 41 : i == 22 ? 49 : 33),
                                             16 * (i % 5) + 17};
        const RECT actual = RectInParent(box);
        EXPECT_TRUE(EqualRect(&actual, &expected)) << "box " << i;
        EXPECT_EQ(TextOf(box), (std::wstring{static_cast<wchar_t>(L'A' + i), L':'}));
        EXPECT_EQ(ClassOf(box), L"Button");
        EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
        const LOGFONTW font = FontOf(box);
        EXPECT_TRUE(std::wstring(font.lfFaceName) == L"Arno Pro Caption" ||
                    std::wstring(font.lfFaceName) == L"Tahoma");
        EXPECT_EQ(font.lfHeight, -11);
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
        EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
    }

    const struct {
        int id;
        const wchar_t* text;
        RECT rect;
    } buttons[] = {{ui::kHideSelectedId, L"Hide Selected", {256, 8, 313, 41}},
                   {ui::kUnhideAllId, L"Unhide All", {256, 40, 313, 73}}};
    for (const auto& button : buttons) {
        const RECT actual = RectInParent(Control(button.id));
        EXPECT_TRUE(EqualRect(&actual, &button.rect)) << button.id;
        EXPECT_EQ(TextOf(Control(button.id)), button.text);
        EXPECT_EQ(ClassOf(Control(button.id)), L"Button");
        EXPECT_EQ(GetWindowLongW(Control(button.id), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
        const LOGFONTW font = FontOf(Control(button.id));
        EXPECT_STREQ(font.lfFaceName, L"Microsoft Sans Serif");
        EXPECT_EQ(font.lfHeight, -11);
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
    }

    // The notice fits its text, from a fixed top-left corner, inside the window.
    const HWND notice = Control(ui::kNoticeId);
    EXPECT_EQ(TextOf(notice), L"You must restart your Windows for the changes to take effect");
    EXPECT_EQ(ClassOf(notice), L"Static");
    EXPECT_EQ(GetWindowLongW(notice, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
    const RECT rect = RectInParent(notice);
    EXPECT_EQ(rect.left, 15);
    EXPECT_EQ(rect.top, 96);
    EXPECT_LE(rect.right, client.cx);
    EXPECT_LE(rect.bottom, client.cy);
    EXPECT_EQ(FontOf(notice).lfHeight, -11);
}

TEST_F(MainWindowTest, HelpMenuHoldsAboutWithItsShortcut) {
    const HMENU bar = GetMenu(window.hwnd());
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    wchar_t text[64];
    GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Help");
    const HMENU help = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(help), 1);
    GetMenuStringW(help, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&About\tCtrl+A");
    EXPECT_EQ(GetMenuState(help, 0, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u);
}

TEST_F(MainWindowTest, TabRunsThroughTheBoxesThenTheButtons) {
    ASSERT_EQ(GetFocus(), Box(0));
    for (int stop = 1; stop <= kDriveCount + 1; ++stop) {
        PressKeys({VK_TAB});
        Settle(60);
        const HWND expected = stop < kDriveCount    ? Box(stop)
                              : stop == kDriveCount ? Control(ui::kHideSelectedId)
                                                    : Control(ui::kUnhideAllId);
        ASSERT_EQ(GetFocus(), expected) << "tab stop " << stop;
    }
    PressKeys({VK_TAB});
    Settle(60);
    EXPECT_EQ(GetFocus(), Box(0));
}

TEST_F(MainWindowTest, SpaceTicksTheFocusedBoxAndNothingElse) {
    SetFocus(Box(2));
    PressKeys({VK_SPACE});
    Settle();
    std::vector<LRESULT> expected(kDriveCount, BST_UNCHECKED);
    expected[2] = BST_CHECKED;
    EXPECT_EQ(Ticks(), expected);
    EXPECT_EQ(ReadValue(kExplorerPath, "NoDrives"), std::nullopt);
}

TEST_F(MainWindowTest, ShortcutAndMenuOpenTheOneAboutWindow) {
    PressKeys({VK_CONTROL, 'A'});
    Settle();
    const HWND about = AboutWindow::Current();
    ASSERT_NE(about, nullptr);

    SetForegroundWindow(window.hwnd());
    Settle();
    // Queued together: the menu's own loop takes the second key.
    PressKeys({VK_MENU, 'H'});
    PressKeys({'A'});
    Settle();
    EXPECT_EQ(AboutWindow::Current(), about) << "a second window was opened";
    EXPECT_EQ(GetForegroundWindow(), about);
    EXPECT_EQ(FindWindowExW(nullptr, about, AboutWindow::kClassName, nullptr), nullptr);
}

TEST_F(MainWindowTest, ButtonsWriteAndRemoveThePolicyAndKeepTheTicks) {
    Click(Box(2));
    Click(Box(3));
    Settle();
    Click(Control(ui::kHideSelectedId));
    Settle();
    EXPECT_EQ(ReadValue(kExplorerPath, "NoDrives"), (StoredValue{REG_DWORD, {0x0C, 0, 0, 0}}));
    EXPECT_EQ(window.Tag(2), "4");
    EXPECT_EQ(window.Tag(3), "8");

    const auto ticks = Ticks();
    Click(Control(ui::kUnhideAllId));
    Settle();
    EXPECT_EQ(ReadValue(kExplorerPath, "NoDrives"), std::nullopt);
    EXPECT_EQ(Ticks(), ticks);
    EXPECT_EQ(window.Tag(3), "8");
}

TEST_F(MainWindowTest, RefusedChangeIsReportedAndChangesNothing) {
    WriteValue(kExplorerPath, "NoDrives", {REG_DWORD, {8, 0, 0, 0}});
    const ScopedKeyDacl deny(kExplorerPath, kDenyWritesSddl);
    Click(Box(2));
    Settle();
    const auto ticks = Ticks();

    const SeenMessageBox answerer = AnswerMessageBox(GetCurrentProcessId(), IDOK, [this] {
        Click(Control(ui::kHideSelectedId));
        Settle(400);
    });
    ASSERT_TRUE(answerer.seen);
    EXPECT_EQ(answerer.title, L"-Quorvex- Nimbrel v1.0");
    EXPECT_NE(answerer.text.find(L"refused"), std::wstring::npos) << answerer.text;
    EXPECT_NE(answerer.text.find(L"Nothing was changed"), std::wstring::npos);
    EXPECT_TRUE(answerer.has_icon && answerer.has_ok);
    EXPECT_EQ(ReadValue(kExplorerPath, "NoDrives"), (StoredValue{REG_DWORD, {8, 0, 0, 0}}));
    EXPECT_EQ(Ticks(), ticks);
}

TEST_F(MainWindowTest, UnhideWithNothingStoredShowsNothing) {
    const SeenMessageBox watcher = AnswerMessageBox(
        GetCurrentProcessId(), IDOK,
        [this] {
            Click(Control(ui::kUnhideAllId));
            Settle(300);
        },
        1000);
    EXPECT_FALSE(watcher.seen);
    EXPECT_FALSE(KeyExists(kExplorerPath));
}

}  // namespace
}  // namespace nimbrel::testing
