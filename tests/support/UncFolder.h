#pragma once
// A fresh folder on a network share of this machine, named by its UNC path
// (\\localhost\<share>\...), removed with its content when the object goes.
// Under Wine a share of localhost is a folder below the prefix's
// dosdevices\unc\localhost; on Windows the folder lies in the temporary
// folder, reached through its drive's administrative share.

#include "tests/support/TempFolder.h"

#include <string>

class UncFolder {
public:
    UncFolder();
    UncFolder(const UncFolder&) = delete;
    UncFolder& operator=(const UncFolder&) = delete;
    ~UncFolder();

    // The UNC path without a final separator; empty when this system
    // offers no share that a file can be written through.
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    // Under Wine: the share's own folder in the prefix.
    std::wstring m_share;
    TempFolder m_local;
    std::wstring m_path;
};
