#pragma once
// The setup's one worker thread: it extracts the package, installs the
// checked components, writes the registry and the uninstall log, or, in the
// uninstall, deletes what the log lists and the product's keys. It reports
// into the installing page or the silent update dialog and moves on to the
// finish page (or ends the dialog) when it is done.

#include <windows.h>

#include <string>

// What the installing page and the silent update dialog post to themselves
// when the worker could not start: its handler runs
// EndUnstartedInstallWorker.
constexpr UINT WM_INSTALL_WORKER_NOT_STARTED = WM_APP + 2;

// busy is set before the thread starts, so the frame never sees an idle
// setup while the worker runs. False when no thread could be started: the
// caller then ends the run with EndUnstartedInstallWorker, on its own
// thread once the call that started it has returned.
bool StartInstallWorker();
// The end of a run whose worker never started: a failed run, said so, and
// the finish page (or the end of the silent update dialog).
void EndUnstartedInstallWorker();
// The thread's whole work; returns 0. Also callable directly. A branch that
// throws ends the run as a failed one.
unsigned InstallWorker();
// One progress step: the silent update dialog's bar, else a line of the
// installing page; advance moves the bar by one.
void ReportProgress(const std::wstring& line, bool advance);
