#include "tests/updater/UpdaterUi.h"

#include "tests/updater/UpdaterTestSupport.h"
#include "wizards/updater/UpdaterRun.h"

#include <vector>

namespace {

bool IsDialog(HWND window)
{
    wchar_t name[32] = L"";
    ::GetClassNameW(window, name, 32);
    return std::wstring(name) == L"#32770";
}

std::vector<int> ChildIds(HWND dialog)
{
    std::vector<int> ids;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ids.push_back(::GetDlgCtrlID(child));
    return ids;
}

bool Has(const std::vector<int>& ids, int id)
{
    for (int each : ids) {
        if (each == id)
            return true;
    }
    return false;
}

} // namespace

UpdaterRunThread::UpdaterRunThread(bool hidden, const std::wstring& programFile, const std::wstring& caption)
    : m_caption(caption)
{
    m_thread = std::thread([this, hidden, programFile] {
        m_code = Run(hidden, programFile);
        m_finished = true;
    });
}

UpdaterRunThread::~UpdaterRunThread()
{
    if (!m_finished) {
        HWND frame = ::FindWindowW(nullptr, m_caption.c_str());
        if (frame)
            ::PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
        Finish();
    }
    if (m_thread.joinable()) {
        if (m_finished)
            m_thread.join();
        else
            m_thread.detach();
    }
}

void UpdaterRunThread::Watch()
{
    if (!m_frame || !::IsWindow(m_frame))
        m_frame = ::FindWindowW(nullptr, m_caption.c_str());
    if (m_frame && ::IsWindowVisible(m_frame))
        m_everVisible = true;
}

HWND UpdaterRunThread::Frame()
{
    WaitFor([this] {
        Watch();
        return m_frame != nullptr || m_finished;
    });
    return m_frame;
}

bool UpdaterRunThread::Finish(DWORD deadlineMs)
{
    const bool done = WaitFor(
        [this] {
            Watch();
            return m_finished.load();
        },
        deadlineMs);
    if (done && m_thread.joinable())
        m_thread.join();
    return done;
}

bool UpdaterRunThread::WaitForPage(PageKind page, DWORD deadlineMs)
{
    return WaitFor(
        [this, page] {
            Watch();
            return m_frame && KindOf(VisiblePage(m_frame)) == page;
        },
        deadlineMs);
}

void UpdaterRunThread::Click(int buttonId)
{
    HWND frame = Frame();
    ::SendMessageW(frame, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(frame, buttonId)));
}

PageKind KindOf(HWND page)
{
    if (!page)
        return PageKind::None;
    const std::vector<int> ids = ChildIds(page);
    if (Has(ids, 1006) && Has(ids, 1007))
        return PageKind::Download;
    if (Has(ids, 1003) && Has(ids, 1011))
        return PageKind::Update;
    if (Has(ids, 1011) && Has(ids, 1004))
        return PageKind::Start;
    if (Has(ids, 1011) && Has(ids, 1009))
        return PageKind::Finish;
    if (ids.size() == 1 && ids[0] == 1011)
        return PageKind::Error;
    return PageKind::None;
}

HWND VisiblePage(HWND frame)
{
    for (HWND child = ::GetWindow(frame, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (IsDialog(child) && ::IsWindowVisible(child) && KindOf(child) != PageKind::None)
            return child;
    }
    return nullptr;
}

HWND FindPage(HWND frame, PageKind kind)
{
    for (HWND child = ::GetWindow(frame, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (IsDialog(child) && KindOf(child) == kind)
            return child;
    }
    return nullptr;
}

std::wstring HeaderTitle(HWND frame)
{
    for (HWND child = ::GetWindow(frame, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!IsDialog(child))
            continue;
        const std::vector<int> ids = ChildIds(child);
        if (ids.size() == 1 && ids[0] == 1003)
            return ItemText(child, 1003);
    }
    return std::wstring();
}

std::wstring ItemText(HWND dialog, int id)
{
    return TextOf(::GetDlgItem(dialog, id));
}

bool IsItemVisible(HWND dialog, int id)
{
    HWND item = ::GetDlgItem(dialog, id);
    return item && (::GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE) != 0;
}
