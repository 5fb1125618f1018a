// Times loading and saving a catalogue-sized data tree against reading and
// writing the same bytes with plain platform calls.
//   datatree_bench [--keys N] [--rounds R] [--unbuffered]
// --unbuffered also times a load straight from the file stream, one platform
// read per scalar, for comparison with the whole-file read of Load.
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

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

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

// Best of rounds; prepare runs untimed before each round.
template <typename Prepare, typename Work>
double Best(unsigned rounds, Prepare prepare, Work work, bool& ok)
{
    double best = 1e300;
    for (unsigned r = 0; r < rounds; ++r) {
        prepare();
        const double start = Now();
        ok = work() && ok;
        const double elapsed = Now() - start;
        if (elapsed < best)
            best = elapsed;
    }
    return best;
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
    double start = Now();
    KV::DataKey tree;
    BuildCatalogue(tree, keys);
    const double buildTime = Now() - start;
    ok = tree.Save(treePath) && ok;

    const auto nothing = [] {};
    std::vector<char> bytes;
    const double rawRead = Best(rounds, nothing, [&] { return RawRead(treePath, bytes); }, ok);
    // Freeing a loaded tree is not part of loading it: each round's tree is
    // made before and released after its timed part.
    std::unique_ptr<KV::DataKey> loaded;
    const auto freshTree = [&] { loaded.reset(new KV::DataKey()); };
    const double load = Best(rounds, freshTree, [&] {
        return loaded->Load(treePath);
    }, ok);
    ok = ok && loaded && loaded->GetKey("channels") && loaded->GetKey("channels")->GetKeyCount() == keys;
    loaded.reset();

    // Where the time goes: parsing and serialising alone, in memory.
    KV::MemoryStream image;
    image.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    const double parse = Best(rounds, [&] { freshTree(); image.Seek(0, KV::SeekBegin); }, [&] {
        return loaded->Deserialize(image);
    }, ok);
    const double release = Best(1, nothing, [&] { loaded.reset(); return true; }, ok);
    double fromFileStream = 0;
    if (unbuffered) {
        fromFileStream = Best(1, freshTree, [&] {
            KV::FileStream file(treePath.c_str(), true);
            return loaded->Deserialize(file);
        }, ok);
        loaded.reset();
    }
    const double serialise = Best(rounds, nothing, [&] {
        KV::VectorStream out;
        tree.Serialize(out);
        return out.GetSize() == bytes.size();
    }, ok);
    const double rawWrite = Best(rounds, nothing, [&] { return RawWrite(rawPath, bytes); }, ok);
    const double save = Best(rounds, nothing, [&] { return tree.Save(treePath); }, ok);

    std::printf("keys %u, file %.2f MB, build %.1f ms\n", keys, bytes.size() / 1048576.0, buildTime);
    std::printf("raw read  %8.2f ms   load %8.2f ms   load/raw-read   %.2f\n", rawRead, load, load / rawRead);
    std::printf("raw write %8.2f ms   save %8.2f ms   save/raw-write  %.2f\n", rawWrite, save, save / rawWrite);
    std::printf("in memory: parse %.2f ms, serialise %.2f ms, free a loaded tree %.2f ms\n",
                parse, serialise, release);
    if (unbuffered)
        std::printf("load read scalar by scalar from the file stream: %.2f ms (%.1fx Load)\n",
                    fromFileStream, fromFileStream / load);
    DeleteFileW(treePath.c_str());
    DeleteFileW(rawPath.c_str());
    if (!ok) {
        std::printf("FAILED: a load, save or raw transfer did not succeed\n");
        return 1;
    }
    return 0;
}
