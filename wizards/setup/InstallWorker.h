#pragma once
// The setup's one worker thread: it extracts the package, installs the
// checked components, writes the registry and the uninstall log, or, in the
// uninstall, deletes what the log lists and the product's keys. It reports
// into the installing page or the silent update dialog and moves on to the
// finish page (or ends the dialog) when it is done.

#include <string>

// busy is set before the thread starts (and cleared again when it cannot
// be started), so the frame never sees an idle setup while the worker runs.
void StartInstallWorker();
// The thread's whole work; returns 0. Also callable directly.
unsigned InstallWorker();
// One progress step: the silent update dialog's bar, else a line of the
// installing page; advance moves the bar by one.
void ReportProgress(const std::wstring& line, bool advance);
