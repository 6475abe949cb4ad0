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
        SetForegroundWindow(main = window.hwnd());
        ASSERT_TRUE(Settle([&] { return GetForegroundWindow() == main; }));
    }
    void TearDown() override { DestroyWindow(About()); }

    // Handles messages until `done`, by default until the thread has taken
    // the last input sent, which SendInput on Windows only queues.
    bool Settle(std::function<bool()> done = {}) {
        bool taken = false;
        if (!done) done = [&] { return taken; };
        return WaitFor(done, 2000, [&](MSG& message) {
            taken |= static_cast<ULONG_PTR>(GetMessageExtraInfo()) == last_input;
            return window.PreTranslate(message);
        });
    }
    HWND Box(wchar_t letter) const { return Find(main, std::wstring{letter, L':'}.c_str()); }
    std::wstring Ticked() const {
        std::wstring letters;
        for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
            if (SendMessageW(Box(letter), BM_GETCHECK, 0, 0)) letters += letter;
        return letters;
    }

    ui::MainWindow window;
    HWND main = nullptr;
};

// Each window opens centred with its controls where the design puts them, in
// pixels at 96 DPI (a label's size follows its text), in its fonts and tab
// order. Lines, frame and labels show in the system's colours.
TEST_F(MainWindowTest, EachWindowShowsItsDesign) {
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT), face = GetSysColor(COLOR_BTNFACE);
    using Points = std::initializer_list<std::tuple<LONG, LONG, COLORREF>>;
    const auto shows = [](HWND window, Points points) {
        return WaitFor([&] {
            return std::all_of(points.begin(), points.end(), [&](const auto& point) {
                const auto [x, y, colour] = point;
                return Shown(window, {x, y, x + 1, y + 1})[0] == colour;
            });
        });
    };
    // clang-format off
    EXPECT_TRUE(shows(main, {{0, 88, ink}, {315, 88, ink}, {248, 0, ink}, {248, 87, ink},
        {100, 87, face}, {100, 89, face}, {247, 40, face}, {249, 40, face},
        {14, 8, GetSysColor(COLOR_WINDOW)}}));  // in A:'s check mark, left of its caption
    ui::ShowAboutWindow();  // over the main window
    const HWND about = About();
    EXPECT_TRUE(shows(about, {{8, 90, ink}, {304, 90, ink}, {156, 8, ink}, {156, 176, ink},
        {7, 90, face}, {9, 90, face}, {156, 9, face}, {156, 177, face}}));
    // clang-format on

    // Window, caption, left, top, width, height (0: as the text), weight, em, italic.
    std::vector<std::tuple<HWND, std::wstring, LONG, LONG, LONG, LONG, LONG, LONG, BYTE>> rows;
    for (LONG i = 0; i < kDriveCount; ++i) {  // columns of five; Z: alone; M: and W: wider
        rows.emplace_back(main, std::wstring{static_cast<wchar_t>(L'A' + i), L':'},
                          i < 25 ? 8 + 40 * (i / 5) : 208, i < 25 ? 16 * (i % 5) : 32,
                          33 + (i == 12) * 8 + (i == 22) * 16, 17, 700, 11, 0);
    }
    // clang-format off
    rows.insert(rows.end(), {{main, L"Hide Selected", 256, 8, 57, 33, 400, 11, 0},
        {main, L"Unhide All", 256, 40, 57, 33, 400, 11, 0}, {main, kNotice, 15, 96, 0, 0, 400, 11, 0},
        {about, L"-Quorvex- Nimbrel", 80, 32, 0, 0, 700, 19, 0},
        {about, L"Version: 1.0.0", 16, 64, 0, 0, 700, 13, 1}, {about, L"", 24, 24, 32, 32, 0, 0, 0}});
    // clang-format on
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& [parent, text, left, top, width, height, weight, em, italic] = rows[i];
        const HWND control = Find(parent, text.c_str());
        const RECT is = Bounds(control, parent), frame = Bounds(parent);
        RECT inside, work;
        GetClientRect(parent, &inside);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_TRUE(control && is.left == left && is.top == top &&
                    (width == 0 || (is.right - left == width && is.bottom - top == height)) &&
                    is.right <= inside.right && is.bottom <= inside.bottom &&
                    std::abs(frame.left + frame.right - work.left - work.right) <= 1 &&
                    std::abs(frame.top + frame.bottom - work.top - work.bottom) <= 1)
            << text;
        if (i < kDriveCount + 2) {  // the tab stops, in order
            EXPECT_EQ(GetNextDlgTabItem(main, control, FALSE),
                      Find(main, std::get<1>(rows[(i + 1) % (kDriveCount + 2)]).c_str()));
        }
        if (weight == 0) continue;
        LOGFONTW font;
        GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        const std::vector<COLORREF> shown = Shown(control);  // the About labels: text on the face
        EXPECT_TRUE(font.lfWeight == weight && font.lfHeight == -em && font.lfItalic == italic &&
                    (parent == main ||
                     (std::wstring_view(font.lfFaceName) == L"Arial" && shown[0] == face &&
                      std::count(shown.begin(), shown.end(), GetSysColor(COLOR_BTNTEXT)) > 0)))
            << text;
    }
}

