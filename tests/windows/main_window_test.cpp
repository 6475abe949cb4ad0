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
        SetCursorPos(0, 0);  // off the window, where it shows no hover
        ASSERT_TRUE(window.Open(SW_SHOWNORMAL));
        SetForegroundWindow(window.hwnd());
        ASSERT_TRUE(Settle([&] { return GetForegroundWindow() == window.hwnd(); }));
    }
    void TearDown() override { DestroyWindow(About()); }

    // Handles messages until `done`, by default until the thread has taken
    // the last input sent, which SendInput on Windows only queues.
    bool Settle(std::function<bool()> done = {}) {
        bool taken = false;
        if (!done) done = [&] { return taken; };
        return WaitFor(done, 2000, [&](MSG& message) {
            taken |= LastInput();
            return window.PreTranslate(message);
        });
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
    ASSERT_TRUE(Settle());
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

// Each caption shows in its designed weight, slant and size (8.25, 14.25 and
// 9.75 pt are 11, 19 and 13 pixels at 96 DPI), the About window's in Arial,
// and fits: a box's beside its check mark, every control inside its window.
TEST_F(MainWindowTest, EachCaptionShowsInItsDesignedFontAndFits) {
    ui::ShowAboutWindow();
    const HWND main = window.hwnd();
    std::vector<std::tuple<HWND, std::wstring, LONG, bool, LONG>> cases = {
        {About(), L"-Quorvex- Nimbrel", 700, false, 19},
        {About(), L"Version: 1.0.0", 700, true, 13},
        {main, L"Hide Selected", 400, false, 11},
        {main, L"Unhide All", 400, false, 11},
        {main, kNotice, 400, false, 11}};
    for (wchar_t drive = L'A'; drive <= L'Z'; ++drive)
        cases.emplace_back(main, std::wstring{drive, L':'}, 700, false, 11);
    for (const auto& [parent, text, weight, italic, pixels] : cases) {
        const HWND control = Find(parent, text.c_str());
        RECT client, inside, outside;
        GetClientRect(control, &client);
        HDC dc = GetDC(control);
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
        TEXTMETRICW font;
        GetTextMetricsW(dc, &font);
        wchar_t face[LF_FACESIZE];
        GetTextFaceW(dc, LF_FACESIZE, face);
        RECT drawn = {
            0, 0, client.right - (text.size() == 2 ? GetSystemMetrics(SM_CXMENUCHECK) + 3 : 0), 0};
        const LONG width = drawn.right;
        DrawTextW(dc, text.c_str(), -1, &drawn, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ReleaseDC(control, dc);
        GetWindowRect(control, &inside);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&inside), 2);
        GetClientRect(parent, &outside);
        EXPECT_TRUE(font.tmWeight == weight && (font.tmItalic != 0) == italic &&
                    font.tmHeight - font.tmInternalLeading == pixels &&
                    (parent == main || std::wstring_view(face) == L"Arial"))
            << text;
        EXPECT_TRUE(drawn.right <= width && drawn.bottom <= client.bottom &&
                    inside.right <= outside.right && inside.bottom <= outside.bottom)
            << text;
    }
}

// A change of DPI keeps the suggested position but takes as its size the
// frame the system gives the designed client at that DPI, not the suggested
// frame scaled in proportion. The whole window is drawn anew, the divider where
// the layout puts it; back at 96 DPI all looks as before.
TEST_F(MainWindowTest, AChangeOfDpiKeepsTheDesignedClient) {
    const HWND main = window.hwnd();
    const std::vector<COLORREF> at96 = Shown(main);
    RECT was, frame, client;
    GetWindowRect(main, &was);
    for (const int dpi : {144, 96}) {
        RECT designed = {0, 0, MulDiv(4740, dpi, 1440), MulDiv(1635, dpi, 1440)};
        AdjustWindowRectExForDpi(&designed, GetWindowLongW(main, GWL_STYLE), TRUE,
                                 GetWindowLongW(main, GWL_EXSTYLE), dpi);
        const RECT off = {was.left + 9, was.top + 5,
                          was.left + 12 + MulDiv(was.right - was.left, dpi, 96),
                          was.top + 3 + MulDiv(was.bottom - was.top, dpi, 96)};
        SIZE asked = {off.right - off.left, off.bottom - off.top};
        SendMessageW(main, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&asked));
        SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&off));
        Settle([] { return true; });
        GetWindowRect(main, &frame);
        OffsetRect(&designed, off.left - designed.left, off.top - designed.top);
        EXPECT_TRUE(EqualRect(&frame, &designed) && asked.cx == frame.right - frame.left &&
                    asked.cy == frame.bottom - frame.top)
            << dpi;
        GetClientRect(main, &client);
        EXPECT_EQ(Shown(main).at(ui::TwipsToPixels(1320, dpi) * client.right),
                  GetSysColor(COLOR_WINDOWTEXT));
    }
    EXPECT_TRUE(Shown(main) == at96);
}

}  // namespace
}  // namespace nimbrel::testing
