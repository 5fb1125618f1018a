// The browser's client site: own answers, forwarding, and what it does
// without a site to forward to.

#include "framework/ComPtr.h"
#include "player/playback/WebCtrlInterFace.h"
#include "tests/backends/ComTestObjects.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Every answer of the default site is a success code of its own.
constexpr HRESULT Answer(int n)
{
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_ITF, 0x200 + n);
}

class DefaultSite final : public IOleClientSite, public IDocHostUIHandler {
public:
    explicit DefaultSite(bool hasHandler) : m_hasHandler(hasHandler) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IDocHostUIHandler && m_hasHandler)
            *out = static_cast<IDocHostUIHandler*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    TEST_COM_REFCOUNT
    LONG References() const { return m_refs; }

    STDMETHODIMP SaveObject() override { return Answer(1); }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return Answer(2); }
    STDMETHODIMP GetContainer(IOleContainer**) override { return Answer(3); }
    STDMETHODIMP ShowObject() override { return Answer(4); }
    STDMETHODIMP OnShowWindow(BOOL) override { return Answer(5); }
    STDMETHODIMP RequestNewObjectLayout() override { return Answer(6); }

    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return Answer(7); }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO*) override { return Answer(8); }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override
    {
        return Answer(9);
    }
    STDMETHODIMP HideUI() override { return Answer(10); }
    STDMETHODIMP UpdateUI() override { return Answer(11); }
    STDMETHODIMP EnableModeless(BOOL) override { return Answer(12); }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return Answer(13); }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return Answer(14); }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return Answer(15); }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return Answer(16); }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR*, DWORD) override { return Answer(17); }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget**) override { return Answer(18); }
    STDMETHODIMP GetExternal(IDispatch**) override { return Answer(19); }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR*) override { return Answer(20); }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject**) override { return Answer(21); }

private:
    ~DefaultSite() = default;
    bool m_hasHandler;
};

// A call of one method; out pointers start as a non-null marker so a test
// sees whether they were cleared.
struct MethodCase {
    const char* name;
    std::function<HRESULT(CWebCtrlInterFace&, void** out)> call;
    HRESULT withoutSite;
    bool clearsOut;
    int forwardedAnswer;  // 0: never forwarded
    bool uiHandler;       // forwarded to the UI handler, not the client site
};

void* const Marker = reinterpret_cast<void*>(0x1234);

std::vector<MethodCase> MethodCases()
{
    using W = CWebCtrlInterFace;
    return {
        {"SaveObject", [](W& s, void**) { return s.SaveObject(); }, E_FAIL, false, 1, false},
        {"GetMoniker", [](W& s, void** o) { return s.GetMoniker(0, 0, reinterpret_cast<IMoniker**>(o)); }, E_NOTIMPL,
         true, 2, false},
        {"GetContainer", [](W& s, void** o) { return s.GetContainer(reinterpret_cast<IOleContainer**>(o)); },
         E_NOINTERFACE, true, 3, false},
        {"ShowObject", [](W& s, void**) { return s.ShowObject(); }, S_OK, false, 4, false},
        {"OnShowWindow", [](W& s, void**) { return s.OnShowWindow(TRUE); }, S_OK, false, 5, false},
        {"RequestNewObjectLayout", [](W& s, void**) { return s.RequestNewObjectLayout(); }, E_NOTIMPL, false, 6,
         false},
        {"ShowContextMenu", [](W& s, void**) { return s.ShowContextMenu(0, nullptr, nullptr, nullptr); }, S_OK, false,
         0, true},
        {"ShowUI", [](W& s, void**) { return s.ShowUI(0, nullptr, nullptr, nullptr, nullptr); }, S_FALSE, false, 9,
         true},
        {"HideUI", [](W& s, void**) { return s.HideUI(); }, E_NOTIMPL, false, 10, true},
        {"UpdateUI", [](W& s, void**) { return s.UpdateUI(); }, E_NOTIMPL, false, 11, true},
        {"EnableModeless", [](W& s, void**) { return s.EnableModeless(TRUE); }, E_NOTIMPL, false, 12, true},
        {"OnDocWindowActivate", [](W& s, void**) { return s.OnDocWindowActivate(TRUE); }, E_NOTIMPL, false, 13,
         true},
        {"OnFrameWindowActivate", [](W& s, void**) { return s.OnFrameWindowActivate(TRUE); }, E_NOTIMPL, false, 14,
         true},
        {"ResizeBorder", [](W& s, void**) { return s.ResizeBorder(nullptr, nullptr, TRUE); }, E_NOTIMPL, false, 15,
         true},
        {"TranslateAccelerator", [](W& s, void**) { return s.TranslateAccelerator(nullptr, nullptr, 0); },
         E_NOTIMPL, false, 16, true},
        {"GetOptionKeyPath", [](W& s, void** o) { return s.GetOptionKeyPath(reinterpret_cast<LPOLESTR*>(o), 0); },
         E_NOTIMPL, true, 17, true},
        {"GetDropTarget",
         [](W& s, void** o) { return s.GetDropTarget(nullptr, reinterpret_cast<IDropTarget**>(o)); }, S_FALSE,
         false, 0, true},
        {"GetExternal", [](W& s, void** o) { return s.GetExternal(reinterpret_cast<IDispatch**>(o)); }, E_NOTIMPL,
         true, 19, true},
        {"TranslateUrl",
         [](W& s, void** o) { return s.TranslateUrl(0, nullptr, reinterpret_cast<LPWSTR*>(o)); }, S_FALSE, true, 20,
         true},
        {"FilterDataObject",
         [](W& s, void** o) { return s.FilterDataObject(nullptr, reinterpret_cast<IDataObject**>(o)); }, S_FALSE,
         true, 21, true},
    };
}

