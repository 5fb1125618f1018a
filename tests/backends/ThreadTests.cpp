// The worker-thread holder: detached threads whose handle the holder closes.

#include "framework/Thread.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

HANDLE g_release = nullptr;
HANDLE g_done = nullptr;
std::atomic<DWORD> g_workerId{0};

unsigned __stdcall Worker(void*)
{
    g_workerId = ::GetCurrentThreadId();
    ::WaitForSingleObject(g_release, INFINITE);
    ::SetEvent(g_done);
    return 0;
}

}  // namespace

TEST(ThreadHolder, StartsADetachedThreadThatOutlivesItsHolder)
{
    g_release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    unsigned id = 0;
    {
        CThreadT<1> thread = StartThread(&Worker);
        ASSERT_NE(thread.GetHandle(), nullptr);
        id = thread.GetId();
        EXPECT_NE(id, 0u);
        CThreadT<1> moved(std::move(thread));
        EXPECT_EQ(thread.GetHandle(), nullptr);
        EXPECT_NE(moved.GetHandle(), nullptr);
    }  // the handle is closed; the thread goes on
    ::SetEvent(g_release);
    EXPECT_EQ(::WaitForSingleObject(g_done, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(g_workerId.load(), id);
    ::CloseHandle(g_release);
    ::CloseHandle(g_done);
}

TEST(ThreadHolder, AnEmptyHolderHasNoHandle)
{
    CThreadT<1> none;
    EXPECT_EQ(none.GetHandle(), nullptr);
    EXPECT_EQ(none.GetId(), 0u);
}
