#include "tests/data/ShippedData.h"

#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "player/catalogue/SystemMessageBox.h"
#include "player/playback/UrlGrabber.h"
#include "tests/data/DataPaths.h"

namespace ShippedData {

namespace {

std::vector<std::wstring>& RecordedMessages()
{
    static std::vector<std::wstring> messages;
    return messages;
}

int WINAPI RecordMessage(HWND, const wchar_t* text, const wchar_t*, UINT)
{
    RecordedMessages().push_back(text ? text : L"");
    return IDOK;
}

} // namespace

void LoadSkin()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    KV::DataKey pack;
    if (pack.Load(DataPaths::ShippedPath(L"Recres.kvdt")))
        KV::Skin::LoadImages(pack.GetKey("images"));
    KV::Skin::Load(DataPaths::Shipped(L"Resources.kvdt"));
}

void LoadLanguage(const std::wstring& code)
{
    KV::Lang::SetWantedLanguageSource([code] { return code; });
    KV::Lang::Load(DataPaths::Shipped(L"Languages.lngp"));
}

Catalogue::Catalogue(const std::wstring& fileName, const std::wstring& languageCode)
{
    LoadSkin();
    LoadLanguage(languageCode);
    RecordedMessages().clear();
    SystemMessageBoxFunc previous = SetSystemMessageBoxFunc(&RecordMessage);
    m_list = std::make_unique<CChannelList>(fileName.empty() ? DataPaths::Shipped(L"Channels.brsc") : fileName);
    SetSystemMessageBoxFunc(previous);
}

Catalogue::~Catalogue()
{
    m_list.reset();
    CUrlGrabber::DeleteAll();
}

const std::vector<std::wstring>& Catalogue::Messages() const
{
    return RecordedMessages();
}

bool LoadTree(const wchar_t* fileName, KV::DataKey& root)
{
    return root.Load(DataPaths::ShippedPath(fileName));
}

} // namespace ShippedData
