#include "foundation/ZipEntryMetadata.h"

#include "foundation/ZipEntryInfo.h"

namespace {

constexpr uint32_t DosAttributeMask = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY |
                                      FILE_ATTRIBUTE_ARCHIVE;
constexpr uint32_t UnixDirectoryBit = 1u << 30; // S_IFDIR (040000) << 16
constexpr uint32_t UnixOwnerWriteBit = 1u << 23; // S_IWUSR (0200) << 16

FILETIME ToFileTime(uint64_t ticks)
{
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

uint16_t Read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

int32_t Read32(const uint8_t* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

} // namespace

uint32_t ZipAttributesFromHost(uint32_t versionMadeBy, uint32_t externalAttributes)
{
    const uint32_t host = (versionMadeBy >> 8) & 0xFF;
    if (host == 0 || host == 7 || host == 11 || host == 14)
        return externalAttributes & DosAttributeMask;
    uint32_t attributes = FILE_ATTRIBUTE_ARCHIVE;
    if (externalAttributes & UnixDirectoryBit)
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(externalAttributes & UnixOwnerWriteBit))
        attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}

FILETIME ZipDosDateTimeToFileTime(uint32_t dosDateTime)
{
    const uint32_t date = dosDateTime >> 16;
    const uint32_t time = dosDateTime & 0xFFFF;
    SYSTEMTIME system{};
    system.wYear = static_cast<WORD>((date >> 9) + 1980);
    system.wMonth = static_cast<WORD>((date >> 5) & 15);
    system.wDay = static_cast<WORD>(date & 31);
    system.wHour = static_cast<WORD>((time >> 11) & 31);
    system.wMinute = static_cast<WORD>((time >> 5) & 63);
    system.wSecond = static_cast<WORD>((time & 31) * 2);
    FILETIME local{};
    FILETIME utc{};
    if (!SystemTimeToFileTime(&system, &local) || !LocalFileTimeToFileTime(&local, &utc))
        return FILETIME{};
    return utc;
}

FILETIME ZipUnixTimeToFileTime(int32_t seconds)
{
    const int64_t ticks = static_cast<int64_t>(seconds) * 10000000 + 116444736000000000LL;
    return ToFileTime(static_cast<uint64_t>(ticks));
}

void ZipApplyExtendedTimestamps(const uint8_t* extra, size_t length, ZipEntryInfo& info)
{
    constexpr uint16_t ExtendedTimestampId = 0x5455; // "UT"
    size_t p = 0;
    while (p + 4 < length) {
        const uint16_t id = Read16(extra + p);
        const size_t size = Read16(extra + p + 2);
        if (id == ExtendedTimestampId) {
            const size_t end = (p + 4 + size < length) ? p + 4 + size : length;
            const uint8_t flags = extra[p + 4];
            size_t at = p + 5;
            FILETIME* const targets[] = {&info.lastWriteTime, &info.lastAccessTime, &info.creationTime};
            for (int bit = 0; bit < 3; ++bit) {
                if (!(flags & (1 << bit)))
                    continue;
                if (at + 4 > end)
                    break;
                *targets[bit] = ZipUnixTimeToFileTime(Read32(extra + at));
                at += 4;
            }
            return;
        }
        p += size + 4;
    }
}
