// The wizards' own path join and size text.

#include "foundation/WizardUtilities.h"

#include <cstdio>

namespace KV {
namespace Wizard {

std::wstring JoinPath(const std::wstring& first, const std::wstring& second)
{
    if (second.empty())
        return first;
    const bool firstEnds = !first.empty() && first.back() == L'\\';
    const bool secondStarts = second.front() == L'\\';
    if (firstEnds && secondStarts)
        return first.substr(0, first.size() - 1) + second;
    if (firstEnds || secondStarts)
        return first + second;
    return first + L"\\" + second;
}

std::wstring FormatSize(uint64_t bytes, const std::function<std::wstring(const char* unitId)>& unitText)
{
    const uint32_t high = static_cast<uint32_t>(bytes >> 32);
    const uint32_t low = static_cast<uint32_t>(bytes);
    const char* unit = SizeUnitKb;
    double divisor = 1024.0;
    if (high != 0 || low > 0x40000000u) {
        unit = SizeUnitGb;
        divisor = 1073741824.0;
    } else if (low > 0x100000u) {
        unit = SizeUnitMb;
        divisor = 1048576.0;
    }
    const std::wstring unitName = unitText ? unitText(unit) : std::wstring();
    wchar_t number[64];
    swprintf(number, 64, L"%.1f", static_cast<double>(bytes) / divisor);
    return std::wstring(number) + L" " + unitName;
}

} // namespace Wizard
} // namespace KV