// Clicks and keys from a fresh start (A: focused, nothing ticked, NoDrives 8),
// none of which shows a box: what is ticked and stored after. Space ticks the
// focused box; Space and Enter press the focused button; Enter on a box and
// Escape do nothing. Removing nothing is no refusal, though the key is protected.
TEST_F(MainWindowTest, EachClickAndKeyDoesWhatADialogDoes) {
    const std::pair<const wchar_t*, WORD> hide{L"Hide Selected", 0}, unhide{L"Unhide All", 0},
        c{L"C:", 0}, d{L"D:", 0}, z{L"Z:", 0}, tab{nullptr, VK_TAB}, enter{nullptr, VK_RETURN},
        space{nullptr, VK_SPACE}, escape{nullptr, VK_ESCAPE};
    const std::optional<StoredValue> none, eight = kEight, cd = StoredValue{4, {12, 0, 0, 0}},
                                           only_z = StoredValue{4, {0, 0, 0, 2}};
    const struct {
        std::initializer_list<std::pair<const wchar_t*, WORD>> steps;  // a click or a key
        const wchar_t* ticked;
        std::optional<StoredValue> after;
        const char* value = "NoDrives";  // holding 8 before
    } cases[] = {
        // clang-format off
        {{c, d, hide}, L"CD", cd}, {{unhide}, L"", none}, {{hide}, L"", none},
        {{space}, L"A", eight}, {{enter}, L"", eight}, {{escape}, L"", eight},
        {{c, space}, L"", eight}, {{c, enter}, L"C", eight}, {{c, escape}, L"C", eight},
        {{z, tab, space}, L"Z", only_z}, {{z, tab, enter}, L"Z", only_z},
        {{z, tab, escape}, L"Z", eight}, {{z, tab, tab, space}, L"Z", none},
        {{z, tab, tab, enter}, L"Z", none}, {{unhide}, L"", none, "Other"},
        // clang-format on
    };
    for (const auto& c : cases) {
        ResetPolicies();
        WriteValue(c.value, kEight);
        std::optional<DenyWrites> deny;
        if (c.value != std::string_view("NoDrives")) deny.emplace();
        for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
            SendMessageW(Box(letter), BM_SETCHECK, BST_UNCHECKED, 0);
        SetFocus(Box(L'A'));
        for (const auto& [click, key] : c.steps)
            click ? Click(Find(main, click)) : PressKeys({key});
        Settle();
        EXPECT_TRUE(Ticked() == c.ticked && ReadValue("NoDrives") == c.after) << &c - cases;
    }
}

