// Whole-file transfer of a data tree: a load parses the file's mapped view;
// a save writes the serialised bytes in chunks into a file beside the target
// that then replaces it, so a failed save never leaves a broken file behind.
#include "foundation/DataKey.h"

#include "foundation/DataTreeCodec.h"
#include "foundation/FileStream.h"
#include "foundation/FileView.h"
#include "foundation/UtilitiesCommon.h"

#include <windows.h>

#include <new>
#include <string>

namespace KV {

namespace {

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : std::wstring(L".");
    if (slash == 0)
        return path.substr(0, 1);
    return path.substr(0, slash);
}

// Removes the temporary file unless it was moved into place.
class TempFile {
public:
    explicit TempFile(const std::wstring& folder)
    {
        wchar_t name[MAX_PATH];
        if (GetTempFileNameW(folder.c_str(), L"kvd", 0, name) != 0)
            m_path = name;
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile()
    {
        if (!m_path.empty())
            DeleteFileW(m_path.c_str());
    }
    const std::wstring& GetPath() const { return m_path; }
    void Release() { m_path.clear(); }

private:
    std::wstring m_path;
};

// A file the platform would refuse to overwrite in place is not replaced
// either (the rename alone would pass over a read-only flag on some systems).
bool MayReplace(const std::wstring& target)
{
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    return (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

bool ReplaceWithTree(const std::wstring& target, const DataKey& tree)
{
    if (target.empty() || !MayReplace(target))
        return false;
    TempFile temp(FolderOf(target));
    if (temp.GetPath().empty())
        return false;
    FileStream file;
    if (!file.Open(temp.GetPath().c_str(), false))
        return false;
    DataTreeWriter writer(&file);
    writer.WriteNode(tree);
    const bool written = writer.Finish() && file.Flush();
    file.Close();
    if (!written)
        return false;
    if (!MoveFileExW(temp.GetPath().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temp.Release();
    return true;
}

} // namespace

bool DataKey::Save(const wchar_t* path) const
{
    if (path == nullptr)
        return false;
    return ReplaceWithTree(path, *this);
}

bool DataKey::Save(const char* path) const
{
    if (path == nullptr)
        return false;
    return ReplaceWithTree(AnsiToWide(path), *this);
}

DataKey::ReadResult DataKey::LoadFile(const std::wstring& path)
{
    FileView file;
    if (!file.Open(path))
        return ReadResult::NotOpened;
    return DeserializeBytes(file.Data(), file.Size());
}

bool DataKey::Load(const wchar_t* path)
{
    if (path == nullptr)
        return false;
    try {
        return LoadFile(path) == ReadResult::Read;
    } catch (const std::bad_alloc&) {
        // No memory even for the path: the key is as it was.
        return false;
    }
}

bool DataKey::Load(const char* path)
{
    if (path == nullptr)
        return false;
    try {
        return LoadFile(AnsiToWide(path)) == ReadResult::Read;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace KV
