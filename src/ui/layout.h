#pragma once

#include <array>

namespace nimbrel::ui {

// Positions and sizes are kept in twips, the unit the windows were designed
// in; they become pixels only through TwipsToPixels, for the window's DPI.
inline constexpr int kTwipsPerInch = 1440;

constexpr int TwipsToPixels(int twips, int dpi) {
    return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

// Font sizes are kept in hundredths of a point. Rounded down, so that text
// never outgrows the boxes, which scale exactly.
constexpr int FontPixelHeight(int centipoints, int dpi) { return centipoints * dpi / 7200; }

struct TwipSize {
    int width;
    int height;
};

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlRow {
    int id;
    const wchar_t* text;
    TwipRect twips;
};

struct LineRow {
    int x1, y1, x2, y2;
};

// Control ids start above IDOK and IDCANCEL, which dialog keys send.
inline constexpr int kFirstDriveBoxId = 100;
inline constexpr int kHideSelectedId = 200;
inline constexpr int kUnhideAllId = 201;
inline constexpr int kNoticeId = 202;
inline constexpr int kAboutCommandId = 210;
inline constexpr int kAboutTitleId = 300;
inline constexpr int kAboutVersionId = 301;
inline constexpr int kAboutIconId = 302;

namespace main_window {

inline constexpr TwipSize kClient = {4740, 1635};

inline constexpr std::array<ControlRow, 26> kDriveBoxes = {{
    {100, L"A:", {120, 0, 495, 255}},    {101, L"B:", {120, 240, 495, 255}},
    {102, L"C:", {120, 480, 495, 255}},  {103, L"D:", {120, 720, 495, 255}},
    {104, L"E:", {120, 960, 495, 255}},  {105, L"F:", {720, 0, 495, 255}},
    {106, L"G:", {720, 240, 495, 255}},  {107, L"H:", {720, 480, 495, 255}},
    {108, L"I:", {720, 720, 495, 255}},  {109, L"J:", {720, 960, 495, 255}},
    {110, L"K:", {1320, 0, 495, 255}},   {111, L"L:", {1320, 240, 495, 255}},
    {112, L"M:", {1320, 480, 615, 255}}, {113, L"N:", {1320, 720, 495, 255}},
    {114, L"O:", {1320, 960, 495, 255}}, {115, L"P:", {1920, 0, 495, 255}},
    {116, L"Q:", {1920, 240, 495, 255}}, {117, L"R:", {1920, 480, 495, 255}},
    {118, L"S:", {1920, 720, 495, 255}}, {119, L"T:", {1920, 960, 495, 255}},
    {120, L"U:", {2520, 0, 495, 255}},   {121, L"V:", {2520, 240, 495, 255}},
    {122, L"W:", {2520, 480, 735, 255}}, {123, L"X:", {2520, 720, 495, 255}},
    {124, L"Y:", {2520, 960, 495, 255}}, {125, L"Z:", {3120, 480, 495, 255}},
}};

inline constexpr ControlRow kHideSelected = {
    kHideSelectedId, L"Hide Selected", {3840, 120, 855, 495}};
inline constexpr ControlRow kUnhideAll = {kUnhideAllId, L"Unhide All", {3840, 600, 855, 495}};
// The notice sizes itself to its text; only its left and top edges are fixed.
inline constexpr ControlRow kNotice = {
    kNoticeId,
    L"You must restart your Windows for the changes to take effect",
    {225, 1440, 4365, 195}};

inline constexpr std::array<LineRow, 2> kLines = {{
    {0, 1320, 4800, 1320},  // below the grid and the buttons, clipped at the right edge
    {3720, 0, 3720, 1320},  // between the grid and the buttons
}};

inline constexpr int kBoxFontCentipoints = 825;
inline constexpr int kDialogFontCentipoints = 825;

}  // namespace main_window

namespace about_window {

inline constexpr TwipSize kClient = {4680, 2805};

inline constexpr ControlRow kTitle = {kAboutTitleId, L"-Quorvex- Nimbrel", {1200, 480, 2895, 330}};
// Sizes itself to the version text, growing to the right.
inline constexpr ControlRow kVersion = {kAboutVersionId, L"Null", {240, 960, 375, 240}};
inline constexpr ControlRow kIcon = {kAboutIconId, L"", {360, 360, 480, 480}};
inline constexpr TwipRect kFrame = {120, 120, 4455, 2535};

inline constexpr int kTitleFontCentipoints = 1425;
inline constexpr int kVersionFontCentipoints = 975;

}  // namespace about_window

}  // namespace nimbrel::ui
