#include "tests/ui/UiTestSupport.h"

#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"
#include "foundation/Skin.h"
#include "player/app/Settings.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>

namespace UiTest {

namespace {

CMessageLoop g_loop;
ModalDriver* g_driver = nullptr;

// The PNG bytes of a GDI+ bitmap; empty on failure.
std::vector<BYTE> EncodePng(Gdiplus::Bitmap& bitmap)
{
    std::vector<BYTE> bytes;
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return bytes;
    if (bitmap.Save(stream, &WindowTest::PngEncoder, nullptr) == Gdiplus::Ok) {
        HGLOBAL memory = nullptr;
        if (SUCCEEDED(::GetHGlobalFromStream(stream, &memory))) {
            STATSTG stat{};
            stream->Stat(&stat, STATFLAG_NONAME);
            const BYTE* data = static_cast<const BYTE*>(::GlobalLock(memory));
            if (data != nullptr) {
                bytes.assign(data, data + stat.cbSize.LowPart);
                ::GlobalUnlock(memory);
            }
        }
    }
    stream->Release();
    return bytes;
}

std::unique_ptr<CImage> CaptureFrom(HDC source, int width, int height)
{
    auto image = std::make_unique<CImage>();
    if (width <= 0 || height <= 0 || !image->Create(width, height, 24))
        return nullptr;
    CImageDC target(*image);
    ::BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
    return image;
}

}  // namespace

CMessageLoop& Loop()
{
    return g_loop;
}

void SetUpProcess()
{
    WindowTest::StartProcess(g_loop);
    WindowTest::LoadShippedLanguage();
    LoadShippedSkin();
}

void TearDownProcess()
{
    WindowTest::EndProcess();
}

void Pump()
{
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (g_loop.PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        Pump();
        if (done())
            return true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    Pump();
    return done();
}

std::unique_ptr<CImage> CaptureClient(HWND window)
{
    ::UpdateWindow(window);
    Pump();
    RECT rc{};
    ::GetClientRect(window, &rc);
    HDC dc = ::GetDC(window);
    auto image = CaptureFrom(dc, rc.right, rc.bottom);
    ::ReleaseDC(window, dc);
    return image;
}

std::unique_ptr<CImage> CaptureWindow(HWND window)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    RECT rc{};
    ::GetWindowRect(window, &rc);
    HDC dc = ::GetWindowDC(window);
    auto image = CaptureFrom(dc, rc.right - rc.left, rc.bottom - rc.top);
    ::ReleaseDC(window, dc);
    return image;
}

void PutSkinImage(const std::string& name, int width, int height, const std::function<Pixel(int x, int y)>& pixel)
{
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Pixel p = pixel(x, y);
            bitmap.SetPixel(x, y, Gdiplus::Color(p.a, p.r, p.g, p.b));
        }
    }
    const std::vector<BYTE> png = EncodePng(bitmap);
    KV::MemoryStream stream;
    stream.Write(png.data(), static_cast<uint32_t>(png.size()));
    KV::DataKey images;
    images.SetBuffer(name, stream);
    KV::Skin::LoadImages(&images);
}

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

HWND CMainWindowStub::CreateMain(int clientWidth, int clientHeight)
{
    RECT rc{0, 0, clientWidth, clientHeight};
    HWND hwnd = Create(nullptr, &rc, L"Main window stand-in", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    if (hwnd != nullptr) {
        CSettings::SetMainWindow(hwnd);
        ::SetForegroundWindow(hwnd);
        Pump();
    }
    return hwnd;
}

CMainWindowStub::~CMainWindowStub()
{
    if (m_hWnd != nullptr) {
        if (CSettings::GetMainWindow() == m_hWnd)
            CSettings::SetMainWindow(nullptr);
        DestroyWindow();
    }
}

LRESULT CMainWindowStub::OnPlayerMessage(WindowMessage& msg)
{
    received.push_back(Received{msg.id, msg.wParam, msg.lParam});
    if (onReceive)
        onReceive(received.back());
    return 0;
}

ModalDriver::ModalDriver(std::function<void(HWND dialog)> action) : m_action(std::move(action))
{
    g_driver = this;
    m_timer = ::SetTimer(nullptr, 0, 10, &ModalDriver::OnTimer);
}

ModalDriver::~ModalDriver()
{
    if (m_timer != 0)
        ::KillTimer(nullptr, m_timer);
    if (g_driver == this)
        g_driver = nullptr;
}

void CALLBACK ModalDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_driver != nullptr)
        g_driver->Tick();
}

namespace {

BOOL CALLBACK FindShownDialog(HWND window, LPARAM found)
{
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (::IsWindowVisible(window) && std::wstring(className) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void ModalDriver::Tick()
{
    if (!m_acted) {
        HWND dialog = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindShownDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog == nullptr)
            return;
        m_dialog = dialog;
        m_acted = true;
        ::UpdateWindow(dialog);
        m_action(dialog);
        return;
    }
    // About three seconds of ticks.
    if (++m_ticksSinceAction == 300 && ::IsWindow(m_dialog))
        ::EndDialog(m_dialog, -100);
}

void PostClick(HWND window, POINT point)
{
    const LPARAM at = MAKELPARAM(point.x, point.y);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void PostClickCentre(HWND window)
{
    RECT rc{};
    ::GetClientRect(window, &rc);
    PostClick(window, POINT{rc.right / 2, rc.bottom / 2});
}

void PostKey(HWND window, UINT key)
{
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
    ::PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

}  // namespace UiTest
