#pragma once
// A fresh folder under the system's temporary folder, deleted with all its
// content (sub-folders and read-only files too) when the object goes; and
// whole-file reads and writes for the tests' fixtures.

#include <string>

class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // Full path without a final separator; empty when no folder could be made.
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }
    // Writes the file name (which may name sub-folders, made as needed).
    bool Write(const std::wstring& name, const std::string& bytes) const;

private:
    std::wstring m_path;
};

// Removes a folder with everything in it (no error when it is missing).
void RemoveTree(const std::wstring& folder);
// Whole content of a file (also one still open for writing elsewhere); empty
// when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);
// Creates or replaces the file with exactly these bytes.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
