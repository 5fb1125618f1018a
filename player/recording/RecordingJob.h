#pragma once
// Everything a recorder's worker needs, copied from its record on the
// user-interface thread when the recording starts: the worker reads nothing
// of the record, the channel or the catalogue afterwards.

#include <memory>
#include <string>

class RecorderReportSink;

struct RecordingJob {
    // The output file (created or truncated).
    std::wstring path;
    // The channel's current source: the stream address, or the identifier
    // the grabber resolves.
    std::wstring source;
    // Empty: source is the stream address.
    std::string grabberKey;
    std::shared_ptr<RecorderReportSink> sink;
};
