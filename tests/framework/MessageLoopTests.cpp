// The message loop: filters newest first, idle handlers, and the
// module's one loop per thread.
#include "FrameworkTestSupport.h"

#include "framework/AppModule.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT kSwallowed = WM_APP + 7;  // the second filter consumes it
constexpr UINT kPassed = WM_APP + 8;     // no filter consumes it

class CReceiver : public CWindowImpl<CReceiver> {
public:
    MESSAGE_MAP_BEGIN(CReceiver)
        ON_MESSAGE_RANGE(WM_APP, WM_APP + 100, OnApp)
    MESSAGE_MAP_END()
    std::vector<UINT> received;

private:
    LRESULT OnApp(WindowMessage& msg)
    {
        received.push_back(msg.id);
        return 0;
    }
};

class CRecordingFilter : public CMessageFilter {
public:
    CRecordingFilter(std::string name, std::vector<std::string>& log, UINT consumes = 0)
        : m_name(std::move(name)), m_log(log), m_consumes(consumes)
    {
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message < WM_APP)
            return FALSE;
        m_log.push_back(m_name);
        if (removeFrom != nullptr)
            removeFrom->RemoveMessageFilter(this);
        return msg->message == m_consumes;
    }
    CMessageLoop* removeFrom = nullptr;

private:
    std::string m_name;
    std::vector<std::string>& m_log;
    UINT m_consumes;
};

class MessageLoop : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(receiver.Create(nullptr, nullptr, L"receiver", WS_OVERLAPPEDWINDOW), nullptr); }
    void TearDown() override { receiver.DestroyWindow(); }

    CReceiver receiver;
    CMessageLoop loop;
    std::vector<std::string> log;
};

TEST_F(MessageLoop, FiltersRunNewestFirstUntilOneConsumes)
{
    // A control registered after its window sees the keys first.
    CRecordingFilter first("first", log), second("second", log, kSwallowed), third("third", log);
    EXPECT_TRUE(loop.AddMessageFilter(&first));
    EXPECT_TRUE(loop.AddMessageFilter(&second));
    EXPECT_TRUE(loop.AddMessageFilter(&third));
    EXPECT_FALSE(loop.AddMessageFilter(&second));  // once only

    receiver.PostMessage(kSwallowed);
    PumpMessages(&loop);
    EXPECT_EQ(log, (std::vector<std::string>{"third", "second"}));
    EXPECT_TRUE(receiver.received.empty());

    log.clear();
    receiver.PostMessage(kPassed);
    PumpMessages(&loop);
    EXPECT_EQ(log, (std::vector<std::string>{"third", "second", "first"}));
    EXPECT_EQ(receiver.received, std::vector<UINT>{kPassed});
}

TEST_F(MessageLoop, FilterThatRemovesItselfLetsTheOthersRun)
{
    CRecordingFilter leaving("leaving", log), staying("staying", log);
    leaving.removeFrom = &loop;
    loop.AddMessageFilter(&staying);
    loop.AddMessageFilter(&leaving);

    receiver.PostMessage(kPassed);
    receiver.PostMessage(kPassed);
    PumpMessages(&loop);
    EXPECT_EQ(log, (std::vector<std::string>{"leaving", "staying", "staying"}));
    EXPECT_FALSE(loop.RemoveMessageFilter(&leaving));
}

class CThrowingFilter : public CMessageFilter {
public:
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == kPassed)
            throw std::bad_alloc();
        return FALSE;
    }
};

class CThrowingIdle : public CIdleHandler {
public:
    BOOL OnIdle() override { throw std::bad_alloc(); }
};

TEST_F(MessageLoop, AFilterOrIdleHandlerThatThrowsHasNotTakenTheMessageAndTheLoopGoesOn)
{
    CRecordingFilter older("older", log);
    CThrowingFilter throwing;
    CThrowingIdle throwingIdle;
    loop.AddMessageFilter(&older);
    loop.AddMessageFilter(&throwing);
    loop.AddIdleHandler(&throwingIdle);
    receiver.PostMessage(kPassed);
    EXPECT_NO_THROW(PumpMessages(&loop));
    EXPECT_EQ(log, std::vector<std::string>{"older"});
    EXPECT_EQ(receiver.received, std::vector<UINT>{kPassed});
    BOOL more = TRUE;
    EXPECT_NO_THROW(more = loop.OnIdle(0));
    EXPECT_FALSE(more);
    // The walks ended whole: removing works as before.
    EXPECT_TRUE(loop.RemoveMessageFilter(&throwing));
    EXPECT_TRUE(loop.RemoveIdleHandler(&throwingIdle));
}

