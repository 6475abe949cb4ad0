#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace nimbrel {

using DriveMask = std::int32_t;

inline constexpr int kDriveCount = 26;

// Box states as the check boxes report them; only kTicked counts.
inline constexpr std::int16_t kCleared = 0;
inline constexpr std::int16_t kTicked = 1;
inline constexpr std::int16_t kGrayed = 2;

// Room for any 32-bit number as decimal text; a contribution needs 8 at most.
inline constexpr std::size_t kTagCapacity = 11;

// The 26 drive boxes as the mask computation sees them: index 0 is A:,
// index 25 is Z:. Each box has a state and a free text slot, its tag.
class DriveBoxes {
public:
    virtual ~DriveBoxes() = default;
    virtual std::int16_t Value(int index) const = 0;
    virtual std::string_view Tag(int index) const = 0;
    virtual void SetTag(int index, std::string_view text) = 0;
};

// Records each box's contribution in its tag, reads all the tags back and
// sums them. Returns nothing when a sum overflows or a tag is not a decimal
// number, so that the command stops before it reaches the registry.
std::optional<DriveMask> ComputeDriveMask(DriveBoxes& boxes);

}  // namespace nimbrel
