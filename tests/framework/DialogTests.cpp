// Dialogs from the test program's templates: message maps, reflection of
// control notifications, modal and modeless runs with keyboard navigation.
#include "FrameworkTestSupport.h"
#include "TestResources.h"

#include "framework/AppModule.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kAnswer = WM_APP + 1;

// An owner-drawn button that draws itself on the reflected WM_DRAWITEM and,
// when asked to, also consumes the reflected clicks.
class CDrawButton : public CWindowImpl<CDrawButton, CButton> {
public:
    MESSAGE_MAP_BEGIN(CDrawButton)
        ON_MESSAGE(OCM_DRAWITEM, OnDrawItem)
        ON_MESSAGE(OCM_COMMAND, OnCommand)
    MESSAGE_MAP_END()

    bool consumeClicks = false;
    int draws = 0;
    int clicks = 0;
    HWND drawnItem = nullptr;

private:
    LRESULT OnDrawItem(WindowMessage& msg)
    {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(msg.lParam);
        ++draws;
        drawnItem = item->hwndItem;
        ::FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        return TRUE;
    }
    LRESULT OnCommand(WindowMessage& msg)
    {
        if (!consumeClicks) {
            msg.handled = false;  // the parent's own handler gets it
            return 0;
        }
        ++clicks;
        return 0;
    }
};

class CMapDlg : public CDialogImpl<CMapDlg> {
public:
    enum { IDD = IDD_MAP_DIALOG };

    MESSAGE_MAP_BEGIN(CMapDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(kAnswer, OnAnswer)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
        ON_COMMAND_CODE(IDC_MAP_EDIT, EN_CHANGE, OnEditChange)
        REFLECT_NOTIFICATIONS()
        ON_COMMAND(IDC_DRAW_BUTTON, OnDrawButton)
        ON_COMMAND(IDOK, OnCommand)
        ON_COMMAND(IDCANCEL, OnCommand)
    MESSAGE_MAP_END()

    CDrawButton drawButton;
    LPARAM initParam = 0;
    int editChanges = 0;
    int drawButtonClicks = 0;
    std::vector<WORD> commands;
    std::vector<HWND> finalMessages;

protected:
    void OnFinalMessage(HWND hwnd) override { finalMessages.push_back(hwnd); }

private:
    LRESULT OnInitDialog(WindowMessage& msg)
    {
        initParam = msg.lParam;
        drawButton.SubclassWindow(GetDlgItem(IDC_DRAW_BUTTON));
        return TRUE;
    }
    LRESULT OnAnswer(WindowMessage&) { return 1234; }
    LRESULT OnColorDialog(WindowMessage&) { return reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH)); }
    LRESULT OnEditChange(WindowMessage&)
    {
        ++editChanges;
        return 0;
    }
    LRESULT OnDrawButton(WindowMessage&)
    {
        ++drawButtonClicks;
        return 0;
    }
    LRESULT OnCommand(WindowMessage& msg)
    {
        commands.push_back(msg.CommandId());
        return 0;
    }
};

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override { InitControls(); }
};

TEST_F(Dialogs, DialogFromTemplateGetsItsMessages)
{
    CMapDlg dlg;
    HWND hwnd = dlg.Create(nullptr, 77);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(dlg.IsModal());
    EXPECT_EQ(dlg.initParam, 77);
    EXPECT_EQ(dlg.GetWindowText(), L"Map dialog");

    // Results come back through DWLP_MSGRESULT, or directly for WM_CTLCOLOR*.
    EXPECT_EQ(dlg.SendMessage(kAnswer), 1234);
    HDC dc = ::GetDC(hwnd);
    EXPECT_EQ(dlg.SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)),
              reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH)));
    ::ReleaseDC(hwnd, dc);

    dlg.SetDlgItemText(IDC_MAP_EDIT, L"typed");
    EXPECT_EQ(dlg.editChanges, 1);

    dlg.DestroyWindow();
    ASSERT_EQ(dlg.finalMessages.size(), 1u);
    EXPECT_EQ(dlg.finalMessages[0], hwnd);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(Dialogs, ReflectedDrawItemReachesTheSubclassedButton)
{
    CMapDlg dlg;
    ASSERT_NE(dlg.Create(nullptr), nullptr);
    dlg.ShowWindow(SW_SHOW);
    dlg.UpdateWindow();
    PumpMessages();
    EXPECT_GE(dlg.drawButton.draws, 1);
    EXPECT_EQ(dlg.drawButton.drawnItem, dlg.drawButton.m_hWnd);
    dlg.DestroyWindow();
}