// A page that can be read but not written.
class ReadOnlyPage {
public:
    ReadOnlyPage() { m_page = ::VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY); }
    ~ReadOnlyPage() { ::VirtualFree(m_page, 0, MEM_RELEASE); }
    void** Get() const { return static_cast<void**>(m_page); }

private:
    void* m_page;
};

}  // namespace

TEST(WebCtrlInterFace, AnswersItsTwoInterfacesAndRefusesAnUnwritablePointer)
{
    CInterfacePtr<CWebCtrlInterFace> site(new CWebCtrlInterFace());
    void* out = Marker;
    ASSERT_EQ(site->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IOleClientSite*>(site.Get()));
    static_cast<IUnknown*>(out)->Release();
    ASSERT_EQ(site->QueryInterface(IID_IOleClientSite, &out), S_OK);
    EXPECT_EQ(out, static_cast<IOleClientSite*>(site.Get()));
    static_cast<IUnknown*>(out)->Release();
    ASSERT_EQ(site->QueryInterface(IID_IDocHostUIHandler, &out), S_OK);
    EXPECT_EQ(out, static_cast<IDocHostUIHandler*>(site.Get()));
    static_cast<IUnknown*>(out)->Release();
    out = Marker;
    EXPECT_EQ(site->QueryInterface(IID_IOleInPlaceSite, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    const ULONG before = site->AddRef() - 1;
    site->Release();
    ReadOnlyPage page;
    EXPECT_EQ(site->QueryInterface(IID_IUnknown, page.Get()), E_INVALIDARG);
    EXPECT_EQ(site->QueryInterface(IID_IUnknown, nullptr), E_INVALIDARG);
    EXPECT_EQ(site->AddRef(), before + 1);  // no reference was added
    site->Release();
}

TEST(WebCtrlInterFace, HostInfoKeepsTheBrowsersFlagsAndAddsItsOwn)
{
    CInterfacePtr<CWebCtrlInterFace> site(new CWebCtrlInterFace());
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof(info);
    info.dwFlags = 0x00100000 | 0x4;  // URL encoding flag and one of ours
    info.dwDoubleClick = DOCHOSTUIDBLCLK_SHOWCODE;
    EXPECT_EQ(site->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, 0x00100000u | 0x4002Du);
    EXPECT_EQ(info.dwDoubleClick, static_cast<DWORD>(DOCHOSTUIDBLCLK_SHOWCODE));
    EXPECT_EQ(info.cbSize, sizeof(info));

    // With a default handler too: not forwarded.
    CInterfacePtr<DefaultSite> defaultSite;
    defaultSite.Attach(new DefaultSite(true));
    site->SetDefaultSite(defaultSite);
    info.dwFlags = 0;
    EXPECT_EQ(site->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, 0x4002Du);
}

TEST(WebCtrlInterFace, WithoutADefaultSiteEveryMethodGivesItsOwnAnswer)
{
    CInterfacePtr<CWebCtrlInterFace> site(new CWebCtrlInterFace());
    for (const MethodCase& c : MethodCases()) {
        void* out = Marker;
        EXPECT_EQ(c.call(*site, &out), c.withoutSite) << c.name;
        EXPECT_EQ(out, c.clearsOut ? nullptr : Marker) << c.name;
        if (c.clearsOut) {
            ReadOnlyPage page;
            EXPECT_EQ(c.call(*site, page.Get()), c.withoutSite) << c.name << " (unwritable)";
        }
    }
}

TEST(WebCtrlInterFace, ForwardsToTheDefaultSiteAndItsHandler)
{
    for (bool hasHandler : {true, false}) {
        SCOPED_TRACE(hasHandler ? "with handler" : "client site only");
        CInterfacePtr<CWebCtrlInterFace> site(new CWebCtrlInterFace());
        CInterfacePtr<DefaultSite> defaultSite;
        defaultSite.Attach(new DefaultSite(hasHandler));
        site->SetDefaultSite(defaultSite);
        for (const MethodCase& c : MethodCases()) {
            void* out = Marker;
            const bool forwarded = c.forwardedAnswer != 0 && (!c.uiHandler || hasHandler);
            EXPECT_EQ(c.call(*site, &out), forwarded ? Answer(c.forwardedAnswer) : c.withoutSite) << c.name;
        }
    }
}

TEST(WebCtrlInterFace, LetsGoOfTheDefaultSiteWhenGivenNullOrDestroyed)
{
    CInterfacePtr<DefaultSite> defaultSite;
    defaultSite.Attach(new DefaultSite(true));
    {
        CInterfacePtr<CWebCtrlInterFace> site(new CWebCtrlInterFace());
        site->SetDefaultSite(defaultSite);
        EXPECT_EQ(defaultSite->References(), 3);  // ours, the site, the handler
        site->SetDefaultSite(nullptr);
        EXPECT_EQ(defaultSite->References(), 1);
        EXPECT_EQ(site->SaveObject(), E_FAIL);
        site->SetDefaultSite(defaultSite);
    }
    EXPECT_EQ(defaultSite->References(), 1);
}
