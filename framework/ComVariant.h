// CVariant: an owned VARIANT (VariantInit / VariantClear).
#pragma once

#include <windows.h>

#include <oleauto.h>

class CVariant : public tagVARIANT {
public:
    CVariant() { ::VariantInit(this); }
    CVariant(bool value)
    {
        ::VariantInit(this);
        vt = VT_BOOL;
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    CVariant(long value)
    {
        ::VariantInit(this);
        vt = VT_I4;
        lVal = value;
    }
    CVariant(int value) : CVariant(static_cast<long>(value)) {}
    // A null text is an empty string.
    CVariant(const wchar_t* text)
    {
        ::VariantInit(this);
        vt = VT_BSTR;
        bstrVal = ::SysAllocString(text != nullptr ? text : L"");
    }
    CVariant(IUnknown* object)
    {
        ::VariantInit(this);
        vt = VT_UNKNOWN;
        punkVal = object;
        if (object != nullptr)
            object->AddRef();
    }
    CVariant(IDispatch* object)
    {
        ::VariantInit(this);
        vt = VT_DISPATCH;
        pdispVal = object;
        if (object != nullptr)
            object->AddRef();
    }
    CVariant(const VARIANT& other)
    {
        ::VariantInit(this);
        ::VariantCopy(this, const_cast<VARIANT*>(&other));
    }
    CVariant(const CVariant& other) : CVariant(static_cast<const VARIANT&>(other)) {}
    CVariant& operator=(const CVariant& other)
    {
        if (this != &other)
            ::VariantCopy(this, const_cast<CVariant*>(&other));  // clears this first
        return *this;
    }
    ~CVariant() { ::VariantClear(this); }

    HRESULT Clear() { return ::VariantClear(this); }
    // Clears and gives the variant to an out parameter.
    VARIANT* Receive()
    {
        ::VariantClear(this);
        return this;
    }
    HRESULT ChangeType(VARTYPE type) { return ::VariantChangeType(this, this, 0, type); }
};
