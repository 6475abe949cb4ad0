#include "drive_mask.h"

#include <charconv>
#include <limits>
#include <string_view>

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

std::optional<DriveMask> ComputeDriveMask(const BoxValues& values, BoxTags& tags) {
    for (int i = 0; i < kDriveCount; ++i) {
        const std::int32_t weight = values[i] == kTicked ? std::int32_t{1} << i : 0;
        DriveTag& tag = tags[i];
        *std::to_chars(tag.data(), tag.data() + tag.size() - 1, weight).ptr = '\0';
    }

    // Every text is fetched before any is converted.
    std::array<std::string_view, kDriveCount> texts;
    for (int i = 0; i < kDriveCount; ++i) texts[i] = tags[i].data();

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
