// Extracting the package's files and rewriting the listed ones.

#include "wizards/setup/SetupArchive.h"

#include "foundation/DataKey.h"
#include "foundation/ZipHandle.h"
#include "wizards/common/FileHandle.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/Text.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/InstallWorker.h"
#include "wizards/setup/UninstallLog.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace {

std::wstring Combine(const std::wstring& folder, const std::wstring& name)
{
    wchar_t combined[MAX_PATH] = L"";
    if (!::PathCombineW(combined, folder.c_str(), name.c_str()))
        return std::wstring();
    return combined;
}

std::wstring SpaceJoined(const std::wstring& first, const std::wstring& second)
{
    return first + L" " + second;
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

RewriteFunction& RewriteSlot()
{
    static RewriteFunction function = &UnswapFile;
    return function;
}

// A rewrite that throws (out of memory) has failed like one that says so.
bool Rewrite(const std::wstring& folder, const std::wstring& name)
{
    try {
        return RewriteSlot()(folder, name);
    } catch (...) {
        return false;
    }
}

} // namespace

void CSetupArchive::SetBaseFolder(const std::wstring& folder)
{
    ZipReaderSetBaseFolder(GetHandle(), folder.c_str());
}

bool CSetupArchive::ExtractFiles(const std::wstring& folder, const KV::DataKey& node)
{
    if (!IsOpen())
        return false;
    if (!m_textsLoaded) {
        m_outputText = GetLanguageText("tOutput");
        m_extractText = GetLanguageText("tExtract");
        m_textsLoaded = true;
    }

    CreateFolder(folder);
    SetBaseFolder(folder);
    ReportProgress(SpaceJoined(m_outputText, folder), false);

    // In the package's order, which the progress range and the log follow.
    for (const auto& value : node.GetValues()) {
        const std::wstring target = WidenAnsi(value.first);
        const std::wstring* entry = value.second ? value.second->GetStringW() : nullptr;
        ReportProgress(SpaceJoined(m_extractText, target), true);
        const std::wstring path = folder + L"\\" + target;
        LogAddFile(path);
        if (!ExtractEntry(target.c_str(), entry ? entry->c_str() : L"")) {
            m_failedFiles.push_back(path);
            // The old copy an earlier install left is already in its final
            // form and still serves.
            if (!IsFile(path))
                m_everyFileUsable = false;
        } else if (!Rewrite(folder, target)) {
            // Written but not turned back: neither the old nor the new file.
            m_failedFiles.push_back(path);
            m_everyFileUsable = false;
        }
    }
    for (const auto& child : node.GetKeys()) {
        if (child.second)
            ExtractFiles(Combine(folder, WidenAnsi(child.first)), *child.second);
    }
    return true;
}

RewriteFunction SetRewriteFunction(RewriteFunction function)
{
    const RewriteFunction previous = RewriteSlot();
    RewriteSlot() = function ? function : &UnswapFile;
    return previous;
}

bool CreateFolder(const std::wstring& path)
{
    LogAddDir(path);
    return ::SHCreateDirectory(nullptr, path.c_str()) == 0;
}

bool UnswapFile(const std::wstring& folder, const std::wstring& name)
{
    const std::wstring extension = ::PathFindExtensionW(name.c_str());
    const StringList& crypt = GetCryptList();
    const bool listed = std::any_of(crypt.begin(), crypt.end(), [&](const std::wstring& entry) {
        return ::StrCmpIW(entry.c_str(), extension.c_str()) == 0;
    });
    if (!listed)
        return true;

    CFileHandle file(::CreateFileW(Combine(folder, name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return false;
    const DWORD count = static_cast<DWORD>(size.QuadPart);
    std::vector<unsigned char> bytes(count);
    DWORD read = 0;
    if (count > 0 && (!::ReadFile(file.Get(), bytes.data(), count, &read, nullptr) || read != count))
        return false;
    for (DWORD i = 0; i < count / 2; i += 2)
        std::swap(bytes[i], bytes[count - 2 - i]);
    if (count == 0)
        return true;
    DWORD written = 0;
    return ::SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) == 0 &&
           ::WriteFile(file.Get(), bytes.data(), count, &written, nullptr) && written == count;
}
