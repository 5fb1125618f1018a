#pragma once
// Helpers of the zip reader tests: the build-time fixtures, scratch folders
// that clean up after themselves, file contents and times.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Times the fixture script gives its source files ("UT" fields).
constexpr int64_t FixtureModifiedTime = 1500000000;
constexpr int64_t FixtureAccessedTime = 1600000000;
// The crafted archives' "UT" modification time.
constexpr int64_t CraftedModifiedTime = 1234567890;

// A file of build/tests/zip_fixtures (the tests run in build/tests).
std::wstring FixturePath(const std::wstring& name);
// A source file the fixture archives were made from.
std::wstring FixtureSourcePath(const std::wstring& name);

std::vector<uint8_t> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

uint64_t Ticks(const FILETIME& time);
uint64_t UnixTicks(int64_t seconds);
// The reader's reading of a DOS date and time (a local time) as UTC ticks.
uint64_t DosTicks(int year, int month, int day, int hour, int minute, int second);

// Deletes a folder tree, read-only files included.
void DeleteTree(const std::wstring& path);
// Relative paths of every file and folder below root, sorted; folders end
// in a backslash.
std::vector<std::wstring> ListTree(const std::wstring& root);

// A fresh folder under the temporary folder, deleted with its content.
class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    // Ends in a backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + name; }

private:
    std::wstring m_path;
};

// Makes the current directory a folder for as long as it lives.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::wstring& folder);
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
    ~CurrentDirectory();

private:
    std::wstring m_previous;
};
