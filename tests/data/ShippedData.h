#pragma once
// Loads the shipped data files of the build through the player's own
// loaders, the way the player does at start-up.

#include "player/catalogue/ChannelList.h"

#include <memory>
#include <string>
#include <vector>

namespace KV {
class DataKey;
}

namespace ShippedData {

// The image pack, then the skin (once per process; they stay loaded).
void LoadSkin();

// The language pack with the language of that code current.
void LoadLanguage(const std::wstring& code);

// The shipped catalogue, or the catalogue file of that name relative to the
// test's program folder, with the language code's texts and the skin
// loaded; the texts of the system message boxes it would show go to
// Messages instead. Every grabber is deleted again with the catalogue.
class Catalogue {
public:
    explicit Catalogue(const std::wstring& fileName = std::wstring(), const std::wstring& languageCode = L"en");
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    CChannelList& List() { return *m_list; }
    const std::vector<std::wstring>& Messages() const;

private:
    std::unique_ptr<CChannelList> m_list;
};

// Reads a shipped data-tree file as it is.
bool LoadTree(const wchar_t* fileName, KV::DataKey& root);

} // namespace ShippedData