TEST_F(Dialogs, ReflectedCommandGoesOnToTheParentUnlessTheControlTakesIt)
{
    for (bool consume : {false, true}) {
        SCOPED_TRACE(consume ? "control consumes" : "control passes on");
        CMapDlg dlg;
        ASSERT_NE(dlg.Create(nullptr), nullptr);
        dlg.drawButton.consumeClicks = consume;
        dlg.drawButton.Click();
        EXPECT_EQ(dlg.drawButton.clicks, consume ? 1 : 0);
        EXPECT_EQ(dlg.drawButtonClicks, consume ? 0 : 1);
        dlg.DestroyWindow();
    }
}

// Ends with the command it gets; the keys reach it through the modal loop.
class CModalDlg : public CDialogImpl<CModalDlg> {
public:
    enum { IDD = IDD_MODAL_DIALOG };
    static constexpr INT_PTR kGaveUp = 99;

    MESSAGE_MAP_BEGIN(CModalDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_TIMER, OnTimer)
        ON_COMMAND(IDOK, OnEnd)
        ON_COMMAND(IDCANCEL, OnEnd)
    MESSAGE_MAP_END()

    WPARAM key = 0;
    bool wasModal = false;
    bool ownerDisabled = false;

private:
    LRESULT OnInitDialog(WindowMessage&)
    {
        wasModal = IsModal();
        ownerDisabled = !::IsWindowEnabled(::GetWindow(m_hWnd, GW_OWNER));
        HWND edit = GetDlgItem(IDC_MODAL_EDIT);
        ::SetFocus(edit);
        ::PostMessageW(edit, WM_KEYDOWN, key, 1);
        SetTimer(1, 10000);  // never keep the test waiting if a key is lost
        return FALSE;        // the focus is set
    }
    LRESULT OnTimer(WindowMessage&)
    {
        EndDialog(kGaveUp);
        return 0;
    }
    LRESULT OnEnd(WindowMessage& msg)
    {
        EndDialog(msg.CommandId());
        return 0;
    }
};

TEST_F(Dialogs, ModalDialogRunsOverItsOwnerAndEndsWithItsResult)
{
    struct Case {
        WPARAM key;
        INT_PTR result;
    };
    for (Case c : {Case{VK_RETURN, IDOK}, Case{VK_ESCAPE, IDCANCEL}}) {
        SCOPED_TRACE(c.key);
        CTestFrame owner;
        ASSERT_NE(owner.CreateFrame(), nullptr);
        CModalDlg dlg;
        dlg.key = c.key;
        EXPECT_EQ(dlg.DoModal(owner), c.result);
        EXPECT_TRUE(dlg.wasModal);
        EXPECT_TRUE(dlg.ownerDisabled);
        EXPECT_TRUE(owner.IsWindowEnabled());
        EXPECT_EQ(dlg.m_hWnd, nullptr);
    }
}

// A filter of the thread's loop, as a control inside a modal dialog
// registers one: it notes the keys it is offered and takes Escape.
class CKeyFilter : public CMessageFilter {
public:
    static constexpr INT_PTR kTaken = 77;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != WM_KEYDOWN)
            return FALSE;
        keys.push_back(msg->wParam);
        if (msg->wParam != VK_ESCAPE)
            return FALSE;
        ::EndDialog(::GetAncestor(msg->hwnd, GA_ROOT), kTaken);
        return TRUE;
    }
    std::vector<WPARAM> keys;
};

