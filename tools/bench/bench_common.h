#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace nimbrel::bench {

inline double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The window class of the baseline programs: the dialog face, and a window
// procedure that only ends the program with its window.
inline void RegisterBaselineClass(HINSTANCE instance, const wchar_t* name) {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(hwnd, message, wparam, lparam);
    };
    window_class.hInstance = instance;
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = name;
    RegisterClassW(&window_class);
}

}  // namespace nimbrel::bench
