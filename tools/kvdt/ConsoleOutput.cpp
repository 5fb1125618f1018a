#include "tools/kvdt/ConsoleOutput.h"

#include "tools/kvdt/Utf.h"

#include <windows.h>

#include <algorithm>

namespace Kvdt {

namespace {

bool WriteTo(DWORD which, const std::string& utf8)
{
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = Utf8ToUtf16(utf8);
        for (size_t done = 0; done < wide.size();) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 8192));
            if (!WriteConsoleW(handle, wide.data() + done, chunk, &written, nullptr) || written == 0)
                return false;
            done += written;
        }
        return true;
    }
    for (size_t done = 0; done < utf8.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(utf8.size() - done, 1 << 20));
        if (!WriteFile(handle, utf8.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool WriteStandardOutput(const std::string& utf8)
{
    return WriteTo(STD_OUTPUT_HANDLE, utf8);
}

bool WriteStandardError(const std::string& utf8)
{
    return WriteTo(STD_ERROR_HANDLE, utf8);
}

} // namespace Kvdt
