#include "tools/kvdt/TreeFiles.h"

#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"

namespace Kvdt {

bool ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    KV::FileStream file;
    if (!file.Open(path.c_str(), true))
        return false;
    const uint32_t size = file.GetSize();
    if (size == INVALID_FILE_SIZE)
        return false;
    std::string content(size, '\0');
    if (size != 0 && !file.ReadExact(&content[0], size))
        return false;
    bytes.swap(content);
    return true;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    KV::FileStream file;
    if (!file.Open(path.c_str(), false))
        return false;
    const bool written = file.WriteExact(bytes.data(), static_cast<uint32_t>(bytes.size()));
    const bool flushed = file.Flush();
    file.Close();
    return written && flushed;
}

bool LoadTreeFile(const std::wstring& path, KV::DataKey& root, std::string& error, std::string& warning)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        error = "cannot read the file";
        return false;
    }
    KV::MemoryStream data;
    if (!bytes.empty())
        data.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    data.Seek(0, KV::SeekBegin);
    if (!root.Deserialize(data)) {
        error = "not a data-tree file, or a damaged one";
        return false;
    }
    warning.clear();
    const uint32_t trailing = data.GetRemaining();
    const uint32_t consumed = static_cast<uint32_t>(bytes.size()) - trailing;
    KV::MemoryStream rewritten;
    root.Serialize(rewritten);
    if (rewritten.GetSize() != consumed) {
        warning = "the tree takes " + std::to_string(rewritten.GetSize()) + " of the file's " + std::to_string(consumed) +
                  " bytes (repeated names, damaged sub-keys or long-form counts)";
    }
    if (trailing != 0) {
        warning += warning.empty() ? "" : "; ";
        warning += std::to_string(trailing) + " bytes after the tree are ignored";
    }
    return true;
}

} // namespace Kvdt
