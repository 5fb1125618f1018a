#pragma once
// Stream over a std::vector that grows geometrically: for building a whole
// file in memory before it is written in one block.

#include "foundation/Stream.h"

#include <vector>

namespace KV {

class VectorStream : public Stream {
public:
    VectorStream() = default;

    uint32_t Write(const void* source, uint32_t count) override;
    uint32_t Read(void* target, uint32_t count) override;
    uint32_t Seek(int32_t offset, uint32_t origin) override;
    uint32_t GetSize() const override { return static_cast<uint32_t>(m_bytes.size()); }
    uint32_t SetSize(uint32_t size) override;
    uint32_t GetPosition() const override { return m_position; }
    void Close() override;

    const uint8_t* GetData() const { return m_bytes.data(); }
    void Reserve(uint32_t size) { m_bytes.reserve(size); }

private:
    std::vector<uint8_t> m_bytes;
    uint32_t m_position = 0;
};

} // namespace KV
