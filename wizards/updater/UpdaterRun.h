#pragma once
// The run of an updater after its entry: start-up data, the single-instance
// test by the frame's caption, the frame and its message loop.

#include <string>

// Returns the message loop's exit code, or 0 when another instance runs or
// the frame cannot be created. programFile: where the start-up data is read
// from (empty: the running program).
int Run(bool hidden, const std::wstring& programFile = std::wstring());
