// ActiveX hosting with the platform's controls (the web browser from an
// address, the Media Player by CLSID) and with a stand-in control made here.
#include "FrameworkTestSupport.h"
#include "TestResources.h"

#include "framework/AxControl.h"
#include "framework/AxDialog.h"
#include "framework/AxHost.h"
#include "framework/ComVariant.h"

#include <exdisp.h>
#include <ocidl.h>
#include <olectl.h>
#include <wmp.h>

#include <gtest/gtest.h>

#include <new>
#include <vector>

namespace {

const wchar_t kMediaPlayer[] = L"{6BF52A52-394A-11d3-B153-00C04F79FAA6}";

class AxHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(com.Ok());
        ASSERT_TRUE(AxWinInit());
        ASSERT_NE(frame.CreateFrame(), nullptr);
    }

    // The window the in-place active control made inside the host.
    static HWND ControlWindow(const CAxWindow& host)
    {
        CInterfacePtr<IOleInPlaceObject> inPlace;
        HWND window = nullptr;
        if (SUCCEEDED(host.QueryControl(inPlace.Receive())))
            inPlace->GetWindow(&window);
        return window;
    }

    ComApartment com;
    CTestFrame frame;
    RECT place{10, 10, 330, 250};
};

TEST_F(AxHost, WebBrowserFromAnAddressIsActiveAndFollowsTheWindowSize)
{
    CAxWindow host;
    ASSERT_NE(host.Create(frame, &place, L"about:blank"), nullptr);
    CInterfacePtr<IWebBrowser2> browser;
    ASSERT_EQ(host.QueryControl(browser.Receive()), S_OK);
    CInterfacePtr<IOleObject> object;
    EXPECT_EQ(host.QueryControl(object.Receive()), S_OK);

    HWND window = ControlWindow(host);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(host.IsChild(window));
    host.SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    const RECT shown = CWindow(window).GetClientRect();
    EXPECT_EQ(shown.right, 400);
    EXPECT_EQ(shown.bottom, 300);

    CVariant address(L"about:blank");
    CVariant none;
    EXPECT_EQ(browser->Navigate2(&address, &none, &none, &none, &none), S_OK);
    host.DestroyWindow();
}

TEST_F(AxHost, MediaPlayerByClsidAnswersItsInterfaces)
{
    CAxWindow host;
    ASSERT_NE(host.Create(frame, &place, kMediaPlayer), nullptr);
    CInterfacePtr<IWMPPlayer4> player4;
    CInterfacePtr<IWMPPlayer> player;
    CInterfacePtr<IWMPCore> core;
    CInterfacePtr<IOleObject> object;
    EXPECT_EQ(host.QueryControl(player4.Receive()), S_OK);
    EXPECT_EQ(host.QueryControl(player.Receive()), S_OK);
    EXPECT_EQ(host.QueryControl(core.Receive()), S_OK);
    EXPECT_EQ(host.QueryControl(object.Receive()), S_OK);
    host.DestroyWindow();
}

// Wine's Media Player control makes its window only for a site with
// IOleInPlaceSiteEx; the host's own site is one.
TEST_F(AxHost, MediaPlayerActivatesInPlaceThroughTheExtendedSite)
{
    CAxWindow host;
    ASSERT_NE(host.Create(frame, &place, kMediaPlayer), nullptr);
    CInterfacePtr<IOleInPlaceSiteEx> site;
    ASSERT_EQ(host.QueryHost(site.Receive()), S_OK);
    BOOL noRedraw = TRUE;
    EXPECT_EQ(site->OnInPlaceActivateEx(&noRedraw, 0), S_OK);
    EXPECT_FALSE(noRedraw);
    EXPECT_EQ(site->RequestUIActivate(), S_OK);
    HWND hostWindow = nullptr;
    EXPECT_EQ(site->GetWindow(&hostWindow), S_OK);
    EXPECT_EQ(hostWindow, host.m_hWnd);
    site.Release();

    HWND window = ControlWindow(host);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::GetParent(window), host.m_hWnd);
    host.SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    RECT shown{};
    ::GetWindowRect(window, &shown);
    EXPECT_EQ(shown.right - shown.left, 400);
    EXPECT_EQ(shown.bottom - shown.top, 300);
    host.DestroyWindow();
}

TEST_F(AxHost, UnknownControlNameHostsNothing)
{
    CAxWindow host;
    ASSERT_NE(host.Create(frame, &place, L"{00000000-1111-2222-3333-444444444444}"), nullptr);
    CInterfacePtr<IUnknown> control;
    EXPECT_TRUE(FAILED(host.QueryControl(control.Receive())));
    EXPECT_FALSE(control);
    host.DestroyWindow();
}

