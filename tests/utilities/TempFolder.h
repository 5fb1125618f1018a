#pragma once
// A fresh folder under the system's temporary folder, deleted with its
// content when the object goes.

#include <windows.h>

#include <string>

class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

// Whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
