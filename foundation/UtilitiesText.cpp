// Texts built without the locale: size in kilobytes, decimal integers.

#include "foundation/UtilitiesCommon.h"

#include <cstdio>

namespace KV {

std::wstring FormatSizeKb(uint32_t low, uint32_t high)
{
    const uint64_t bytes = MakeUInt64(high, low);
    const uint64_t kb = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
    uint64_t divisor = 1;
    while (kb / divisor >= 1000)
        divisor *= 1000;

    wchar_t group[8];
    swprintf(group, 8, L"%u", static_cast<unsigned>((kb / divisor) % 1000));
    std::wstring text = group;
    while (divisor > 1) {
        divisor /= 1000;
        swprintf(group, 8, L",%03u", static_cast<unsigned>((kb / divisor) % 1000));
        text += group;
    }
    text += L" Kb";
    return text;
}

std::string IntToString(int32_t value)
{
    return std::to_string(value);
}

} // namespace KV
