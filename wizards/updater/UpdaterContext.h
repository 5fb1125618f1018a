#pragma once
// The updater's run state, one per process, read and written on the UI
// thread only: the check and download workers get copies of what they need
// when they start and hand their results back in their reports (UpdateCheck.h,
// UpdateDownload.h). The cancel flag is the one thing both sides read: the UI
// thread sets it when the frame goes, and it lives as long as the process,
// so a worker that outlasts the run still reads it safely.

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
    std::atomic<bool> hidden{false};
    bool recorderEdition = false;
    std::atomic<int> updateError{UpdateErrorNone};
};

UpdaterContext& GetUpdaterContext();

// Set when the frame goes; read by the workers. Never destroyed.
std::atomic<bool>& GetCancelFlag();

// The start-up data: the language pack, skin and settings from the archive
// appended to programFile (the running program by default), the recorder
// edition, the start-up language, the installed and pending versions and
// the Updates folder beside programFile. Returns false when programFile
// holds no readable archive (the run then has no texts and no settings).
// Transfer files can be made again from here on (TransferFile.h).
bool LoadUpdaterData(const std::wstring& programFile = std::wstring());
// Releases the skin, the languages, the settings, the macros and the
// descriptor, and resets the run state (the cancel flag stays).
void FreeUpdaterData();

// The descriptor's "name"; in the recorder edition every "Brisvane" reads
// "Brisvane Recorder".
std::wstring GetUpdateDisplayName();
// Empty without settings update/durl; else durl (expanded) formatted with
// the new version whose dots became dashes.
std::wstring GetDetailsUrl();
// The channel-list descriptor's Int "cc"; 0 when missing.
int GetChannelCount();
