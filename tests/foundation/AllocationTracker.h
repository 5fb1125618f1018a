#pragma once
// Counts the C heap (and so operator new) of a test program linked with
// -Wl,--wrap=malloc,--wrap=calloc,--wrap=realloc,--wrap=free.

#include <cstddef>
#include <cstdint>

namespace AllocationTracker {

// Starts a new measurement: the peak becomes the current live total and the
// largest request is forgotten.
void Reset();
int64_t LiveBytes();
int64_t PeakLiveBytes();
size_t LargestRequest();
// Whether the wrappers are linked in (calls have been seen).
bool Active();
// From now on operator new throws std::bad_alloc when the live total would
// grow by more than extraBytes; until StopFailing.
void FailBeyond(int64_t extraBytes);
void StopFailing();

} // namespace AllocationTracker
