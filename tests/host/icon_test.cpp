#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>
#include <vector>

#include "icon_art.h"

namespace nimbrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes CommittedIcon() {
    std::ifstream file(NIMBREL_ICON_PATH, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

unsigned Read16(const Bytes& bytes, std::size_t at) { return bytes.at(at) | bytes.at(at + 1) << 8; }
unsigned Read32(const Bytes& bytes, std::size_t at) {
    return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

TEST(ProgramIcon, HoldsNineImagesOfTheThreeSizesAndDepths) {
    const Bytes icon = CommittedIcon();
    ASSERT_GE(icon.size(), 6u);
    ASSERT_EQ(Read16(icon, 2), 1u) << "not an icon";
    ASSERT_EQ(Read16(icon, 4), 9u);

    std::set<std::pair<unsigned, unsigned>> formats;
    for (std::size_t entry = 6; entry < 6 + 9 * 16; entry += 16) {
        const unsigned size = icon.at(entry) == 0 ? 256 : icon.at(entry);
        const unsigned bpp = Read16(icon, entry + 6);
        const std::size_t offset = Read32(icon, entry + 12);
        formats.emplace(size, bpp);
        // The image's own header agrees with its directory entry.
        EXPECT_EQ(Read32(icon, offset + 4), size);
        EXPECT_EQ(Read32(icon, offset + 8), 2 * size) << "colour rows and mask rows";
        EXPECT_EQ(Read16(icon, offset + 14), bpp);
        EXPECT_EQ(Read32(icon, entry + 8), Read32(icon, offset + 20) + 40 +
                                               (bpp == 4   ? 64u
                                                : bpp == 8 ? 1024u
                                                           : 0u));

        if (bpp != 32) continue;
        const std::size_t pixels = offset + 40;
        std::set<unsigned> alphas;
        for (std::size_t p = 0; p < size * size; ++p) alphas.insert(icon.at(pixels + 4 * p + 3));
        EXPECT_TRUE(alphas.count(0) && alphas.count(255)) << size;
        EXPECT_GT(alphas.size(), 2u) << "edges should be smooth, not cut out";
        // Rows run bottom-up: the first and last pixels are corners, and transparent.
        EXPECT_EQ(icon.at(pixels + 3), 0u);
        EXPECT_EQ(icon.at(pixels + 4 * (size * size - 1) + 3), 0u);
        const std::size_t mask = pixels + 4 * size * size;
        EXPECT_EQ(icon.at(mask) & 0x80, 0x80) << "corner missing from the transparency mask";
    }
    const std::set<std::pair<unsigned, unsigned>> expected = {
        {48, 4}, {48, 8}, {48, 32}, {32, 4}, {32, 8}, {32, 32}, {16, 4}, {16, 8}, {16, 32}};
    EXPECT_EQ(formats, expected);
}

TEST(ProgramIcon, RegeneratingGivesTheCommittedBytes) {
    EXPECT_TRUE(tools::MakeProgramIcon() == CommittedIcon())
        << "run make_icon and commit src/ui/res/nimbrel.ico";
}

}  // namespace
}  // namespace nimbrel
