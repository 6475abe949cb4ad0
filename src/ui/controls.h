#pragma once

#include <windows.h>

#include "layout.h"
#include "unique_handle.h"

// What both windows share: scaling to the window's DPI, making and placing
// controls from their layout rows, fonts and the program icon.
namespace nimbrel::ui {

// The window's DPI where the system can tell it per window, else the
// screen's, else 96.
int WindowDpi(HWND hwnd);

RECT ToPixels(const TwipRect& twips, int dpi);

// A child control made from its layout row; it is placed by PlaceControl.
HWND CreateControl(HWND parent, const wchar_t* window_class, const ControlRow& row, DWORD style);
void PlaceControl(HWND control, const TwipRect& twips, int dpi);

// The outer window size whose client area has the given size below the menu.
SIZE WindowSizeForClient(TwipSize client, DWORD style, DWORD ex_style, bool has_menu, int dpi);

// Top-left corner that centres a window of this size on the primary work area.
POINT CentredOnScreen(SIZE window);

UniqueFont MakeFont(const wchar_t* face, int centipoints, int dpi, int weight, bool italic,
                    BYTE charset = DEFAULT_CHARSET);

// The program icon's image nearest to a square of this many pixels.
UniqueIcon LoadProgramIcon(int pixels);

// Resizes a text control to its text, keeping its left and top edges.
void FitToText(HWND control);

}  // namespace nimbrel::ui
