#include "tests/backends/ComTestObjects.h"

namespace {

class InstanceFactory final : public IClassFactory {
public:
    InstanceFactory(IUnknown* instance, HRESULT failure) : m_instance(instance), m_failure(failure)
    {
        if (m_instance != nullptr)
            m_instance->AddRef();
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory)
            return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    TEST_COM_REFCOUNT

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        if (m_instance == nullptr)
            return m_failure;
        return m_instance->QueryInterface(iid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    ~InstanceFactory()
    {
        if (m_instance != nullptr)
            m_instance->Release();
    }

    IUnknown* m_instance;
    HRESULT m_failure;
};

}  // namespace

ScopedClassOverride::ScopedClassOverride(REFCLSID clsid, IUnknown* instance, HRESULT failure)
{
    InstanceFactory* factory = new InstanceFactory(instance, failure);
    if (FAILED(::CoRegisterClassObject(clsid, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie)))
        m_cookie = 0;
    factory->Release();
}

ScopedClassOverride::~ScopedClassOverride()
{
    if (m_cookie != 0)
        ::CoRevokeClassObject(m_cookie);
}
