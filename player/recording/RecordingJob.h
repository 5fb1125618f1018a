#pragma once
// Everything a recorder's worker needs, copied from its record on the
// user-interface thread when the recording starts: the worker reads nothing
// of the record, the channel or the catalogue afterwards.

#include <windows.h>

#include <memory>
#include <string>

class RecorderReportSink;

struct RecordingJob {
    // A connection that gives nothing for this long ends the recording.
    static constexpr DWORD DefaultStallTimeoutMs = 7000;
    // A recording that has not reached its stream's data this long after it
    // began (grabber, look-up, connect, handshake) fails.
    static constexpr DWORD DefaultHandshakeTimeoutMs = 30000;

    // The output file; it must not exist yet (an existing file is never
    // overwritten).
    std::wstring path;
    // The channel's current source: the stream address, or the identifier
    // the grabber resolves.
    std::wstring source;
    // Empty: source is the stream address.
    std::string grabberKey;
    std::shared_ptr<RecorderReportSink> sink;
    DWORD stallTimeoutMs = DefaultStallTimeoutMs;
    DWORD handshakeTimeoutMs = DefaultHandshakeTimeoutMs;
};
