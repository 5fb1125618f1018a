#pragma once
// A fresh folder under the system's temporary folder, deleted with all its
// content (sub-folders and read-only files too) when the object goes; and
// whole-file reads and writes for the tests' fixtures.

#include <cstddef>
#include <string>
#include <vector>

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

// A TempFolder as the records manager takes its folder: the path ends with
// a backslash.
class TempRecordsFolder {
public:
    // Ends with a backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + name; }
    // Names of the files in the folder, sorted.
    std::vector<std::wstring> Files() const;
    // A file of as many bytes.
    bool Write(const std::wstring& name, size_t bytes) const;

private:
    TempFolder m_folder;
    std::wstring m_path = m_folder.Path() + L"\\";
};

// Removes a folder with everything in it (no error when it is missing).
void RemoveTree(const std::wstring& folder);
// Whole content of a file (also one still open for writing elsewhere); empty
// when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);
// Creates or replaces the file with exactly these bytes.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
