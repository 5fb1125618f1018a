#pragma once
// Records a plain HTTP audio stream over a raw TCP socket. Everything
// received is written as it comes: the file begins with the server's status
// line and headers, followed by the stream data.

#include "player/recording/Recorder.h"
#include "player/recording/RecorderFactory.h"

#include <string>

class MP3Recorder : public Recorder {
public:
    explicit MP3Recorder(const RecordingJob& job) : Recorder(job) {}

    void Run() override;

    // The request for the path (without the query) and host (without the
    // port), as sent.
    static std::string MakeRequest(const std::string& path, const std::string& host);
};

class MP3RecorderFactory : public RecorderFactory {
public:
    MP3RecorderFactory() : RecorderFactory("mp3", L"mp3") {}

    std::shared_ptr<Recorder> Create(const RecordingJob& job) override;
};
