// The uninstall log.

#include "wizards/setup/UninstallLog.h"

#include "wizards/common/Text.h"
#include "wizards/setup/SetupContext.h"

void UninstallLog::Reset()
{
    m_tree = KV::DataKey();
}

bool UninstallLog::Load(const std::wstring& path)
{
    KV::DataKey loaded;
    if (!loaded.Load(path)) {
        Reset();
        return false;
    }
    m_tree = loaded;
    return true;
}

bool UninstallLog::Save(const std::wstring& path) const
{
    return m_tree.Save(path);
}

void UninstallLog::EnsureNodes()
{
    m_tree.GetKey("f", true);
    m_tree.GetKey("d", true);
    m_tree.GetKey("r", true);
}

void UninstallLog::AddFile(const std::wstring& path)
{
    Add("f", path);
}

void UninstallLog::AddDir(const std::wstring& path)
{
    Add("d", path);
}

bool UninstallLog::HasPath(const KV::DataKey& node, const std::wstring& path)
{
    for (const auto& entry : node.GetValues()) {
        const std::wstring* text = entry.second ? entry.second->GetStringW() : nullptr;
        if (text && *text == path)
            return true;
    }
    return false;
}

void UninstallLog::Add(const char* nodeName, const std::wstring& path)
{
    KV::DataKey* node = m_tree.GetKey(nodeName, true);
    if (HasPath(*node, path))
        return;
    // Named by the current count; a damaged log that already uses that
    // name must not lose the entry it holds.
    uint32_t number = node->GetValueCount();
    while (node->HasValue(DecimalText(static_cast<int>(number))))
        ++number;
    node->SetStringW(DecimalText(static_cast<int>(number)), path);
    // Fails harmlessly while the folder that holds the log is not made yet.
    if (!m_savePath.empty())
        Save(m_savePath);
}

uint32_t UninstallLog::GetFileCount() const
{
    const KV::DataKey* node = m_tree.GetKey("f");
    return node ? node->GetValueCount() : 0;
}

uint32_t UninstallLog::GetDirCount() const
{
    const KV::DataKey* node = m_tree.GetKey("d");
    return node ? node->GetValueCount() : 0;
}

std::wstring UninstallLog::GetFile(uint32_t index) const
{
    return Get("f", index);
}

std::wstring UninstallLog::GetDir(uint32_t index) const
{
    return Get("d", index);
}

std::wstring UninstallLog::Get(const char* nodeName, uint32_t index) const
{
    const KV::DataKey* node = m_tree.GetKey(nodeName);
    if (!node)
        return std::wstring();
    return node->GetStringW(DecimalText(static_cast<int>(index)), std::wstring());
}

void LogAddFile(const std::wstring& path)
{
    GetSetupContext().log.AddFile(path);
}

void LogAddDir(const std::wstring& path)
{
    GetSetupContext().log.AddDir(path);
}

bool LogHasPath(const KV::DataKey& node, const std::wstring& path)
{
    return UninstallLog::HasPath(node, path);
}
