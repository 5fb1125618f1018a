#include "tests/updater/UpdaterFixture.h"

#include "wizards/updater/UpdaterContext.h"
#include "wizards/updater/WorkerThread.h"

void UpdaterFixture::SetUp()
{
    ASSERT_FALSE(folder.Path().empty());
    ASSERT_TRUE(server.IsRunning());
}

void UpdaterFixture::TearDown()
{
    server.Release();
    WaitForWorkers();
    FreeUpdaterData();
}

std::wstring UpdaterFixture::ProgramFile() const
{
    return folder.File(IsChannelListUpdater() ? L"Chanfresh.exe" : L"Updater.exe");
}

void UpdaterFixture::WriteProgram(TestSettingsOptions options)
{
    if (options.folderUrl.empty())
        options.folderUrl = server.FolderUrl();
    ASSERT_TRUE(WriteProgramFile(ProgramFile(), MakeTestSettings(options)));
}

void UpdaterFixture::LoadProgram(TestSettingsOptions options)
{
    WriteProgram(options);
    ASSERT_TRUE(LoadUpdaterData(ProgramFile()));
}

std::string UpdaterFixture::CheckDocumentName()
{
    return IsChannelListUpdater() ? "cupdate.dat" : "update.zip";
}

std::string UpdaterFixture::DownloadName()
{
    return IsChannelListUpdater() ? "channels.zip" : "setup.exe";
}

void UpdaterFixture::PutOffer(const std::string& version, int channelCount)
{
    offered = version;
    if (IsChannelListUpdater())
        server.Put(CheckDocumentName(), MakeChannelDescriptor(version, true, channelCount));
    else
        server.Put(CheckDocumentName(), MakeUpdateZip(version, PackageName, DisplayName));
}

void UpdaterFixture::PutDownload(const std::string& payload, UpdateServer::File shape)
{
    shape.body = IsChannelListUpdater() ? MakeChannelsZip(Served(payload)) : Served(payload);
    server.Put(DownloadName(), shape);
}

std::string UpdaterFixture::Served(const std::string& payload) const
{
    if (IsChannelListUpdater())
        return MakeCatalogueBytes(payload);
    return MakeSetupPackageBytes("MZ" + payload, std::wstring(offered.begin(), offered.end()));
}

std::wstring UpdaterFixture::ExpectedTarget() const
{
    return folder.File(L"Updates\\") + (IsChannelListUpdater() ? L"Channels.brsc" : PackageName);
}

std::wstring UpdaterFixture::ExpectedCaption()
{
    return IsChannelListUpdater() ? L"Update Brisvane channel list" : L"Update Brisvane";
}

void UpdaterFixture::WaitForWorkers()
{
    WaitFor([] { return GetActiveWorkerCount() == 0; }, 60000);
}
