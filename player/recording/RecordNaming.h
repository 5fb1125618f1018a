#pragma once
// Names of recording files in the records folder:
// "<record name>#<channel id>#<seconds>.<extension>", e.g. Show#ab_cd#3600.asf.

#include <cstdint>
#include <string>

namespace RecordNaming {

// text with every character a file name cannot carry, every path separator
// and every "#" (which separates the fields) replaced by "_".
std::wstring SafeFileNameText(const std::wstring& text);

// The file name of a recording; name and channel id made safe with
// SafeFileNameText.
std::wstring MakeFileName(const std::wstring& name, const std::string& channelId, uint64_t seconds,
                          const std::wstring& extension);

// What every file name of a recording of name on the channel begins with:
// "<name>#<channel id>#" (made safe as above).
std::wstring MakeFileNamePrefix(const std::wstring& name, const std::string& channelId);

struct ParsedFileName {
    std::wstring name;
    std::string channelId;
    int64_t seconds = 0;
};

// The parts of a recording's file name; false when it lacks two "#". The
// seconds are the number that follows the second "#" (0 when none).
bool ParseFileName(const std::wstring& fileName, ParsedFileName& parsed);

// The extension of path without any dot; empty when it has none.
std::wstring ExtensionOf(const std::wstring& path);

// The base for a weekly record's successor: name without a trailing " (n)"
// of one digit, else name as it is ("Film (3)" gives "Film", "Film (12)"
// stays).
std::wstring SuccessorBaseName(const std::wstring& name);

} // namespace RecordNaming
