// The install components.

#include "wizards/setup/Components.h"

#include "foundation/DataKey.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/Text.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/SetupArchive.h"
#include "wizards/setup/SetupContext.h"
#include "wizards/setup/Shortcut.h"

#include <shlobj.h>
#include <shlwapi.h>

namespace {

std::wstring ShellFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = L"";
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::wstring();
    return folder;
}

std::wstring Combine(const std::wstring& folder, const std::wstring& name)
{
    wchar_t combined[MAX_PATH] = L"";
    if (!::PathCombineW(combined, folder.c_str(), name.c_str()))
        return std::wstring();
    return combined;
}

// The install folder with the node's target file f appended.
std::wstring TargetInInstallFolder(const KV::DataKey& node)
{
    wchar_t target[MAX_PATH] = L"";
    lstrcpynW(target, GetInstallFolder().c_str(), MAX_PATH);
    const std::wstring file = GetSettingText(&node, "f").value_or(std::wstring());
    ::PathAppendW(target, file.c_str());
    return target;
}

void CreateShortcutFromNode(const KV::DataKey& node, const std::wstring& link)
{
    const std::optional<std::wstring> description = GetSettingText(&node, "d");
    CreateShortcut(TargetInInstallFolder(node), description ? description->c_str() : nullptr, link);
}

} // namespace

std::wstring CComponent::GetName() const
{
    return GetLanguageText(m_id);
}

std::wstring CComponent::GetDescription() const
{
    const std::wstring description = GetLanguageDesc(m_id);
    return description.empty() ? GetName() : description;
}

CMainComponent::CMainComponent() : CComponent("CM", true, true, GetMainFilesSize()) {}

CDesctopShortcutComponent::CDesctopShortcutComponent(const KV::DataKey& node, const std::wstring& folder)
    : CComponent("CDS", false, true, 0), m_node(node), m_folder(folder)
{
}

void CDesctopShortcutComponent::Install()
{
    const std::wstring folder = m_folder.empty() ? GetDesktopFolder() : m_folder;
    const std::wstring name = GetSettingText(&m_node, "n").value_or(std::wstring());
    CreateShortcutFromNode(m_node, Combine(folder, name));
}

CProgramsComponent::CProgramsComponent(const KV::DataKey& node)
    : CProgramsComponent(node, GetProgramsFolder())
{
}

CProgramsComponent::CProgramsComponent(const KV::DataKey& node, const std::wstring& baseFolder)
    : CComponent("CP", false, false, 0), m_node(node), m_baseFolder(baseFolder)
{
}

void CProgramsComponent::Install()
{
    AddShortcutTree(m_node, std::wstring());
}

void CProgramsComponent::AddShortcutTree(const KV::DataKey& node, const std::wstring& folder)
{
    const std::wstring current = folder.empty() ? m_baseFolder : folder;
    if (!folder.empty())
        CreateFolder(folder);
    for (int k = 0;; ++k) {
        const KV::DataKey* shortcut = node.GetKey("s" + DecimalText(k));
        if (!shortcut)
            break;
        const std::wstring name = GetSettingText(shortcut, "n").value_or(std::wstring());
        CreateShortcutFromNode(*shortcut, Combine(current, name));
    }
    for (int k = 0;; ++k) {
        const KV::DataKey* child = node.GetKey("d" + DecimalText(k));
        if (!child)
            break;
        const std::wstring name = GetSettingText(child, "n").value_or(std::wstring());
        AddShortcutTree(*child, Combine(current, name));
    }
}

std::wstring GetDesktopFolder()
{
    return ShellFolder(IsUserOnly() ? CSIDL_DESKTOPDIRECTORY : CSIDL_COMMON_DESKTOPDIRECTORY);
}

std::wstring GetProgramsFolder()
{
    return ShellFolder(IsUserOnly() ? CSIDL_PROGRAMS : CSIDL_COMMON_PROGRAMS);
}

uint32_t GetSpaceRequired()
{
    uint32_t total = 0;
    for (const auto& component : GetComponentList()) {
        if (component->IsChecked())
            total += component->GetSize();
    }
    return total;
}
