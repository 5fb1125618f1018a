// Windows created by the framework and controls subclassed by it: their
// message maps get the messages, the rest reaches the default procedure.
#include "FrameworkTestSupport.h"

#include "framework/Controls.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

namespace {

constexpr UINT kAnswer = WM_APP + 1;     // handled: returns 42
constexpr UINT kBaseOnly = WM_APP + 2;   // handled by the base class's map
constexpr UINT kPassOn = WM_APP + 3;     // seen, then left to the default

class CBaseWindow : public CWindowImpl<CBaseWindow> {
public:
    MESSAGE_MAP_BEGIN(CBaseWindow)
        ON_MESSAGE(kBaseOnly, OnBaseOnly)
    MESSAGE_MAP_END()

    std::vector<HWND> finalMessages;

protected:
    void OnFinalMessage(HWND hwnd) override { finalMessages.push_back(hwnd); }

private:
    LRESULT OnBaseOnly(WindowMessage&) { return 7; }
};

class CRecordingWindow : public CBaseWindow {
public:
    MESSAGE_MAP_BEGIN(CRecordingWindow)
        ON_MESSAGE(WM_CREATE, OnCreate)
        ON_MESSAGE(kAnswer, OnAnswer)
        ON_MESSAGE(kPassOn, OnPassOn)
        ON_MESSAGE(WM_SETTEXT, OnSetText)
        ON_COMMAND_RANGE(800, 810, OnStreamCommand)
        ON_NOTIFY(104, NM_CLICK, OnTabClick)
        CHAIN_MESSAGE_MAP(CBaseWindow)
    MESSAGE_MAP_END()

