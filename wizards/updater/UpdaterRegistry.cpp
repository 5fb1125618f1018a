// The product key as the updaters use it.

#include "wizards/updater/UpdaterRegistry.h"

#include "wizards/common/ProductRegistry.h"

std::wstring GetProductRegValue(const wchar_t* name, const std::wstring& defaultValue)
{
    return ReadProductRegValue(name, defaultValue, ProductKeyReadAccess);
}

bool SetProductRegValue(const wchar_t* name, const std::wstring& text)
{
    return WriteProductRegValue(name, text);
}
