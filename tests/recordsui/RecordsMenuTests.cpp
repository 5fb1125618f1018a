// The records list's popup menu: what it offers for each state of a
// record, and the road from a right click to the page's command.
#include "tests/recordsui/RecordsPageFixture.h"

#include "foundation/Lang.h"
#include "player/app/Messages.h"
#include "player/ui/RecordsMenu.h"

#include <string>
#include <vector>

namespace RecordsUiTest {
namespace {

using RecordsMenuTest = RecordsPageTest;

// Item ids of a menu, 0 for a separator.
std::vector<UINT> MenuIds(HMENU menu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        ids.push_back((info.fType & MFT_SEPARATOR) ? 0 : info.wID);
    }
    return ids;
}

std::wstring MenuText(HMENU menu, UINT id)
{
    wchar_t text[128] = {};
    ::GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
    return text;
}

TEST_F(RecordsMenuTest, TheMenuOffersWhatTheRecordsStateAllows)
{
    ASSERT_TRUE(folder->Write(L"Datei#de_kanal#10.bin", 100));
    ASSERT_TRUE(folder->Write(L"Fremd#zz_weg#7.bin", 10));
    Start();
    const auto [connecting, recording, failed, scheduled, closing] = AddOneInEachState();

    struct Case {
        const char* what;
        const CRecord* record;
        std::vector<UINT> ids;
    };
    const Case cases[] = {
        {"a found file", Find(L"Datei"),
         {ID_RECORD_PLAY, 0, ID_RECORD_PLAY_CHANNEL, 0, ID_RECORD_OPEN_FOLDER, 0, ID_RECORD_DELETE}},
        {"a file without a channel", Find(L"Fremd"), {ID_RECORD_PLAY, 0, ID_RECORD_OPEN_FOLDER, 0, ID_RECORD_DELETE}},
        {"a scheduled record", scheduled, {ID_RECORD_PLAY_CHANNEL, 0, ID_RECORD_PROPERTIES, 0, ID_RECORD_DELETE}},
        {"a failed record", failed, {ID_RECORD_PLAY_CHANNEL, 0, ID_RECORD_PROPERTIES, 0, ID_RECORD_DELETE}},
        {"a connecting record", connecting, {ID_RECORD_PLAY_CHANNEL, 0, ID_RECORD_STOP}},
        {"a recording that has data", recording,
         {ID_RECORD_PLAY, 0, ID_RECORD_PLAY_CHANNEL, 0, ID_RECORD_STOP, 0, ID_RECORD_OPEN_FOLDER}},
    };
    for (const Case& c : cases) {
        ASSERT_NE(nullptr, c.record) << c.what;
        const HMENU menu = host->List().PrepareMenu(*c.record);
        ASSERT_EQ(host->List().GetPopupMenu(), menu) << c.what;
        EXPECT_EQ(c.ids, MenuIds(menu)) << c.what;
        for (UINT id : c.ids) {
            if (id != 0) {
                EXPECT_EQ(KV::Lang::GetText(RecordsMenu::TextId(id)), MenuText(menu, id)) << c.what << " " << id;
            }
        }
    }
    // A record on its way out gets no menu at all.
    EXPECT_EQ(nullptr, host->List().PrepareMenu(*closing));
    EXPECT_TRUE(RecordsMenu::OfferedCommands(*closing).empty());
}

// Watches for the popup menu of this thread while it tracks, and acts on
// it once.
class MenuDriver {
public:
    explicit MenuDriver(std::function<void(HWND menuWindow)> action) : m_action(std::move(action))
    {
        s_driver = this;
        m_timer = ::SetTimer(nullptr, 0, 10, &MenuDriver::OnTimer);
    }
    ~MenuDriver()
    {
        ::KillTimer(nullptr, m_timer);
        s_driver = nullptr;
    }
    bool Shown() const { return m_shown; }

private:
    static BOOL CALLBACK FindMenu(HWND window, LPARAM found)
    {
        wchar_t name[16] = {};
        ::GetClassNameW(window, name, 16);
        if (::IsWindowVisible(window) && std::wstring(name) == L"#32768") {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_driver != nullptr)
            s_driver->Tick();
    }
    void Tick()
    {
        HWND menu = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindMenu, reinterpret_cast<LPARAM>(&menu));
        if (menu == nullptr)
            return;
        if (!m_shown) {
            m_shown = true;
            m_action(menu);
        } else if (++m_ticks == 300) {
            ::EndMenu();  // a menu left open fails the test instead of hanging it
        }
    }

    static MenuDriver* s_driver;
    std::function<void(HWND)> m_action;
    UINT_PTR m_timer = 0;
    bool m_shown = false;
    int m_ticks = 0;
};

MenuDriver* MenuDriver::s_driver = nullptr;

TEST_F(RecordsMenuTest, ARightClickSelectsTheItemAndTheChosenCommandReachesThePage)
{
    ASSERT_TRUE(folder->Write(L"Datei#de_kanal#10.bin", 100));
    Start();
    CRecord* scheduled = AddScheduled(L"Bald", Radio());
    CRecord* file = Find(L"Datei");
    host->Select(scheduled);

    auto rightClick = [&](int index, int y = -1) {
        RECT rect{};
        host->List().GetItemRect(index, &rect);
        const int at = y >= 0 ? y : (rect.top + rect.bottom) / 2;
        ::PostMessageW(host->List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(60, at));
        UiTest::Pump();
    };

    std::vector<UINT> shownIds;
    {
        // Down to the first item (play) and take it.
        MenuDriver driver([&](HWND menuWindow) {
            shownIds = MenuIds(host->List().GetPopupMenu());
            UiTest::PostKey(menuWindow, VK_DOWN);
            UiTest::PostKey(menuWindow, VK_RETURN);
        });
        rightClick(host->IndexOf(file));
        EXPECT_TRUE(driver.Shown());
    }
    UiTest::Pump();
    EXPECT_EQ(file, host->page.GetSelectedRecord());
    EXPECT_EQ(ID_RECORD_PLAY, shownIds.empty() ? 0u : shownIds[0]);
    ASSERT_EQ(1u, host->main.received.size());
    EXPECT_EQ(WM_PLAY_RECORD, host->main.received[0].message);
    EXPECT_EQ(reinterpret_cast<LPARAM>(file), host->main.received[0].lParam);

    // Below the last item, and on a record being deleted: no menu.
    CRecord* closing = AddRecording(L"Weg");
    const int count = host->List().GetCount();
    host->Select(file);
    {
        MenuDriver driver([](HWND) { ::EndMenu(); });
        rightClick(0, count * CRecordListBox::ItemHeight + 10);
        EXPECT_FALSE(driver.Shown());
        EXPECT_EQ(file, host->page.GetSelectedRecord());

        HoldRecorderStops(true);
        closing->Delete();
        rightClick(host->IndexOf(closing));
        EXPECT_FALSE(driver.Shown());
        EXPECT_EQ(closing, host->page.GetSelectedRecord());
        HoldRecorderStops(false);
    }
}

} // namespace
} // namespace RecordsUiTest
