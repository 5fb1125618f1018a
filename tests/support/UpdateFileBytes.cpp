#include "tests/support/UpdateFileBytes.h"

#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"
#include "tests/support/ZipBuilder.h"

std::string TreeBytes(const KV::DataKey& tree)
{
    KV::MemoryStream stream;
    tree.Serialize(stream);
    return std::string(reinterpret_cast<const char*>(stream.GetBuffer()), stream.GetSize());
}

std::string MakeCatalogueBytes(const std::string& payload)
{
    KV::DataKey catalogue("channels");
    KV::DataKey* channel = catalogue.AddKey("de")->AddKey("tv1");
    channel->SetStringA("c", "n");
    channel->SetStringA("payload", payload);
    channel->AddKey("0")->SetStringW("u", L"mms://stream.example/tv1");
    return TreeBytes(catalogue);
}

std::string MakeSetupPackageBytes(const std::string& image, const std::wstring& version, uint32_t mode)
{
    KV::DataKey settings("set");
    settings.SetStringW("ver", version);
    const std::string archive = ZipBuilder().Add("set.kvdt", TreeBytes(settings)).Build(image.size());
    const uint32_t trailer[3] = {static_cast<uint32_t>(image.size()), 0, mode};
    return image + archive + std::string(reinterpret_cast<const char*>(trailer), sizeof trailer);
}
