#pragma once
// Writes small zip archives for the tests: stored entries, and offsets
// counted from a base, so that an archive appended to a program image has
// the absolute offsets the updaters expect.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class ZipBuilder {
public:
    ZipBuilder& Add(const std::string& name, const std::string& data);
    // A deflated entry of size zero bytes: small in the archive, and long
    // to extract when large.
    ZipBuilder& AddDeflatedZeros(const std::string& name, uint32_t size);
    // The archive bytes as they lie from file offset base on.
    std::string Build(size_t base = 0) const;

private:
    struct Entry {
        std::string name;
        std::string data;  // as stored in the archive
        uint16_t method;   // 0 stored, 8 deflated
        uint32_t crc;
        uint32_t size;     // uncompressed
    };
    std::vector<Entry> m_entries;
};
