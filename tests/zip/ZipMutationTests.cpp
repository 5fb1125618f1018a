// Thousands of damaged copies of a real Info-ZIP archive are opened, listed
// and extracted (to memory and to files below a scratch folder). None may
// crash the reader, make it loop, or write outside the scratch folder.
#include "foundation/ZipHandle.h"

#include "ZipTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iostream>
#include <random>

namespace {

constexpr int Variants = 5000;
constexpr int MaxEntriesPerVariant = 40;
// Far more pieces than any entry of the small base archive can inflate to.
constexpr int MaxPieces = 2000;

void PutLittleEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value, size_t width)
{
    for (size_t i = 0; i < width && at + i < bytes.size(); ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<size_t> SignatureOffsets(const std::vector<uint8_t>& bytes)
{
    std::vector<size_t> offsets;
    for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
        if (bytes[i] == 'P' && bytes[i + 1] == 'K' && bytes[i + 2] >= 1 && bytes[i + 2] <= 6)
            offsets.push_back(i);
    }
    return offsets;
}

std::vector<uint8_t> Mutate(const std::vector<uint8_t>& original, const std::vector<size_t>& headers,
                            std::mt19937& random)
{
    std::vector<uint8_t> bytes = original;
    const uint32_t size = static_cast<uint32_t>(bytes.size());
    const uint32_t interesting[] = {0, 1, 0x7F, 0xFF, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                                    size, size / 2, size + 1};
    auto pick = [&](uint32_t limit) { return static_cast<uint32_t>(random() % limit); };
    const int mutations = 1 + static_cast<int>(pick(6));
    for (int m = 0; m < mutations && !bytes.empty(); ++m) {
        switch (pick(6)) {
        case 0: // a bit anywhere
            bytes[pick(static_cast<uint32_t>(bytes.size()))] ^= static_cast<uint8_t>(1 << pick(8));
            break;
        case 1: // a byte anywhere
            bytes[pick(static_cast<uint32_t>(bytes.size()))] = static_cast<uint8_t>(random());
            break;
        case 2: // a field near a header
        case 3: {
            const size_t at = headers[pick(static_cast<uint32_t>(headers.size()))] + 4 + pick(42);
            PutLittleEndian(bytes, at, interesting[pick(std::size(interesting))], pick(2) ? 4 : 2);
            break;
        }
        case 4: // a byte near a header
            bytes[std::min(bytes.size() - 1, headers[pick(static_cast<uint32_t>(headers.size()))] + pick(60))] =
                static_cast<uint8_t>(random());
            break;
        default: // cut short (rarely) or cut a piece out
            if (pick(4) == 0)
                bytes.resize(pick(static_cast<uint32_t>(bytes.size())));
            else {
                const size_t from = pick(static_cast<uint32_t>(bytes.size()));
                const size_t length = std::min<size_t>(1 + pick(64), bytes.size() - from);
                bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                            bytes.begin() + static_cast<std::ptrdiff_t>(from + length));
            }
            break;
        }
    }
    return bytes;
}

std::vector<std::wstring> DriveRoot()
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"C:\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ZipMutation, DamagedArchivesNeitherCrashNorHangNorEscape)
{
    const std::vector<uint8_t> original = ReadFileBytes(FixturePath(L"mutation_base.zip"));
    ASSERT_GT(original.size(), 1000u);
    const std::vector<size_t> headers = SignatureOffsets(original);
    ASSERT_GT(headers.size(), 10u);

    ScratchFolder root;
    CreateDirectoryW((root / L"a").c_str(), nullptr);
    CreateDirectoryW((root / L"a\\b").c_str(), nullptr);
    const std::wstring scratch = root / L"a\\b\\in\\";
    CreateDirectoryW(scratch.c_str(), nullptr);
    const std::wstring variantFile = root / L"variant.zip";
    const std::vector<std::wstring> driveRootBefore = DriveRoot();

    std::mt19937 random(20240611);
    int opened = 0;
    int described = 0;
    int readToEnd = 0;
    int written = 0;
    for (int v = 0; v < Variants; ++v) {
        const std::vector<uint8_t> bytes = Mutate(original, headers, random);
        ZipHandle* handle = nullptr;
        if (v % 8 == 0) {
            ASSERT_TRUE(WriteFileBytes(variantFile, bytes));
            handle = ZipReaderOpen(variantFile.c_str(), 0, ZipSourceFileName, nullptr);
        } else {
            handle = ZipReaderOpen(bytes.data(), static_cast<uint32_t>(bytes.size()), ZipSourceMemory, nullptr);
        }
        if (v > 0 && v % 100 == 0) {
            // Every hundred variants the scratch folder starts empty again.
            ASSERT_EQ(ListTree(root.Path()).size(), ListTree(scratch).size() + 4) << "after variant " << v;
            DeleteTree(scratch);
            CreateDirectoryW(scratch.c_str(), nullptr);
        }
        if (!handle)
            continue;
        ++opened;
        ZipReaderSetBaseFolder(handle, scratch.c_str());
        ZipEntryInfo summary{};
        ASSERT_EQ(ZipReaderGetEntry(handle, -1, &summary), ZipOk);
        const int32_t count = std::min(summary.index, MaxEntriesPerVariant);
        for (int32_t i = 0; i < count; ++i) {
            ZipEntryInfo info{};
            if (ZipReaderGetEntry(handle, i, &info) != ZipOk)
                continue;
            ++described;
            ASSERT_LT(std::wcslen(info.name), size_t(ZipMaxNameLength));
            uint8_t piece[4096];
            ZipResult result = ZipMoreData;
            int pieces = 0;
            while (result == ZipMoreData && pieces < MaxPieces) {
                result = ZipReaderExtract(handle, i, piece, sizeof(piece), ZipTargetMemory);
                ++pieces;
            }
            ASSERT_LT(pieces, MaxPieces) << "variant " << v << " entry " << i;
            readToEnd += result == ZipOk ? 1 : 0;
            if (info.name[0] != L'\0')
                written += ZipReaderExtract(handle, i, info.name, 0, ZipTargetFile) == ZipOk ? 1 : 0;
        }
        ASSERT_EQ(ZipReaderClose(handle), ZipOk);
    }
    // What the last variants wrote.
    ASSERT_EQ(ListTree(root.Path()).size(), ListTree(scratch).size() + 4);
    DeleteTree(scratch);
    std::cout << Variants << " variants: " << opened << " opened, " << described << " entries described, "
              << readToEnd << " read to the end, " << written << " extracted to files\n";
    // The damage must leave enough archives readable to reach the deep paths.
    EXPECT_GT(opened, Variants / 4);
    EXPECT_GT(written, Variants / 4);
    EXPECT_EQ(ListTree(root.Path()),
              (std::vector<std::wstring>{L"a\\", L"a\\b\\", L"variant.zip"}));
    EXPECT_EQ(DriveRoot(), driveRootBefore);
}

} // namespace
