#pragma once
// What the uninstall may delete. The log lies in a folder the user can
// write, so its lines are only trusted inside the places the setup itself
// fills: the install folder, the product's Start-menu folders and the
// shortcuts it makes in shared folders (desktop, programs menu).

#include <windows.h>

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
    // Whether the uninstall may delete path: it is a listed file, or it is
    // in one of the folders and no folder on the way to it from that folder
    // (the product's own, itself included) is a junction or a symbolic link
    // (deleting through one would reach what lies outside).
    // path itself may be a link: deleting it removes only the link.
    bool MayDelete(const std::wstring& path) const;

    // How MayDelete reads a folder's attributes (GetFileAttributesW unless
    // replaced).
    using AttributeReader = DWORD(WINAPI*)(const wchar_t* path);
    void SetAttributeReader(AttributeReader reader) { m_attributes = reader ? reader : &::GetFileAttributesW; }

private:
    // Whether a folder of path that ends at or after the position from (a
    // backslash, or path's end) is a link.
    bool IsReachedThroughLink(const std::wstring& path, size_t from) const;

    std::vector<std::wstring> m_folders;
    std::vector<std::wstring> m_files;
    AttributeReader m_attributes = &::GetFileAttributesW;
};

// Whether the attributes mark a junction or a symbolic link.
bool IsLinkAttributes(DWORD attributes);

// The scope of the product described by the settings: installFolder, the
// desktop shortcut of "cds" in desktopFolder, and from "cp" the top-level
// Start-menu folders and the shortcuts placed straight in programsFolder,
// named as the macros name them now.
CUninstallScope MakeUninstallScope(const KV::DataKey& settings, const std::wstring& installFolder,
                                   const std::wstring& desktopFolder, const std::wstring& programsFolder);
// The same places added to scope.
void AddProductPlaces(CUninstallScope& scope, const KV::DataKey& settings, const std::wstring& installFolder,
                      const std::wstring& desktopFolder, const std::wstring& programsFolder);
