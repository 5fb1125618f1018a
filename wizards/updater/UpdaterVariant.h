#pragma once
// The two programs built from these sources: the program updater (Updater.exe)
// and the channel-list updater (Chanfresh.exe). Each build defines
// BRISVANE_UPDATER_VARIANT to one of the values below; everything that
// differs between them is in the table of VariantTraits.

enum class UpdaterVariant {
    ProgramUpdater = 0,
    ChannelListUpdater = 1,
};

#ifndef BRISVANE_UPDATER_VARIANT
#error "BRISVANE_UPDATER_VARIANT must name the updater being built (0 or 1)"
#endif

constexpr UpdaterVariant CurrentVariant = static_cast<UpdaterVariant>(BRISVANE_UPDATER_VARIANT);
static_assert(CurrentVariant == UpdaterVariant::ProgramUpdater || CurrentVariant == UpdaterVariant::ChannelListUpdater,
              "unknown updater variant");

constexpr bool IsChannelListUpdater() { return CurrentVariant == UpdaterVariant::ChannelListUpdater; }

struct VariantTraits {
    // Language item of the frame caption, which is also the window name the
    // single-instance test looks for.
    const char* captionKey;
    const char* startPageKey;
    // Finish page key after a completed download ("No updates" is shared).
    const char* finishUpdatedKey;
    // Product registry values: installed version, pending version, path of
    // the downloaded file.
    const wchar_t* installedVersionValue;
    const wchar_t* pendingVersionValue;
    const wchar_t* downloadedFileValue;
    // Language items of the balloon after a background download.
    const char* balloonTitleKey;
    const char* balloonTextKey;
};

constexpr VariantTraits ProgramUpdaterTraits{
    "titleUP", "PSUP", "PFUP", L"Version", L"UpdateVersion", L"Update", "sUpdTitle", "sUpd",
};

constexpr VariantTraits ChannelListUpdaterTraits{
    "titleCUP", "PSCUP", "PFCUP", L"CVersion", L"CUpdateVersion", L"CUpdate", "sCUpdTitle", "sCUpd",
};

constexpr const VariantTraits& GetVariantTraits()
{
    return IsChannelListUpdater() ? ChannelListUpdaterTraits : ProgramUpdaterTraits;
}

// Finish page key when nothing was downloaded.
constexpr const char* FinishNoUpdateKey = "PFUPN";
