#include "tests/player/PlayerTestSupport.h"

#include "foundation/DataKey.h"
#include "foundation/Utilities.h"
#include "framework/Image.h"
#include "player/app/MainDlg.h"
#include "player/app/Settings.h"
#include "tests/support/WindowText.h"

namespace PlayerTest {

namespace {

CMessageLoop g_loop;
ModalDriver* g_driver = nullptr;

const wchar_t kSettingsName[] = L"player_tests.cfg";
const wchar_t kFixtureFolder[] = L"player_fixtures";

BOOL CALLBACK CollectEnabledDialog(HWND window, LPARAM param)
{
    // The main window is a dialog too, but a modeless one shown in the
    // taskbar.
    const bool mainWindow = (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
    if (!mainWindow && ClassOf(window) == L"#32770" && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND window, LPARAM param)
{
    if (ClassOf(window) == L"Static") {
        std::wstring& texts = *reinterpret_cast<std::wstring*>(param);
        if (!texts.empty())
            texts += L"\n";
        texts += TextOf(window);
    }
    return TRUE;
}

} // namespace

CMessageLoop& Loop()
{
    return g_loop;
}

void SetUpProcess()
{
    WindowTest::StartProcess(g_loop, true);
    ::CreateDirectoryW(KV::GetProgramFile(kFixtureFolder).c_str(), nullptr);
    ResetSettings();
    WindowTest::LoadShippedLanguage();
    WindowTest::LoadShippedSkin();
}

void TearDownProcess()
{
    WindowTest::EndProcess();
}

void Pump()
{
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        if (g_loop.PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        Pump();
        if (done())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return done();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        Pump();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    Pump();
}

const wchar_t* SettingsFileName()
{
    return kSettingsName;
}

std::wstring SettingsFilePath()
{
    if (CSettings::GetFilePath().empty())
        CSettings::Load(kSettingsName);
    return CSettings::GetFilePath();
}

void ResetSettings()
{
    ::DeleteFileW(SettingsFilePath().c_str());
    CSettings::Load(kSettingsName);
}

CStandInPlayer::CStandInPlayer(const std::string& name, HWND parent, const RECT& rect, bool hasControls,
                               const std::string& recorderKey)
    : CPlayerCtrl(name)
{
    // A black room, as an engine shows while it has no picture.
    static const ATOM blackRoom = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = L"BrisvaneTestBlackRoom";
        return ::RegisterClassW(&windowClass);
    }();
    m_window = ::CreateWindowExW(0, MAKEINTATOM(blackRoom), nullptr, WS_CHILD | WS_CLIPSIBLINGS, rect.left,
                                 rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    m_hasControls = hasControls;
    m_recorderKey = recorderKey;
    m_created = true;
}

CStandInPlayer::~CStandInPlayer()
{
    if (m_window.IsWindow())
        m_window.DestroyWindow();
}

void CStandInPlayer::Play(const std::wstring& url, const std::wstring& title)
{
    plays.push_back(PlayCall{url, title});
    m_stopped = false;
}

void CStandInPlayer::Stop()
{
    ++stops;
    if (stopsOnRequest)
        m_stopped = true;
}

StandIns& TheStandIns()
{
    static StandIns standIns;
    return standIns;
}

void UseStandIns()
{
    CMainDlg::SetBackEndMaker([](HWND area, const RECT& rect) {
        StandIns& standIns = TheStandIns();
        standIns.Clear();
        standIns.media = std::make_unique<CStandInPlayer>("m", area, rect, true, "mms");
        standIns.web = std::make_unique<CStandInPlayer>("e", area, rect, false, "");
    });
}

std::vector<ShellCall>& ShellCalls()
{
    static std::vector<ShellCall> calls;
    return calls;
}

void RecordShellCalls()
{
    ShellCalls().clear();
    CMainDlg::SetShellRunner([](const wchar_t* verb, const std::wstring& file, const wchar_t* parameters, int show) {
        ShellCalls().push_back(ShellCall{verb ? verb : L"", file, parameters ? parameters : L"", show});
    });
}

KV::DataKey MakeCatalogue(const std::vector<ChannelSpec>& channels,
                          const std::vector<std::pair<std::string, std::wstring>>& templates)
{
    KV::DataKey root("channels");
    for (const auto& grabber : templates)
        root.SetStringW(grabber.first, grabber.second);
    for (const ChannelSpec& spec : channels) {
        KV::DataKey* country = root.GetKey(spec.country, true);
        KV::DataKey* channel = country->AddKey(spec.key);
        channel->SetStringW("n", spec.name);
        channel->SetStringA("c", spec.category);
        channel->SetStringA("p", spec.player);
        if (spec.radio)
            channel->SetBool("r", true);
        if (!spec.recorder.empty())
            channel->SetStringA("R", spec.recorder);
        if (!spec.grabber.empty())
            channel->SetStringA("g", spec.grabber);
        for (size_t i = 0; i < spec.streams.size(); ++i) {
            KV::DataKey* stream = channel->AddKey(KV::IntToString(static_cast<int32_t>(i)));
            stream->SetInt("b", spec.streams[i].first);
            stream->SetStringW("u", spec.streams[i].second);
        }
    }
    return root;
}

std::wstring WriteCatalogue(const std::wstring& fileName, const std::vector<ChannelSpec>& channels,
                            const std::vector<std::pair<std::string, std::wstring>>& templates)
{
    const std::wstring relative = std::wstring(kFixtureFolder) + L"\\" + fileName;
    MakeCatalogue(channels, templates).Save(KV::GetProgramFile(relative));
    return relative;
}

ModalDriver::ModalDriver(std::vector<Action> actions) : m_actions(std::move(actions))
{
    g_driver = this;
    m_timer = ::SetTimer(nullptr, 0, 50, &OnTimer);
}

ModalDriver::~ModalDriver()
{
    ::KillTimer(nullptr, m_timer);
    g_driver = nullptr;
}

void CALLBACK ModalDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_driver != nullptr)
        g_driver->Tick();
}

void ModalDriver::Tick()
{
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectEnabledDialog, reinterpret_cast<LPARAM>(&dialogs));
    if (dialogs.empty()) {
        m_interrupted = true;
        return;
    }
    // While a modal dialog runs, its owner is disabled: the enabled one is
    // the newest.
    HWND dialog = dialogs.front();
    if (dialog == m_lastActed && !m_interrupted) {
        // Acted on and still open: the action did not end it.
        if (++m_ticksSinceAction > 100)
            ::EndDialog(dialog, -100);
        return;
    }
    m_lastActed = dialog;
    m_interrupted = false;
    m_ticksSinceAction = 0;
    m_seen.push_back(Seen{TextOf(dialog), DialogTexts(dialog)});
    if (m_next < m_actions.size())
        m_actions[m_next++](dialog);
    else
        ::EndDialog(dialog, -100);
}

namespace {

MenuWatcher* g_menuWatcher = nullptr;

BOOL CALLBACK FindPopupMenu(HWND window, LPARAM param)
{
    if (ClassOf(window) == L"#32768" && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

MenuWatcher::Menu ReadMenu(HMENU menu)
{
    MenuWatcher::Menu items;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 255;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back(MenuWatcher::Item{info.wID, text, (info.fState & MFS_CHECKED) != 0, (info.fType & MFT_SEPARATOR) != 0,
                             info.hSubMenu});
    }
    return items;
}

MenuWatcher::MenuWatcher(UINT pick, HWND owner) : m_pick(pick), m_owner(owner)
{
    g_menuWatcher = this;
    m_timer = ::SetTimer(nullptr, 0, 50, &OnTimer);
}

MenuWatcher::~MenuWatcher()
{
    ::KillTimer(nullptr, m_timer);
    g_menuWatcher = nullptr;
}

void CALLBACK MenuWatcher::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_menuWatcher != nullptr)
        g_menuWatcher->Tick();
}

void MenuWatcher::Tick()
{
    HWND popup = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindPopupMenu, reinterpret_cast<LPARAM>(&popup));
    if (popup == nullptr)
        return;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
    m_menus.push_back(ReadMenu(menu));
    ::EndMenu();
    if (m_pick != 0 && m_owner != nullptr)
        ::PostMessageW(m_owner, WM_COMMAND, m_pick, 0);
}

