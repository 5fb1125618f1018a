#pragma once
// The setup's view of its appended archive: the foundation reader plus the
// extraction of the package's file tree into the install folder.

#include "foundation/ZipArchive.h"

#include <string>
#include <vector>

namespace KV {
class DataKey;
}

class CSetupArchive : public ZipArchive {
public:
    // Creates folder (logged), then extracts each value of node (target
    // file name -> entry name) into it, logging every file and rewriting the
    // files whose extension the settings list in "crypt"; each child node is
    // a sub-folder done the same way. False when no archive is open. A
    // file that cannot be written (locked, read-only, missing from the
    // archive) does not stop the others; it is kept in GetFailedFiles.
    bool ExtractFiles(const std::wstring& folder, const KV::DataKey& node);

    // Full paths of the files the extraction could not write or rewrite,
    // in order.
    const std::vector<std::wstring>& GetFailedFiles() const { return m_failedFiles; }
    // Whether every package file can serve: written, or where the write
    // failed, still there as an earlier install left it. A file written but
    // not rewritten cannot.
    bool IsEveryFileUsable() const { return m_everyFileUsable; }

private:
    void SetBaseFolder(const std::wstring& folder);

    bool m_textsLoaded = false;
    std::wstring m_outputText;
    std::wstring m_extractText;
    std::vector<std::wstring> m_failedFiles;
    bool m_everyFileUsable = true;
};

// Logs path as a folder, then creates it with its missing parents; true when
// the shell reports success.
bool CreateFolder(const std::wstring& path);

// When the extension of name (with its dot) is listed in "crypt" (ignoring
// case), exchanges bytes i and n - 2 - i of the file for i = 0, 2, 4, ...
// below n / 2. The exchange is its own inverse. False only when a listed
// file could not be rewritten.
bool UnswapFile(const std::wstring& folder, const std::wstring& name);

// The rewrite the extraction applies to each written file (UnswapFile
// unless replaced; null puts it back); the previous one is returned.
using RewriteFunction = bool (*)(const std::wstring& folder, const std::wstring& name);
RewriteFunction SetRewriteFunction(RewriteFunction function);
