#include "tests/support/WindowTestProcess.h"

#include "foundation/DataKey.h"
#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "foundation/Utilities.h"
#include "framework/AppModule.h"
#include "framework/AxHost.h"
#include "framework/Image.h"
#include "framework/MessageLoop.h"

#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

namespace WindowTest {

namespace {

ULONG_PTR g_gdiplusToken = 0;
bool g_withActiveX = false;

}  // namespace

const CLSID PngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

void StartProcess(CMessageLoop& loop, bool withActiveX)
{
    g_withActiveX = withActiveX;
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_LINK_CLASS};
    ::InitCommonControlsEx(&init);
    if (withActiveX)
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr);
    AppModule().Init(::GetModuleHandleW(nullptr));
    if (withActiveX)
        AxWinInit();
    AppModule().AddMessageLoop(&loop);
}

void EndProcess()
{
    KV::Skin::Free();
    KV::Lang::Free();
    AppModule().RemoveMessageLoop();
    AppModule().Term();
    if (g_gdiplusToken != 0)
        Gdiplus::GdiplusShutdown(g_gdiplusToken);
    g_gdiplusToken = 0;
    if (g_withActiveX)
        ::CoUninitialize();
    g_withActiveX = false;
}

void LoadShippedLanguage()
{
    KV::Lang::Load(L"..\\bin\\Languages.lngp");
}

void LoadShippedSkin()
{
    KV::Skin::Free();
    KV::DataKey pack;
    if (pack.Load(KV::GetProgramFile(L"..\\bin\\Recres.kvdt")))
        KV::Skin::LoadImages(pack.GetKey("images"));
    KV::Skin::Load(L"..\\bin\\Resources.kvdt");
}

bool SavePng(const CImage& image, const std::wstring& path)
{
    Gdiplus::Bitmap bitmap(image.GetHandle(), nullptr);
    return bitmap.GetLastStatus() == Gdiplus::Ok && bitmap.Save(path.c_str(), &PngEncoder, nullptr) == Gdiplus::Ok;
}

}  // namespace WindowTest
