#pragma once
// The install components: what the components page lists and the worker
// installs. The setup creates them in the order CM, CDS, CP; the program
// files themselves are extracted by the worker, not by a component.

#include <cstdint>
#include <string>

namespace KV {
class DataKey;
}

class CComponent {
public:
    CComponent(const std::string& id, bool required, bool listed, uint32_t size)
        : m_id(id), m_required(required), m_listed(listed), m_size(size)
    {
    }
    CComponent(const CComponent&) = delete;
    CComponent& operator=(const CComponent&) = delete;
    virtual ~CComponent() = default;

    virtual void Install() {}

    // The text of the component's language item.
    std::wstring GetName() const;
    // Its desc, or the name when the desc is empty.
    std::wstring GetDescription() const;

    const std::string& GetId() const { return m_id; }
    bool IsRequired() const { return m_required; }
    bool IsChecked() const { return m_checked; }
    void SetChecked(bool checked) { m_checked = checked; }
    bool IsListed() const { return m_listed; }
    uint32_t GetSize() const { return m_size; }

private:
    std::string m_id;
    bool m_required;
    bool m_checked = true;
    bool m_listed;
    uint32_t m_size;
};

// "CM": the program files (required); its size is the settings' fsize.
class CMainComponent : public CComponent {
public:
    CMainComponent();
};

// "CDS": the desktop shortcut of the settings node cds.
class CDesctopShortcutComponent : public CComponent {
public:
    // folder: where the link goes; empty: the user's or all users' desktop.
    explicit CDesctopShortcutComponent(const KV::DataKey& node, const std::wstring& folder = std::wstring());
    void Install() override;

private:
    const KV::DataKey& m_node;
    std::wstring m_folder;
};

// "CP" (never listed, so always installed): the Start-menu tree of the
// settings node cp.
class CProgramsComponent : public CComponent {
public:
    // The base folder is the user's or all users' programs menu.
    explicit CProgramsComponent(const KV::DataKey& node);
    CProgramsComponent(const KV::DataKey& node, const std::wstring& baseFolder);
    void Install() override;

    const std::wstring& GetBaseFolder() const { return m_baseFolder; }

private:
    // folder empty: the base folder (neither created nor logged).
    void AddShortcutTree(const KV::DataKey& node, const std::wstring& folder);

    const KV::DataKey& m_node;
    std::wstring m_baseFolder;
};

// Where the shortcuts go: the user's desktop and programs menu for a
// per-user install, else all users'.
std::wstring GetDesktopFolder();
std::wstring GetProgramsFolder();

// Bytes of the checked components.
uint32_t GetSpaceRequired();
