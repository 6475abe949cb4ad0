#include "about_window.h"

#include <gtest/gtest.h>

#include "layout.h"
#include "ui_driver.h"

namespace nimbrel::testing {
namespace {

using ui::AboutWindow;
using ui::ShowAboutWindow;

HWND OpenAbout() {
    ShowAboutWindow();
    Pump(150);
    return AboutWindow::Current();
}

class AboutWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (HWND about = AboutWindow::Current()) DestroyWindow(about);
    }
};

TEST_F(AboutWindowTest, ShowsTitleVersionIconAndFrameInPlace) {
    const HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(TextOf(about), L"About -Quorvex- Nimbrel v1.0");
    const SIZE client = ClientSize(about);
    EXPECT_EQ(client.cx, 312);
    EXPECT_EQ(client.cy, 187);
    EXPECT_TRUE(CentredOnWorkArea(about));

    const LONG style = GetWindowLongW(about, GWL_STYLE);
    EXPECT_TRUE(style & WS_DLGFRAME);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    // Owned by a window that is never shown: no taskbar button, and not tied to the main window.
    const HWND owner = GetWindow(about, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_EQ(GetWindowLongW(about, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

    const HWND title = GetDlgItem(about, ui::kAboutTitleId);
    const HWND version = GetDlgItem(about, ui::kAboutVersionId);
    const HWND icon = GetDlgItem(about, ui::kAboutIconId);
    EXPECT_EQ(TextOf(title), L"-Quorvex- Nimbrel");
    EXPECT_EQ(TextOf(version), L"Version: 1.0.0");

    const struct {
        HWND control;
        POINT corner;
        int height;
        bool italic;
    } labels[] = {{title, {80, 32}, -19, false}, {version, {16, 64}, -13, true}};
    for (const auto& label : labels) {
        const RECT rect = RectInParent(label.control);
        EXPECT_EQ(rect.left, label.corner.x);
        EXPECT_EQ(rect.top, label.corner.y);
        EXPECT_LT(rect.right, 305) << "the label must stay inside the frame";
        const LOGFONTW font = FontOf(label.control);
        EXPECT_STREQ(font.lfFaceName, L"Arial");
        EXPECT_EQ(font.lfHeight, label.height);
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_EQ(font.lfItalic != 0, label.italic);
    }
    const RECT icon_rect = RectInParent(icon);
    const RECT expected_icon = {24, 24, 56, 56};
    EXPECT_TRUE(EqualRect(&icon_rect, &expected_icon));
    EXPECT_EQ(ClassOf(icon), L"Static");
    EXPECT_EQ(GetWindowLongW(icon, GWL_STYLE) & SS_TYPEMASK, SS_ICON);
}

TEST_F(AboutWindowTest, ThereIsOneAtMostAndReopeningShowsTheSameText) {
    const HWND first = OpenAbout();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(OpenAbout(), first);
    EXPECT_EQ(GetForegroundWindow(), first);

    DestroyWindow(first);
    EXPECT_EQ(AboutWindow::Current(), nullptr);
    const HWND second = OpenAbout();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(second, ui::kAboutVersionId)), L"Version: 1.0.0");
}

TEST_F(AboutWindowTest, AClickAnywhereOnItClosesIt) {
    // Client points: the title, the version line, the icon, and empty space inside the frame.
    const POINT targets[] = {{120, 40}, {30, 70}, {40, 40}, {200, 140}};
    for (const POINT target : targets) {
        const HWND about = OpenAbout();
        ASSERT_NE(about, nullptr);
        POINT screen = target;
        ClientToScreen(about, &screen);
        ClickAt(screen);
        Pump(200);
        EXPECT_EQ(AboutWindow::Current(), nullptr) << target.x << "," << target.y;
    }
}

TEST_F(AboutWindowTest, APressAloneDoesNotClose) {
    const HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    POINT screen = {200, 140};
    ClientToScreen(about, &screen);
    SendMouse(screen, MOUSEEVENTF_LEFTDOWN);
    Pump(200);
    EXPECT_EQ(AboutWindow::Current(), about);

    SendMouse(screen, MOUSEEVENTF_LEFTUP);
    Pump(200);
    EXPECT_EQ(AboutWindow::Current(), nullptr);
}

}  // namespace
}  // namespace nimbrel::testing
