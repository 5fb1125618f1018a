#pragma once
// The output file of one recording. It is never made over a file that
// exists (a file left by an earlier run, or another recording's), and a
// recording that gets no data leaves no file: the file is created when the
// first bytes arrive unless the recorder asks for it earlier. Bytes go to
// the system as they are written, so a process that dies keeps them.

#include "foundation/ZipFileHandle.h"

#include <atomic>
#include <string>

class RecordingFile {
public:
    explicit RecordingFile(std::wstring path) : m_path(std::move(path)) {}

    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;

    // Creates the file now; false when it exists already or cannot be made.
    bool Create();
    // All n bytes written, creating the file first when needed; false when
    // it cannot be created or written.
    bool Write(const void* data, size_t n);
    void Close() { m_handle.Reset(); }

    bool IsOpen() const { return m_handle.IsValid(); }
    // This recording made the file (it may be closed again).
    bool WasCreated() const { return m_created.load(); }

private:
    std::wstring m_path;
    ZipFileHandle m_handle;
    std::atomic<bool> m_created{false};
};
