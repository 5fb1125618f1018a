#pragma once
// What the uninstall may delete. The log lies in a folder the user can
// write, so its lines are only trusted inside the places the setup itself
// fills: the install folder, the product's Start-menu folders and the
// shortcuts it makes in shared folders (desktop, programs menu).

#include <string>
#include <vector>

namespace KV {
class DataKey;
}

class CUninstallScope {
public:
    // The folder itself and everything below it. A drive root or an empty
    // text adds nothing: it would let the log name any file.
    void AddFolder(const std::wstring& folder);
    // Exactly this file.
    void AddFile(const std::wstring& path);
    // Whether path, made absolute with "." and ".." resolved, is one of the
    // files or lies in (or is) one of the folders; case is ignored.
    bool Contains(const std::wstring& path) const;

private:
    std::vector<std::wstring> m_folders;
    std::vector<std::wstring> m_files;
};

// The scope of the product described by the settings: installFolder, the
// desktop shortcut of "cds" in desktopFolder, and from "cp" the top-level
// Start-menu folders and the shortcuts placed straight in programsFolder.
CUninstallScope MakeUninstallScope(const KV::DataKey& settings, const std::wstring& installFolder,
                                   const std::wstring& desktopFolder, const std::wstring& programsFolder);
