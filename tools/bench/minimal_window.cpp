// The start-up baseline: the least a Win32 program does to show one window.
#include <windows.h>

#include "bench_common.h"

int WINAPI wWinMain(HINSTANCE hInstance, [[maybe_unused]] HINSTANCE hPrevInstance,
                    [[maybe_unused]] LPWSTR lpCmdLine, int nShowCmd) {
    nimbrel::bench::RegisterBaselineClass(hInstance, L"MinimalWindow");
    HWND hwnd = CreateWindowExW(0, L"MinimalWindow", L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 320, 160, nullptr, nullptr, hInstance, nullptr);
    ShowWindow(hwnd, nShowCmd);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
