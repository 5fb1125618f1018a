#include "foundation/ZipArchive.h"

#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"
#include "foundation/ZipHandle.h"
#include "foundation/ZipNames.h"
#include "foundation/ZipReader.h"

#include <new>

namespace {

// Deflate cannot expand data by more than about 1032 to 1.
constexpr uint64_t MaxDeflateRatio = 1032;
constexpr uint64_t DeflateSlack = 1024;

bool IsBelievableSize(const ZipEntryInfo& info, uint64_t archiveSize, uint32_t maxBytes)
{
    if (info.uncompressedSize > ZipArchive::MaxReadEntrySize || info.uncompressedSize > maxBytes)
        return false;
    if (info.compressedSize > archiveSize)
        return false;
    return info.uncompressedSize <= static_cast<uint64_t>(info.compressedSize) * MaxDeflateRatio + DeflateSlack;
}

} // namespace

ZipArchive::~ZipArchive()
{
    Close();
}

bool ZipArchive::OpenSource(const void* source, int32_t kind)
{
    if (m_handle)
        return false;
    m_handle = ZipReaderOpen(source, 0, kind, nullptr);
    return m_handle != nullptr;
}

bool ZipArchive::OpenHandle(HANDLE file)
{
    return OpenSource(file, ZipSourceHandle);
}

bool ZipArchive::Open(const wchar_t* fileName)
{
    return OpenSource(fileName, ZipSourceFileName);
}

void ZipArchive::Close()
{
    if (m_handle)
        ZipReaderClose(m_handle);
    m_handle = nullptr;
}

std::unique_ptr<KV::MemoryStream> ZipArchive::ReadEntry(const wchar_t* name, uint32_t maxBytes)
{
    if (!m_handle)
        return nullptr;
    int32_t index = -1;
    ZipEntryInfo info;
    if (ZipReaderFindEntry(m_handle, name, true, &index, &info) != ZipOk)
        return nullptr;
    if (!IsBelievableSize(info, m_handle->reader->GetArchiveSize(), maxBytes))
        return nullptr;
    std::unique_ptr<KV::MemoryStream> stream(new (std::nothrow) KV::MemoryStream());
    if (!stream || (info.uncompressedSize > 0 && !stream->SetSize(info.uncompressedSize)))
        return nullptr;
    if (ZipReaderExtract(m_handle, index, stream->GetBuffer(), info.uncompressedSize, ZipTargetMemory) != ZipOk)
        return nullptr;
    return stream;
}

bool ZipArchive::ExtractEntry(const wchar_t* targetPath, const wchar_t* name)
{
    if (!m_handle || !targetPath)
        return false;
    int32_t index = -1;
    if (ZipReaderFindEntry(m_handle, name, true, &index, nullptr) != ZipOk)
        return false;
    return ZipReaderExtract(m_handle, index, const_cast<wchar_t*>(targetPath), 0, ZipTargetFile) == ZipOk;
}

bool ZipArchive::ExtractEntryInto(const wchar_t* folder, const wchar_t* fileName, const wchar_t* name)
{
    if (!m_handle || !folder || !*folder || !fileName)
        return false;
    const std::wstring relative = fileName;
    if (ZipIsAbsolutePath(relative) || !ZipIsSafeTargetPath(relative))
        return false;
    ZipReaderSetBaseFolder(m_handle, folder);
    return ExtractEntry(fileName, name);
}

bool ZipArchive::ExtractEntryToHandle(HANDLE file, const wchar_t* name, uint32_t maxBytes)
{
    if (!m_handle || file == INVALID_HANDLE_VALUE || !file)
        return false;
    int32_t index = -1;
    ZipEntryInfo info;
    if (ZipReaderFindEntry(m_handle, name, true, &index, &info) != ZipOk ||
        (info.attributes & FILE_ATTRIBUTE_DIRECTORY) || info.uncompressedSize > maxBytes)
        return false;
    return ZipReaderExtract(m_handle, index, file, 0, ZipTargetHandle) == ZipOk;
}

std::unique_ptr<KV::DataKey> ZipArchive::LoadDataKey(const wchar_t* name, bool* outOfMemory, uint32_t maxBytes)
{
    KV::DataKey::ReadResult result = KV::DataKey::ReadResult::NotOpened;
    try {
        std::unique_ptr<KV::MemoryStream> stream = ReadEntry(name, maxBytes);
        if (stream) {
            auto key = std::make_unique<KV::DataKey>();
            result = key->ReadFrom(*stream);
            if (result == KV::DataKey::ReadResult::Read) {
                if (outOfMemory)
                    *outOfMemory = false;
                return key;
            }
        }
    } catch (const std::bad_alloc&) {
        result = KV::DataKey::ReadResult::OutOfMemory;
    }
    if (outOfMemory)
        *outOfMemory = result == KV::DataKey::ReadResult::OutOfMemory;
    return nullptr;
}

bool ZipArchive::HasEntry(const wchar_t* name)
{
    return m_handle && ZipReaderFindEntry(m_handle, name, true, nullptr, nullptr) == ZipOk;
}
