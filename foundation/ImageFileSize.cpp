// The size of the pictures an image file holds, read from its own headers
// so that a file claiming a huge picture can be refused before a decoder
// makes room for it.

#include "foundation/UtilitiesCommon.h"

#include <algorithm>
#include <cstring>

namespace KV {

namespace {

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

uint32_t Magnitude(uint32_t bits)
{
    const int32_t value = static_cast<int32_t>(bits);
    return value < 0 ? 0u - bits : bits;
}

// Adds one picture: the extent grows to the widest and tallest of them, and
// its pixels to the largest one's. The decoder makes one picture of a file
// at a time (an icon's chosen entry, an animation's current frame), so an
// animation of many small frames is no large image.
void AddPicture(ImageExtent& extent, uint32_t width, uint32_t height)
{
    extent.width = std::max(extent.width, width);
    extent.height = std::max(extent.height, height);
    extent.pixels = std::max(extent.pixels, static_cast<uint64_t>(width) * height);
}

const uint8_t PngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

bool IsPng(const uint8_t* data, size_t size)
{
    return size >= sizeof(PngSignature) && std::memcmp(data, PngSignature, sizeof(PngSignature)) == 0;
}

ImageHeader ReadPng(const uint8_t* data, size_t size, ImageExtent& extent)
{
    if (size < 24)
        return ImageHeader::Unreadable;
    AddPicture(extent, BigEndian32(data + 16), BigEndian32(data + 20));
    return ImageHeader::Sized;
}

// A BITMAPINFOHEADER or BITMAPCOREHEADER; an icon's counts the mask's rows
// in its height too.
bool ReadDibHeader(const uint8_t* data, size_t size, bool inIcon, ImageExtent& extent)
{
    if (size < 12)
        return false;
    uint32_t width = 0;
    uint32_t height = 0;
    if (LittleEndian32(data) == 12) {
        width = LittleEndian16(data + 4);
        height = LittleEndian16(data + 6);
    } else {
        width = Magnitude(LittleEndian32(data + 4));
        height = Magnitude(LittleEndian32(data + 8));
    }
    if (inIcon)
        height = height / 2 + height % 2;
    AddPicture(extent, width, height);
    return true;
}

ImageHeader ReadBmp(const uint8_t* data, size_t size, ImageExtent& extent)
{
    return ReadDibHeader(data + 14, size - 14, false, extent) ? ImageHeader::Sized : ImageHeader::Unreadable;
}

// Every block of the file, as a decoder that reads all frames at once walks
// them; a block cut short ends the walk with the frames before it.
ImageHeader ReadGif(const uint8_t* data, size_t size, ImageExtent& extent)
{
    AddPicture(extent, LittleEndian16(data + 6), LittleEndian16(data + 8));
    const auto tableBytes = [](uint8_t flags) { return (flags & 0x80) ? size_t(3) << ((flags & 7) + 1) : size_t(0); };
    if (size < 13)
        return ImageHeader::Sized;
    size_t at = 13 + tableBytes(data[10]);
    const auto skipSubBlocks = [&]() {
        while (at < size && data[at] != 0)
            at += 1 + size_t(data[at]);
        ++at;
    };
    while (at < size) {
        const uint8_t block = data[at];
        if (block == 0x21) {
            at += 2;
            skipSubBlocks();
        } else if (block == 0x2C) {
            if (at + 10 > size)
                break;
            AddPicture(extent, LittleEndian16(data + at + 5), LittleEndian16(data + at + 7));
            at += 10 + tableBytes(data[at + 9]) + 1;
            skipSubBlocks();
        } else {
            break;
        }
    }
    return ImageHeader::Sized;
}

bool IsJpegFrame(uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The frame header of a JPEG, found as a decoder finds it: bytes that are no
// marker are passed over, fill bytes and standalone markers carry no length,
// every other marker is skipped by its length.
ImageHeader ReadJpeg(const uint8_t* data, size_t size, ImageExtent& extent)
{
    size_t at = 2;
    while (at < size) {
        if (data[at] != 0xFF) {
            ++at;
            continue;
        }
        while (at < size && data[at] == 0xFF)
            ++at;
        if (at >= size)
            break;
        const uint8_t marker = data[at++];
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        // A second start, the end or a scan before any frame: no picture.
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA || at + 2 > size)
            break;
        const size_t length = BigEndian16(data + at);
        if (IsJpegFrame(marker)) {
            if (at + 7 > size)
                break;
            AddPicture(extent, BigEndian16(data + at + 5), BigEndian16(data + at + 3));
            return ImageHeader::Sized;
        }
        if (length < 2)
            break;
        at += length;
    }
    // Left to the platform's codecs, which may still find a size.
    return ImageHeader::Other;
}

// An icon or cursor directory: every entry's picture, PNG or DIB, is read
// from its own header; the directory's byte-sized sides say nothing past 256.
ImageHeader ReadIcon(const uint8_t* data, size_t size, ImageExtent& extent)
{
    const size_t count = LittleEndian16(data + 4);
    if (count == 0 || 6 + 16 * count > size)
        return ImageHeader::Unreadable;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = data + 6 + 16 * i;
        const size_t bytes = LittleEndian32(entry + 8);
        const size_t offset = LittleEndian32(entry + 12);
        if (offset >= size || bytes > size - offset)
            return ImageHeader::Unreadable;
        const uint8_t* picture = data + offset;
        if (IsPng(picture, bytes)) {
            if (ReadPng(picture, bytes, extent) != ImageHeader::Sized)
                return ImageHeader::Unreadable;
        } else if (!ReadDibHeader(picture, bytes, true, extent)) {
            return ImageHeader::Unreadable;
        }
    }
    return ImageHeader::Sized;
}

} // namespace

ImageHeader ReadImageFileSize(const uint8_t* data, size_t size, ImageExtent& extent)
{
    extent = ImageExtent();
    if (data == nullptr)
        return ImageHeader::Other;
    if (IsPng(data, size))
        return ReadPng(data, size, extent);
    if (size >= 10 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0))
        return ReadGif(data, size, extent);
    if (size >= 14 && data[0] == 'B' && data[1] == 'M')
        return ReadBmp(data, size, extent);
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8)
        return ReadJpeg(data, size, extent);
    if (size >= 6 && data[0] == 0 && data[1] == 0 && (data[2] == 1 || data[2] == 2) && data[3] == 0)
        return ReadIcon(data, size, extent);
    return ImageHeader::Other;
}

} // namespace KV
