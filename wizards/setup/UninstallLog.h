#pragma once
// The uninstall log (setupkit.dat in the program folder): every file,
// shortcut and folder the setup creates, as full paths in the nodes "f"
// (files) and "d" (folders), StringW values named "0", "1", ... in the order
// they were added. "r" exists and stays empty.

#include "foundation/DataKey.h"

#include <cstdint>
#include <string>

constexpr const char* UninstallLogRootName = "Kestrivo Setup Uninstall Log";
constexpr const wchar_t* UninstallLogFileName = L"setupkit.dat";

class UninstallLog {
public:
    // An empty log with an empty root name.
    void Reset();
    // Replaces the log with the file's tree; false (and an empty log) when
    // the file is missing or unreadable.
    bool Load(const std::wstring& path);
    bool Save(const std::wstring& path) const;
    // From now on every added path is saved at once to path (empty: no
    // longer), so that an install cut short leaves a log that lists what
    // it made: each path is logged before it is created.
    void SaveOnEveryAdd(const std::wstring& path) { m_savePath = path; }

    void SetRootName(const std::string& name) { m_tree.SetName(name); }
    // Gets or creates "f", "d" and "r".
    void EnsureNodes();

    // Adds path unless the node already lists exactly that text.
    void AddFile(const std::wstring& path);
    void AddDir(const std::wstring& path);
    // Whether a StringW value of node equals path (case-sensitive).
    static bool HasPath(const KV::DataKey& node, const std::wstring& path);

    uint32_t GetFileCount() const;
    uint32_t GetDirCount() const;
    // The value named by index; empty when missing.
    std::wstring GetFile(uint32_t index) const;
    std::wstring GetDir(uint32_t index) const;

    const KV::DataKey& GetTree() const { return m_tree; }

private:
    void Add(const char* nodeName, const std::wstring& path);
    std::wstring Get(const char* nodeName, uint32_t index) const;

    KV::DataKey m_tree;
    std::wstring m_savePath;
};

// The run's log (in the setup context).
void LogAddFile(const std::wstring& path);
void LogAddDir(const std::wstring& path);
bool LogHasPath(const KV::DataKey& node, const std::wstring& path);
