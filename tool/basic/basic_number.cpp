// The ROM's decimal-to-floating-point conversion, reproduced with the same
// operations and the same rounding as its calculator. Only non-negative
// operands occur: a number in a program line never carries its sign.
#include "basic_number.h"

#include <bit>

namespace basic {

namespace {

// A calculator value: a small integer (0..65535) or a floating number with
// exponent byte `exp` (0x80 bias; 0 = zero) and a 32-bit mantissa whose top
// bit is set.
struct Value {
    bool small = true;
    uint32_t whole = 0;
    int exp = 0;
    uint32_t mant = 0;
};

struct TooBig {};

Value smallInt(uint32_t n) { return Value{true, n, 0, 0}; }

bool isZero(const Value& v) { return v.small ? v.whole == 0 : v.exp == 0; }

// RE-STACK: a small integer in floating form (exact).
Value floating(const Value& v)
{
    if (!v.small)
        return v;
    if (v.whole == 0)
        return Value{false, 0, 0, 0};
    const int bits = std::bit_width(v.whole);
    return Value{false, 0, 0x80 + bits, v.whole << (32 - bits)};
}

// The end of multiply and division: one rounding bit below the mantissa,
// carried into the exponent when the mantissa overflows; out of range
// above is "Number too big", below is zero.
Value finish(int exp, uint64_t mant, bool roundUp)
{
    if (roundUp) {
        ++mant;
        if (mant >> 32) {
            mant = 0x80000000u;
            ++exp;
        }
    }
    if (exp > 0xFF)
        throw TooBig{};
    if (exp <= 0)
        return Value{false, 0, 0, 0};
    return Value{false, 0, exp, uint32_t(mant)};
}

// multiply: integers while the product stays below 65536, else the full
// 32 x 32-bit product rounded on the first bit below the kept 32.
Value multiply(const Value& a, const Value& b)
{
    if (a.small && b.small && uint64_t(a.whole) * b.whole <= 0xFFFF)
        return smallInt(a.whole * b.whole);
    const Value x = floating(a), y = floating(b);
    if (isZero(x) || isZero(y))
        return Value{};
    uint64_t p = uint64_t(x.mant) * y.mant;
    int exp = x.exp + y.exp - 0x80;
    if (!(p >> 63)) {
        p <<= 1;
        --exp;
    }
    return finish(exp, p >> 32, (p >> 31) & 1);
}

// division: a restoring division that yields 33 quotient bits. The ROM
// means to take a 34th for rounding, but its loop tries that subtraction
// again without shifting the remainder, so the 34th bit is always 0: a
// quotient below 1 is truncated, one of 1 or more rounds on its 33rd bit.
Value divide(const Value& a, const Value& b)
{
    const Value x = floating(a), y = floating(b);
    if (isZero(y))
        throw TooBig{};
    if (isZero(x))
        return Value{};
    const uint64_t q = (uint64_t(x.mant) << 32) / y.mant;
    int exp = x.exp - y.exp + 0x81;
    if (q >> 32)
        return finish(exp, q >> 1, q & 1);
    return finish(exp - 1, q, false);
}

// addition: integers while the sum stays below 65536, else the smaller
// mantissa shifted right (rounded on the last bit shifted out) and added; a
// carry shifts the sum right once more, again rounded.
Value add(const Value& a, const Value& b)
{
    if (a.small && b.small && a.whole + b.whole <= 0xFFFF)
        return smallInt(a.whole + b.whole);
    Value x = floating(a), y = floating(b);
    if (x.exp < y.exp)
        std::swap(x, y);
    if (isZero(x))
        return y;
    const int shift = x.exp - y.exp;
    uint64_t addend = 0;
    if (!isZero(y) && shift < 33) {
        addend = shift == 0 ? y.mant : (y.mant >> shift) + ((y.mant >> (shift - 1)) & 1);
    }
    uint64_t sum = uint64_t(x.mant) + addend;
    int exp = x.exp;
    if (sum >> 32) {
        const bool last = sum & 1;
        sum = (sum >> 1) + (last ? 1 : 0);
        ++exp;
        if (exp > 0xFF)
            throw TooBig{};
    }
    return Value{false, 0, exp, uint32_t(sum)};
}

NumberBytes bytesOf(const Value& v)
{
    if (v.small)
        return {0, 0, uint8_t(v.whole), uint8_t(v.whole >> 8), 0};
    if (v.exp == 0)
        return {0, 0, 0, 0, 0};
    // Positive: the sign bit takes the place of the implied top bit.
    return {uint8_t(v.exp), uint8_t((v.mant >> 24) & 0x7F), uint8_t(v.mant >> 16), uint8_t(v.mant >> 8),
            uint8_t(v.mant)};
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<NumberBytes> romNumber(std::string_view text)
{
    try {
        size_t i = 0;
        // INT-TO-FP: x = x * 10 + digit.
        Value x = smallInt(0);
        while (i < text.size() && isDigit(text[i]))
            x = add(multiply(x, smallInt(10)), smallInt(uint32_t(text[i++] - '0')));
        if (i < text.size() && text[i] == '.') {
            ++i;
            // NXT-DGT-1: mem-0 = mem-0 / 10, x = x + digit * mem-0.
            Value scale = smallInt(1);
            while (i < text.size() && isDigit(text[i])) {
                scale = divide(scale, smallInt(10));
                x = add(x, multiply(smallInt(uint32_t(text[i++] - '0')), scale));
            }
        }
        if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
            ++i;
            bool negative = false;
            if (i < text.size() && (text[i] == '+' || text[i] == '-'))
                negative = text[i++] == '-';
            unsigned e = 0;
            while (i < text.size() && isDigit(text[i])) {
                e = e * 10 + unsigned(text[i++] - '0');
                if (e > 127)
                    return std::nullopt;
            }
            // e-to-fp: x times (or divided by) 10, 100, 10^4, 10^8 ... for
            // each bit of the exponent, lowest first.
            Value power = smallInt(10);
            while (true) {
                if (e & 1)
                    x = negative ? divide(x, power) : multiply(x, power);
                e >>= 1;
                if (e == 0)
                    break;
                power = multiply(power, power);
            }
        }
        return bytesOf(x);
    } catch (const TooBig&) {
        return std::nullopt;
    }
}

NumberBytes wholeNumber(uint64_t value)
{
    if (value <= 0xFFFF)
        return bytesOf(smallInt(uint32_t(value)));
    int bits = std::bit_width(value);
    // Beyond 32 significant bits the value is rounded on the first bit dropped.
    uint64_t mant = bits > 32 ? value >> (bits - 32) : value << (32 - bits);
    const bool roundUp = bits > 32 && ((value >> (bits - 33)) & 1);
    const Value v = finish(0x80 + bits, mant, roundUp);
    return bytesOf(v);
}

}  // namespace basic
