#pragma once
// Records an MMS stream through libmms: the file receives the ASF stream
// exactly as the library reads it.

#include "player/recording/Recorder.h"
#include "player/recording/RecorderFactory.h"

#include <string>

class MMSRecorder : public Recorder {
public:
    explicit MMSRecorder(const RecordingJob& job) : Recorder(job) {}

    void Run() override;

    // The address libmms opens: the ANSI form of address, with every
    // "http://" turned into "mms://" when it begins with one.
    static std::string MakeMmsAddress(const std::wstring& address);
};

class MMSRecorderFactory : public RecorderFactory {
public:
    MMSRecorderFactory() : RecorderFactory("mms", L"asf") {}

    std::shared_ptr<Recorder> Create(const RecordingJob& job) override;
};