// A press alone leaves the About window open; a multi-click on it, each press
// within the double-click time of the last, closes it and does nothing else.
// The next About window has the same hidden owner.
TEST_F(MainWindowTest, AMultiClickOnTheAboutWindowOnlyClosesIt) {
    WriteValue("NoDrives", kEight);
    ui::ShowAboutWindow();
    const HWND owner = GetWindow(About(), GW_OWNER), unhide = Find(main, L"Unhide All");
    const DWORD now = GetTickCount(), step = GetDoubleClickTime() * 2 / 3;
    Click(unhide, now, {MOUSEEVENTF_LEFTDOWN});
    ASSERT_TRUE(Settle() && About()) << "a press alone closed it";
    Click(unhide, now, {MOUSEEVENTF_LEFTUP});
    for (const DWORD press : {1, 2, 3}) Click(unhide, now + press * step);
    ASSERT_TRUE(Settle([] { return !About(); }));
    EXPECT_EQ(ReadValue("NoDrives"), kEight);
    Click(unhide, now + 3 * step + GetDoubleClickTime() + 50);  // a later click works
    EXPECT_TRUE(Settle([] { return !ReadValue("NoDrives"); }));
    ui::ShowAboutWindow();
    EXPECT_TRUE(owner && GetWindow(About(), GW_OWNER) == owner && !IsWindowVisible(owner));
}

// Whatever route reaches it, the window keeps the frame of its designed client
// at its DPI and is left neither maximised nor minimised; only the main window
// minimises, and no box takes a key meanwhile. A DPI change takes the suggested
// corner; back at 96 all looks as before, the focus on A:.
TEST_F(MainWindowTest, EveryRouteLeavesTheDesignedClient) {
    const std::vector<COLORREF> at96 = Shown(main);
    const RECT corner = {9, 5, 99, 55};
    int dpi = 96;
    const auto dpi_change = [&](int to, const RECT* at = nullptr) {
        SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(at));
    };
    const auto metrics = [&](int grow, bool minimised) {
        if (minimised) {
            ShowWindow(main, SW_MINIMIZE);
            SetForegroundWindow(main);
            PressKeys({VK_SPACE});
            Settle();
        }
        NONCLIENTMETRICSW sizes = {};
        sizes.cbSize = sizeof sizes;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof sizes, &sizes, 0);
        sizes.iCaptionHeight += grow;
        sizes.iMenuHeight += grow;
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof sizes, &sizes, 0);
        SendMessageW(main, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);  // the system's broadcast
        if (minimised) ShowWindow(main, SW_RESTORE);
    };
    const std::function<void()> routes[] = {
        [&] { ShowWindow(main, SW_MAXIMIZE); },
        [&] { SendMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0); },
        [&] { SetWindowPos(main, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER); },
        [&] {
            ui::ShowAboutWindow();
            SendMessageW(About(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
            ShowWindow(About(), SW_MINIMIZE);
            EXPECT_FALSE(IsIconic(About())) << "nothing would bring the About window back";
            DestroyWindow(About());
        },
        [&] { metrics(13, true); },
        [&] { dpi_change(dpi = 144, &corner); },
        [&] { metrics(-13, false); },
        [&] { metrics(13, true); },
        [&] {
            for (const int bad : {0, 1, 95, 481, 10000}) dpi_change(bad);
        },
        [&] { metrics(-13, false); },
    };
    for (std::size_t i = 0; i < std::size(routes); ++i) {
        routes[i]();
        Settle([] { return true; });
        RECT designed = {0, 0, MulDiv(4740, dpi, 1440), MulDiv(1635, dpi, 1440)};
        AdjustWindowRectExForDpi(&designed, GetWindowLongW(main, GWL_STYLE), TRUE,
                                 GetWindowLongW(main, GWL_EXSTYLE), dpi);
        const RECT frame = Bounds(main);
        EXPECT_TRUE(frame.right - frame.left == designed.right - designed.left &&
                    frame.bottom - frame.top == designed.bottom - designed.top && !IsZoomed(main) &&
                    !IsIconic(main))
            << "route " << i;
    }
    const RECT frame = Bounds(main);
    SIZE asked = {};
    SendMessageW(main, WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&asked));
    EXPECT_TRUE(frame.left == 9 && frame.top == 5 && asked.cx == frame.right - frame.left &&
                asked.cy == frame.bottom - frame.top);
    EXPECT_TRUE(WaitFor([&] {
        return Shown(main, {100, 132, 101, 133})[0] == GetSysColor(COLOR_WINDOWTEXT);
    }));
    dpi_change(96);
    EXPECT_TRUE(WaitFor([&] { return Shown(main) == at96; })) << "a box ticked unseen";
    PressKeys({VK_SPACE});
    EXPECT_TRUE(Settle([&] { return Ticked() == L"A"; }));
}

}  // namespace
}  // namespace nimbrel::testing
