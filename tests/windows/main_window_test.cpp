// The main and About windows in this process, driven by real mouse and keys.
#include "main_window.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <tuple>

#include "about_window.h"
#include "harness.h"

namespace nimbrel::testing {
namespace {

const std::wstring kNotice = L"You must restart your Windows for the changes to take effect";
HWND About() { return ui::AboutWindow::Current(); }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_SCRATCH_REGISTRY();
        ResetPolicies();
        ASSERT_TRUE(main_window.Open(SW_SHOWNORMAL));
        PressKeys({VK_SHIFT});  // which lets this process take the foreground
        SetForegroundWindow(main = main_window.hwnd());
        ASSERT_TRUE(Settle([&] { return GetForegroundWindow() == main; }));
    }
    void TearDown() override { DestroyWindow(About()); }

    // Handles messages until `done`, by default until the last input is taken.
    bool Settle(std::function<bool()> done = {}) {
        bool taken = false;
        if (!done) done = [&] { return taken; };
        return WaitFor(done, 2000, [&](MSG& message) {
            taken |= static_cast<ULONG_PTR>(GetMessageExtraInfo()) == last_input;
            return main_window.PreTranslate(message);
        });
    }
    HWND Box(wchar_t letter) const { return Find(main, std::wstring{letter, L':'}.c_str()); }

    ui::MainWindow main_window;
    HWND main = nullptr;
};

// Each window at 96 DPI: its client size, each control's place (a label's
// size follows its text), font and tab order.
TEST_F(MainWindowTest, EachWindowShowsItsDesign) {
    ui::ShowAboutWindow();
    const HWND about = About();
    struct Control {
        HWND parent;
        std::wstring text;
        std::array<LONG, 4> place;  // left, top, width, height; no size where the text sizes it
        std::array<LONG, 3> font;   // weight, em height, italic
    };
    std::vector<Control> controls;
    for (LONG i = 0; i < 25; ++i) {  // columns of five boxes; M: and W: are wider
        controls.push_back(
            {main,
             {static_cast<wchar_t>(L'A' + i), L':'},
             {8 + 40 * (i / 5), 16 * (i % 5), 33 + (i == 12) * 8 + (i == 22) * 16, 17},
             {700, 11, 0}});
    }
    controls.insert(controls.end(), {{main, L"Z:", {208, 32, 33, 17}, {700, 11, 0}},
                                     {main, L"Hide Selected", {256, 8, 57, 33}, {400, 11, 0}},
                                     {main, L"Unhide All", {256, 40, 57, 33}, {400, 11, 0}},
                                     {main, kNotice, {15, 96}, {400, 11, 0}},
                                     {about, L"-Quorvex- Nimbrel", {80, 32}, {700, 19, 0}},
                                     {about, L"Version: 1.0.0", {16, 64}, {700, 13, 1}},
                                     {about, L"", {24, 24, 32, 32}, {}}});  // the icon
    for (const auto& [window, width, height] : {std::tuple{main, 316, 109}, {about, 312, 187}}) {
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ((std::array{client.right, client.bottom}), (std::array<LONG, 2>{width, height}));
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const auto& [parent, text, place, font] = controls[i];
        SCOPED_TRACE(::testing::PrintToString(text));
        const HWND control = Find(parent, text.c_str());
        RECT is;
        GetWindowRect(control, &is);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&is), 2);
        const bool sized = place[2] != 0;
        EXPECT_EQ((std::array{is.left, is.top, sized ? is.right - is.left : 0,
                              sized ? is.bottom - is.top : 0}),
                  place);
        if (parent == main && text != kNotice) {  // tab stops, in order
            const std::wstring& next = controls[text == L"Unhide All" ? 0 : i + 1].text;
            EXPECT_EQ(GetNextDlgTabItem(main, control, FALSE), Find(main, next.c_str()));
        }
        if (font[0] == 0) continue;
        LOGFONTW is_font;
        GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)),
                   sizeof is_font, &is_font);
        EXPECT_EQ((std::array<LONG, 3>{is_font.lfWeight, -is_font.lfHeight, is_font.lfItalic}),
                  font);
    }
}

