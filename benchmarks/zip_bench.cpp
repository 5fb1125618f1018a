// Extracts every entry of an archive below a folder, the way the setup
// extracts its program files, and prints how long that took and the peak
// memory of the process. FOLDER is emptied first. With --memory the entries
// are only decoded (16 KiB pieces to memory), which tells the decoding cost
// from the file system's.
//   zip_bench ARCHIVE FOLDER [--memory]
#include "foundation/ZipHandle.h"
#include "tests/support/TempFolder.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

double Seconds()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

ZipResult DecodeToMemory(ZipHandle* archive, int32_t index)
{
    static unsigned char piece[16384];
    ZipResult result = ZipMoreData;
    while (result == ZipMoreData)
        result = ZipReaderExtract(archive, index, piece, sizeof(piece), ZipTargetMemory);
    return result;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool toMemory = argc == 4 && std::wcscmp(argv[3], L"--memory") == 0;
    if (argc != 3 && !toMemory) {
        std::fwprintf(stderr, L"usage: zip_bench ARCHIVE FOLDER [--memory]\n");
        return 2;
    }
    RemoveTree(argv[2]);
    const double start = Seconds();
    ZipHandle* archive = ZipReaderOpen(argv[1], 0, ZipSourceFileName, nullptr);
    if (!archive) {
        std::fwprintf(stderr, L"cannot open %ls (0x%x)\n", argv[1], ZipReaderGetLastResult());
        return 1;
    }
    CreateDirectoryW(argv[2], nullptr);
    ZipReaderSetBaseFolder(archive, argv[2]);
    ZipEntryInfo info{};
    ZipReaderGetEntry(archive, -1, &info);
    const int32_t count = info.index;
    unsigned long long bytes = 0;
    int failures = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (ZipReaderGetEntry(archive, i, &info) != ZipOk ||
            (toMemory ? DecodeToMemory(archive, i) : ZipReaderExtract(archive, i, info.name, 0, ZipTargetFile)) != ZipOk) {
            std::fwprintf(stderr, L"entry %d (%ls): 0x%x\n", i, info.name, ZipReaderGetLastResult());
            ++failures;
            continue;
        }
        bytes += info.uncompressedSize;
    }
    ZipReaderClose(archive);
    const double elapsed = Seconds() - start;

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("entries %d bytes %llu seconds %.3f peak_private_kib %lu peak_working_set_kib %lu failures %d\n",
                count, bytes, elapsed, static_cast<unsigned long>(memory.PeakPagefileUsage / 1024),
                static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024), failures);
    return failures == 0 ? 0 : 1;
}
