#include "foundation/ZipHandle.h"

#include "foundation/ZipReader.h"

namespace {

ZipResult g_lastResult = ZipOk;

ZipResult Record(ZipResult result)
{
    g_lastResult = result;
    return result;
}

// ZipOk when the handle is a reader's, else the code to report.
ZipResult CheckHandle(const ZipHandle* handle)
{
    if (!handle)
        return ZipErrorArguments;
    if (handle->kind != ZipHandleKindReader || !handle->reader)
        return ZipErrorHandleKind;
    return ZipOk;
}

} // namespace

ZipResult ZipReaderGetLastResult()
{
    return g_lastResult;
}

ZipHandle* ZipReaderOpen(const void* source, uint32_t length, int32_t sourceKind, const char* password)
{
    auto* reader = new ZipReader(password);
    const ZipResult result = reader->Open(source, length, sourceKind);
    Record(result);
    if (result != ZipOk) {
        delete reader;
        return nullptr;
    }
    return new ZipHandle{ZipHandleKindReader, reader};
}

ZipResult ZipReaderFindEntry(ZipHandle* handle, const wchar_t* name, bool ignoreCase, int32_t* index,
                             ZipEntryInfo* info)
{
    const ZipResult check = CheckHandle(handle);
    if (check != ZipOk)
        return Record(check);
    return Record(handle->reader->FindEntry(name, ignoreCase, index, info));
}

ZipResult ZipReaderExtract(ZipHandle* handle, int32_t index, void* target, uint32_t bufferSize,
                           int32_t targetKind)
{
    const ZipResult check = CheckHandle(handle);
    if (check != ZipOk)
        return Record(check);
    return Record(handle->reader->Extract(index, target, bufferSize, targetKind));
}

ZipResult ZipReaderGetEntry(ZipHandle* handle, int32_t index, ZipEntryInfo* info)
{
    const ZipResult check = CheckHandle(handle);
    if (check != ZipOk)
        return Record(check);
    if (info) {
        info->index = 0;
        info->name[0] = L'\0';
        info->uncompressedSize = 0;
    }
    return Record(handle->reader->GetEntry(index, info));
}

ZipResult ZipReaderSetBaseFolder(ZipHandle* handle, const wchar_t* folder)
{
    const ZipResult check = CheckHandle(handle);
    if (check != ZipOk)
        return Record(check);
    handle->reader->SetBaseFolder(folder);
    return Record(ZipOk);
}

ZipResult ZipReaderClose(ZipHandle* handle)
{
    const ZipResult check = CheckHandle(handle);
    if (check != ZipOk)
        return Record(check);
    const ZipResult result = handle->reader->Close();
    delete handle->reader;
    delete handle;
    return Record(result);
}
