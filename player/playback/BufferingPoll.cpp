#include "player/playback/BufferingPoll.h"

#include "framework/Thread.h"
#include "player/playback/WMPEventDispatch.h"

namespace {

std::atomic<bool> g_buffering{false};
std::atomic<HWND> g_reportWindow{nullptr};
std::atomic<DWORD> g_interval{CBufferingPoll::DefaultInterval};

}  // namespace

CBufferingPoll::~CBufferingPoll()
{
    HWND own = m_hWnd;
    g_reportWindow.compare_exchange_strong(own, nullptr);
    if (IsWindow())
        DestroyWindow();
}

bool CBufferingPoll::Create()
{
    if (CWindowImpl<CBufferingPoll>::Create(HWND_MESSAGE, nullptr, nullptr, 0) == nullptr)
        return false;
    g_reportWindow = m_hWnd;
    return true;
}

void CBufferingPoll::Begin()
{
    g_buffering = true;
    StartThread(&BufferingPollThread);
}

void CBufferingPoll::End()
{
    g_buffering = false;
}

bool CBufferingPoll::IsBuffering()
{
    return g_buffering;
}

void CBufferingPoll::SetInterval(DWORD milliseconds)
{
    g_interval = milliseconds;
}

unsigned __stdcall CBufferingPoll::BufferingPollThread(void*)
{
    for (int pass = 0; pass < MaxPasses; ++pass) {
        if (!g_buffering)
            break;
        HWND window = g_reportWindow;
        if (window == nullptr)
            break;
        ::SendMessageW(window, WM_BUFFERING_POLL, 0, 0);
        ::Sleep(g_interval);
    }
    return 0;
}

LRESULT CBufferingPoll::OnPoll(WindowMessage&)
{
    // Buffering may have ended while the message was on its way.
    if (g_buffering)
        CWMPEventDispatch::UpdateStatus(0);
    return 0;
}
