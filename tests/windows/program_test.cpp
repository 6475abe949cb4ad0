// The program as a user runs it: a process of its own, driven from outside.
#include <gtest/gtest.h>

#include <memory>

#include "harness.h"

namespace nimbrel::testing {
namespace {

const std::wstring kTitle = L"-Quorvex- Nimbrel v1.0";

// The top visible window of the class, waited for.
HWND WaitForWindow(const wchar_t* class_name, DWORD timeout_ms = 5000) {
    HWND found = nullptr;
    WaitFor([&] { return IsWindowVisible(found = FindWindowW(class_name, nullptr)); }, timeout_ms);
    return found;
}

// Whether a message box's picture, as shown, is this icon drawn on its background.
bool ShowsIcon(HWND box, const wchar_t* icon) {
    RECT at;
    GetWindowRect(FindWindowExW(box, nullptr, L"Static", nullptr), &at);
    const int width = at.right - at.left, height = at.bottom - at.top;
    HDC screen = GetDC(nullptr), copy = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(copy, CreateCompatibleBitmap(screen, 2 * width, height));
    BitBlt(copy, 0, 0, width, height, screen, at.left, at.top, SRCCOPY);
    SelectObject(copy, GetStockObject(DC_BRUSH));
    SetDCBrushColor(copy, GetPixel(copy, 0, 0));
    PatBlt(copy, width, 0, width, height, PATCOPY);
    DrawIconEx(copy, width, 0, LoadIconW(nullptr, icon), 0, 0, 0, nullptr, DI_NORMAL);
    bool same = true;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            same = same && GetPixel(copy, x, y) == GetPixel(copy, width + x, y);
    DeleteObject(SelectObject(copy, old));
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return same;
}

// Reads a message box as "title: text" and answers it with a key, as a user would.
std::wstring Answer(HWND box, WORD key) {
    wchar_t title[128] = L"", text[512] = L"";
    GetWindowTextW(box, title, 128);
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    WaitFor([&] { return GetForegroundWindow() == box; });
    PressKeys({key});
    WaitFor([&] { return !IsWindow(box); });
    return std::wstring(title) + L": " + text;
}

// Focus on A: at the start; one About window by either route; one box at a
// time, owned by the main window, which has the focus back after it; no box for
// nothing to remove; on Yes the About window outlives the main one.
TEST(Program, AsksOneBoxAtATimeAndEndsWithItsLastWindow) {
    REQUIRE_SCRATCH_REGISTRY();
    ResetPolicies();
    WriteValue("NoDrives", kEight);
    PressKeys({VK_SHIFT});  // which lets this process hand the program the foreground
    AllowSetForegroundWindow(ASFW_ANY);
    char line[] = "nimbrel.exe";  // found first beside this program
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        if (GetLastError() == 740)  // ERROR_ELEVATION_REQUIRED
            GTEST_SKIP() << "run from an elevated prompt, or as a standard user";
        FAIL() << "CreateProcess error " << GetLastError();
    }
    CloseHandle(started.hThread);
    const std::unique_ptr<void, void (*)(HANDLE)> program(started.hProcess, [](HANDLE process) {
        TerminateProcess(process, 1);
        CloseHandle(process);
    });
    const HWND main = WaitForWindow(L"NimbrelMain", 10000), box_b = Find(main, L"B:"),
               box_d = Find(main, L"D:"), hide = Find(main, L"Hide Selected");
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; })) << "not in front";
    GUITHREADINFO gui = {};  // the focus and capture of the program's thread
    gui.cbSize = sizeof gui;
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    const auto focus = [&] { return GetGUIThreadInfo(thread, &gui), gui.hwndFocus; };
    EXPECT_TRUE(WaitFor([&] { return focus() == Find(main, L"A:"); }));
    EXPECT_EQ(SendMessageW(box_d, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "the start read NoDrives";
    SetWindowPos(main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // not under the boxes
    PressKeys({VK_CONTROL, 'A'});
    const HWND about = WaitForWindow(L"NimbrelAbout");
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
    Click(box_b);
    ASSERT_TRUE(WaitFor([&] { return focus() == box_b; }));
    PressKeys({VK_MENU, 'H'});
    PressKeys({'A'});
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; })) << "not raised";
    Click(box_b);

    const struct {
        bool refusal;               // else the exit question
        std::wstring starts, ends;  // around the reason Windows gives for a refusal
        const wchar_t* icon;
        WORD answer;
        HWND focus_after;
    } boxes[] = {
        {false, kTitle + L" Exit: Do you wish to exit the " + kTitle + L"?", L"", IDI_INFORMATION,
         'N', box_b},
        {true, kTitle + L": Windows refused to change the drive policy:\n\n",
         L".\n\nChanging it takes administrator rights on this account; running the program as "
         L"another account changes that account's drives, not yours.\n\nThe drive policy was not "
         L"changed.",
         IDI_WARNING, VK_RETURN, hide},
    };
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.refusal ? "a refusal" : "the exit question");
        std::optional<DenyWrites> deny;
        b.refusal ? (deny.emplace(), Click(hide)) : PressKeys({VK_MENU, VK_F4});
        const HWND box = WaitForWindow(L"#32770");
        ASSERT_NE(box, nullptr);
        Click(box_d);
        EXPECT_EQ(WaitForWindow(L"#32770"), box) << "another box";
        EXPECT_EQ(FindWindowExW(nullptr, nullptr, L"NimbrelAbout", nullptr), about);
        EXPECT_EQ(FindWindowExW(nullptr, about, L"NimbrelAbout", nullptr), nullptr);
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; })) << "not in front";
        EXPECT_EQ(GetWindow(box, GW_OWNER), main);
        EXPECT_TRUE(WaitFor([&] { return ShowsIcon(box, b.icon); }));
        const std::wstring said = Answer(box, b.answer);
        EXPECT_TRUE(said.starts_with(b.starts)) << said;
        EXPECT_TRUE(said.ends_with(b.ends)) << said;
        EXPECT_EQ(said.size() > b.starts.size() + b.ends.size(), b.refusal) << said;
        EXPECT_TRUE(WaitFor([&] { return focus() == b.focus_after; }));
        EXPECT_EQ(GetForegroundWindow(), main);
        EXPECT_EQ(SendMessageW(box_d, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "D: ticked meanwhile";
    }
    EXPECT_EQ(ReadValue("NoDrives"), kEight);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kExplorer.c_str(), "NoDrives");
    const DenyWrites deny;
    Click(Find(main, L"Unhide All"));
    Click(box_d);  // taken only where no box is up
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(box_d, BM_GETCHECK, 0, 0) == BST_CHECKED; }))
        << "a box for nothing to remove";

    PressKeys({VK_MENU, VK_F4});
    Answer(WaitForWindow(L"#32770"), VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(main); })) << "Yes is not the default";
    EXPECT_TRUE(IsWindowEnabled(about));
    const HWND version = Find(about, L"Version: 1.0.0");
    Click(version, 0, {MOUSEEVENTF_LEFTDOWN});  // taken only while the program runs on
    EXPECT_TRUE(WaitFor([&] { return focus(), gui.hwndCapture == about; }));
    Click(version, 0, {MOUSEEVENTF_LEFTUP});
    EXPECT_EQ(WaitForSingleObject(program.get(), 3000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace nimbrel::testing
