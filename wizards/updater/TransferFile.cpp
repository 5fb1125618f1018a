// Temporary files of the transfers.

#include "wizards/updater/TransferFile.h"

#include "foundation/DataKey.h"
#include "foundation/WizardUtilities.h"
#include "wizards/common/ProductSettings.h"

#include <windows.h>

CTransferFile::CTransferFile(const wchar_t* extension) : m_path(KV::MakeTempFileName(L"kvu", 0, extension)) {}

CTransferFile::~CTransferFile()
{
    if (!m_path.empty())
        ::DeleteFileW(m_path.c_str());
}

std::wstring GetDownloadFolderUrl()
{
    const KV::DataKey* update = GetProductSettings().GetKey("update");
    return update ? update->GetStringW("folder", std::wstring()) : std::wstring();
}
