#pragma once
// A stand-in for the web browser control: IWebBrowser2 and IOleObject, with
// an HTML document that records what is written into it. Navigations,
// Stop, Quit, the properties and the client sites it was given are recorded.

#include "tests/backends/ComTestObjects.h"
#include "tests/backends/HostedOleObject.h"
#include "tests/backends/InterfaceStubs.h"
#include "tests/backends/TestSupport.h"

#include <string>
#include <vector>

class FakeHtmlDocument;

class FakeWebBrowser final : public StubWebBrowser2, public HostedOleObject {
public:
    // log receives "navigate <url>", "write <html>", "close", "Stop", "Quit".
    // Without a document, get_Document gives nothing (as Wine's browser).
    FakeWebBrowser(EventLog* log, bool hasDocument = true);

    std::vector<std::wstring> navigations;
    std::vector<std::wstring> written;
    int closes = 0;
    VARIANT_BOOL registerAsDropTarget = VARIANT_TRUE;
    VARIANT_BOOL resizable = VARIANT_TRUE;
    VARIANT_BOOL menuBar = VARIANT_TRUE;
    VARIANT_BOOL silent = VARIANT_FALSE;

    void Log(const std::wstring& entry);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    TEST_COM_REFCOUNT

    // IWebBrowser2
    STDMETHODIMP Stop() override;
    STDMETHODIMP Quit() override;
    STDMETHODIMP get_Document(IDispatch** document) override;
    STDMETHODIMP Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* postData,
                           VARIANT* headers) override;
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL value) override;
    STDMETHODIMP put_Resizable(VARIANT_BOOL value) override;
    STDMETHODIMP put_MenuBar(VARIANT_BOOL value) override;
    STDMETHODIMP put_Silent(VARIANT_BOOL value) override;

private:
    ~FakeWebBrowser();

    EventLog* m_log;
    FakeHtmlDocument* m_document = nullptr;
};
