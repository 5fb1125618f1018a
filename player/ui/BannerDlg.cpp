#include "player/ui/BannerDlg.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "framework/GdiHelpers.h"
#include "player/app/Settings.h"
#include "player/ui/DialogChrome.h"
#include "player/ui/LanguageFormat.h"

#include <atomic>
#include <string>

namespace {

// The splash that has shown itself and is not ended yet. Taken with an
// exchange by whoever ends it, so it is ended once.
std::atomic<HWND> g_banner{nullptr};
// Set by CloseBanner: a splash that shows itself afterwards ends at once.
std::atomic<bool> g_closeRequested{false};
// Splash threads started and not ended.
std::atomic<int> g_running{0};

// The copyright line's band.
constexpr int CopyrightTop = 222;
constexpr int CopyrightBottom = 238;

DWORD WINAPI BannerThread(void*)
{
    {
        CBannerDlg banner;
        banner.DoModal(nullptr);
    }
    --g_running;
    return 0;
}

void DrawImage(HDC dc, const char* name, int x, int y)
{
    if (const CImage* image = KV::Skin::GetImage(name))
        image->Draw(dc, x, y);
}

} // namespace

LRESULT CBannerDlg::OnInitDialog(WindowMessage&)
{
    g_banner.store(m_hWnd);
    const std::wstring version = FillLanguageFormat(KV::Lang::GetText("str_version"), CSettings::GetVersion());
    SetDlgItemText(IDC_VERSION, version.c_str());
    KV::Lang::TranslateWindow(m_hWnd);
    CenterWindow();
    // CloseBanner came first: it found no splash to end.
    if (g_closeRequested.load()) {
        HWND self = m_hWnd;
        if (g_banner.compare_exchange_strong(self, nullptr))
            EndDialog(1);
    }
    return TRUE;
}

LRESULT CBannerDlg::OnPaint(WindowMessage&)
{
    CPaintDC paint(m_hWnd);
    const RECT client = GetClientRect();
    const int width = client.right;
    const int height = client.bottom;

    PaintDialogHeader(paint, client);
    if (const CImage* footer = KV::Skin::GetImage("msgbox_footer"))
        footer->Draw(paint, 2, height - footer->GetHeight(), width - 3, footer->GetHeight(), 0, 0,
                     footer->GetWidth(), footer->GetHeight());
    DrawImage(paint, "banner", 2, 32);
    DrawImage(paint, "banner_recorder", 2, 83);
    if (const CImage* logo = KV::Skin::GetImage("kvlogo"))
        logo->Draw(paint, (width - logo->GetWidth()) / 2, height - 84);

    {
        CSelectObject pen(paint, KV::Skin::GetFramePen());
        CSelectObject brush(paint, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(paint, 1, 1, width - 1, height - 1);
    }

    const KV::Font* font = KV::Skin::GetFont("button");
    CSelectObject selectFont(paint, font ? font->GetHandle() : nullptr);
    ::SetTextColor(paint, KV::Skin::GetTextColor());
    ::SetBkMode(paint, TRANSPARENT);
    RECT band{0, CopyrightTop, width, CopyrightBottom};
    const std::wstring& copyright = KV::Lang::GetText("static_copyright");
    ::DrawTextW(paint, copyright.c_str(), static_cast<int>(copyright.size()), &band, DT_CENTER | DT_SINGLELINE);
    return 0;
}

void ShowBanner()
{
    g_closeRequested.store(false);
    ++g_running;
    HANDLE thread = ::CreateThread(nullptr, 0, &BannerThread, nullptr, 0, nullptr);
    if (thread != nullptr)
        ::CloseHandle(thread);
    else
        --g_running;
}

void CloseBanner()
{
    g_closeRequested.store(true);
    HWND banner = g_banner.exchange(nullptr);
    if (banner != nullptr)
        ::EndDialog(banner, 1);
}

HWND GetBannerWindow()
{
    return g_banner.load();
}

bool IsBannerThreadRunning()
{
    return g_running.load() > 0;
}
