#pragma once
// Small helpers shared by the foundation tests: byte vectors from hex text,
// memory streams over fixed bytes, and a scratch folder per test.

#include "foundation/MemoryStream.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace TestBytes {

using Bytes = std::vector<uint8_t>;

// "4B 56 44 54" (spaces and commas ignored) to bytes.
inline Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    int high = -1;
    for (char c : hex) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            continue;
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    return bytes;
}

inline Bytes Append(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes ContentOf(const KV::MemoryStream& stream)
{
    const uint8_t* data = stream.GetBuffer();
    return data ? Bytes(data, data + stream.GetSize()) : Bytes();
}

// A stream holding the bytes, positioned at 0.
inline void Fill(KV::MemoryStream& stream, const Bytes& bytes)
{
    stream.Close();
    if (!bytes.empty())
        stream.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    stream.Seek(0, KV::SeekBegin);
}

inline Bytes ReadFileBytes(const std::wstring& path)
{
    Bytes bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    const DWORD size = GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD got = 0;
    if (size != 0 && (!ReadFile(file, bytes.data(), size, &got, nullptr) || got != size))
        bytes.clear();
    CloseHandle(file);
    return bytes;
}

inline bool WriteFileBytes(const std::wstring& path, const Bytes& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = bytes.empty() ||
        (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size());
    CloseHandle(file);
    return ok;
}

// Passes every call on to a memory stream, so readers take their path for
// streams that are not memory streams.
class ForwardingStream : public KV::Stream {
public:
    explicit ForwardingStream(const Bytes& bytes) { Fill(m_inner, bytes); }
    uint32_t Write(const void* source, uint32_t count) override { return m_inner.Write(source, count); }
    uint32_t Read(void* target, uint32_t count) override { return m_inner.Read(target, count); }
    uint32_t Seek(int32_t offset, uint32_t origin) override { return m_inner.Seek(offset, origin); }
    uint32_t GetSize() const override { return m_inner.GetSize(); }
    uint32_t SetSize(uint32_t size) override { return m_inner.SetSize(size); }
    uint32_t GetPosition() const override { return m_inner.GetPosition(); }
    void Close() override { m_inner.Close(); }

private:
    KV::MemoryStream m_inner;
};

// Files in a folder (names only), "." and ".." left out.
inline std::vector<std::wstring> ListFolder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// A fresh, empty folder in the working directory, removed with its files
// (one level deep) at the end of the test.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name)
    {
        wchar_t current[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, current);
        m_path = std::wstring(current) + L"\\" + name;
        Remove();
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    void Remove()
    {
        for (const std::wstring& name : ListFolder(m_path)) {
            const std::wstring path = File(name);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileW(path.c_str()))
                RemoveDirectoryW(path.c_str());
        }
        RemoveDirectoryW(m_path.c_str());
    }

    std::wstring m_path;
};

} // namespace TestBytes
