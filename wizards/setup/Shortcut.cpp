// Creating shell links.

#include "wizards/setup/Shortcut.h"

#include "framework/ComPtr.h"
#include "wizards/setup/UninstallLog.h"

#include <objidl.h>
#include <shlobj.h>

HRESULT CreateShortcut(const std::wstring& target, const wchar_t* description, const std::wstring& link)
{
    wchar_t fullPath[MAX_PATH] = L"";
    const DWORD length = ::GetFullPathNameW(target.c_str(), MAX_PATH, fullPath, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return E_FAIL;

    CInterfacePtr<IShellLinkW> shellLink;
    HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                        reinterpret_cast<void**>(shellLink.Receive()));
    if (FAILED(result))
        return result;
    result = shellLink->SetPath(fullPath);
    if (description) {
        result = shellLink->SetDescription(description);
        if (FAILED(result))
            return result;
    }
    CInterfacePtr<IPersistFile> file;
    result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()));
    if (SUCCEEDED(result))
        result = file->Save(link.c_str(), TRUE);
    LogAddFile(link);
    return result;
}
