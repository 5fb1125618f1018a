#pragma once
// The common frame of the updater tests: a program folder, the tests'
// product key, a local server, and helpers that put the variant's check
// document and download on the server (update.zip and a setup for the
// program updater, cupdate.dat and channels.zip for Chanfresh).

#include "tests/updater/UpdateServer.h"
#include "tests/updater/UpdaterTestSupport.h"
#include "wizards/updater/UpdaterVariant.h"

#include <gtest/gtest.h>

#include <string>

class UpdaterFixture : public ::testing::Test {
protected:
    // The program updater's package name on the server.
    static constexpr const wchar_t* PackageName = L"setup.exe";
    static constexpr const wchar_t* DisplayName = L"Brisvane 2.4 beta";

    void SetUp() override;
    void TearDown() override;

    // folder\Updater.exe (or Chanfresh.exe) with the tests' settings.
    std::wstring ProgramFile() const;
    // Writes the program file; an empty folderUrl means the server's.
    void WriteProgram(TestSettingsOptions options = TestSettingsOptions());
    // WriteProgram, then LoadUpdaterData from it.
    void LoadProgram(TestSettingsOptions options = TestSettingsOptions());

    // The check document offering version.
    void PutOffer(const std::string& version, int channelCount = 7);
    // The server-side file the download fetches, holding payload: a setup
    // package of the version last offered, or channels.zip with a catalogue.
    void PutDownload(const std::string& payload, UpdateServer::File shape = UpdateServer::File());
    // The file a download of that payload leaves in Updates.
    std::string Served(const std::string& payload) const;
    // Name of the check document and of the download on the server.
    static std::string CheckDocumentName();
    static std::string DownloadName();
    // Where a completed download lies.
    std::wstring ExpectedTarget() const;
    // The frame's caption for the shipped English texts.
    static std::wstring ExpectedCaption();

    // Waits until no worker of this process is left.
    static void WaitForWorkers();

    const VariantTraits& traits = GetVariantTraits();
    // The version of the last PutOffer.
    std::string offered;
    TempFolder folder;
    ProductKeyGuard key;
    UpdateServer server;
};
