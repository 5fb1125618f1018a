#pragma once
// IOleObject as much as a host uses it, for the doubles of hosted controls:
// the client site given last is kept (and every one given is recorded, null
// included), activation and closing do nothing, and there are no misc status
// bits.

#include "tests/backends/InterfaceStubs.h"

#include <vector>

class HostedOleObject : public StubOleObject {
public:
    // Every site given with SetClientSite, in order (null included).
    std::vector<IOleClientSite*> sitesGiven;
    IOleClientSite* site = nullptr;

    STDMETHODIMP SetClientSite(IOleClientSite* clientSite) override;
    STDMETHODIMP GetClientSite(IOleClientSite** clientSite) override;
    STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override;
    STDMETHODIMP Close(DWORD) override { return S_OK; }

protected:
    HostedOleObject() = default;
    ~HostedOleObject();
};
