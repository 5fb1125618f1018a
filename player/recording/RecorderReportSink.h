#pragma once
// Where a recorder's worker thread sends its state reports. The sink is
// shared between the recorder and whoever made it, so it outlives every
// worker that may still report into it.

#include <cstdint>

class Recorder;

class RecorderReportSink {
public:
    virtual ~RecorderReportSink() = default;

    // Runs on the recorder's worker thread; state is one of Recorder::State.
    virtual void OnRecorderReport(Recorder& recorder, int state, uint64_t bytes) = 0;
};
