#include "tests/support/ZipBuilder.h"

#include <zlib.h>

#include <cstdint>

namespace {

void Put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

std::string ZipBuilder::Build(size_t base) const
{
    std::string out;
    std::string directory;
    for (const auto& entry : m_entries) {
        const std::string& name = entry.first;
        const std::string& data = entry.second;
        const uint32_t crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        const uint32_t offset = static_cast<uint32_t>(base + out.size());
        const uint32_t size = static_cast<uint32_t>(data.size());
        Put32(out, 0x04034B50);
        Put16(out, 10);  // version needed
        Put16(out, 0);   // flags
        Put16(out, 0);   // stored
        Put16(out, 0);   // time
        Put16(out, 0x21);  // date: 1 Jan 1980
        Put32(out, crc);
        Put32(out, size);
        Put32(out, size);
        Put16(out, static_cast<uint32_t>(name.size()));
        Put16(out, 0);
        out += name;
        out += data;

        Put32(directory, 0x02014B50);
        Put16(directory, 20);
        Put16(directory, 10);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0x21);
        Put32(directory, crc);
        Put32(directory, size);
        Put32(directory, size);
        Put16(directory, static_cast<uint32_t>(name.size()));
        Put16(directory, 0);  // extra
        Put16(directory, 0);  // comment
        Put16(directory, 0);  // disk
        Put16(directory, 0);  // internal attributes
        Put32(directory, 0);  // external attributes
        Put32(directory, offset);
        directory += name;
    }
    const uint32_t directoryOffset = static_cast<uint32_t>(base + out.size());
    out += directory;
    Put32(out, 0x06054B50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(m_entries.size()));
    Put16(out, static_cast<uint32_t>(m_entries.size()));
    Put32(out, static_cast<uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);
    return out;
}
