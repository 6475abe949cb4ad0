#include "layout.h"

#include <gtest/gtest.h>

namespace nimbrel::ui {
namespace {

TEST(Layout, TwipsAndPointsScaleWithTheDpi) {
    const struct {
        int twips, dpi, pixels;
    } lengths[] = {
        {4740, 96, 316},  {1635, 96, 109},  {495, 96, 33},  {855, 96, 57},
        {4740, 144, 474}, {1635, 144, 164}, {495, 144, 50}, {15, 120, 1},
    };
    for (const auto& c : lengths)
        EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << "@" << c.dpi;
    const struct {
        int centipoints, dpi, pixels;
    } fonts[] = {{825, 96, 11}, {1425, 96, 19}, {975, 96, 13}, {825, 144, 16}, {825, 192, 22}};
    for (const auto& c : fonts)
        EXPECT_EQ(FontPixelHeight(c.centipoints, c.dpi), c.pixels) << c.centipoints << "@" << c.dpi;
}

}  // namespace
}  // namespace nimbrel::ui
