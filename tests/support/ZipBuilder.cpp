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

ZipBuilder& ZipBuilder::Add(const std::string& name, const std::string& data)
{
    const uint32_t crc =
        static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    m_entries.push_back(Entry{name, data, 0, crc, static_cast<uint32_t>(data.size())});
    return *this;
}

ZipBuilder& ZipBuilder::AddDeflatedZeros(const std::string& name, uint32_t size)
{
    // Raw deflate, fed a zero block at a time.
    const std::string zeros(1 << 20, '\0');
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::string data;
    char out[1 << 16];
    uLong crc = crc32(0, nullptr, 0);
    uint32_t left = size;
    int flush = Z_NO_FLUSH;
    do {
        const uint32_t piece = left < zeros.size() ? left : static_cast<uint32_t>(zeros.size());
        crc = crc32(crc, reinterpret_cast<const Bytef*>(zeros.data()), piece);
        left -= piece;
        flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
        stream.avail_in = piece;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out);
            stream.avail_out = sizeof out;
            deflate(&stream, flush);
            data.append(out, sizeof out - stream.avail_out);
        } while (stream.avail_out == 0);
    } while (flush != Z_FINISH);
    deflateEnd(&stream);
    m_entries.push_back(Entry{name, data, 8, static_cast<uint32_t>(crc), size});
    return *this;
}

std::string ZipBuilder::Build(size_t base) const
{
    std::string out;
    std::string directory;
    for (const Entry& entry : m_entries) {
        const std::string& name = entry.name;
        const std::string& data = entry.data;
        const uint32_t crc = entry.crc;
        const uint32_t offset = static_cast<uint32_t>(base + out.size());
        const uint32_t stored = static_cast<uint32_t>(data.size());
        const uint32_t size = entry.size;
        const uint32_t version = entry.method == 0 ? 10 : 20;
        Put32(out, 0x04034B50);
        Put16(out, version);  // version needed
        Put16(out, 0);        // flags
        Put16(out, entry.method);
        Put16(out, 0);     // time
        Put16(out, 0x21);  // date: 1 Jan 1980
        Put32(out, crc);
        Put32(out, stored);
        Put32(out, size);
        Put16(out, static_cast<uint32_t>(name.size()));
        Put16(out, 0);
        out += name;
        out += data;

        Put32(directory, 0x02014B50);
        Put16(directory, 20);
        Put16(directory, version);
        Put16(directory, 0);
        Put16(directory, entry.method);
        Put16(directory, 0);
        Put16(directory, 0x21);
        Put32(directory, crc);
        Put32(directory, stored);
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