TEST_F(Dialogs, ModalLoopOffersItsMessagesToTheThreadsFiltersOnce)
{
    CMessageLoop loop;
    ASSERT_TRUE(AppModule().AddMessageLoop(&loop));
    CKeyFilter filter;
    loop.AddMessageFilter(&filter);
    struct Case {
        WPARAM key;
        INT_PTR result;
    };
    // Enter goes on to the dialog manager; Escape is the filter's.
    for (Case c : {Case{VK_RETURN, IDOK}, Case{VK_ESCAPE, CKeyFilter::kTaken}}) {
        SCOPED_TRACE(c.key);
        filter.keys.clear();
        CTestFrame owner;
        ASSERT_NE(owner.CreateFrame(), nullptr);
        CModalDlg dlg;
        dlg.key = c.key;
        EXPECT_EQ(dlg.DoModal(owner), c.result);
        EXPECT_EQ(filter.keys, std::vector<WPARAM>{c.key});
    }
    // Past the modal run the filters are the loop's alone again.
    filter.keys.clear();
    CTestFrame frame;
    ASSERT_NE(frame.CreateFrame(), nullptr);
    MSG key{frame, WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
    ::IsDialogMessageW(frame, &key);
    EXPECT_TRUE(filter.keys.empty());
    loop.RemoveMessageFilter(&filter);
    AppModule().RemoveMessageLoop();
}

TEST_F(Dialogs, MissingTemplateFailsTheModalRun)
{
    CModalDlg dlg;
    EXPECT_EQ(dlg.DoModalFromResource(4242, nullptr), -1);
    EXPECT_EQ(dlg.CreateFromResource(4242, nullptr), nullptr);
}

class CChildDlg : public CDialogImpl<CChildDlg> {
public:
    enum { IDD = IDD_CHILD_DIALOG };
    MESSAGE_MAP_BEGIN(CChildDlg)
        ON_COMMAND(IDC_CHILD_BUTTON, OnButton)
    MESSAGE_MAP_END()
    int presses = 0;

private:
    LRESULT OnButton(WindowMessage&)
    {
        ++presses;
        return 0;
    }
};

// A modeless dialog with a child dialog, navigated by keys through the
// message filter of the loop.
class ModelessDialog : public Dialogs, public CMessageFilter {
protected:
    void SetUp() override
    {
        Dialogs::SetUp();
        ASSERT_NE(dlg.Create(nullptr), nullptr);
        ASSERT_NE(child.Create(dlg), nullptr);
        child.SetWindowPos(nullptr, 200, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        dlg.ShowWindow(SW_SHOW);
        dlg.SetForegroundWindow();
        PumpMessages();
        loop.AddMessageFilter(this);
    }
    void TearDown() override
    {
        if (dlg.m_hWnd != nullptr)
            dlg.DestroyWindow();
    }
    BOOL PreTranslateMessage(MSG* msg) override { return ::IsDialogMessageW(dlg, msg); }

    void PressKey(int focusId, WPARAM key)
    {
        ::SetFocus(dlg.GetDlgItem(focusId));
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 1);
        PumpMessages(&loop);
    }

    CMapDlg dlg;
    CChildDlg child;
    CMessageLoop loop;
};

TEST_F(ModelessDialog, TabMovesIntoTheChildDialog)
{
    EXPECT_TRUE(dlg.IsChild(child));
    EXPECT_EQ(child.GetParent().m_hWnd, dlg.m_hWnd);
    PressKey(IDC_MAP_EDIT, VK_TAB);
    EXPECT_EQ(::GetFocus(), child.GetDlgItem(IDC_CHILD_BUTTON).m_hWnd);
}

TEST_F(ModelessDialog, EnterAndEscapeBecomeOkAndCancel)
{
    PressKey(IDC_MAP_EDIT, VK_RETURN);
    PressKey(IDC_MAP_EDIT, VK_ESCAPE);
    EXPECT_EQ(dlg.commands, (std::vector<WORD>{IDOK, IDCANCEL}));
}

TEST_F(ModelessDialog, WithoutTheFilterKeysAreNoNavigation)
{
    loop.RemoveMessageFilter(this);
    PressKey(IDC_MAP_EDIT, VK_TAB);
    PressKey(IDC_MAP_EDIT, VK_RETURN);
    EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(IDC_MAP_EDIT).m_hWnd);
    EXPECT_TRUE(dlg.commands.empty());
}

}  // namespace
