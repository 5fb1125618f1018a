// Loading the wizards' data files.

#include "wizards/common/WizardDataFiles.h"

#include "foundation/DataKey.h"
#include "foundation/WizardUtilities.h"
#include "foundation/ZipArchive.h"

std::wstring GetProjectFilePath(const std::wstring& name)
{
    return KV::JoinPath(KV::JoinPath(KV::GetProgramFolder(), L"Project\\"), name);
}

std::unique_ptr<KV::DataKey> LoadArchiveDataFile(ZipArchive& archive, const wchar_t* name)
{
    return archive.LoadDataKey(name);
}

std::unique_ptr<KV::DataKey> LoadProjectDataFile(const wchar_t* name)
{
    return LoadDataTreeFile(GetProjectFilePath(name));
}

std::unique_ptr<KV::DataKey> LoadDataTreeFile(const std::wstring& path)
{
    auto tree = std::make_unique<KV::DataKey>();
    if (!tree->Load(path))
        return nullptr;
    return tree;
}
