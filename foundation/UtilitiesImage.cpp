// Decoding an image held in a memory stream.

#include "foundation/Image.h"
#include "foundation/MemoryStream.h"
#include "foundation/UtilitiesCommon.h"

#include <cstring>

namespace KV {

namespace {

// Releases a COM stream at scope end.
class ComStreamHolder {
public:
    ComStreamHolder() = default;
    ComStreamHolder(const ComStreamHolder&) = delete;
    ComStreamHolder& operator=(const ComStreamHolder&) = delete;
    ~ComStreamHolder()
    {
        if (m_stream)
            m_stream->Release();
    }
    IStream** Receive() { return &m_stream; }
    IStream* Get() const { return m_stream; }

private:
    IStream* m_stream = nullptr;
};

uint32_t BigEndian16(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) << 8 | at[1];
}

uint32_t BigEndian32(const uint8_t* at)
{
    return BigEndian16(at) << 16 | BigEndian16(at + 2);
}

uint32_t LittleEndian16(const uint8_t* at)
{
    return static_cast<uint32_t>(at[1]) << 8 | at[0];
}

uint32_t LittleEndian32(const uint8_t* at)
{
    return LittleEndian16(at + 2) << 16 | LittleEndian16(at);
}

// The frame header of a JPEG: markers are walked by their lengths up to the
// first start-of-frame.
bool ReadJpegSize(const uint8_t* data, size_t size, uint32_t& width, uint32_t& height)
{
    size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF)
            return false;
        const uint8_t marker = data[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const size_t length = BigEndian16(data + at + 2);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > size)
                return false;
            height = BigEndian16(data + at + 5);
            width = BigEndian16(data + at + 7);
            return true;
        }
        if (length < 2)
            return false;
        at += 2 + length;
    }
    return false;
}

} // namespace

bool ReadImageFileSize(const uint8_t* data, size_t size, uint32_t& width, uint32_t& height)
{
    static const uint8_t Png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (data == nullptr)
        return false;
    if (size >= 24 && std::memcmp(data, Png, sizeof(Png)) == 0) {
        width = BigEndian32(data + 16);
        height = BigEndian32(data + 20);
        return true;
    }
    if (size >= 10 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0)) {
        width = LittleEndian16(data + 6);
        height = LittleEndian16(data + 8);
        return true;
    }
    if (size >= 26 && data[0] == 'B' && data[1] == 'M') {
        if (LittleEndian32(data + 14) == 12) {
            width = LittleEndian16(data + 18);
            height = LittleEndian16(data + 20);
            return true;
        }
        const int32_t signedWidth = static_cast<int32_t>(LittleEndian32(data + 18));
        const int32_t signedHeight = static_cast<int32_t>(LittleEndian32(data + 22));
        width = signedWidth < 0 ? 0u - static_cast<uint32_t>(signedWidth) : static_cast<uint32_t>(signedWidth);
        height = signedHeight < 0 ? 0u - static_cast<uint32_t>(signedHeight) : static_cast<uint32_t>(signedHeight);
        return true;
    }
    if (size >= 4 && data[0] == 0xFF && data[1] == 0xD8)
        return ReadJpegSize(data, size, width, height);
    return false;
}

std::unique_ptr<CImage> ImageFromStream(const MemoryStream* stream, uint64_t maxPixels)
{
    if (!stream)
        return nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    if (ReadImageFileSize(stream->GetBuffer(), stream->GetSize(), width, height) &&
        (width > MaxImageSide || height > MaxImageSide || static_cast<uint64_t>(width) * height > maxPixels))
        return nullptr;
    ComStreamHolder com;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, com.Receive())) || !com.Get())
        return nullptr;
    const uint32_t size = stream->GetSize();
    ULARGE_INTEGER comSize;
    comSize.QuadPart = size;
    if (FAILED(com.Get()->SetSize(comSize)))
        return nullptr;
    if (size != 0) {
        ULONG written = 0;
        if (FAILED(com.Get()->Write(stream->GetBuffer(), size, &written)) || written != size)
            return nullptr;
    }
    auto image = std::make_unique<CImage>();
    if (!image->Load(com.Get()))
        return nullptr;
    // A format whose size was not known beforehand is held to the same limit.
    if (static_cast<uint64_t>(image->GetWidth()) * static_cast<uint64_t>(image->GetHeight()) > maxPixels)
        return nullptr;
    return image;
}

} // namespace KV
