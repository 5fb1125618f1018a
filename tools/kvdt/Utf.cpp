#include "tools/kvdt/Utf.h"

#include <cstdint>

namespace Kvdt {

namespace {

constexpr char32_t Replacement = 0xFFFD;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes one scalar value at bytes[pos]; false (and length 1) when the
// sequence there is ill-formed.
bool DecodeUtf8(const std::string& bytes, size_t pos, char32_t& scalar, size_t& length)
{
    const unsigned char lead = static_cast<unsigned char>(bytes[pos]);
    length = 1;
    if (lead < 0x80) {
        scalar = lead;
        return true;
    }
    size_t extra = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        minimum = 0x80;
        scalar = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        minimum = 0x800;
        scalar = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        minimum = 0x10000;
        scalar = lead & 0x07;
    } else {
        return false;
    }
    if (bytes.size() - pos <= extra)
        return false;
    for (size_t i = 1; i <= extra; ++i) {
        const unsigned char next = static_cast<unsigned char>(bytes[pos + i]);
        if (!IsContinuation(next))
            return false;
        scalar = (scalar << 6) | (next & 0x3F);
    }
    if (scalar < minimum || scalar > 0x10FFFF || (scalar >= 0xD800 && scalar <= 0xDFFF))
        return false;
    length = extra + 1;
    return true;
}

bool IsHighSurrogate(wchar_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t scalar)
{
    if (scalar < 0x80) {
        out += static_cast<char>(scalar);
    } else if (scalar < 0x800) {
        out += static_cast<char>(0xC0 | (scalar >> 6));
        out += static_cast<char>(0x80 | (scalar & 0x3F));
    } else if (scalar < 0x10000) {
        out += static_cast<char>(0xE0 | (scalar >> 12));
        out += static_cast<char>(0x80 | ((scalar >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (scalar & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (scalar >> 18));
        out += static_cast<char>(0x80 | ((scalar >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((scalar >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (scalar & 0x3F));
    }
}

void AppendUtf16(std::wstring& out, char32_t scalar)
{
    if (scalar < 0x10000) {
        out += static_cast<wchar_t>(scalar);
    } else {
        scalar -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (scalar >> 10));
        out += static_cast<wchar_t>(0xDC00 + (scalar & 0x3FF));
    }
}

} // namespace

bool IsValidUtf8(const std::string& bytes)
{
    for (size_t pos = 0; pos < bytes.size();) {
        char32_t scalar = 0;
        size_t length = 0;
        if (!DecodeUtf8(bytes, pos, scalar, length))
            return false;
        pos += length;
    }
    return true;
}

bool IsValidUtf16(const std::wstring& units)
{
    for (size_t i = 0; i < units.size(); ++i) {
        if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1]))
            ++i;
        else if (IsHighSurrogate(units[i]) || IsLowSurrogate(units[i]))
            return false;
    }
    return true;
}

std::wstring Utf8ToUtf16(const std::string& bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    for (size_t pos = 0; pos < bytes.size();) {
        char32_t scalar = 0;
        size_t length = 0;
        if (!DecodeUtf8(bytes, pos, scalar, length))
            scalar = Replacement;
        AppendUtf16(out, scalar);
        pos += length;
    }
    return out;
}

std::string Utf16ToUtf8(const std::wstring& units)
{
    std::string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t scalar = static_cast<uint16_t>(units[i]);
        if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            scalar = 0x10000 + ((scalar - 0xD800) << 10) + (static_cast<uint16_t>(units[i + 1]) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(units[i]) || IsLowSurrogate(units[i])) {
            scalar = Replacement;
        }
        AppendUtf8(out, scalar);
    }
    return out;
}

} // namespace Kvdt
