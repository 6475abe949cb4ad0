#include "drive_mask.h"

#include <array>
#include <charconv>
#include <limits>

namespace nimbrel {
namespace {

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
    return value;
}

std::optional<std::int32_t> CheckedAdd(std::int32_t a, std::int32_t b) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    if ((b > 0 && a > kMax - b) || (b < 0 && a < kMin - b)) return std::nullopt;
    return a + b;
}

}  // namespace

std::optional<DriveMask> ComputeDriveMask(DriveBoxes& boxes) {
    for (int i = 0; i < kDriveCount; ++i) {
        const std::int32_t weight = boxes.Value(i) == kTicked ? std::int32_t{1} << i : 0;
        std::array<char, kTagCapacity> text;
        const auto written = std::to_chars(text.data(), text.data() + text.size(), weight);
        boxes.SetTag(i, std::string_view(text.data(), written.ptr - text.data()));
    }

    // Every text is fetched before any is converted.
    std::array<std::string_view, kDriveCount> texts;
    for (int i = 0; i < kDriveCount; ++i) texts[i] = boxes.Tag(i);

    std::optional<DriveMask> sum = 0;
    for (const std::string_view text : texts) {
        const auto contribution = ParseDecimal(text);
        if (!contribution) return std::nullopt;
        sum = CheckedAdd(*sum, *contribution);
        if (!sum) return std::nullopt;
    }
    return sum;
}

}  // namespace nimbrel
