// Dotted versions: up to four integers, compared from the left.

#include "foundation/UtilitiesCommon.h"

#include <shlwapi.h>

namespace KV {

bool ParseVersion(const wchar_t* text, int parts[VersionPartCount])
{
    for (int i = 0; i < VersionPartCount; ++i)
        parts[i] = 0;
    if (!text)
        return true;
    std::wstring part;
    int index = 0;
    // Leading, trailing and repeated dots yield no empty parts.
    for (const wchar_t* p = text;; ++p) {
        if (*p == L'.' || *p == L'\0') {
            if (!part.empty()) {
                if (index < VersionPartCount)
                    parts[index++] = StrToIntW(part.c_str());
                part.clear();
            }
            if (*p == L'\0')
                break;
        } else {
            part += *p;
        }
    }
    return true;
}

int CompareVersions(const wchar_t* first, const wchar_t* second)
{
    int a[VersionPartCount];
    int b[VersionPartCount];
    ParseVersion(first, a);
    ParseVersion(second, b);
    for (int i = 0; i < VersionPartCount; ++i) {
        if (a[i] > b[i])
            return i + 1;
        if (a[i] < b[i])
            return -(i + 1);
    }
    return 0;
}

} // namespace KV
