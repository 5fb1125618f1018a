// Small helpers shared by the framework tests.
#pragma once

#include "framework/MessageLoop.h"
#include "framework/WindowImpl.h"

#include <commctrl.h>
#include <objbase.h>

// A single-threaded COM apartment for the test's thread.
class ComApartment {
public:
    ComApartment() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_result))
            ::CoUninitialize();
    }
    bool Ok() const { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};

inline void InitControls()
{
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&init);
}

// Handles what is queued now (and what that queues), through the loop's
// filters when a loop is given, and returns when the queue is empty.
inline void PumpMessages(CMessageLoop* loop = nullptr)
{
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (loop != nullptr && loop->PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// A plain top-level window to own and parent the windows under test.
class CTestFrame : public CWindowImpl<CTestFrame> {
public:
    WINDOW_CLASS(L"BrisvaneTestFrame")
    MESSAGE_MAP_BEGIN(CTestFrame)
    MESSAGE_MAP_END()

    HWND CreateFrame(bool visible = true)
    {
        RECT rc{0, 0, 640, 480};
        HWND hwnd = Create(nullptr, &rc, L"Test frame",
                           WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0));
        if (hwnd != nullptr && visible) {
            ::SetForegroundWindow(hwnd);
            PumpMessages();
        }
        return hwnd;
    }
    ~CTestFrame()
    {
        if (m_hWnd != nullptr)
            DestroyWindow();
    }
};
