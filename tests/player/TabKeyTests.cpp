// Right and Left on a focused tab strip, typed on the keyboard: in the main
// window's channel panel and in the settings dialog, whose modal loop hands
// the keys to the strip as the program's own loop does.

#include "player/resources/Resource.h"
#include "player/ui/SettingsDlg.h"
#include "tests/player/MainWindowFixture.h"

#include <functional>
#include <vector>

namespace PlayerTest {
namespace {

using TabKeys = MainWindowTest;

TEST_F(TabKeys, RightAndLeftSwitchTheChannelPanelsTabs)
{
    Open();
    CTab& tab = Panel().GetTab();
    ASSERT_GE(tab.GetTabCount(), 2);
    tab.SelectTab(0);
    Main().SetForegroundWindow();
    tab.SetFocus();
    ASSERT_EQ(::GetFocus(), tab.m_hWnd);

    PressRealKey(VK_RIGHT);
    EXPECT_TRUE(PumpUntil([&] { return tab.GetSelectedIndex() == 1; }, 2000));
    EXPECT_EQ(::GetFocus(), tab.m_hWnd);
    PressRealKey(VK_LEFT);
    EXPECT_TRUE(PumpUntil([&] { return tab.GetSelectedIndex() == 0; }, 2000));
    // At the first tab Left changes nothing, and the focus stays.
    PressRealKey(VK_LEFT);
    PumpFor(200);
    EXPECT_EQ(tab.GetSelectedIndex(), 0);
    EXPECT_EQ(::GetFocus(), tab.m_hWnd);
}

// The page of the settings dialog that shows: the pages follow the strip in
// the z-order.
int ShownSettingsPage(HWND dialog)
{
    HWND window = ::GetDlgItem(dialog, IDC_SETTINGS_TAB);
    for (int index = 0; index < 3; ++index) {
        window = ::GetWindow(window, GW_HWNDNEXT);
        if (window != nullptr && ::IsWindowVisible(window))
            return index;
    }
    return -1;
}

// Steps run one after another from a thread timer, which the modal loop of
// the dialog dispatches; each step sees the dialog.
class ModalScript {
public:
    explicit ModalScript(std::vector<std::function<void(HWND)>> steps) : m_steps(std::move(steps))
    {
        Current() = this;
        m_timer = ::SetTimer(nullptr, 0, 300, &OnTimer);
    }
    ~ModalScript()
    {
        ::KillTimer(nullptr, m_timer);
        Current() = nullptr;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;
    bool Done() const { return m_next == m_steps.size(); }

private:
    static ModalScript*& Current()
    {
        static ModalScript* current = nullptr;
        return current;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalScript* script = Current();
        HWND dialog = ::GetActiveWindow();
        if (script == nullptr || script->Done() || dialog == nullptr)
            return;
        script->m_steps[script->m_next++](dialog);
        // Never left open: a lost step ends the dialog.
        if (script->Done() && ::IsWindow(dialog))
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }

    std::vector<std::function<void(HWND)>> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
};

TEST_F(TabKeys, RightAndLeftSwitchTheSettingsDialogsTabs)
{
    Open();
    std::vector<int> shown;
    HWND settings = nullptr;
    ModalScript script({
        [&](HWND dialog) {
            settings = dialog;
            HWND tab = ::GetDlgItem(dialog, IDC_SETTINGS_TAB);
            ::SetForegroundWindow(dialog);
            ::SetFocus(tab);
            shown.push_back(ShownSettingsPage(dialog));
            PressRealKey(VK_LEFT);  // back to the first, whichever was remembered
            PressRealKey(VK_LEFT);
        },
        [&](HWND dialog) {
            shown.push_back(ShownSettingsPage(dialog));
            PressRealKey(VK_RIGHT);
        },
        [&](HWND dialog) {
            shown.push_back(ShownSettingsPage(dialog));
            PressRealKey(VK_RIGHT);
        },
        [&](HWND dialog) {
            shown.push_back(ShownSettingsPage(dialog));
            PressRealKey(VK_LEFT);
        },
        [&](HWND dialog) {
            shown.push_back(ShownSettingsPage(dialog));
            // The dialog is still open: the arrows did not move the focus
            // away or end it.
            shown.push_back(::GetFocus() == ::GetDlgItem(dialog, IDC_SETTINGS_TAB) ? 1 : 0);
        },
    });
    Main().SendMessage(WM_COMMAND, ID_TOOLS_SETTINGS);
    EXPECT_TRUE(script.Done());
    ASSERT_NE(settings, nullptr);
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_GE(shown[0], 0);
    EXPECT_EQ(shown[1], 0);
    EXPECT_EQ(shown[2], 1);
    EXPECT_EQ(shown[3], 2);
    EXPECT_EQ(shown[4], 1);
    EXPECT_EQ(shown[5], 1) << "the strip kept the focus";
    EXPECT_EQ(CSettingsDlg::GetRememberedTab(), 1);
}

}  // namespace
}  // namespace PlayerTest
