#include "tests/player/FixtureChannels.h"

#include "player/app/MainDlg.h"

namespace PlayerTest {

std::vector<ChannelSpec> StandardChannels(unsigned short port)
{
    const std::wstring base = L"http://127.0.0.1:" + std::to_wstring(port) + L"/";
    auto make = [](const char* country, const char* key, const wchar_t* name, const char* category,
                   const char* player, bool radio, const char* recorder) {
        ChannelSpec channel;
        channel.country = country;
        channel.key = key;
        channel.name = name;
        channel.category = category;
        channel.player = player;
        channel.radio = radio;
        channel.recorder = recorder;
        return channel;
    };
    std::vector<ChannelSpec> channels;
    channels.push_back(make("de", "tst_one", L"Erstes Test", "n", "m", false, "D"));
    channels.back().streams = {{512, base + L"one-512.asf"}, {256, base + L"one-256.asf"}};
    channels.push_back(make("de", "tst_radio", L"Bayern Welle", "mu", "m", true, "mp3"));
    channels.back().streams = {{128, base + L"bayern.mp3"}};
    channels.push_back(make("de", "tst_night", L"Nacht Kino", "ad", "m", false, ""));
    channels.back().streams = {{400, base + L"night.asf"}};
    channels.push_back(make("de", "tst_late", L"Sp\u00e4t Kino", "ad", "m", false, ""));
    channels.back().streams = {{300, base + L"late.asf"}};
    channels.push_back(make("de", "tst_grab", L"Gegriffen TV", "e", "m", false, ""));
    channels.back().grabber = "tvl";
    channels.back().streams = {{350, L"channel-7"}};
    channels.push_back(make("de", "tst_web", L"Netz Seite", "sp", "e", false, ""));
    channels.back().streams = {{0, base + L"sport.html"}};
    channels.push_back(make("fr", "tst_info", L"Info Matin", "n", "m", true, ""));
    channels.back().streams = {{96, base + L"info.mp3"}};
    channels.push_back(make("fr", "tst_cine", L"Cine Soir", "mo", "m", false, "D"));
    channels.back().streams = {{700, base + L"cine.asf"}};
    channels.push_back(make("fr", "tst_none", L"Sans Lecteur", "n", "q", false, ""));
    channels.back().streams = {{128, base + L"none.asf"}};
    channels.push_back(make("ru", "tst_cyr", L"\u0420\u0430\u0434\u0438\u043e \u0422\u0435\u0441\u0442", "l", "m", true, ""));
    channels.back().streams = {{64, base + L"cyr.mp3"}};
    channels.push_back(make("ru", "tst_kids", L"\u0414\u0435\u0442\u0438 TV", "k", "m", false, ""));
    channels.back().streams = {{256, base + L"kids.asf"}};
    return channels;
}

void UseStandardCatalogue(unsigned short port, const std::wstring& radioStream)
{
    std::vector<ChannelSpec> channels = StandardChannels(port);
    if (!radioStream.empty())
        for (ChannelSpec& channel : channels)
            if (channel.country + "_" + channel.key == Ids::Radio)
                channel.streams = {{128, radioStream}};
    CMainDlg::SetCatalogueFile(WriteCatalogue(L"Channels.brsc", channels));
}

}  // namespace PlayerTest
