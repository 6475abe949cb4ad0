#include "drive_mask.h"

#include <gtest/gtest.h>

#include "fake_boxes.h"

namespace nimbrel {
namespace {

using testing::FakeBoxes;

struct MaskCase {
    const char* name;
    std::vector<int> ticked;
    DriveMask mask;
};

TEST(ComputeDriveMask, SetsOneBitPerTickedLetter) {
    std::vector<int> all(kDriveCount);
    for (int i = 0; i < kDriveCount; ++i) all[i] = i;
    const MaskCase cases[] = {
        {"none", {}, 0},
        {"A", {0}, 1},
        {"Z", {25}, 33554432},
        {"C and D", {2, 3}, 12},
        {"O and P", {14, 15}, 16384 + 32768},
        {"W and X", {22, 23}, 4194304 + 8388608},
        {"all", all, 67108863},
    };
    for (const auto& c : cases) {
        FakeBoxes boxes;
        for (const int i : c.ticked) boxes.values[i] = kTicked;
        EXPECT_EQ(ComputeDriveMask(boxes), c.mask) << c.name;
    }
}

TEST(ComputeDriveMask, TagsHoldEachContribution) {
    FakeBoxes boxes{2, 3};
    boxes.values[4] = kGrayed;
    boxes.values[5] = -1;  // only exactly "ticked" counts, not any non-zero state
    boxes.tags.fill("stale");

    ASSERT_EQ(ComputeDriveMask(boxes), 12);
    for (int i = 0; i < kDriveCount; ++i) {
        const char* expected = i == 2 ? "4" : i == 3 ? "8" : "0";
        EXPECT_EQ(boxes.tags[i], expected) << "box " << i;
    }
}

TEST(ComputeDriveMask, RecordsAllTagsBeforeReadingAnyBack) {
    FakeBoxes boxes{0};
    ASSERT_EQ(ComputeDriveMask(boxes), 1);
    std::vector<std::string> expected;
    for (int i = 0; i < kDriveCount; ++i) expected.push_back("set " + std::to_string(i));
    for (int i = 0; i < kDriveCount; ++i) expected.push_back("get " + std::to_string(i));
    EXPECT_EQ(boxes.log, expected);
}

TEST(ComputeDriveMask, EachPressStartsAfresh) {
    FakeBoxes boxes{2, 25};
    ASSERT_EQ(ComputeDriveMask(boxes), 4 + 33554432);
    const auto first_tags = boxes.tags;
    ASSERT_EQ(ComputeDriveMask(boxes), 4 + 33554432);
    EXPECT_EQ(boxes.tags, first_tags);

    boxes.values[25] = kCleared;
    EXPECT_EQ(ComputeDriveMask(boxes), 4);
    EXPECT_EQ(boxes.tags[25], "0");
}

// Boxes whose tags do not keep what was recorded, to reach the guards that
// the real boxes never trigger.
class BrokenTagBoxes : public FakeBoxes {
public:
    explicit BrokenTagBoxes(std::string text) : text_(std::move(text)) {}
    std::string_view Tag(int) const override { return text_; }

private:
    std::string text_;
};

TEST(ComputeDriveMask, RefusesOverflowAndNonNumbers) {
    for (const char* text : {"2147483647", "-2147483648", "12x", "", " 4", "99999999999"}) {
        BrokenTagBoxes boxes(text);
        EXPECT_EQ(ComputeDriveMask(boxes), std::nullopt) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace nimbrel