class CPlayerDlg : public CAxDialogImpl<CPlayerDlg> {
public:
    enum { IDD = IDD_AX_DIALOG };
    MESSAGE_MAP_BEGIN(CPlayerDlg)
    MESSAGE_MAP_END()
};

TEST_F(AxHost, DialogTemplateHostsTheMediaPlayer)
{
    CPlayerDlg dlg;
    ASSERT_NE(dlg.Create(frame), nullptr);
    CAxWindow host(dlg.GetDlgItem(IDC_AX_PLAYER));
    CInterfacePtr<IWMPPlayer4> player;
    EXPECT_EQ(host.QueryControl(player.Receive()), S_OK);
    dlg.DestroyWindow();
}

// A control made in-process that records what its host does with it; like a
// real control it asks its site for the window context when activated.
class CStandInControl : public IOleObject, public IOleInPlaceObject {
public:
    LONG refs = 1;  // the test's own reference
    CInterfacePtr<IOleClientSite> site;
    int siteCalls = 0;
    LONG verb = 0;
    HWND verbParent = nullptr;
    RECT verbRect{};
    HWND frameWindow = nullptr;
    std::vector<RECT> objectRects;
    bool deactivated = false;
    bool closed = false;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleObject)
            *out = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
            *out = static_cast<IOleInPlaceObject*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* newSite) override
    {
        ++siteCalls;
        site = newSite;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** out) override
    {
        *out = site.Get();
        if (*out != nullptr)
            (*out)->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override
    {
        closed = true;
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG newVerb, LPMSG, IOleClientSite* activeSite, LONG, HWND parent, LPCRECT rect) override
    {
        verb = newVerb;
        verbParent = parent;
        verbRect = *rect;
        CInterfacePtr<IOleInPlaceSite> inPlaceSite;
        if (FAILED(activeSite->QueryInterface(IID_IOleInPlaceSite, inPlaceSite.ReceiveVoid())) ||
            inPlaceSite->CanInPlaceActivate() != S_OK)
            return E_FAIL;
        inPlaceSite->OnInPlaceActivate();
        CInterfacePtr<IOleInPlaceFrame> frame;
        CInterfacePtr<IOleInPlaceUIWindow> document;
        RECT position{}, clip{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof(info);
        inPlaceSite->GetWindowContext(frame.Receive(), document.Receive(), &position, &clip, &info);
        frameWindow = info.hwndFrame;
        return S_OK;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override
    {
        *status = 0;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleInPlaceObject
    STDMETHODIMP GetWindow(HWND* out) override
    {
        *out = nullptr;
        return E_FAIL;  // windowless as far as the host can tell
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override
    {
        deactivated = true;
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override
    {
        objectRects.push_back(*position);
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A client site of the user's own that forwards to the host's, the way the
// web browser back-end replaces the site.
class CForwardingSite : public IOleClientSite {
public:
    explicit CForwardingSite(IOleClientSite* inner, bool* gone) : m_inner(inner), m_gone(gone) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IOleClientSite)
            return E_NOINTERFACE;
        *out = static_cast<IOleClientSite*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG refs = --m_refs;
        if (refs == 0) {
            *m_gone = true;
            delete this;
        }
        return static_cast<ULONG>(refs);
    }
    STDMETHODIMP SaveObject() override { return m_inner->SaveObject(); }
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** out) override
    {
        return m_inner->GetMoniker(assign, which, out);
    }
    STDMETHODIMP GetContainer(IOleContainer** out) override { return m_inner->GetContainer(out); }
    STDMETHODIMP ShowObject() override { return m_inner->ShowObject(); }
    STDMETHODIMP OnShowWindow(BOOL show) override { return m_inner->OnShowWindow(show); }
    STDMETHODIMP RequestNewObjectLayout() override { return m_inner->RequestNewObjectLayout(); }

private:
    virtual ~CForwardingSite() = default;
    LONG m_refs = 0;
    CInterfacePtr<IOleClientSite> m_inner;
    bool* m_gone;
};

TEST_F(AxHost, StandInControlIsSitedActivatedSizedAndReleased)
{
    CStandInControl control;
    CAxWindow host;
    ASSERT_NE(host.Create(frame, &place), nullptr);
    ASSERT_EQ(host.AttachControl(static_cast<IOleObject*>(&control)), S_OK);

    CInterfacePtr<IOleClientSite> hostSite;
    ASSERT_EQ(host.QueryHost(hostSite.Receive()), S_OK);
    EXPECT_EQ(control.site.Get(), hostSite.Get());
    EXPECT_EQ(control.verb, OLEIVERB_INPLACEACTIVATE);
    EXPECT_EQ(control.verbParent, host.m_hWnd);
    EXPECT_TRUE(SameRect(control.verbRect, RECT{0, 0, 320, 240}));
    EXPECT_EQ(control.frameWindow, frame.m_hWnd);

    CInterfacePtr<IUnknown> hosted;
    ASSERT_EQ(host.QueryControl(hosted.Receive()), S_OK);
    EXPECT_EQ(hosted.Get(), static_cast<IUnknown*>(static_cast<IOleObject*>(&control)));
    hosted.Release();

    // Ambient properties through the site's IDispatch.
    CInterfacePtr<IDispatch> ambient;
    ASSERT_EQ(hostSite->QueryInterface(IID_IDispatch, ambient.ReceiveVoid()), S_OK);
    struct Ambient {
        DISPID id;
        VARTYPE type;
        bool value;
    };
    for (Ambient a : {Ambient{DISPID_AMBIENT_USERMODE, VT_BOOL, true}, Ambient{DISPID_AMBIENT_UIDEAD, VT_BOOL, false},
                      Ambient{DISPID_AMBIENT_SHOWHATCHING, VT_BOOL, false}}) {
        SCOPED_TRACE(a.id);
        CVariant value;
        DISPPARAMS none{};
        ASSERT_EQ(ambient->Invoke(a.id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.Receive(), nullptr, nullptr),
                  S_OK);
        EXPECT_EQ(value.vt, a.type);
        EXPECT_EQ(value.boolVal == VARIANT_TRUE, a.value);
    }
    ambient.Release();

    // The user swaps in a client site of its own; the host still sizes the
    // control and closes it.
    bool forwardingGone = false;
    {
        CInterfacePtr<IOleClientSite> defaultSite;
        control.GetClientSite(defaultSite.Receive());
        CInterfacePtr<IOleClientSite> own(new CForwardingSite(defaultSite, &forwardingGone));
        control.SetClientSite(own);
    }
    hostSite.Release();
    host.SetWindowPos(nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_FALSE(control.objectRects.empty());
    EXPECT_TRUE(SameRect(control.objectRects.back(), RECT{0, 0, 200, 100}));

    host.DestroyWindow();
    EXPECT_TRUE(control.deactivated);
    EXPECT_TRUE(control.closed);
    EXPECT_FALSE(control.site);  // SetClientSite(null) at the end
    EXPECT_TRUE(forwardingGone);
    EXPECT_EQ(control.refs, 1);  // every reference the host took is returned
}

// Hosts the browser like the player's browser window: keeps IWebBrowser2,
// listens to its events and replaces its client site.
class CTestBrowser : public CWTLAxControl<CTestBrowser, IWebBrowser2>,
                     public CWTLDispEventHelper<CTestBrowser, IWebBrowser2> {
public:
    MESSAGE_MAP_BEGIN(CTestBrowser)
        ON_MESSAGE(WM_CREATE, OnCreate)
        CHAIN_MESSAGE_MAP(CWTLAxControl)
    MESSAGE_MAP_END()

    HRESULT OnDispEvent(DISPID id, DISPPARAMS*, VARIANT*)
    {
        events.push_back(id);
        return S_OK;
    }

    std::vector<DISPID> events;
    bool siteGone = false;
    bool siteReplaced = false;

private:
    LRESULT OnCreate(WindowMessage& msg)
    {
        const LRESULT result = CWTLAxControl::OnCreate(msg);
        if (result == -1)
            return result;
        CInterfacePtr<IOleObject> object;
        CInterfacePtr<IOleClientSite> defaultSite;
        if (SUCCEEDED(GetControl()->QueryInterface(IID_IOleObject, object.ReceiveVoid())) &&
            SUCCEEDED(object->GetClientSite(defaultSite.Receive()))) {
            CInterfacePtr<IOleClientSite> own(new CForwardingSite(defaultSite, &siteGone));
            siteReplaced = SUCCEEDED(object->SetClientSite(own));
        }
        return result;
    }
};

TEST_F(AxHost, ControlWindowKeepsTheInterfaceAndConnectsTheEvents)
{
    CTestBrowser browser;
    ASSERT_NE(browser.Create(frame, &place, L"about:blank", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN), nullptr);
    ASSERT_NE(browser.GetControl(), nullptr);
    EXPECT_TRUE(browser.siteReplaced);
    EXPECT_TRUE(browser.IsDispEventAdvised());
    ASSERT_NE(browser.DispEventInterface(), nullptr);
    EXPECT_TRUE(IsEqualIID(*browser.DispEventInterface(), __uuidof(DWebBrowserEvents2)));

    CInterfacePtr<IWebBrowser2> queried;
    EXPECT_EQ(browser.QueryControl(queried.Receive()), S_OK);
    EXPECT_EQ(queried.Get(), browser.GetControl());
    queried.Release();
    CVariant address(L"about:blank");
    CVariant none;
    EXPECT_EQ(browser.GetControl()->Navigate2(&address, &none, &none, &none, &none), S_OK);

    browser.DestroyWindow();
    EXPECT_FALSE(browser.IsDispEventAdvised());
    EXPECT_EQ(browser.GetControl(), nullptr);
    EXPECT_TRUE(browser.siteGone);
}

TEST_F(AxHost, ControlWindowFailsWhenTheControlLacksTheInterface)
{
    CTestBrowser notABrowser;
    EXPECT_EQ(notABrowser.Create(frame, &place, kMediaPlayer), nullptr);
    EXPECT_EQ(notABrowser.GetControl(), nullptr);
}

class CRecordingHandler : public CDispEventSink::Handler {
public:
    HRESULT HandleEvent(DISPID id, DISPPARAMS* params, VARIANT*) override
    {
        ids.push_back(id);
        if (params != nullptr && params->cArgs == 1 && params->rgvarg[0].vt == VT_I4)
            arguments.push_back(params->rgvarg[0].lVal);
        return S_OK;
    }
    std::vector<DISPID> ids;
    std::vector<LONG> arguments;
};

TEST_F(AxHost, EventSinkHandsEventsToItsHandlerUntilCleared)
{
    CRecordingHandler handler;
    CInterfacePtr<CDispEventSink> sink(new CDispEventSink(__uuidof(_WMPOCXEvents), &handler));
    CInterfacePtr<IDispatch> dispatch;
    ASSERT_EQ(sink->QueryInterface(__uuidof(_WMPOCXEvents), dispatch.ReceiveVoid()), S_OK);

    CVariant state(3);
    DISPPARAMS params{&state, nullptr, 1, 0};
    dispatch->Invoke(5101, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    sink->ClearHandler();
    dispatch->Invoke(5101, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    EXPECT_EQ(handler.ids, std::vector<DISPID>{5101});
    EXPECT_EQ(handler.arguments, std::vector<LONG>{3});

    CStandInControl noEvents;
    EXPECT_TRUE(FAILED(sink->Advise(static_cast<IOleObject*>(&noEvents))));
    EXPECT_FALSE(sink->IsAdvised());
}

class CThrowingHandler : public CDispEventSink::Handler {
public:
    HRESULT HandleEvent(DISPID, DISPPARAMS*, VARIANT*) override { throw std::bad_alloc(); }
};

TEST_F(AxHost, AnEventHandlerThatThrowsFailsTheEventInsteadOfTheControl)
{
    CThrowingHandler handler;
    CInterfacePtr<CDispEventSink> sink(new CDispEventSink(__uuidof(_WMPOCXEvents), &handler));
    CInterfacePtr<IDispatch> dispatch;
    ASSERT_EQ(sink->QueryInterface(__uuidof(_WMPOCXEvents), dispatch.ReceiveVoid()), S_OK);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    HRESULT result = S_OK;
    EXPECT_NO_THROW(result = dispatch->Invoke(5101, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(result, E_UNEXPECTED);
}

TEST_F(AxHost, EventSinkConnectsToTheMediaPlayer)
{
    CAxWindow host;
    ASSERT_NE(host.Create(frame, &place, kMediaPlayer), nullptr);
    CInterfacePtr<IUnknown> player;
    ASSERT_EQ(host.QueryControl(player.Receive()), S_OK);
    CRecordingHandler handler;
    CInterfacePtr<CDispEventSink> sink(new CDispEventSink(__uuidof(_WMPOCXEvents), &handler));
    EXPECT_EQ(sink->Advise(player), S_OK);
    EXPECT_TRUE(sink->IsAdvised());
    EXPECT_EQ(sink->Unadvise(), S_OK);
    host.DestroyWindow();
}

}  // namespace
