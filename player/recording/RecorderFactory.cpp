#include "player/recording/RecorderFactory.h"

#include "player/recording/MMSRecorder.h"
#include "player/recording/MP3Recorder.h"

#include <map>

namespace {

using FactoryMap = std::map<std::string, std::unique_ptr<RecorderFactory>>;

FactoryMap& Registry()
{
    static FactoryMap registry;
    return registry;
}

} // namespace

RecorderFactory::RecorderFactory(const std::string& key, const std::wstring& extension)
    : m_key(key), m_extension(extension)
{
    Registry()[m_key].reset(this);
}

void RecorderFactory::RegisterAll()
{
    new MMSRecorderFactory();
    new MP3RecorderFactory();
}

RecorderFactory* RecorderFactory::Find(const std::string& key)
{
    const FactoryMap& registry = Registry();
    const auto found = registry.find(key);
    return found == registry.end() ? nullptr : found->second.get();
}

void RecorderFactory::DeleteAll()
{
    // A factory's destructor leaves the registry alone.
    Registry().clear();
}
