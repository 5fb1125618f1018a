#pragma once
// The catalogue most window tests run with: three countries, TV and radio,
// both back-ends and one back-end that does not exist, the locked category
// "ad", a grabber channel, streams at a local server's address.

#include "tests/player/PlayerTestSupport.h"

namespace PlayerTest {

// Stream addresses use http://127.0.0.1:port/.
std::vector<ChannelSpec> StandardChannels(unsigned short port);
// Writes them as the catalogue and makes main windows read it; with a
// radio stream, the radio channel ("mp3") plays and records that address.
void UseStandardCatalogue(unsigned short port, const std::wstring& radioStream = std::wstring());

// Channel ids of the standard catalogue.
namespace Ids {
constexpr const char* One = "de_tst_one";        // "Erstes Test", TV, two streams, recordable ("D")
constexpr const char* Radio = "de_tst_radio";    // "Bayern Welle", radio, "mp3"
constexpr const char* Night = "de_tst_night";    // "Nacht Kino", category "ad"
constexpr const char* Late = "de_tst_late";      // "Spät Kino", category "ad"
constexpr const char* Grabbed = "de_tst_grab";   // "Gegriffen TV", grabber "tvl"
constexpr const char* Web = "de_tst_web";        // "Netz Seite", back-end "e"
constexpr const char* Info = "fr_tst_info";      // "Info Matin", radio
constexpr const char* Cine = "fr_tst_cine";      // "Cine Soir", recordable ("D")
constexpr const char* NoBackEnd = "fr_tst_none"; // "Sans Lecteur", back-end "q"
constexpr const char* Cyrillic = "ru_tst_cyr";   // "Радио Тест", radio
constexpr const char* Kids = "ru_tst_kids";      // "Дети TV"
}  // namespace Ids

constexpr int StandardChannelCount = 11;

}  // namespace PlayerTest
