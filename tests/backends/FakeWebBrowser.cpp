#include "tests/backends/FakeWebBrowser.h"

class FakeHtmlDocument final : public StubHTMLDocument2 {
public:
    explicit FakeHtmlDocument(FakeWebBrowser* browser) : m_browser(browser) {}
    void Detach() { m_browser = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != __uuidof(IHTMLDocument) &&
            iid != __uuidof(IHTMLDocument2))
            return E_NOINTERFACE;
        *out = static_cast<IHTMLDocument2*>(this);
        AddRef();
        return S_OK;
    }
    TEST_COM_REFCOUNT

    STDMETHODIMP write(SAFEARRAY* text) override
    {
        if (m_browser == nullptr || text == nullptr)
            return E_POINTER;
        VARIANT* elements = nullptr;
        if (FAILED(::SafeArrayAccessData(text, reinterpret_cast<void**>(&elements))))
            return E_INVALIDARG;
        std::wstring html;
        if (text->rgsabound[0].cElements >= 1 && elements[0].vt == VT_BSTR && elements[0].bstrVal != nullptr)
            html = elements[0].bstrVal;
        ::SafeArrayUnaccessData(text);
        m_browser->written.push_back(html);
        m_browser->Log(L"write " + html);
        return S_OK;
    }
    STDMETHODIMP close() override
    {
        if (m_browser == nullptr)
            return E_POINTER;
        ++m_browser->closes;
        m_browser->Log(L"close");
        return S_OK;
    }

private:
    ~FakeHtmlDocument() = default;
    FakeWebBrowser* m_browser;
};

FakeWebBrowser::FakeWebBrowser(EventLog* log, bool hasDocument) : m_log(log)
{
    if (hasDocument)
        m_document = new FakeHtmlDocument(this);
}

FakeWebBrowser::~FakeWebBrowser()
{
    if (m_document != nullptr) {
        m_document->Detach();
        m_document->Release();
    }
}

void FakeWebBrowser::Log(const std::wstring& entry)
{
    if (m_log != nullptr)
        m_log->push_back(entry);
}

STDMETHODIMP FakeWebBrowser::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowserApp ||
        iid == IID_IWebBrowser2)
        *out = static_cast<IWebBrowser2*>(this);
    else if (iid == IID_IOleObject)
        *out = static_cast<IOleObject*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP FakeWebBrowser::Stop()
{
    Log(L"Stop");
    return S_OK;
}

STDMETHODIMP FakeWebBrowser::Quit()
{
    Log(L"Quit");
    return S_OK;
}

STDMETHODIMP FakeWebBrowser::get_Document(IDispatch** document)
{
    *document = nullptr;
    if (m_document == nullptr)
        return S_FALSE;
    m_document->AddRef();
    *document = m_document;
    return S_OK;
}

STDMETHODIMP FakeWebBrowser::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
{
    if (url == nullptr || url->vt != VT_BSTR)
        return E_INVALIDARG;
    const std::wstring address = url->bstrVal != nullptr ? url->bstrVal : L"";
    navigations.push_back(address);
    Log(L"navigate " + address);
    return S_OK;
}

STDMETHODIMP FakeWebBrowser::put_RegisterAsDropTarget(VARIANT_BOOL value)
{
    registerAsDropTarget = value;
    return S_OK;
}

STDMETHODIMP FakeWebBrowser::put_Resizable(VARIANT_BOOL value)
{
    resizable = value;
    return S_OK;
}

STDMETHODIMP FakeWebBrowser::put_MenuBar(VARIANT_BOOL value)
{
    menuBar = value;
    return S_OK;
}

STDMETHODIMP FakeWebBrowser::put_Silent(VARIANT_BOOL value)
{
    silent = value;
    return S_OK;
}

