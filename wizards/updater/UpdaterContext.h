#pragma once
// The updater's run state, one per process. The UI thread fills it before
// the frame opens; the check and download workers then write the descriptor,
// the offered version, the error kind and the updated flag, and the UI
// thread sets cancel when the frame goes. The flags are atomics (no locks):
// every worker result reaches the UI thread through a sent message, after
// the worker wrote it.

#include "wizards/updater/UpdaterVariant.h"

#include <atomic>
#include <memory>
#include <string>

namespace KV {
class DataKey;
}

enum UpdateErrorKind : int {
    UpdateErrorNone = 0,
    UpdateErrorCheck = 1,
    UpdateErrorDownload = 2,
};

struct UpdaterContext {
    UpdaterContext();
    ~UpdaterContext();
    UpdaterContext(const UpdaterContext&) = delete;
    UpdaterContext& operator=(const UpdaterContext&) = delete;

    // The update descriptor of the last successful check (empty until then).
    std::unique_ptr<KV::DataKey> descriptor;
    // The descriptor's root name; empty until a check read one.
    std::wstring newVersion;
    std::wstring installedVersion;
    std::wstring pendingVersion;
    // Where downloads go: the program folder's "Updates".
    std::wstring updatesFolder;
    std::wstring programFolder;

    std::atomic<bool> updated{false};
    std::atomic<bool> cancel{false};
    std::atomic<bool> hidden{false};
    bool recorderEdition = false;
    std::atomic<int> updateError{UpdateErrorNone};
};

UpdaterContext& GetUpdaterContext();

// The start-up data: the language pack, skin and settings from the archive
// appended to programFile (the running program by default), the recorder
// edition, the start-up language, the installed and pending versions and
// the Updates folder beside programFile. Returns false when programFile
// holds no readable archive (the run then has no texts and no settings).
bool LoadUpdaterData(const std::wstring& programFile = std::wstring());
// Releases the skin, the languages, the settings, the macros and the
// descriptor, and resets the run state except the cancel flag.
void FreeUpdaterData();

// The descriptor's "name"; in the recorder edition every "Brisvane" reads
// "Brisvane Recorder".
std::wstring GetUpdateDisplayName();
// Empty without settings update/durl; else durl (expanded) formatted with
// the new version whose dots became dashes.
std::wstring GetDetailsUrl();
// The channel-list descriptor's Int "cc"; 0 when missing.
int GetChannelCount();
