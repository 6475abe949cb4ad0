#include "drive_mask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nimbrel {
namespace {

std::vector<std::string> TagTexts(const BoxTags& tags) {
    std::vector<std::string> texts;
    for (const DriveTag& tag : tags) texts.emplace_back(tag.data());
    return texts;
}

// Each press tags every box with its contribution, whatever the tags held
// before, and sums the tags: only a box that is exactly ticked counts.
TEST(ComputeDriveMask, TagsEachBoxAndSumsTheTickedWeights) {
    BoxValues all{};
    all.fill(kTicked);
    const auto boxes = [](std::initializer_list<std::pair<int, std::int16_t>> states) {
        BoxValues values{};
        for (const auto& [index, state] : states) values[index] = state;
        return values;
    };
    const struct {
        const char* name;
        BoxValues values;
        DriveMask mask;
    } cases[] = {
        {"none", {}, 0},
        {"A", boxes({{0, kTicked}}), 1},
        {"Z", boxes({{25, kTicked}}), 33554432},
        {"C and D", boxes({{2, kTicked}, {3, kTicked}}), 12},
        {"O and P", boxes({{14, kTicked}, {15, kTicked}}), 16384 + 32768},
        {"W and X", boxes({{22, kTicked}, {23, kTicked}}), 4194304 + 8388608},
        {"all", all, 67108863},
        {"grayed and odd states", boxes({{2, kTicked}, {4, kGrayed}, {5, -1}, {6, 3}}), 4},
    };
    BoxTags tags{};
    tags.fill({'9', '9', '9'});
    for (const auto& c : cases) {
        ASSERT_EQ(ComputeDriveMask(c.values, tags), c.mask) << c.name;
        std::vector<std::string> expected;
        for (int i = 0; i < kDriveCount; ++i) {
            const bool ticked = c.values[i] == kTicked;
            expected.push_back(ticked ? std::to_string(1 << i) : "0");
        }
        EXPECT_EQ(TagTexts(tags), expected) << c.name;
    }
}

}  // namespace
}  // namespace nimbrel
