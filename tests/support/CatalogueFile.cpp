#include "tests/support/CatalogueFile.h"

#include "foundation/DataKey.h"
#include "player/catalogue/ChannelList.h"

TestCatalogueFile::TestCatalogueFile(const KV::DataKey& root)
{
    const std::wstring file = m_folder.File(L"Channels.brsc");
    root.Save(file.c_str());
    m_list = std::make_unique<CChannelList>(file);
}

TestCatalogueFile::~TestCatalogueFile() = default;

CChannel* TestCatalogueFile::Channel(const std::string& id) const
{
    return m_list->FindChannel(id);
}
