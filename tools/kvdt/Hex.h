#pragma once
// Hexadecimal forms of the text format: byte strings (two digits a byte, in
// order) and bit patterns (a fixed number of digits, most significant first).

#include <cstddef>
#include <cstdint>
#include <string>

namespace Kvdt {

// Lower-case digits, two per byte.
std::string HexFromBytes(const void* data, size_t size);
// Digit pairs in either case; spaces between pairs are allowed for
// readability. False on any other character, a pair split by a space, or an
// odd number of digits.
bool BytesFromHex(const std::string& text, std::string& bytes);

// Exactly `digits` lower-case digits.
std::string HexFromBits(uint64_t value, int digits);
// Exactly `digits` digits, either case, nothing else.
bool BitsFromHex(const std::string& text, int digits, uint64_t& value);

} // namespace Kvdt
