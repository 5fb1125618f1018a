#pragma once
// Recorder factories make the recorder a channel needs, found by the
// channel's recorder key ("mms", "mp3"). Each factory registers itself under
// its key in a process-wide registry, which owns it. User-interface thread
// only.

#include <memory>
#include <string>

class Recorder;
struct RecordingJob;

class RecorderFactory {
public:
    // Registers the new factory under key; a factory registered earlier
    // under that key is deleted. Create factories with new: the registry
    // owns them from then on.
    RecorderFactory(const std::string& key, const std::wstring& extension);
    virtual ~RecorderFactory() = default;

    RecorderFactory(const RecorderFactory&) = delete;
    RecorderFactory& operator=(const RecorderFactory&) = delete;

    // A new recorder for the job: stop flag clear, no bytes, no file, no
    // thread yet.
    virtual std::shared_ptr<Recorder> Create(const RecordingJob& job) = 0;

    const std::string& GetKey() const { return m_key; }
    // Extension of the output files, without the dot.
    const std::wstring& GetExtension() const { return m_extension; }

    // The MMS factory ("mms", "asf"), then the HTTP audio factory ("mp3",
    // "mp3").
    static void RegisterAll();
    // The factory registered under key, or null.
    static RecorderFactory* Find(const std::string& key);
    // Deletes every factory and empties the registry.
    static void DeleteAll();

private:
    std::string m_key;
    std::wstring m_extension;
};
