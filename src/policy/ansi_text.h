#pragma once

#include <array>
#include <string_view>

namespace nimbrel {

// Zero-terminated text in the ANSI code page, held without allocation so that
// converting cannot fail halfway through a registry operation.
struct AnsiText {
    std::array<char, 128> chars{};
    const char* c_str() const { return chars.data(); }
};

// Converts to the ANSI code page; text that does not fit comes back empty.
AnsiText ToAnsi(std::wstring_view text) noexcept;

}  // namespace nimbrel