// Runs the steps of a test from the idle time of a real Run.
class CScriptedIdle : public CIdleHandler {
public:
    CScriptedIdle(CReceiver& receiver) : m_receiver(receiver) {}
    BOOL OnIdle() override
    {
        ++calls;
        switch (calls) {
        case 1:
            return TRUE;  // wants another turn before the loop waits
        case 2:
            m_receiver.PostMessage(kPassed);  // activity: idle comes back after it
            return FALSE;
        default:
            ::PostQuitMessage(5);
            return FALSE;
        }
    }
    int calls = 0;

private:
    CReceiver& m_receiver;
};

TEST_F(MessageLoop, IdleHandlersRunWhenTheQueueEmptiesAndRunEndsWithTheQuitCode)
{
    CScriptedIdle idle(receiver);
    EXPECT_TRUE(loop.AddIdleHandler(&idle));
    EXPECT_EQ(loop.Run(), 5);
    EXPECT_EQ(idle.calls, 3);
    EXPECT_EQ(receiver.received, std::vector<UINT>{kPassed});
    EXPECT_TRUE(loop.RemoveIdleHandler(&idle));
    EXPECT_FALSE(loop.RemoveIdleHandler(&idle));
}

TEST(AppModule, KeepsOneMessageLoopPerThread)
{
    CMessageLoop mine, theirs;
    ASSERT_TRUE(AppModule().AddMessageLoop(&mine));
    EXPECT_FALSE(AppModule().AddMessageLoop(&theirs));
    EXPECT_EQ(AppModule().GetMessageLoop(), &mine);

    const DWORD mainThread = ::GetCurrentThreadId();
    CMessageLoop* seenBefore = &mine;
    CMessageLoop* seenOwn = nullptr;
    CMessageLoop* seenMain = nullptr;
    std::thread other([&] {
        seenBefore = AppModule().GetMessageLoop();
        AppModule().AddMessageLoop(&theirs);
        seenOwn = AppModule().GetMessageLoop();
        seenMain = AppModule().GetMessageLoop(mainThread);
        AppModule().RemoveMessageLoop();
    });
    other.join();
    EXPECT_EQ(seenBefore, nullptr);
    EXPECT_EQ(seenOwn, &theirs);
    EXPECT_EQ(seenMain, &mine);

    EXPECT_TRUE(AppModule().RemoveMessageLoop());
    EXPECT_FALSE(AppModule().RemoveMessageLoop());
    EXPECT_EQ(AppModule().GetMessageLoop(), nullptr);
}

TEST(AppModule, StartsOnceAndEndsWithItsWindowClasses)
{
    HINSTANCE program = ::GetModuleHandleW(nullptr);
    EXPECT_EQ(AppModule().GetModuleInstance(), program);  // before Init: the program
    ASSERT_TRUE(AppModule().Init(program));
    EXPECT_FALSE(AppModule().Init(program));
    EXPECT_TRUE(AppModule().IsInitialized());

    {
        CReceiver window;  // registers its class
        ASSERT_NE(window.Create(nullptr, nullptr, L"classes", WS_OVERLAPPEDWINDOW), nullptr);
        window.DestroyWindow();
    }
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    const ATOM atom = CReceiver::GetWndClassInfo().atom;
    ASSERT_NE(atom, 0);
    AppModule().Term();
    EXPECT_FALSE(AppModule().IsInitialized());
    EXPECT_FALSE(::GetClassInfoExW(program, MAKEINTATOM(atom), &info));
    EXPECT_EQ(CReceiver::GetWndClassInfo().atom, 0);

    CReceiver again;  // registers it anew
    EXPECT_NE(again.Create(nullptr, nullptr, L"again", WS_OVERLAPPEDWINDOW), nullptr);
    again.DestroyWindow();
}

}  // namespace
