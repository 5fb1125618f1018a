// Times loading and saving a catalogue-sized data tree against reading and
// writing the same bytes with plain platform calls, freeing a loaded tree,
// and the private memory a loaded tree takes against its file's size.
//   datatree_bench [--keys N] [--rounds R] [--unbuffered]
// --unbuffered also times a load straight from the file stream, one platform
// read per scalar, for comparison with the whole-file read of Load.
#include "BenchReport.h"

#include "foundation/DataKey.h"
#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"
#include "foundation/VectorStream.h"

#include <memory>

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

void BuildCatalogue(KV::DataKey& root, unsigned keys)
{
    root.SetName("channel_list_1.0");
    root.SetUInt("version", 1);
    KV::DataKey* channels = root.GetKey("channels", true);
    char text[128];
    for (unsigned i = 0; i < keys; ++i) {
        std::snprintf(text, sizeof(text), "de_%06u", i);
        KV::DataKey* channel = channels->GetKey(text, true);
        std::snprintf(text, sizeof(text), "Channel %u", i);
        channel->SetStringA("name", text);
        std::snprintf(text, sizeof(text), "http://127.0.0.1/live/%06u.asx", i);
        channel->SetStringA("url", text);
        channel->SetStringW("cat", L"news");
        channel->SetUInt("id", i);
        channel->SetBool("tv", (i & 1) != 0);
        KV::DataKey* stream = channel->GetKey("streams", true)->GetKey("128", true);
        stream->SetStringA("value", "mms://127.0.0.1/a");
    }
}

bool RawRead(const std::wstring& path, std::vector<char>& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD got = 0;
    const bool ok = ReadFile(file, bytes.data(), size, &got, nullptr) && got == size;
    CloseHandle(file);
    return ok;
}

// The same work a save does apart from serialising: write, flush, close.
bool RawWrite(const std::wstring& path, const std::vector<char>& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    ok = FlushFileBuffers(file) && ok;
    CloseHandle(file);
    return ok;
}

