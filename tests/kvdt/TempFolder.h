#pragma once
// A fresh folder under the Windows temporary folder, removed with all its
// files when the object goes.

#include <string>

namespace KvdtTest {

class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // Full Windows path, without a final separator.
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }
    // Writes a file (creating sub-folders named in it); false on failure.
    bool Write(const std::wstring& name, const std::string& bytes) const;

private:
    std::wstring m_path;
};

} // namespace KvdtTest
