// CBstr: an owned BSTR (SysAllocString / SysFreeString).
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

class CBstr {
public:
    CBstr() = default;
    CBstr(const wchar_t* text) : m_str(text != nullptr ? ::SysAllocString(text) : nullptr) {}
    CBstr(const std::wstring& text)
        : m_str(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
    }
    CBstr(const CBstr& other) : m_str(other.Copy()) {}
    CBstr(CBstr&& other) noexcept : m_str(other.Detach()) {}
    ~CBstr() { Free(); }

    CBstr& operator=(const CBstr& other)
    {
        if (this != &other)
            Attach(other.Copy());
        return *this;
    }
    CBstr& operator=(CBstr&& other) noexcept
    {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }

    operator BSTR() const { return m_str; }
    // Never null: an empty text for a null BSTR.
    const wchar_t* Text() const { return m_str != nullptr ? m_str : L""; }
    std::wstring ToString() const { return std::wstring(Text(), Length()); }
    UINT Length() const { return ::SysStringLen(m_str); }
    bool IsEmpty() const { return Length() == 0; }

    // Frees what is held and gives the slot to an out parameter.
    BSTR* Receive()
    {
        Free();
        return &m_str;
    }
    void Attach(BSTR str)
    {
        if (str != m_str)
            Free();
        m_str = str;
    }
    BSTR Detach()
    {
        BSTR str = m_str;
        m_str = nullptr;
        return str;
    }
    BSTR Copy() const { return m_str != nullptr ? ::SysAllocStringLen(m_str, Length()) : nullptr; }
    void Free()
    {
        ::SysFreeString(m_str);
        m_str = nullptr;
    }

private:
    BSTR m_str = nullptr;
};
