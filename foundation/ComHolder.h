#pragma once
// Holds one reference to a COM interface and releases it at scope end. The
// foundation cannot reach the framework's interface pointer, and needs no
// more than this.

#include <windows.h>

#include <unknwn.h>

namespace KV {

template <class T>
class ComHolder {
public:
    ComHolder() = default;
    ComHolder(const ComHolder&) = delete;
    ComHolder& operator=(const ComHolder&) = delete;
    ~ComHolder() { Reset(); }

    // Releases what is held and gives the slot to an out parameter.
    T** Receive()
    {
        Reset();
        return &m_p;
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    void Reset()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }

    T* m_p = nullptr;
};

} // namespace KV