    bool created = false;
    LRESULT createResult = 0;
    int passedOn = 0;
    int textsSeen = 0;
    std::vector<WORD> streamCommands;
    int tabClicks = 0;

private:
    LRESULT OnCreate(WindowMessage& msg)
    {
        created = msg.hwnd == m_hWnd;  // bound before WM_CREATE arrives
        return createResult;
    }
    LRESULT OnAnswer(WindowMessage&) { return 42; }
    LRESULT OnPassOn(WindowMessage& msg)
    {
        ++passedOn;
        msg.handled = false;
        return 99;  // not the result: the default procedure's is
    }
    LRESULT OnSetText(WindowMessage& msg)
    {
        ++textsSeen;
        msg.handled = false;  // DefWindowProc stores the text
        return 0;
    }
    LRESULT OnStreamCommand(WindowMessage& msg)
    {
        streamCommands.push_back(msg.CommandId());
        return 0;
    }
    LRESULT OnTabClick(WindowMessage&)
    {
        ++tabClicks;
        return 0;
    }
};

TEST(WindowImpl, CreatedWindowGetsItsMessagesAndTheRestGoesToTheDefault)
{
    CRecordingWindow window;
    HWND hwnd = window.Create(nullptr, nullptr, L"first", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(window.created);
    EXPECT_EQ(CWindowImplRoot::FromHandle(hwnd), static_cast<CWindowImplRoot*>(&window));

    EXPECT_EQ(window.SendMessage(kAnswer), 42);
    EXPECT_EQ(window.SendMessage(kBaseOnly), 7);
    EXPECT_EQ(window.SendMessage(kPassOn), 0);
    EXPECT_EQ(window.passedOn, 1);
    window.SetWindowText(L"second");
    EXPECT_EQ(window.textsSeen, 1);
    EXPECT_EQ(window.GetWindowText(), L"second");

    for (WPARAM id : {799, 800, 805, 810, 811})
        window.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    EXPECT_EQ(window.streamCommands, (std::vector<WORD>{800, 805, 810}));
    NMHDR click{nullptr, 104, static_cast<UINT>(NM_CLICK)};
    NMHDR otherCode{nullptr, 104, static_cast<UINT>(NM_DBLCLK)};
    NMHDR otherControl{nullptr, 105, static_cast<UINT>(NM_CLICK)};
    for (NMHDR* notice : {&click, &otherCode, &otherControl})
        window.SendMessage(WM_NOTIFY, notice->idFrom, reinterpret_cast<LPARAM>(notice));
    EXPECT_EQ(window.tabClicks, 1);

    window.DestroyWindow();
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_EQ(CWindowImplRoot::FromHandle(hwnd), nullptr);
    ASSERT_EQ(window.finalMessages.size(), 1u);
    EXPECT_EQ(window.finalMessages[0], hwnd);
}

TEST(WindowImpl, RefusedCreationFailsAndEndsWithTheFinalMessage)
{
    CRecordingWindow window;
    window.createResult = -1;
    EXPECT_EQ(window.Create(nullptr, nullptr, L"refused", WS_OVERLAPPEDWINDOW), nullptr);
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_EQ(window.finalMessages.size(), 1u);
}

// A window on the heap that closes itself from its own handler and deletes
// itself in its final message.
class CSelfDeletingWindow : public CWindowImpl<CSelfDeletingWindow> {
public:
    explicit CSelfDeletingWindow(bool* deleted) : m_deleted(deleted) {}
    ~CSelfDeletingWindow() { *m_deleted = true; }

    MESSAGE_MAP_BEGIN(CSelfDeletingWindow)
        ON_MESSAGE(WM_CLOSE, OnClose)
    MESSAGE_MAP_END()

protected:
    void OnFinalMessage(HWND) override { delete this; }

private:
    LRESULT OnClose(WindowMessage&)
    {
        DestroyWindow();  // WM_NCDESTROY arrives while WM_CLOSE is still running
        return 0;
    }
    bool* m_deleted;
};

TEST(WindowImpl, WindowDestroyedInsideItsOwnHandlerIsDeletedAfterwards)
{
    bool deleted = false;
    auto* window = new CSelfDeletingWindow(&deleted);
    HWND hwnd = window->Create(nullptr, nullptr, L"closing", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(hwnd, nullptr);
    ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(::IsWindow(hwnd));
}

// A window whose handlers fail by throwing, as one that runs out of memory.
class CThrowingWindow : public CWindowImpl<CThrowingWindow> {
public:
    explicit CThrowingWindow(bool* deleted = nullptr) : m_deleted(deleted) {}
    ~CThrowingWindow()
    {
        if (m_deleted != nullptr)
            *m_deleted = true;
    }

    MESSAGE_MAP_BEGIN(CThrowingWindow)
        ON_MESSAGE(WM_SETTEXT, OnThrow)
        ON_MESSAGE(kPassOn, OnThrow)
        ON_MESSAGE(kAnswer, OnAnswer)
        ON_MESSAGE(WM_CLOSE, OnClose)
    MESSAGE_MAP_END()

    int finalMessages = 0;

protected:
    void OnFinalMessage(HWND) override
    {
        ++finalMessages;
        if (m_deleted != nullptr)
            delete this;
    }

private:
    LRESULT OnThrow(WindowMessage&) { throw std::bad_alloc(); }
    LRESULT OnAnswer(WindowMessage&) { return 42; }
    LRESULT OnClose(WindowMessage&)
    {
        DestroyWindow();
        throw std::bad_alloc();
    }
    bool* m_deleted;
};

TEST(WindowImpl, AHandlerThatThrowsLeavesItsMessageToTheDefaultAndTheWindowWorksOn)
{
    CThrowingWindow window;
    HWND hwnd = window.Create(nullptr, nullptr, L"first", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(hwnd, nullptr);
    LRESULT passed = -1;
    EXPECT_NO_THROW(passed = window.SendMessage(kPassOn));
    EXPECT_EQ(passed, 0);
    EXPECT_NO_THROW(window.SetWindowText(L"second"));
    EXPECT_EQ(window.GetWindowText(), L"second");  // the default procedure set it
    EXPECT_EQ(window.SendMessage(kAnswer), 42);
    window.DestroyWindow();
    EXPECT_EQ(window.finalMessages, 1);
    EXPECT_EQ(CWindowImplRoot::FromHandle(hwnd), nullptr);
}

TEST(WindowImpl, AWindowThatThrowsAfterDestroyingItselfIsStillDeletedAfterwards)
{
    bool deleted = false;
    auto* window = new CThrowingWindow(&deleted);
    HWND hwnd = window->Create(nullptr, nullptr, L"closing", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_NO_THROW(::SendMessageW(hwnd, WM_CLOSE, 0, 0));
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(::IsWindow(hwnd));
}

// A window whose owner lets it go from inside the window's own handler (a
// page that closes its frame): the window goes at once, the object only
// once the handler returned.
struct OwnedWindowProbe {
    bool deleted = false;
    bool deletedWhileHandlerRan = false;
    bool windowGoneInHandler = false;
};

class COwnedWindow;
CWindowObjectPtr<COwnedWindow> g_owned;
bool g_handlerRunning = false;

class COwnedWindow : public CWindowImpl<COwnedWindow> {
public:
    explicit COwnedWindow(OwnedWindowProbe* probe) : m_probe(probe) {}
    ~COwnedWindow() override
    {
        m_probe->deleted = true;
        m_probe->deletedWhileHandlerRan = g_handlerRunning;
    }

    MESSAGE_MAP_BEGIN(COwnedWindow)
        ON_MESSAGE(kAnswer, OnLetGo)
    MESSAGE_MAP_END()

private:
    LRESULT OnLetGo(WindowMessage&)
    {
        g_handlerRunning = true;
        const HWND own = m_hWnd;
        g_owned.reset();
        m_probe->windowGoneInHandler = !::IsWindow(own);
        g_handlerRunning = false;
        return 42;
    }
    OwnedWindowProbe* m_probe;
};

TEST(WindowImpl, OwnerLettingGoInsideAHandlerDeletesTheObjectAfterIt)
{
    OwnedWindowProbe inHandler;
    g_owned.reset(new COwnedWindow(&inHandler));
    HWND hwnd = g_owned->Create(nullptr, nullptr, L"owned", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(::SendMessageW(hwnd, kAnswer, 0, 0), 42);
    EXPECT_FALSE(g_owned);
    EXPECT_TRUE(inHandler.windowGoneInHandler);
    EXPECT_TRUE(inHandler.deleted);
    EXPECT_FALSE(inHandler.deletedWhileHandlerRan);

    // Outside any handler window and object go at once.
    OwnedWindowProbe outside;
    g_owned.reset(new COwnedWindow(&outside));
    HWND second = g_owned->Create(nullptr, nullptr, L"owned", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(second, nullptr);
    g_owned.reset();
    EXPECT_TRUE(outside.deleted);
    EXPECT_FALSE(::IsWindow(second));
}

class CCheckBox : public CWindowImpl<CCheckBox, CButton> {
public:
    MESSAGE_MAP_BEGIN(CCheckBox)
        ON_MESSAGE(kAnswer, OnAnswer)
        ON_MESSAGE(BM_SETCHECK, OnSetCheck)
    MESSAGE_MAP_END()

    int checksSeen = 0;

private:
    LRESULT OnAnswer(WindowMessage&) { return 42; }
    LRESULT OnSetCheck(WindowMessage& msg)
    {
        ++checksSeen;
        msg.handled = false;  // the button's own procedure keeps the state
        return 0;
    }
};

class SubclassedControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(frame.CreateFrame(false), nullptr);
        button = ::CreateWindowExW(0, L"BUTTON", L"Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 10, 100,
                                   20, frame, reinterpret_cast<HMENU>(1), ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(button, nullptr);
        ownProc = ::GetWindowLongPtrW(button, GWLP_WNDPROC);
    }

    CTestFrame frame;
    HWND button = nullptr;
    LONG_PTR ownProc = 0;
};

TEST_F(SubclassedControl, MapComesFirstAndTheControlsOwnProcedureDoesTheRest)
{
    CCheckBox box;
    ASSERT_TRUE(box.SubclassWindow(button));
    CCheckBox second;
    EXPECT_FALSE(second.SubclassWindow(button));  // one object per window

    EXPECT_EQ(box.SendMessage(kAnswer), 42);
    box.SetCheck(BST_CHECKED);
    EXPECT_EQ(box.checksSeen, 1);
    EXPECT_EQ(box.GetCheck(), BST_CHECKED);
    EXPECT_EQ(box.GetWindowText(), L"Check");

    EXPECT_EQ(box.UnsubclassWindow(), button);
    EXPECT_EQ(::GetWindowLongPtrW(button, GWLP_WNDPROC), ownProc);
    EXPECT_EQ(::SendMessageW(button, kAnswer, 0, 0), 0);
    EXPECT_EQ(box.m_hWnd, nullptr);
}

TEST_F(SubclassedControl, ControlKeepsWorkingWhenItsObjectGoesFirst)
{
    {
        CCheckBox box;
        ASSERT_TRUE(box.SubclassWindow(button));
    }
    EXPECT_EQ(::GetWindowLongPtrW(button, GWLP_WNDPROC), ownProc);
    ::SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(::SendMessageW(button, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(SubclassedControl, DestroyedControlEndsWithTheFinalMessage)
{
    struct CFinalBox : CWindowImpl<CFinalBox, CButton> {
        MESSAGE_MAP_BEGIN(CFinalBox)
        MESSAGE_MAP_END()
        void OnFinalMessage(HWND hwnd) override { finalWindow = hwnd; }
        HWND finalWindow = nullptr;
    } box;
    ASSERT_TRUE(box.SubclassWindow(button));
    ::DestroyWindow(button);
    EXPECT_EQ(box.finalWindow, button);
    EXPECT_EQ(box.m_hWnd, nullptr);
}

TEST(Window, CenterWindowCentresOverTheOwnerOrInTheParent)
{
    CTestFrame owner;  // 640 x 480 at the top-left corner
    ASSERT_NE(owner.CreateFrame(), nullptr);
    const RECT ownerRect = owner.GetWindowRect();

    CWindow popup(::CreateWindowExW(0, L"STATIC", L"popup", WS_POPUP | WS_VISIBLE, 900, 700, 200, 100, owner,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(popup.CenterWindow());
    const RECT centred = popup.GetWindowRect();
    EXPECT_EQ(centred.left, (ownerRect.left + ownerRect.right - 200) / 2);
    EXPECT_EQ(centred.top, (ownerRect.top + ownerRect.bottom - 100) / 2);

    // A window larger than what it is centred in keeps its corner on screen.
    popup.SetWindowPos(nullptr, 0, 0, 1000, 800, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(popup.CenterWindow());
    EXPECT_GE(popup.GetWindowRect().left, 0);
    EXPECT_GE(popup.GetWindowRect().top, 0);
    popup.DestroyWindow();

    CWindow child(::CreateWindowExW(0, L"STATIC", L"child", WS_CHILD | WS_VISIBLE, 0, 0, 100, 50, owner, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(child.CenterWindow());
    RECT inParent = child.GetWindowRect();
    ::MapWindowPoints(nullptr, owner, reinterpret_cast<POINT*>(&inParent), 2);
    const RECT client = owner.GetClientRect();
    EXPECT_EQ(inParent.left, (client.right - 100) / 2);
    EXPECT_EQ(inParent.top, (client.bottom - 50) / 2);
}

}  // namespace
