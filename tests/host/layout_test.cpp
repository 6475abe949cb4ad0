#include "layout.h"

#include <gtest/gtest.h>

namespace nimbrel::ui {
namespace {

TEST(Layout, DriveBoxesRunAToZOnConsecutiveIds) {
    for (int i = 0; i < 26; ++i) {
        const ControlRow& row = main_window::kDriveBoxes[i];
        EXPECT_EQ(row.id, kFirstDriveBoxId + i);
        EXPECT_EQ(row.text, (std::wstring{static_cast<wchar_t>(L'A' + i), L':'}));
    }
}

TEST(Layout, TwipsScaleWithTheDpi) {
    const struct {
        int twips, dpi, pixels;
    } cases[] = {
        {4740, 96, 316},  {1635, 96, 109},  {495, 96, 33},  {855, 96, 57},
        {4740, 144, 474}, {1635, 144, 164}, {495, 144, 50}, {15, 120, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << "@" << c.dpi;
    EXPECT_EQ(FontPixelHeight(825, 96), 11);
    EXPECT_EQ(FontPixelHeight(1425, 96), 19);
    EXPECT_EQ(FontPixelHeight(975, 96), 13);
    EXPECT_EQ(FontPixelHeight(825, 144), 16) << "rounded down, to stay inside its box";
}

}  // namespace
}  // namespace nimbrel::ui
