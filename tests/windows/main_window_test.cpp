#include "main_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

#include "about_window.h"
#include "layout.h"
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
        for (int i = 0; i < kDriveCount; ++i)
            ticks.push_back(SendMessageW(Box(i), BM_GETCHECK, 0, 0));
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
                                      : RECT{columns[i / 5], 16 * (i % 5),
                                             columns[i / 5] + (i == 12   ? 41
                                                               : i == 22 ? 49
                                                                         : 33),
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

// Every way the registry can refuse or have nothing to do, met through the
// window: a refusal shows the one message, nothing else shows anything, and
// neither the ticks nor the stored values change.
TEST_F(MainWindowTest, RegistryFaultsChangeNothingAndOnlyRefusalsSpeak) {
    const StoredValue kEight = {REG_DWORD, {8, 0, 0, 0}};
    const StoredValue kOther = {REG_SZ, {'k', 'e', 'e', 'p', 0}};
    const auto locked = [&] {
        WriteValue(kExplorerPath, "NoDrives", kEight);
        WriteValue(kExplorerPath, "Other", kOther);
        return std::make_unique<ScopedKeyDacl>(kExplorerPath, kDenyWritesSddl);
    };
    const struct {
        const char* name;
        std::function<std::unique_ptr<ScopedKeyDacl>()> arrange;
        int button;
        bool refused;
        std::optional<StoredValue> no_drives_after;
    } cases[] = {
        {"create denied",
         [] {
             HKEY parent = nullptr;
             RegCreateKeyExA(HKEY_CURRENT_USER, kPoliciesPath, 0, nullptr, REG_OPTION_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, &parent, nullptr);
             RegCloseKey(parent);
             return std::unique_ptr<ScopedKeyDacl>();
         },
         ui::kHideSelectedId, true, std::nullopt},
        {"set denied", locked, ui::kHideSelectedId, true, kEight},
        {"delete denied", locked, ui::kUnhideAllId, true, kEight},
        {"key absent", [] { return std::unique_ptr<ScopedKeyDacl>(); }, ui::kUnhideAllId, false,
         std::nullopt},
        {"value absent",
         [&] {
             WriteValue(kExplorerPath, "Other", kOther);
             return std::unique_ptr<ScopedKeyDacl>();
         },
         ui::kUnhideAllId, false, std::nullopt},
    };
    Click(Box(2));
    Settle();
    const auto ticks = Ticks();
    for (const auto& c : cases) {
        ResetPolicies();
        {
            const auto guard = c.arrange();
            const SeenMessageBox box = AnswerMessageBox(
                GetCurrentProcessId(), IDOK,
                [&] {
                    Click(Control(c.button));
                    Settle(300);
                },
                c.refused ? 5000 : 1000);
            EXPECT_EQ(box.seen, c.refused) << c.name;
            if (c.refused) {
                EXPECT_EQ(box.title, L"-Quorvex- Nimbrel v1.0") << c.name;
                EXPECT_NE(box.text.find(L"refused"), std::wstring::npos) << c.name;
                EXPECT_NE(box.text.find(L"Nothing was changed"), std::wstring::npos) << c.name;
                EXPECT_TRUE(box.has_icon && box.has_ok) << c.name;
            }
        }
        EXPECT_EQ(ReadValue(kExplorerPath, "NoDrives"), c.no_drives_after) << c.name;
        if (KeyExists(kExplorerPath)) {
            EXPECT_EQ(ReadValue(kExplorerPath, "Other"), kOther) << c.name;
        }
        EXPECT_EQ(Ticks(), ticks) << c.name;
        DWORD_PTR result = 0;
        EXPECT_TRUE(
            SendMessageTimeoutW(window.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
            << c.name;
    }
}

TEST_F(MainWindowTest, RepeatedUseLeaksNoHandle) {
    const int fonts = ui::UniqueFont::Live();
    const int icons = ui::UniqueIcon::Live();
    const int windows = ui::UniqueWindow::Live();
    for (int round = 0; round < 200; ++round) {
        ui::ShowAboutWindow();
        DestroyWindow(AboutWindow::Current());
        SendMessageW(Box(round % kDriveCount), BM_CLICK, 0, 0);
        SendMessageW(Control(round % 2 ? ui::kHideSelectedId : ui::kUnhideAllId), BM_CLICK, 0, 0);
    }
    Settle();
    EXPECT_EQ(ui::UniqueFont::Live(), fonts);
    EXPECT_EQ(ui::UniqueIcon::Live(), icons);
    EXPECT_EQ(ui::UniqueWindow::Live(), windows);
    EXPECT_EQ(registry.OpenHandles(), 0u);
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutW(window.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result));
}

}  // namespace
}  // namespace nimbrel::testing
