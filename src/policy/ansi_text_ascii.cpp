#include "ansi_text.h"

namespace nimbrel {

// Without a Windows code page, ASCII maps to itself and anything else to '?',
// as the conversion does for a character the code page lacks.
AnsiText ToAnsi(std::wstring_view text) noexcept {
    AnsiText ansi;
    if (text.size() >= ansi.chars.size()) return ansi;
    for (std::size_t i = 0; i < text.size(); ++i) {
        ansi.chars[i] = text[i] >= 0 && text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    }
    return ansi;
}

}  // namespace nimbrel
