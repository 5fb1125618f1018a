// Reading and patching the setup executable's trailer.

#include "foundation/ArchiveTrailer.h"

#include "foundation/ZipFileHandle.h"

namespace {

bool ReadExactly(HANDLE file, void* target, DWORD count)
{
    DWORD read = 0;
    return ::ReadFile(file, target, count, &read, nullptr) && read == count;
}

bool FileSize(HANDLE file, uint64_t& size)
{
    LARGE_INTEGER value{};
    if (!::GetFileSizeEx(file, &value))
        return false;
    size = static_cast<uint64_t>(value.QuadPart);
    return true;
}

bool SeekFromEnd(HANDLE file, LONG back)
{
    LARGE_INTEGER distance{};
    distance.QuadPart = -static_cast<LONGLONG>(back);
    return ::SetFilePointerEx(file, distance, nullptr, FILE_END) != FALSE;
}

} // namespace

SetupMode SetupModeFromValue(uint32_t value)
{
    if (value == ModeInstalledUninstaller)
        return ModeInstalledUninstaller;
    if (value == ModeUninstall)
        return ModeUninstall;
    return ModeSetup;
}

uint32_t ReadSetupModeValue(const wchar_t* path)
{
    ZipFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return 0;
    uint64_t size = 0;
    uint32_t mode = 0;
    if (!FileSize(file.Get(), size) || size < sizeof mode || !SeekFromEnd(file.Get(), sizeof mode))
        return 0;
    if (!ReadExactly(file.Get(), &mode, sizeof mode))
        return 0;
    return mode;
}

bool WriteSetupModeValue(const wchar_t* path, uint32_t mode)
{
    ZipFileHandle file(::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    uint64_t size = 0;
    if (!FileSize(file.Get(), size) || size < sizeof mode || !SeekFromEnd(file.Get(), sizeof mode))
        return false;
    DWORD written = 0;
    return ::WriteFile(file.Get(), &mode, sizeof mode, &written, nullptr) && written == sizeof mode;
}

bool ReadArchiveTrailer(HANDLE file, ArchiveTrailer& trailer)
{
    uint64_t size = 0;
    if (!FileSize(file, size) || size < ArchiveTrailerSize || !SeekFromEnd(file, ArchiveTrailerSize))
        return false;
    uint32_t fields[3] = {};
    if (!ReadExactly(file, fields, sizeof fields))
        return false;
    trailer.ArchiveOffset = fields[0];
    trailer.FromOffset = fields[1];
    trailer.Mode = fields[2];
    return true;
}

std::string ReadOriginText(HANDLE file, const ArchiveTrailer& trailer)
{
    uint64_t size = 0;
    if (trailer.FromOffset == 0 || !FileSize(file, size) || size < ArchiveTrailerSize)
        return std::string();
    const uint64_t end = size - ArchiveTrailerSize;
    // A damaged trailer must not make a negative length.
    if (trailer.FromOffset >= end)
        return std::string();
    const uint64_t length = end - trailer.FromOffset;
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(trailer.FromOffset);
    if (!::SetFilePointerEx(file, position, nullptr, FILE_BEGIN))
        return std::string();
    std::string text(static_cast<size_t>(length), '\0');
    if (!ReadExactly(file, &text[0], static_cast<DWORD>(length)))
        return std::string();
    return text;
}