ModalDriver::Action TypeAndOk(int editId, const std::wstring& text)
{
    return [editId, text](HWND dialog) {
        ::SetDlgItemTextW(dialog, editId, text.c_str());
        ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    };
}

ModalDriver::Action Press(int buttonId)
{
    return [buttonId](HWND dialog) {
        HWND button = ::GetDlgItem(dialog, buttonId);
        if (button != nullptr)
            ::PostMessageW(button, BM_CLICK, 0, 0);
        else
            ::PostMessageW(dialog, WM_COMMAND, buttonId, 0);
    };
}

std::wstring DialogTexts(HWND dialog)
{
    std::wstring texts;
    ::EnumChildWindows(dialog, &CollectStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void PostDoubleClick(HWND window, POINT point)
{
    const LPARAM at = MAKELPARAM(point.x, point.y);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
    ::PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void PostKey(HWND window, UINT key)
{
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
    ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

void PressRealKey(UINT key)
{
    INPUT input[2]{};
    for (INPUT& event : input) {
        event.type = INPUT_KEYBOARD;
        event.ki.wVk = static_cast<WORD>(key);
        event.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        event.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    }
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

void PostAltKey(HWND window, UINT key)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    const BYTE alt = keys[VK_MENU];
    keys[VK_MENU] = 0x80;
    ::SetKeyboardState(keys);
    ::PostMessageW(window, WM_SYSKEYDOWN, key, 0x20000001);
    ::PostMessageW(window, WM_SYSKEYUP, key, 0xE0000001);
    Pump();
    ::GetKeyboardState(keys);
    keys[VK_MENU] = alt;
    ::SetKeyboardState(keys);
}

void PostChars(HWND window, const std::wstring& text)
{
    for (wchar_t c : text)
        ::PostMessageW(window, WM_CHAR, c, 1);
}

std::unique_ptr<CImage> CaptureWindow(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    auto image = std::make_unique<CImage>();
    if (width <= 0 || height <= 0 || !image->Create(width, height, 24))
        return nullptr;
    HDC screen = ::GetDC(nullptr);
    {
        CImageDC target(*image);
        ::BitBlt(target, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    }
    ::ReleaseDC(nullptr, screen);
    return image;
}

}  // namespace PlayerTest
