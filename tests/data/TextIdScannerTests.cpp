// The scan that finds the player's text ids in its sources.
#include "tests/data/TextIdScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Ids = std::vector<std::string>;

struct ScanCase {
    const char* what;
    SourceKind kind;
    const char* text;
    Ids ids;
};

const ScanCase Cases[] = {
    {"a lookup's literal, with any prefix", SourceKind::Code,
     "auto& t = KV::Lang::GetText(\"str_play\"); SetText(\"ver_text\"); ShowMsgBox(\"msg_recording\", 2);",
     {"str_play", "ver_text", "msg_recording"}},
    {"a literal in a table, with an id prefix", SourceKind::Code,
     "const Item items[] = {{32786, \"menu_play\"}, {32787, \"menu_add_favorites\"}};",
     {"menu_play", "menu_add_favorites"}},
    {"not ids: texts, formats, prefixes, other shapes", SourceKind::Code,
     "Draw(L\"str_wide\"); f(\"str_%d\"); g(\"c_\" + id); h(\"Menu_Play\"); k(\"cur_channel\"); m(u8\"str_u8\");",
     {"str_u8"}},
    {"a skin getter's names share the prefixes", SourceKind::Code,
     "KV::Skin::GetImage(\"menu_down\"); GetFont(\"menu_u\"); GetColor(\"tab_0\"); GetText(\"tab_channels\");",
     {"tab_channels"}},
    {"comments and character literals", SourceKind::Code,
     "// GetText(\"str_gone\")\n/* \"msg_gone\" */ char q = '\"'; GetText(\"str_kept\"); // '\n",
     {"str_kept"}},
    {"a raw literal and escapes", SourceKind::Code,
     "GetText(R\"(str_raw)\"); f(\"say \\\"hi\\\"\"); GetText(\"str_after\");", {"str_raw", "str_after"}},
    {"a resource's texts", SourceKind::Resource,
     "IDD_SETTINGS DIALOGEX 0, 0, 276, 162\nCAPTION \"dlg_settings\"\nFONT 8, \"MS Shell Dlg\"\nBEGIN\n"
     "  DEFPUSHBUTTON \"OK\",1,165,141,50,14\n  CONTROL \"\",1022,\"msctls_trackbar32\",0x1000,0,0,78,16\n"
     "  LTEXT \"ver\",1034,71,27,92,8\n  MENUITEM \"menu_play\", 32786\n  LTEXT \"say \"\"static_not\"\"\",-1,0,0,1,1\nEND\n",
     {"dlg_settings", "menu_play"}},
};

TEST(TextIdScanner, FindsTheIdsOfASource)
{
    for (const auto& c : Cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FindTextIds(c.text, c.kind), c.ids);
    }
}

TEST(TextIdScanner, KnowsTheShapeOfAnId)
{
    for (const char* id : {"str_day_1", "menu_tools_topmost", "c_de", "a_b"})
        EXPECT_TRUE(HasIdShape(id)) << id;
    for (const char* notId : {"menu", "str_", "_str", "str__x", "Str_x", "str-x", "1_x", "str x", ""})
        EXPECT_FALSE(HasIdShape(notId)) << notId;
}

} // namespace
