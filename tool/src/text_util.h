#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace p3tool {

std::string trimRight(const std::string& s);  // removes trailing blanks
std::string trim(const std::string& s);       // removes leading and trailing blanks
std::string toUpperAscii(std::string s);
bool equalsIgnoringCase(const std::string& a, const std::string& b);
// Decimal digits only, no sign, at most the given value.
std::optional<uint64_t> parseDecimal(const std::string& s, uint64_t maximum);
// 1234567 -> "1,234,567" (free-text reports only; records carry plain numbers).
std::string groupThousands(uint64_t v);

}  // namespace p3tool