// Writing once into every page of fresh memory from the system, as much as a
// loaded tree takes: the share of a first load that is the system handing
// out pages, which no layout of the tree avoids.
bool TouchFreshMemory(double megabytes)
{
    const size_t bytes = static_cast<size_t>(megabytes * 1048576.0);
    auto* memory = static_cast<volatile char*>(VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (memory == nullptr)
        return false;
    for (size_t offset = 0; offset < bytes; offset += 4096)
        memory[offset] = 1;
    VirtualFree(const_cast<char*>(memory), 0, MEM_RELEASE);
    return true;
}

// Each round: prepare untimed, then the timed work.
template <typename Prepare, typename Work>
Bench::Samples Rounds(unsigned rounds, Prepare prepare, Work work, bool& ok)
{
    Bench::Samples samples;
    for (unsigned r = 0; r < rounds; ++r) {
        prepare();
        const double start = Bench::NowMs();
        ok = work() && ok;
        samples.Add(Bench::NowMs() - start);
    }
    return samples;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    unsigned keys = 100000;
    unsigned rounds = 3;
    bool unbuffered = false;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--unbuffered") == 0)
            unbuffered = true;
        else if (std::wcscmp(argv[i], L"--keys") == 0 && i + 1 < argc)
            keys = static_cast<unsigned>(std::wcstoul(argv[++i], nullptr, 10));
        else if (std::wcscmp(argv[i], L"--rounds") == 0 && i + 1 < argc)
            rounds = static_cast<unsigned>(std::wcstoul(argv[++i], nullptr, 10));
    }
    if (rounds == 0)
        rounds = 1;

    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring treePath = std::wstring(folder) + L"datatree_bench.kvdt";
    const std::wstring rawPath = std::wstring(folder) + L"datatree_bench.raw";

    bool ok = true;
    double start = Bench::NowMs();
    KV::DataKey tree;
    BuildCatalogue(tree, keys);
    const double buildTime = Bench::NowMs() - start;
    ok = tree.Save(treePath) && ok;

    const auto nothing = [] {};
    std::vector<char> bytes;
    const Bench::Samples rawRead = Rounds(rounds, nothing, [&] { return RawRead(treePath, bytes); }, ok);
    const double fileMegabytes = bytes.size() / 1048576.0;

    // Freeing a loaded tree is not part of loading it: each round's tree is
    // made before its timed load and released, timed on its own, after it.
    std::unique_ptr<KV::DataKey> loaded;
    Bench::Samples release;
    const auto freshTree = [&] {
        if (loaded) {
            const double freeing = Bench::NowMs();
            loaded.reset();
            release.Add(Bench::NowMs() - freeing);
        }
        loaded.reset(new KV::DataKey());
    };
    // The first tree loaded, as a program loads its files once: its time
    // (no memory a freed tree left behind is reused) and its memory.
    double treeMegabytes = Bench::PrivateMegabytes();
    Bench::Samples firstLoad;
    {
        KV::DataKey first;
        const double loading = Bench::NowMs();
        ok = first.Load(treePath) && ok;
        firstLoad.Add(Bench::NowMs() - loading);
        treeMegabytes = Bench::PrivateMegabytes() - treeMegabytes;
    }
    const Bench::Samples freshPages = Rounds(rounds, nothing, [&] { return TouchFreshMemory(treeMegabytes); }, ok);
    const Bench::Samples load = Rounds(rounds, freshTree, [&] { return loaded->Load(treePath); }, ok);
    ok = ok && loaded && loaded->GetKey("channels") && loaded->GetKey("channels")->GetKeyCount() == keys;

    // Where the time goes: parsing and serialising alone, in memory.
    KV::MemoryStream image;
    image.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    const Bench::Samples parse = Rounds(rounds, [&] { freshTree(); image.Seek(0, KV::SeekBegin); }, [&] {
        return loaded->Deserialize(image);
    }, ok);
    freshTree();
    loaded.reset();
    Bench::Samples fromFileStream;
    if (unbuffered) {
        fromFileStream = Rounds(1, freshTree, [&] {
            KV::FileStream file(treePath.c_str(), true);
            return loaded->Deserialize(file);
        }, ok);
        loaded.reset();
    }
    const Bench::Samples serialise = Rounds(rounds, nothing, [&] {
        KV::VectorStream out;
        tree.Serialize(out);
        return out.GetSize() == bytes.size();
    }, ok);
    const Bench::Samples rawWrite = Rounds(rounds, nothing, [&] { return RawWrite(rawPath, bytes); }, ok);
    const Bench::Samples save = Rounds(rounds, nothing, [&] { return tree.Save(treePath); }, ok);

    std::printf("data tree: %u keys, file %.2f MB, built in %.1f ms, %u rounds\n", keys, fileMegabytes, buildTime,
                rounds);
    Bench::PrintTime("raw read of the file", rawRead);
    Bench::PrintTime("data-tree load, first in the process", firstLoad);
    Bench::PrintTime("data-tree load, again", load);
    Bench::PrintRatio("first load / raw read", firstLoad, rawRead, 20);
    Bench::PrintRatio("load again / raw read", load, rawRead, 20);
    Bench::PrintTime("first touch of as much fresh memory", freshPages);
    Bench::PrintTime("raw write of the file", rawWrite);
    Bench::PrintTime("data-tree save", save);
    Bench::PrintRatio("data-tree save / raw write", save, rawWrite, 3);
    Bench::PrintTimeLimit("freeing a loaded tree", release, 5);
    Bench::PrintTime("in memory: parse", parse);
    Bench::PrintTime("in memory: serialise", serialise);
    std::printf("loaded tree: %.2f MB private memory for a %.2f MB file\n", treeMegabytes, fileMegabytes);
    Bench::PrintValueLimit("tree in memory / file size", treeMegabytes / fileMegabytes, "x", 3);
    std::printf("peak private bytes of the process: %.1f MB\n", Bench::PeakPrivateMegabytes());
    if (unbuffered)
        std::printf("load read scalar by scalar from the file stream: %.2f ms (%.1fx Load)\n",
                    fromFileStream.Best(), fromFileStream.Best() / load.Best());
    DeleteFileW(treePath.c_str());
    DeleteFileW(rawPath.c_str());
    if (!ok) {
        std::printf("FAILED: a load, save or raw transfer did not succeed\n");
        return 1;
    }
    return 0;
}
