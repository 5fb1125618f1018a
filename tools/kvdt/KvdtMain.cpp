// kvdt: data-tree files to JSON text and back (see README.md).
//   kvdt dump FILE [OUT]                  text of FILE to stdout, or into OUT
//   kvdt build TEXT OUT [--depfile DEP]   data-tree file OUT from TEXT
//   ... [--scramble]                      OUT in the channel catalogue's scrambled form
#include "tools/kvdt/ConsoleOutput.h"
#include "tools/kvdt/Depfile.h"
#include "tools/kvdt/KvdtText.h"
#include "tools/kvdt/PlatformPath.h"
#include "tools/kvdt/TreeFiles.h"
#include "tools/kvdt/Utf.h"

#include "foundation/MemoryStream.h"
#include "foundation/CatalogueScramble.h"

#include <algorithm>
#include <new>

#include <string>
#include <vector>

namespace {

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

const char Usage[] =
    "usage: kvdt dump FILE [OUT]\n"
    "       kvdt build TEXT OUT [--depfile DEPFILE] [--scramble]\n"
    "dump writes the JSON text of a data-tree file (UTF-8) to stdout or OUT;\n"
    "build writes the data-tree file that a JSON text describes;\n"
    "--scramble writes it in the channel catalogue's scrambled form.\n";

// Messages stay on one line whatever a path or a name holds.
int Report(const std::wstring& subject, const std::string& message, int code = ExitFailed)
{
    std::string line = "kvdt: " + (subject.empty() ? std::string() : Kvdt::Utf16ToUtf8(subject) + ": ") + message;
    for (char& c : line) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    Kvdt::WriteStandardError(line + "\n");
    return code;
}

int Dump(const std::wstring& file, const std::wstring* out)
{
    KV::DataKey root;
    std::string error;
    std::string warning;
    if (!Kvdt::LoadTreeFile(Kvdt::FullPlatformPath(file), root, error, warning))
        return Report(file, error);
    if (!warning.empty())
        Report(file, "warning: " + warning);
    const std::string text = Kvdt::DumpTree(root);
    if (out) {
        if (!Kvdt::WriteWholeFile(Kvdt::FullPlatformPath(*out), text))
            return Report(*out, "cannot write the file");
    } else if (!Kvdt::WriteStandardOutput(text)) {
        return Report(std::wstring(), "cannot write to the standard output");
    }
    return ExitOk;
}

bool SaveTree(const KV::DataKey& root, const std::wstring& path, bool scramble)
{
    return scramble ? SaveScrambledCatalogue(root, path) : root.Save(path);
}

int Build(const std::wstring& source, const std::wstring& out, const std::wstring* depfile, bool scramble)
{
    const std::wstring sourcePath = Kvdt::FullPlatformPath(source);
    std::string text;
    if (!Kvdt::ReadWholeFile(sourcePath, text))
        return Report(source, "cannot read the file");
    KV::DataKey root;
    std::string error;
    std::vector<std::wstring> filesRead;
    if (!Kvdt::BuildTree(text, Kvdt::FolderOf(sourcePath), root, error, &filesRead))
        return Report(source, error);
    const std::wstring outPath = Kvdt::FullPlatformPath(out);
    if (!SaveTree(root, outPath, scramble))
        return Report(out, "cannot write the file");
    if (depfile) {
        std::vector<std::string> dependencies{Kvdt::UnixPath(sourcePath)};
        for (const auto& path : filesRead)
            dependencies.push_back(Kvdt::UnixPath(path));
        const std::string dependencyText = Kvdt::DepfileText(Kvdt::UnixPath(outPath), dependencies);
        if (!Kvdt::WriteWholeFile(Kvdt::FullPlatformPath(*depfile), dependencyText))
            return Report(*depfile, "cannot write the file");
    }
    return ExitOk;
}

} // namespace

namespace {

int KvdtMain(int argc, wchar_t** argv)
{
    std::vector<std::wstring> args(argv + 1, argv + argc);
    const std::wstring command = args.empty() ? std::wstring() : args[0];
    const auto scrambleFlag = std::find(args.begin(), args.end(), L"--scramble");
    const bool scramble = command == L"build" && scrambleFlag != args.end();
    if (scramble)
        args.erase(scrambleFlag);
    if (command == L"dump" && (args.size() == 2 || args.size() == 3))
        return Dump(args[1], args.size() == 3 ? &args[2] : nullptr);
    if (command == L"build" && args.size() == 3)
        return Build(args[1], args[2], nullptr, scramble);
    if (command == L"build" && args.size() == 5 && args[3] == L"--depfile")
        return Build(args[1], args[2], &args[4], scramble);
    if (args.size() == 1 && (command == L"help" || command == L"--help" || command == L"-h" || command == L"/?")) {
        Kvdt::WriteStandardOutput(Usage);
        return ExitOk;
    }
    Kvdt::WriteStandardError(Usage);
    return ExitUsage;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // A file too large for the memory left is reported, not an abort.
    try {
        return KvdtMain(argc, argv);
    } catch (const std::bad_alloc&) {
        Kvdt::WriteStandardError("kvdt: out of memory\n");
        return ExitFailed;
    }
}
