#include <windows.h>
#include <commctrl.h>

#include "main_window.h"

namespace {

// Libraries load from the system folder only, never from beside the exe or
// the current folder. Looked up at run time: Windows 7 without its update
// lacks the call, and there at least the current folder is taken out.
void RestrictLibrarySearch() {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto set_directories = reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set_directories == nullptr || !set_directories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryW(L"");
}

}  // namespace

// The parameters keep the names the system's declaration gives them.
int WINAPI wWinMain([[maybe_unused]] HINSTANCE hInstance, [[maybe_unused]] HINSTANCE hPrevInstance,
                    [[maybe_unused]] LPWSTR lpCmdLine, int nShowCmd) {
    RestrictLibrarySearch();
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    nimbrel::ui::MainWindow main_window;
    if (!main_window.Open(nShowCmd)) return 1;

    // The quit message comes when the last window is gone: the About window
    // may outlive the main one.
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (main_window.PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
