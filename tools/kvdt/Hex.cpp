#include "tools/kvdt/Hex.h"

namespace Kvdt {

namespace {

const char Digits[] = "0123456789abcdef";

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string HexFromBytes(const void* data, size_t size)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        out += Digits[bytes[i] >> 4];
        out += Digits[bytes[i] & 0x0F];
    }
    return out;
}

bool BytesFromHex(const std::string& text, std::string& bytes)
{
    std::string out;
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 1 >= text.size())
            return false;
        const int high = DigitValue(text[i]);
        const int low = DigitValue(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>((high << 4) | low);
        i += 2;
    }
    bytes.swap(out);
    return true;
}

std::string HexFromBits(uint64_t value, int digits)
{
    std::string out(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i) {
        out[static_cast<size_t>(i)] = Digits[value & 0x0F];
        value >>= 4;
    }
    return out;
}

bool BitsFromHex(const std::string& text, int digits, uint64_t& value)
{
    if (text.size() != static_cast<size_t>(digits))
        return false;
    uint64_t result = 0;
    for (char c : text) {
        const int digit = DigitValue(c);
        if (digit < 0)
            return false;
        result = (result << 4) | static_cast<uint64_t>(digit);
    }
    value = result;
    return true;
}

} // namespace Kvdt
