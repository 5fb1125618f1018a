#include "tests/backends/TestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WavFile.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include <cmath>
#include <cstdint>

namespace {

// COM for the whole test program: the back-ends live in a single-threaded
// apartment, as in the player.
class OleEnvironment : public testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    void TearDown() override { ::OleUninitialize(); }
};

const testing::Environment* const g_ole = testing::AddGlobalTestEnvironment(new OleEnvironment);

const wchar_t ParentClass[] = L"BrisvaneBackendTestParent";

ATOM RegisterParentClass()
{
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = ParentClass;
        return ::RegisterClassW(&wc);
    }();
    return atom;
}

}  // namespace

TestParentWindow::TestParentWindow()
{
    RegisterParentClass();
    m_window = ::CreateWindowExW(0, ParentClass, L"back-end test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                                 0, 0, 640, 480, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

TestParentWindow::~TestParentWindow()
{
    if (m_window != nullptr)
        ::DestroyWindow(m_window);
    PumpMessages(0);
}

void PumpMessages(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= milliseconds)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT | QS_SENDMESSAGE);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeout)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start >= timeout)
            return false;
        PumpMessages(5);
    }
    return true;
}

RecordingListener::RecordingListener(EventLog* log) : m_log(log)
{
    SetPlayerListener(this);
}

RecordingListener::~RecordingListener()
{
    SetPlayerListener(nullptr);
}

void RecordingListener::OnBufferingEnd()
{
    ++bufferingEnds;
    if (m_log != nullptr)
        m_log->push_back(L"buffering end");
}

void RecordingListener::OnPlayerNotify(int)
{
}

void RecordingListener::OnPlayerStatus(CPlayerCtrl* player, const wchar_t* text, int code)
{
    reports.push_back(StatusReport{player, text != nullptr ? text : L"", text == nullptr, code, ::GetCurrentThreadId()});
    if (m_log != nullptr)
        m_log->push_back(L"status " + std::to_wstring(code) + L" '" + (text != nullptr ? text : L"") + L"'");
}

size_t RecordingListener::CountCode(int code) const
{
    size_t count = 0;
    for (const StatusReport& report : reports)
        count += report.code == code ? 1 : 0;
    return count;
}

bool WriteToneWav(const std::wstring& path, DWORD milliseconds)
{
    const uint32_t rate = 22050;
    const std::string file = MakeMonoWav(rate, rate * milliseconds / 1000, [rate](uint32_t i) {
        return static_cast<int16_t>(8000.0 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / rate));
    });
    return WriteWholeFile(path, file);
}
