// CInterfacePtr<T>: holds one reference to a COM interface and releases it at
// the end. Interfaces are identified with __uuidof (the platform headers
// declare their ids).
//
//   CInterfacePtr<IOleObject> object;
//   if (SUCCEEDED(host.QueryControl(object.Receive()))) object->DoVerb(...);
#pragma once

#include <windows.h>

#include <objbase.h>
#include <unknwn.h>

template <class T>
class CInterfacePtr {
public:
    CInterfacePtr() = default;
    CInterfacePtr(T* p) : m_p(p) { AddRefIfSet(); }
    CInterfacePtr(const CInterfacePtr& other) : m_p(other.m_p) { AddRefIfSet(); }
    CInterfacePtr(CInterfacePtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ~CInterfacePtr() { Release(); }

    CInterfacePtr& operator=(T* p)
    {
        if (p != nullptr)
            p->AddRef();
        Release();
        m_p = p;
        return *this;
    }
    CInterfacePtr& operator=(const CInterfacePtr& other) { return *this = other.m_p; }
    CInterfacePtr& operator=(CInterfacePtr&& other) noexcept
    {
        if (this != &other) {
            Release();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }

    T* operator->() const { return m_p; }
    operator T*() const { return m_p; }
    T* Get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Releases what is held and gives the slot to an out parameter.
    T** Receive()
    {
        Release();
        return &m_p;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

    // Takes over a reference without adding one / gives it away.
    void Attach(T* p)
    {
        Release();
        m_p = p;
    }
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    void Release()
    {
        T* p = m_p;
        m_p = nullptr;
        if (p != nullptr)
            p->Release();
    }

    template <class Q>
    HRESULT QueryInterface(Q** out) const
    {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        return m_p != nullptr ? m_p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(out)) : E_NOINTERFACE;
    }
    HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer = nullptr, DWORD context = CLSCTX_ALL)
    {
        return ::CoCreateInstance(clsid, outer, context, __uuidof(T), ReceiveVoid());
    }

private:
    void AddRefIfSet()
    {
        if (m_p != nullptr)
            m_p->AddRef();
    }

    T* m_p = nullptr;
};
