#pragma once

#include <array>

#include "drive_mask.h"
#include "version.h"

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

// What a control is; its window class and style follow from it. Labels size
// themselves to their text from a fixed top-left corner.
enum class Kind { CheckBox, PushButton, Label, CentredLabel, Icon };

struct FontRow {
    const wchar_t* face;
    const wchar_t* fallback;  // used where the face is not installed
    int centipoints;
    bool bold;
    bool italic;
    bool ansi_charset;
};

inline constexpr int kNoFont = -1;

struct ControlRow {
    int id;
    Kind kind;
    const wchar_t* text;
    TwipRect twips;
    int font;  // index into the window's fonts
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

inline constexpr int kBoxFont = 0;
inline constexpr int kDialogFont = 1;
inline constexpr std::array<FontRow, 2> kFonts = {{
    {L"Arno Pro Caption", L"Tahoma", 825, true, false, true},
    // The face Windows maps its standard dialog font to, named outright: Wine
    // maps the logical name to the wider Tahoma, which would clip the notice.
    {L"Microsoft Sans Serif", nullptr, 825, false, false, false},
}};

// A:, B:, ... Z:, in drive order.
inline constexpr std::array<std::array<wchar_t, 3>, kDriveCount> kDriveCaptions = [] {
    std::array<std::array<wchar_t, 3>, kDriveCount> captions{};
    for (int i = 0; i < kDriveCount; ++i) captions[i] = {static_cast<wchar_t>(L'A' + i), L':'};
    return captions;
}();

// Five rows of boxes in each column, A: at the top left; Z: stands alone.
inline constexpr std::array<TwipRect, kDriveCount> kDriveBoxTwips = {{
    {120, 0, 495, 255},    {120, 240, 495, 255},  {120, 480, 495, 255},  {120, 720, 495, 255},
    {120, 960, 495, 255},  {720, 0, 495, 255},    {720, 240, 495, 255},  {720, 480, 495, 255},
    {720, 720, 495, 255},  {720, 960, 495, 255},  {1320, 0, 495, 255},   {1320, 240, 495, 255},
    {1320, 480, 615, 255}, {1320, 720, 495, 255}, {1320, 960, 495, 255}, {1920, 0, 495, 255},
    {1920, 240, 495, 255}, {1920, 480, 495, 255}, {1920, 720, 495, 255}, {1920, 960, 495, 255},
    {2520, 0, 495, 255},   {2520, 240, 495, 255}, {2520, 480, 735, 255}, {2520, 720, 495, 255},
    {2520, 960, 495, 255}, {3120, 480, 495, 255},
}};

// In tab order: the boxes A: to Z:, then the two buttons; the notice takes no focus.
inline constexpr std::array<ControlRow, kDriveCount + 3> kControls = [] {
    std::array<ControlRow, kDriveCount + 3> rows{};
    for (int i = 0; i < kDriveCount; ++i) {
        rows[i] = {kFirstDriveBoxId + i, Kind::CheckBox, kDriveCaptions[i].data(),
                   kDriveBoxTwips[i], kBoxFont};
    }
    rows[kDriveCount] = {
        kHideSelectedId, Kind::PushButton, L"Hide Selected", {3840, 120, 855, 495}, kDialogFont};
    rows[kDriveCount + 1] = {
        kUnhideAllId, Kind::PushButton, L"Unhide All", {3840, 600, 855, 495}, kDialogFont};
    rows[kDriveCount + 2] = {kNoticeId,
                             Kind::CentredLabel,
                             L"You must restart your Windows for the changes to take effect",
                             {225, 1440, 4365, 195},
                             kDialogFont};
    return rows;
}();

inline constexpr std::array<LineRow, 2> kLines = {{
    {0, 1320, 4800, 1320},  // below the grid and the buttons, clipped at the right edge
    {3720, 0, 3720, 1320},  // between the grid and the buttons
}};

}  // namespace main_window

namespace about_window {

inline constexpr TwipSize kClient = {4680, 2805};

inline constexpr std::array<FontRow, 2> kFonts = {{
    {L"Arial", nullptr, 1425, true, false, false},
    {L"Arial", nullptr, 975, true, true, false},
}};

inline constexpr std::array<ControlRow, 3> kControls = {{
    {kAboutTitleId, Kind::Label, L"" NIMBREL_PRODUCT, {1200, 480, 2895, 330}, 0},
    // Holds "Null" until the window fills in the version.
    {kAboutVersionId, Kind::Label, L"Null", {240, 960, 375, 240}, 1},
    {kAboutIconId, Kind::Icon, L"", {360, 360, 480, 480}, kNoFont},
}};

inline constexpr TwipRect kFrame = {120, 120, 4455, 2535};

}  // namespace about_window

}  // namespace nimbrel::ui
