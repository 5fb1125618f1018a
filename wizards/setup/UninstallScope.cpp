// The places the uninstall may delete in.

#include "wizards/setup/UninstallScope.h"

#include "foundation/DataKey.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/Text.h"

#include <windows.h>

#include <shlwapi.h>

#include <algorithm>

namespace {

// Absolute, with "." and ".." resolved and no final backslash; short
// names of existing parts are made long so that both spellings compare.
std::wstring Canonical(const std::wstring& path)
{
    if (path.empty())
        return std::wstring();
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    }
    if (length == 0 || length >= full.size())
        return std::wstring();
    full.resize(length);
    std::wstring longForm(full.size() + MAX_PATH, L'\0');
    const DWORD longLength = ::GetLongPathNameW(full.c_str(), &longForm[0], static_cast<DWORD>(longForm.size()));
    if (longLength > 0 && longLength < longForm.size()) {
        longForm.resize(longLength);
        full = longForm;
    }
    while (full.size() > 3 && full.back() == L'\\')
        full.pop_back();
    return full;
}

bool SameText(const std::wstring& first, const std::wstring& second)
{
    return ::CompareStringOrdinal(first.c_str(), static_cast<int>(first.size()), second.c_str(),
                                  static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

bool IsInside(const std::wstring& path, const std::wstring& folder)
{
    if (path.size() < folder.size() || !SameText(path.substr(0, folder.size()), folder))
        return false;
    return path.size() == folder.size() || path[folder.size()] == L'\\';
}

std::wstring Combine(const std::wstring& folder, const std::wstring& name)
{
    wchar_t combined[MAX_PATH] = L"";
    if (folder.empty() || name.empty() || !::PathCombineW(combined, folder.c_str(), name.c_str()))
        return std::wstring();
    return combined;
}

std::wstring NameOf(const KV::DataKey* node)
{
    return GetSettingText(node, "n").value_or(std::wstring());
}

} // namespace

void CUninstallScope::AddFolder(const std::wstring& folder)
{
    const std::wstring canonical = Canonical(folder);
    if (canonical.empty() || ::PathIsRootW(canonical.c_str()))
        return;
    m_folders.push_back(canonical);
}

void CUninstallScope::AddFile(const std::wstring& path)
{
    // An empty path (a name that could not be made) adds nothing.
    const std::wstring canonical = Canonical(path);
    if (!canonical.empty())
        m_files.push_back(canonical);
}

bool CUninstallScope::Contains(const std::wstring& path) const
{
    const std::wstring canonical = Canonical(path);
    if (canonical.empty())
        return false;
    return std::any_of(m_files.begin(), m_files.end(),
                       [&](const std::wstring& file) { return SameText(canonical, file); }) ||
           std::any_of(m_folders.begin(), m_folders.end(),
                       [&](const std::wstring& folder) { return IsInside(canonical, folder); });
}

bool CUninstallScope::IsReachedThroughLink(const std::wstring& path, size_t from) const
{
    // Each folder from the one that ends at from (the scope's own) on the
    // way to path's parent.
    for (size_t end = path.find(L'\\', from); end != std::wstring::npos; end = path.find(L'\\', end + 1)) {
        if (IsLinkAttributes(m_attributes(path.substr(0, end).c_str())))
            return true;
    }
    return false;
}

bool CUninstallScope::MayDelete(const std::wstring& path) const
{
    const std::wstring canonical = Canonical(path);
    if (canonical.empty())
        return false;
    // A listed file lies in a folder of the system's (the desktop, the
    // programs menu), which is taken as the system keeps it: profiles often
    // have it redirected by a link, and the shortcut was made through it.
    if (std::any_of(m_files.begin(), m_files.end(), [&](const std::wstring& file) { return SameText(canonical, file); }))
        return true;
    bool inside = false;
    for (const std::wstring& folder : m_folders) {
        if (!IsInside(canonical, folder))
            continue;
        inside = true;
        // The scope's folder itself may be a link (a moved Start-menu or
        // program folder): what lies below it then lies elsewhere.
        if (IsReachedThroughLink(canonical, folder.size()))
            return false;
    }
    return inside;
}

bool IsLinkAttributes(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

CUninstallScope MakeUninstallScope(const KV::DataKey& settings, const std::wstring& installFolder,
                                   const std::wstring& desktopFolder, const std::wstring& programsFolder)
{
    CUninstallScope scope;
    AddProductPlaces(scope, settings, installFolder, desktopFolder, programsFolder);
    return scope;
}

void AddProductPlaces(CUninstallScope& scope, const KV::DataKey& settings, const std::wstring& installFolder,
                      const std::wstring& desktopFolder, const std::wstring& programsFolder)
{
    scope.AddFolder(installFolder);
    if (const KV::DataKey* desktop = settings.GetKey("cds"))
        scope.AddFile(Combine(desktopFolder, NameOf(desktop)));
    if (const KV::DataKey* programs = settings.GetKey("cp")) {
        // The shortcuts "s0", "s1", ... and the folders "d0", "d1", ... of
        // the menu's top level.
        const auto forEachNumbered = [programs, &programsFolder](const char* prefix, auto visit) {
            for (int k = 0;; ++k) {
                const KV::DataKey* child = programs->GetKey(prefix + DecimalText(k));
                if (!child)
                    break;
                visit(Combine(programsFolder, NameOf(child)));
            }
        };
        forEachNumbered("s", [&](const std::wstring& link) { scope.AddFile(link); });
        forEachNumbered("d", [&](const std::wstring& folder) { scope.AddFolder(folder); });
    }
}
