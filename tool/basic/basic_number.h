#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace basic {

// The five bytes a number takes after its 0x0E marker in a program line.
using NumberBytes = std::array<uint8_t, 5>;

// The hidden form the Spectrum's ROM stores for a number typed as `text`
// (digits, an optional point and fraction, an optional E exponent; no sign).
// It repeats the ROM's own arithmetic step by step, faults included: the
// fraction is summed as digit x (1/10 ...), and the ROM's division never
// rounds on its 34th quotient bit, so .5 becomes 7F 7F FF FF FF, not the
// exact 80 00 00 00 00. Empty when the ROM would report "Number too big".
std::optional<NumberBytes> romNumber(std::string_view text);

// The hidden form of an unsigned whole number: the small-integer form up to
// 65535, the floating form above (exact up to 2^32).
NumberBytes wholeNumber(uint64_t value);

}  // namespace basic
