#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace nimbrel {

using DriveMask = std::int32_t;

inline constexpr int kDriveCount = 26;

// Box states as the check boxes report them; only kTicked counts.
inline constexpr std::int16_t kCleared = 0;
inline constexpr std::int16_t kTicked = 1;
inline constexpr std::int16_t kGrayed = 2;

// A box's free text slot: its contribution as zero-terminated decimal text.
// Eleven characters hold any 32-bit number.
using DriveTag = std::array<char, 12>;

// The 26 boxes, index 0 for A: to index 25 for Z:.
using BoxValues = std::array<std::int16_t, kDriveCount>;
using BoxTags = std::array<DriveTag, kDriveCount>;

// Records each box's contribution in its tag, reads all the tags back and
// sums them. Nothing comes back when a sum overflows or a tag is not a
// number, so that the command stops before it reaches the registry.
std::optional<DriveMask> ComputeDriveMask(const BoxValues& values, BoxTags& tags);

}  // namespace nimbrel
