#pragma once

#include <cstdint>
#include <vector>

namespace nimbrel::tools {

// The program icon as the bytes of an .ico file: a silver hard-disk drive
// seen from above at an angle, at 48, 32 and 16 pixels, each in 4, 8 and
// 32 bits per pixel. The same bytes on every run.
std::vector<std::uint8_t> MakeProgramIcon();

}  // namespace nimbrel::tools
