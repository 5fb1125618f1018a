#include "tests/player/MainWindowFixture.h"

#include "foundation/Utilities.h"
#include "player/app/Settings.h"
#include "tests/support/TempFolder.h"

namespace PlayerTest {

void MainWindowTest::SetUp()
{
    ASSERT_TRUE(m_server.IsRunning());
    ResetSettings();
    CSettings::SetBool("automatic_update", false);
    CSettings::SetBool("automatic_cupdate", false);
    UseStandIns();
    RecordShellCalls();
    UseStandardCatalogue(m_server.GetPort());
    // Recordings of the tests stay out of the user's documents.
    RemoveTree(RecordsFolder());
    CMainDlg::SetRecordsFolder(RecordsFolder());
}

std::wstring MainWindowTest::RecordsFolder()
{
    return KV::GetProgramFile(L"player_records\\");
}

void MainWindowTest::TearDown()
{
    Close();
    m_main.reset();
    TheStandIns().Clear();
    Pump();
    RemoveTree(RecordsFolder());
}

void MainWindowTest::Open()
{
    m_main = std::make_unique<CMainDlg>();
    ASSERT_NE(m_main->Create(nullptr), nullptr);
    m_main->ShowWindow(SW_SHOW);
    SetClientSize(790, 480);
    Pump();
}

void MainWindowTest::Close()
{
    if (m_main && m_main->IsWindow())
        m_main->DestroyWindow();
    Pump();
}

void MainWindowTest::SetClientSize(int width, int height)
{
    RECT rect{0, 0, width, height};
    ::AdjustWindowRectEx(&rect, m_main->GetStyle(), FALSE, m_main->GetExStyle());
    m_main->SetWindowPos(nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
}

CChannel* MainWindowTest::Channel(const char* id) const
{
    return m_main->GetCatalogue()->FindChannel(id);
}

void MainWindowTest::DoubleClick(CChannelListBox& list, const CChannel* channel)
{
    const int index = list.FindChannel(channel);
    ASSERT_GE(index, 0);
    list.SetTopIndex(index);
    RECT row{};
    ASSERT_TRUE(list.GetItemRect(index, &row));
    PostDoubleClick(list, POINT{(row.left + row.right) / 2, (row.top + row.bottom) / 2});
    Pump();
}

void MainWindowTest::ClickTab(int index)
{
    CTab& tab = Panel().GetTab();
    const RECT rect = tab.GetTabRect(index);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::PostMessageW(tab, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(tab, WM_LBUTTONUP, 0, at);
    Pump();
}

void MainWindowTest::Play(const CChannel* channel)
{
    m_main->SendMessage(WM_PLAY_CHANNEL, 0, reinterpret_cast<LPARAM>(channel));
    Pump();
}

}  // namespace PlayerTest
