#pragma once
// Stream over a block of the C heap that the stream owns. The block is always
// exactly as large as the data it holds.

#include "foundation/Stream.h"

namespace KV {

class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    // Takes the whole content of the source (the source is left where its
    // read ended); the new stream's position is 0.
    explicit MemoryStream(Stream& source);
    MemoryStream(const MemoryStream& other);
    MemoryStream& operator=(const MemoryStream& other);
    MemoryStream(MemoryStream&& other) noexcept;
    MemoryStream& operator=(MemoryStream&& other) noexcept;
    ~MemoryStream() override;

    uint32_t Write(const void* source, uint32_t count) override;
    uint32_t Read(void* target, uint32_t count) override;
    // SeekEnd is relative to the size; targets before the start land at 0.
    uint32_t Seek(int32_t offset, uint32_t origin) override;
    uint32_t GetSize() const override { return m_size; }
    uint32_t SetSize(uint32_t size) override;
    uint32_t GetPosition() const override { return m_position; }
    void Close() override;

    // Null when the stream holds no data.
    uint8_t* GetBuffer() { return m_data; }
    const uint8_t* GetBuffer() const { return m_data; }

    // uint32 size, then all bytes, whatever the position (which stays put).
    bool SaveTo(Stream& target) const;
    // The reverse of SaveTo. False, with this stream left empty, when the
    // source runs out or announces more bytes than it holds.
    bool LoadFrom(Stream& source);

private:
    uint32_t m_size = 0;
    uint32_t m_position = 0;
    uint8_t* m_data = nullptr;
};

} // namespace KV
