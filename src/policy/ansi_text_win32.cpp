#include <windows.h>

#include "ansi_text.h"

namespace nimbrel {

AnsiText ToAnsi(std::wstring_view text) noexcept {
    AnsiText ansi;
    const int written = WideCharToMultiByte(
        CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.chars.data(),
        static_cast<int>(ansi.chars.size()) - 1, nullptr, nullptr);
    ansi.chars[written > 0 ? written : 0] = '\0';
    return ansi;
}

}  // namespace nimbrel
