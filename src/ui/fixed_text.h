#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace nimbrel::ui {

// Text built in place, without the heap (the program is built without
// exceptions and keeps its allocations few); what does not fit is cut off.
template <typename Char, std::size_t Capacity>
class FixedText {
public:
    FixedText() = default;
    explicit FixedText(std::basic_string_view<Char> text) { Append(text); }

    FixedText& Append(std::basic_string_view<Char> text) {
        for (const Char c : text) {
            if (size_ + 1 == Capacity) break;
            chars_[size_++] = c;
        }
        chars_[size_] = Char{};
        return *this;
    }

    // Plain decimal digits, with a minus sign for a negative number.
    FixedText& AppendNumber(long number) {
        Char digits[24];
        Char* first = std::end(digits);
        unsigned long magnitude = number < 0 ? 0UL - static_cast<unsigned long>(number) : number;
        do {
            *--first = static_cast<Char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (number < 0) *--first = static_cast<Char>('-');
        return Append({first, static_cast<std::size_t>(std::end(digits) - first)});
    }

    const Char* c_str() const { return chars_.data(); }
    std::basic_string_view<Char> view() const { return {chars_.data(), size_}; }
    std::size_t size() const { return size_; }

private:
    std::array<Char, Capacity> chars_{};
    std::size_t size_ = 0;
};

}  // namespace nimbrel::ui
