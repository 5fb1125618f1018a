#pragma once
// The files an update hands over, made by the tests: setup packages laid
// out as the package builder lays them out (an image, the appended archive
// with absolute offsets whose set.kvdt names the version, the 12-byte
// trailer with the mode), and channel catalogues.

#include <cstdint>
#include <string>

namespace KV {
class DataKey;
}

// The data tree in its file format.
std::string TreeBytes(const KV::DataKey& tree);

// image (should start with "MZ" to pass for a program) + archive + trailer.
std::string MakeSetupPackageBytes(const std::string& image, const std::wstring& version, uint32_t mode = 0);

// A catalogue the player loads: one country with one channel, which
// carries payload.
std::string MakeCatalogueBytes(const std::string& payload);
