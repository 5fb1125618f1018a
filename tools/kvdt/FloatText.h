#pragma once
// Exact decimal forms of Float and Double payloads. The shortest text is
// chosen that reads back, through the same strtod the JSON reader uses, to
// the very same bits; numbers JSON cannot hold (infinities, NaNs) get no
// text and are written as bit patterns instead.

#include <cstdint>
#include <string>

namespace Kvdt {

// Empty for infinities and NaNs. The text always holds a '.' or an
// exponent, so a JSON reader takes it as a floating-point number.
std::string FloatText(uint32_t bits);
std::string DoubleText(uint64_t bits);

// The float nearest to a JSON number; false when the number is not finite
// or lies beyond the largest float (after rounding).
bool FloatFromNumber(double number, float& value);

} // namespace Kvdt
