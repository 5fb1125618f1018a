#pragma once
// Small COM helpers of the test doubles: reference counting and a class
// factory registered for a CLSID in this process, so that the back-ends'
// host windows create the double instead of the platform's control.

#include <windows.h>

#include <ole2.h>

// AddRef/Release of a double that is deleted with its last reference.
#define TEST_COM_REFCOUNT                                                                             \
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); } \
    STDMETHODIMP_(ULONG) Release() override                                                           \
    {                                                                                                 \
        const LONG refs = ::InterlockedDecrement(&m_refs);                                            \
        if (refs == 0)                                                                                \
            delete this;                                                                              \
        return static_cast<ULONG>(refs);                                                              \
    }                                                                                                 \
    LONG m_refs = 1;

// While it lives, CoCreateInstance of clsid in this process gives instance
// (or fails with failure when instance is null).
class ScopedClassOverride {
public:
    ScopedClassOverride(REFCLSID clsid, IUnknown* instance, HRESULT failure = CLASS_E_CLASSNOTAVAILABLE);
    ~ScopedClassOverride();
    ScopedClassOverride(const ScopedClassOverride&) = delete;
    ScopedClassOverride& operator=(const ScopedClassOverride&) = delete;

    bool IsRegistered() const { return m_cookie != 0; }

private:
    DWORD m_cookie = 0;
};
