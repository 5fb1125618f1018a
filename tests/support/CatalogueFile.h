#pragma once
// A catalogue written for a test: its data tree saved as a file in a
// temporary folder and loaded from there as the player loads its
// catalogue. The list, the file and the folder go with the object.

#include "tests/support/TempFolder.h"

#include <memory>
#include <string>

class CChannel;
class CChannelList;

namespace KV {
class DataKey;
}

class TestCatalogueFile {
public:
    explicit TestCatalogueFile(const KV::DataKey& root);
    ~TestCatalogueFile();
    TestCatalogueFile(const TestCatalogueFile&) = delete;
    TestCatalogueFile& operator=(const TestCatalogueFile&) = delete;

    // The channel with the id ("country_key"), or null.
    CChannel* Channel(const std::string& id) const;

private:
    TempFolder m_folder;
    std::unique_ptr<CChannelList> m_list;
};
