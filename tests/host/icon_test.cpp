#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "icon_art.h"

namespace nimbrel {
namespace {

// The committed icon is what the generator draws, and holds the nine images:
// 48, 32 and 16 pixels in 4, 8 and 32 bits, the last with soft transparent edges.
TEST(ProgramIcon, IsTheGeneratedArtInNineImages) {
    std::ifstream file(NIMBREL_ICON_PATH, std::ios::binary);
    const std::vector<std::uint8_t> icon{std::istreambuf_iterator<char>(file), {}};
    ASSERT_TRUE(tools::MakeProgramIcon() == icon) << "run make_icon, commit src/ui/res/nimbrel.ico";

    const auto u16 = [&](std::size_t at) { return icon.at(at) | icon.at(at + 1) << 8; };
    const auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
    ASSERT_EQ(u16(4), 9);
    std::set<std::pair<int, int>> formats;
    for (std::size_t entry = 6; entry < 6 + 9 * 16; entry += 16) {
        const int size = icon.at(entry);
        const int bpp = u16(entry + 6);
        const std::size_t header = u32(entry + 12);
        const std::size_t pixels = header + 40;
        formats.emplace(size, bpp);
        EXPECT_EQ(u32(header + 8), 2 * size) << "colour rows and mask rows";
        if (bpp != 32) continue;
        std::set<int> alphas;
        for (int p = 0; p < size * size; ++p) alphas.insert(icon.at(pixels + 4 * p + 3));
        EXPECT_TRUE(alphas.count(0) && alphas.count(255) && alphas.size() > 2) << size;
        EXPECT_EQ(icon.at(pixels + 3), 0) << "a corner is transparent";
    }
    EXPECT_EQ(formats, (std::set<std::pair<int, int>>{{48, 4}, {48, 8}, {48, 32}, {32, 4}, {32, 8},
                                                      {32, 32}, {16, 4}, {16, 8}, {16, 32}}));
}

}  // namespace
}  // namespace nimbrel