// Clicks and keys from A: focused, nothing ticked and NoDrives 8: what is
// ticked and stored after, as in a dialog, and nothing while minimised.
TEST_F(MainWindowTest, EachClickAndKeyDoesWhatADialogDoes) {
    const std::map<std::wstring, int> keys = {
        {L"Tab", VK_TAB}, {L"Enter", VK_RETURN}, {L"Space", VK_SPACE}, {L"Escape", VK_ESCAPE}};
    const StoredValue cd = {REG_DWORD, {12, 0, 0, 0}}, z = {REG_DWORD, {0, 0, 0, 2}};
    const struct {
        std::wstring steps;  // clicks on captions, keys, or the window minimised and restored
        const wchar_t* ticked;
        std::optional<StoredValue> stored;
    } cases[] = {
        {L"click C:, click D:, click Hide Selected", L"CD", cd},
        {L"click Unhide All", L"", std::nullopt},
        {L"click Hide Selected", L"", std::nullopt},
        {L"Space", L"A", kEight},
        {L"click C:, Space", L"", kEight},
        {L"click C:, Enter", L"C", kEight},
        {L"click C:, Escape", L"C", kEight},
        {L"click Z:, Tab, Space", L"Z", z},
        {L"click Z:, Tab, Enter", L"Z", z},
        {L"click Z:, Tab, Tab, Space", L"Z", std::nullopt},
        {L"click Z:, Tab, Tab, Enter", L"Z", std::nullopt},
        {L"minimise, Space, restore, Space", L"A", kEight},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.steps));
        WriteValue("NoDrives", kEight);
        for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
            SendMessageW(Box(letter), BM_SETCHECK, BST_UNCHECKED, 0);
        SetFocus(Box(L'A'));
        for (std::size_t at = 0, end = 0; end != std::wstring::npos; at = end + 2) {
            end = c.steps.find(L", ", at);
            const std::wstring step = c.steps.substr(at, end - at);
            if (step == L"minimise" || step == L"restore") {
                ShowWindow(main, step == L"minimise" ? SW_MINIMIZE : SW_RESTORE);
                continue;
            }
            step.starts_with(L"click ") ? Click(Find(main, step.substr(6).c_str()))
                                        : PressKeys({static_cast<WORD>(keys.at(step))});
            Settle();
        }
        std::wstring ticked;
        for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
            if (SendMessageW(Box(letter), BM_GETCHECK, 0, 0)) ticked += letter;
        EXPECT_EQ(ticked, c.ticked);
        EXPECT_EQ(ReadValue("NoDrives"), c.stored);
    }
}

// Only the presses that make the About window's closing click a double or a
// triple click reach nothing beneath. Each About window has a hidden owner,
// which keeps it off the taskbar.
TEST_F(MainWindowTest, TheRestOfTheClosingMultiClickReachesNothing) {
    const DWORD quick = GetDoubleClickTime() * 2 / 3, slow = GetDoubleClickTime() + 100;
    const wchar_t *const unhide = L"Unhide All", *const hide = L"Hide Selected";
    const struct {
        const char* name;
        const wchar_t* closed_on;  // where the click that closes the About window lands
        bool reopen;               // the About window opened again after it
        std::vector<DWORD> then;   // presses on Unhide All, each this long after the last
        bool acted;                // Unhide All removed NoDrives
    } cases[] = {
        {"a triple click", unhide, false, {quick, quick}, false},
        {"the press after a triple click", unhide, false, {quick, quick, quick}, true},
        {"a press after the double-click time", unhide, false, {slow}, true},
        {"a press outside the double-click rectangle", hide, false, {quick}, true},
        {"the first press on a new About window", unhide, true, {quick}, false},
    };
    DWORD time = GetTickCount();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteValue("NoDrives", kEight);
        ui::ShowAboutWindow();
        const HWND owner = GetWindow(About(), GW_OWNER);
        ASSERT_NE(owner, nullptr);
        EXPECT_FALSE(IsWindowVisible(owner));
        Click(Find(main, c.closed_on), time);
        if (c.reopen && Settle([] { return !About(); })) ui::ShowAboutWindow();
        for (const DWORD after : c.then) Click(Find(main, unhide), time += after);
        Settle();
        EXPECT_EQ(About(), nullptr) << "the About window is still open";
        EXPECT_EQ(ReadValue("NoDrives"), c.acted ? std::nullopt : std::optional(kEight));
        time += 2 * GetDoubleClickTime();
    }
}

}  // namespace
}  // namespace nimbrel::testing
