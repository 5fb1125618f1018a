#include "tools/kvdt/FloatText.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Kvdt {

namespace {

bool IsFiniteBits(uint64_t exponentMask, uint64_t bits)
{
    return (bits & exponentMask) != exponentMask;
}

// Makes sure a JSON reader sees a floating-point number ("-0" would read as
// the integer 0 and lose its sign).
std::string AsFloatingText(const char* text)
{
    std::string out = text;
    if (out.find_first_of(".eE") == std::string::npos)
        out += ".0";
    return out;
}

// Plain notation reads better for everyday magnitudes; beyond this decimal
// exponent (as in JavaScript) the exponent form is shorter.
constexpr int LargestPlainExponent = 20;

template <typename Bits, typename Value, typename Check>
std::string ShortestText(Bits bits, int maxDigits, Check readsBack)
{
    Value value;
    std::memcpy(&value, &bits, sizeof value);
    const double number = static_cast<double>(value);
    char text[512];
    for (int digits = 1; digits <= maxDigits; ++digits) {
        std::snprintf(text, sizeof text, "%.*e", digits - 1, number);
        if (!readsBack(std::strtod(text, nullptr)))
            continue;
        // The same digits, in plain notation where that suits ("100.0"
        // rather than "1e+02").
        const char* exponentText = std::strchr(text, 'e');
        const int exponent = exponentText ? std::atoi(exponentText + 1) : 0;
        if (exponent >= -4 && exponent <= LargestPlainExponent) {
            char plain[512];
            const int precision = exponent + 1 > digits ? exponent + 1 : digits;
            std::snprintf(plain, sizeof plain, "%.*g", precision, number);
            if (readsBack(std::strtod(plain, nullptr)))
                return AsFloatingText(plain);
        } else {
            std::snprintf(text, sizeof text, "%.*g", digits, number);
            if (readsBack(std::strtod(text, nullptr)))
                return AsFloatingText(text);
        }
        std::snprintf(text, sizeof text, "%.*e", digits - 1, number);
        return AsFloatingText(text);
    }
    return std::string();
}

} // namespace

std::string FloatText(uint32_t bits)
{
    if (!IsFiniteBits(0x7F800000u, bits))
        return std::string();
    // 9 significant digits always identify a float; the round trip check
    // decides in case the C library's conversions fall short.
    return ShortestText<uint32_t, float>(bits, 9, [bits](double read) {
        float narrowed = 0;
        if (!FloatFromNumber(read, narrowed))
            return false;
        uint32_t readBits = 0;
        std::memcpy(&readBits, &narrowed, sizeof readBits);
        return readBits == bits;
    });
}

std::string DoubleText(uint64_t bits)
{
    if (!IsFiniteBits(0x7FF0000000000000ull, bits))
        return std::string();
    return ShortestText<uint64_t, double>(bits, 17, [bits](double read) {
        uint64_t readBits = 0;
        std::memcpy(&readBits, &read, sizeof readBits);
        return readBits == bits;
    });
}

bool FloatFromNumber(double number, float& value)
{
    if (!std::isfinite(number))
        return false;
    if (std::fabs(number) > FLT_MAX) {
        // Up to half a unit in the last place above the largest float still
        // rounds down to it.
        const double limit = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 103);
        if (std::fabs(number) >= limit)
            return false;
        value = std::signbit(number) ? -FLT_MAX : FLT_MAX;
        return true;
    }
    value = static_cast<float>(number);
    return true;
}

} // namespace Kvdt
