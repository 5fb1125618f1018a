#include "player/playback/EFBrowser.h"

#include <mshtml.h>

namespace {

// A one-element SAFEARRAY of VARIANT holding a string, destroyed with it.
class SingleStringArray {
public:
    explicit SingleStringArray(const std::wstring& text)
    {
        m_array = ::SafeArrayCreateVector(VT_VARIANT, 0, 1);
        if (m_array == nullptr)
            return;
        VARIANT* element = nullptr;
        if (FAILED(::SafeArrayAccessData(m_array, reinterpret_cast<void**>(&element)))) {
            Destroy();
            return;
        }
        element->vt = VT_BSTR;
        element->bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        ::SafeArrayUnaccessData(m_array);
        if (element->bstrVal == nullptr)
            Destroy();
    }
    SingleStringArray(const SingleStringArray&) = delete;
    SingleStringArray& operator=(const SingleStringArray&) = delete;
    ~SingleStringArray() { Destroy(); }

    SAFEARRAY* Get() const { return m_array; }

private:
    void Destroy()
    {
        if (m_array != nullptr)
            ::SafeArrayDestroy(m_array);  // clears the element, freeing the string
        m_array = nullptr;
    }

    SAFEARRAY* m_array = nullptr;
};

}  // namespace

CEFBrowser::CEFBrowser() : m_site(new CWebCtrlInterFace())
{
}

CEFBrowser::~CEFBrowser()
{
    if (IsWindow())
        DestroyWindow();
}

LRESULT CEFBrowser::OnCreate(WindowMessage& msg)
{
    const LRESULT result = CWTLAxControl::OnCreate(msg);
    if (result == -1)
        return result;
    IWebBrowser2* browser = GetControl();
    browser->put_RegisterAsDropTarget(VARIANT_FALSE);
    browser->put_Resizable(VARIANT_FALSE);
    browser->put_MenuBar(VARIANT_FALSE);
    browser->put_Silent(static_cast<VARIANT_BOOL>(1));
    ReplaceClientSite();
    return result;
}

void CEFBrowser::ReplaceClientSite()
{
    if (!m_site)
        return;
    CInterfacePtr<IOleObject> object;
    if (FAILED(m_control.QueryInterface(object.Receive())) || !object)
        return;
    CInterfacePtr<IOleClientSite> defaultSite;
    if (SUCCEEDED(object->GetClientSite(defaultSite.Receive())))
        m_site->SetDefaultSite(defaultSite);
    object->SetClientSite(m_site);
}

void CEFBrowser::WriteHTML(const std::wstring& html)
{
    if (!m_control)
        return;
    CInterfacePtr<IDispatch> document;
    CInterfacePtr<IHTMLDocument2> htmlDocument;
    if (FAILED(m_control->get_Document(document.Receive())) || !document ||
        FAILED(document.QueryInterface(htmlDocument.Receive())) || !htmlDocument)
        return;
    SingleStringArray text(html);
    if (text.Get() == nullptr)
        return;
    htmlDocument->write(text.Get());
    htmlDocument->close();
}
