#pragma once
// How the wizards start their detached worker threads: through one starter
// for the process (StartThread, whose holder goes at once, unless replaced),
// so that a test can make a start fail and see the run end all the same.

#include "framework/Thread.h"

// Starts proc(argument) on a detached thread; false when none started.
using WorkerThreadStarter = bool (*)(ThreadProc proc, void* argument);

// Starts proc(argument) through the current starter.
bool StartDetachedWorker(ThreadProc proc, void* argument);

// Replaces the starter (null: the real one again); returns the one it
// replaces.
WorkerThreadStarter SetWorkerThreadStarter(WorkerThreadStarter starter);
