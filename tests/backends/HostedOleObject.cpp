#include "tests/backends/HostedOleObject.h"

HostedOleObject::~HostedOleObject()
{
    if (site != nullptr)
        site->Release();
}

STDMETHODIMP HostedOleObject::SetClientSite(IOleClientSite* clientSite)
{
    sitesGiven.push_back(clientSite);
    if (clientSite != nullptr)
        clientSite->AddRef();
    if (site != nullptr)
        site->Release();
    site = clientSite;
    return S_OK;
}

STDMETHODIMP HostedOleObject::GetClientSite(IOleClientSite** clientSite)
{
    *clientSite = site;
    if (site == nullptr)
        return E_FAIL;
    site->AddRef();
    return S_OK;
}

STDMETHODIMP HostedOleObject::GetMiscStatus(DWORD, DWORD* status)
{
    *status = 0;
    return S_OK;
}
