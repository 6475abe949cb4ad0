// What builds without Windows: the drive mask, the layout arithmetic and the icon art.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "drive_mask.h"
#include "icon_art.h"
#include "layout.h"

namespace nimbrel {
namespace {

// Each press tags every box with its contribution, whatever the tags held
// before, and sums the tags: only a box that is exactly ticked counts.
TEST(ComputeDriveMask, TagsEachBoxAndSumsTheTickedWeights) {
    const struct {
        std::initializer_list<int> ticked;
        std::int16_t others;  // the state of every other box
        DriveMask mask;
    } cases[] = {
        {{}, kCleared, 0},       {{0}, kCleared, 1},          {{25}, kCleared, 33554432},
        {{2, 3}, kCleared, 12},  {{14, 15}, kCleared, 49152}, {{22, 23}, kCleared, 12582912},
        {{}, kTicked, 67108863}, {{2}, kGrayed, 4},           {{5}, -1, 32}};
    BoxTags tags{};
    tags.fill({'9', '9'});
    for (const auto& c : cases) {
        BoxValues values{};
        values.fill(c.others);
        for (const int index : c.ticked) values[index] = kTicked;
        EXPECT_EQ(ComputeDriveMask(values, tags), c.mask);
        for (int i = 0; i < kDriveCount; ++i)
            EXPECT_EQ(tags[i].data(), values[i] == kTicked ? std::to_string(1 << i) : "0") << i;
    }
}

// Font heights round down, so that text never outgrows its box.
TEST(Layout, TwipsAndPointsScaleWithTheDpi) {
    for (const auto [twips, dpi, pixels] :
         {std::array{4740, 96, 316}, {1635, 96, 109}, {4740, 144, 474}, {15, 120, 1}})
        EXPECT_EQ(ui::TwipsToPixels(twips, dpi), pixels) << twips << "@" << dpi;
    for (const auto [centipoints, dpi, pixels] :
         {std::array{825, 96, 11}, {1425, 96, 19}, {825, 144, 16}, {825, 192, 22}})
        EXPECT_EQ(ui::FontPixelHeight(centipoints, dpi), pixels) << centipoints << "@" << dpi;
}

// The committed icon is what the generator draws: nine images, 48, 32 and 16
// pixels, each in 4, 8 and 32 bits per pixel.
TEST(ProgramIcon, IsTheGeneratedArtInNineImages) {
    std::ifstream file(NIMBREL_ICON_PATH, std::ios::binary);
    const std::vector<std::uint8_t> icon{std::istreambuf_iterator<char>(file), {}};
    ASSERT_TRUE(tools::MakeProgramIcon() == icon) << "run make_icon, commit src/ui/res/nimbrel.ico";
    std::multiset<std::pair<int, int>> formats;  // width and bits of each directory entry
    for (std::size_t entry = 6; entry < 6 + icon.at(4) * 16u; entry += 16)
        formats.emplace(icon.at(entry), icon.at(entry + 6));
    EXPECT_EQ(
        formats,
        (std::multiset<std::pair<int, int>>{
            {48, 4}, {48, 8}, {48, 32}, {32, 4}, {32, 8}, {32, 32}, {16, 4}, {16, 8}, {16, 32}}));
}

}  // namespace
}  // namespace nimbrel
