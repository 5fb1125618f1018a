// Image files whose headers claim more than a skin needs: the size is read
// from the header and the image refused before the decoder makes room for
// it, one by one and for all the images of a skin together.

#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"
#include "foundation/Skin.h"
#include "foundation/UtilitiesCommon.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace {

void AppendBigEndian(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void AppendChunk(std::string& out, const char* type, const std::string& data)
{
    AppendBigEndian(out, static_cast<uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    AppendBigEndian(out, static_cast<uint32_t>(
                             crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

// An 8-bit grey PNG of that size whose picture is the zlib data given; none
// leaves out the picture.
std::string GreyPng(uint32_t width, uint32_t height, const std::string& packed)
{
    std::string header;
    AppendBigEndian(header, width);
    AppendBigEndian(header, height);
    header += std::string("\x08\x00\x00\x00\x00", 5);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    AppendChunk(png, "IHDR", header);
    if (!packed.empty())
        AppendChunk(png, "IDAT", packed);
    AppendChunk(png, "IEND", std::string());
    return png;
}

// A genuine grey PNG of that size, all black: a few KiB however large.
std::string BlackPng(uint32_t width, uint32_t height)
{
    const std::string raw(static_cast<size_t>(height) * (width + 1), '\0');
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);
    return GreyPng(width, height, packed);
}

KV::MemoryStream StreamOf(const std::string& bytes)
{
    KV::MemoryStream stream;
    stream.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return stream;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

void AppendLittleEndian(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Only the headers of a PNG claiming that size: no decoder gets a picture
// out of it, but one that trusts the header makes room first.
std::string PngClaiming(uint32_t width, uint32_t height)
{
    return GreyPng(width, height, std::string());
}

// A little-endian TIFF of one uncompressed 8-bit grey strip (value 0x80),
// its strip as long as the picture needs or as given.
std::string GreyTiff(uint32_t width, uint32_t height, size_t stripBytes)
{
    struct Tag {
        uint16_t id;
        uint16_t type; // 3 SHORT, 4 LONG
        uint32_t value;
    };
    const uint32_t entries = 9;
    const uint32_t stripAt = 8 + 2 + 12 * entries + 4;
    const Tag tags[] = {{256, 4, width}, {257, 4, height}, {258, 3, 8},   {259, 3, 1},
                        {262, 3, 1},     {273, 4, stripAt}, {277, 3, 1}, {278, 4, height},
                        {279, 4, static_cast<uint32_t>(stripBytes)}};
    std::string tiff("II*\0", 4);
    AppendLittleEndian(tiff, 8, 4);
    AppendLittleEndian(tiff, entries, 2);
    for (const Tag& tag : tags) {
        AppendLittleEndian(tiff, tag.id, 2);
        AppendLittleEndian(tiff, tag.type, 2);
        AppendLittleEndian(tiff, 1, 4);
        AppendLittleEndian(tiff, tag.value, 4);
    }
    AppendLittleEndian(tiff, 0, 4);
    return tiff + std::string(stripBytes, '\x80');
}

std::string GreyTiff(uint32_t width, uint32_t height)
{
    return GreyTiff(width, height, static_cast<size_t>(width) * height);
}

// An icon directory of one entry holding picture, claiming count entries.
std::string IconOf(const std::string& picture, uint32_t count = 1)
{
    std::string icon("\0\0\1\0", 4);
    AppendLittleEndian(icon, count, 2);
    icon += std::string(4, '\0');
    AppendLittleEndian(icon, 1, 2);
    AppendLittleEndian(icon, 32, 2);
    AppendLittleEndian(icon, static_cast<uint32_t>(picture.size()), 4);
    AppendLittleEndian(icon, 22, 4);
    return icon + picture;
}

// The start of a 32-bit DIB as an icon holds it: its height counts the mask.
std::string IconDib(uint32_t width, uint32_t height)
{
    std::string dib;
    AppendLittleEndian(dib, 40, 4);
    AppendLittleEndian(dib, width, 4);
    AppendLittleEndian(dib, 2 * height, 4);
    AppendLittleEndian(dib, 1, 2);
    AppendLittleEndian(dib, 32, 2);
    return dib + std::string(24, '\0');
}

// LZW data of count pixels of colour 0 with 2-bit codes: a clear code before
// every two pixels keeps the codes 3 bits wide, in sub-blocks of 255 bytes.
std::string GifPixels(uint64_t count)
{
    std::string packed;
    uint32_t bits = 0;
    int held = 0;
    const auto put = [&](uint32_t code) {
        bits |= code << held;
        held += 3;
        while (held >= 8) {
            packed.push_back(static_cast<char>(bits & 0xFF));
            bits >>= 8;
            held -= 8;
        }
    };
    for (uint64_t i = 0; i < count; ++i) {
        if (i % 2 == 0)
            put(4);
        put(0);
    }
    put(5);
    if (held > 0)
        packed.push_back(static_cast<char>(bits & 0xFF));
    std::string blocks = Bytes({2});
    for (size_t at = 0; at < packed.size(); at += 255) {
        const std::string block = packed.substr(at, 255);
        blocks.push_back(static_cast<char>(block.size()));
        blocks += block;
    }
    return blocks + Bytes({0});
}

// A GIF with a 2 x 2 screen and four colours, and frames of the given sizes
// at its corner.
std::string GifOf(std::initializer_list<std::pair<uint32_t, uint32_t>> frames)
{
    std::string gif = "GIF89a" + Bytes({2, 0, 2, 0, 0x81, 0, 0});
    gif += Bytes({0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255});
    for (const auto& frame : frames) {
        gif += Bytes({0x21, 0xF9, 4, 0, 0, 0, 0, 0});
        gif += Bytes({0x2C, 0, 0, 0, 0});
        AppendLittleEndian(gif, frame.first, 2);
        AppendLittleEndian(gif, frame.second, 2);
        gif.push_back('\0');
        gif += GifPixels(static_cast<uint64_t>(frame.first) * frame.second);
    }
    return gif + ";";
}

// The frame header of a JPEG claiming width x height, without a scan.
std::string JpegFrame(uint32_t width, uint32_t height)
{
    std::string frame = Bytes({0xFF, 0xC0, 0x00, 0x0B, 0x08});
    AppendBigEndian(frame, height << 16 | width);
    return frame + Bytes({0x01, 0x01, 0x11, 0x00});
}

TEST(ImageBounds, HeadersGiveTheirSize)
{
    using KV::ImageHeader;
    struct Case {
        const char* name;
        std::string bytes;
        ImageHeader result;
        uint32_t width;
        uint32_t height;
        uint64_t pixels;
    };
    const std::string pad(16, '\0');
    const std::string soi = Bytes({0xFF, 0xD8});
    const std::string app0 = Bytes({0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00});
    const Case cases[] = {
        {"png", BlackPng(300, 20), ImageHeader::Sized, 300, 20, 6000},
        {"png cut short", BlackPng(300, 20).substr(0, 20), ImageHeader::Unreadable, 0, 0, 0},
        {"gif", "GIF89a" + Bytes({0x10, 0x27, 0x02, 0x00}), ImageHeader::Sized, 10000, 2, 20000},
        {"gif, frames beyond its screen", GifOf({{30000, 1}, {10, 40000}}), ImageHeader::Sized, 30000, 40000,
         400000},
        {"gif, frame cut short", GifOf({{50, 60}}).substr(0, 40), ImageHeader::Sized, 2, 2, 4},
        {"bmp, info header", "BM" + std::string(12, '\0') + Bytes({40, 0, 0, 0, 0x20, 0x4E, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}),
         ImageHeader::Sized, 20000, 1, 20000},
        {"bmp, core header", "BM" + std::string(12, '\0') + Bytes({12, 0, 0, 0, 0x40, 0x1F, 0x05, 0x00}) + pad,
         ImageHeader::Sized, 8000, 5, 40000},
        {"bmp cut short", "BM" + std::string(12, '\0') + Bytes({40, 0, 0}), ImageHeader::Unreadable, 0, 0, 0},
        {"jpeg", soi + app0 + JpegFrame(48, 10000), ImageHeader::Sized, 48, 10000, 480000},
        {"jpeg, stray bytes and markers before the frame",
         soi + app0 + "junk" + Bytes({0xFF, 0xFF, 0xD3, 0xFF, 0x00}) + JpegFrame(60000, 60000), ImageHeader::Sized,
         60000, 60000, 3600000000u},
        {"jpeg without a frame", soi + app0, ImageHeader::Other, 0, 0, 0},
        {"jpeg, a marker running past the end", soi + Bytes({0xFF, 0xE1, 0x40, 0x00}) + JpegFrame(60000, 60000),
         ImageHeader::Other, 0, 0, 0},
        {"jpeg, a scan before the frame", soi + Bytes({0xFF, 0xDA, 0x00, 0x02}) + JpegFrame(60000, 60000),
         ImageHeader::Other, 0, 0, 0},
        {"icon holding a png", IconOf(PngClaiming(60000, 60000)), ImageHeader::Sized, 60000, 60000, 3600000000u},
        {"icon holding a dib", IconOf(IconDib(48, 40000)), ImageHeader::Sized, 48, 40000, 1920000},
        {"icon claiming more entries than it has", IconOf(BlackPng(16, 16), 3), ImageHeader::Unreadable, 0, 0, 0},
        {"icon whose picture lies past the end", IconOf(BlackPng(16, 16)).substr(0, 40), ImageHeader::Unreadable, 0,
         0, 0},
        {"icon of no entries", std::string("\0\0\1\0\0\0", 6), ImageHeader::Unreadable, 0, 0, 0},
        {"tiff", GreyTiff(3, 2), ImageHeader::Other, 0, 0, 0},
        {"something else", "not an image at all, just text", ImageHeader::Other, 0, 0, 0},
    };
    for (const Case& c : cases) {
        KV::ImageExtent extent;
        const auto* data = reinterpret_cast<const uint8_t*>(c.bytes.data());
        EXPECT_EQ(c.result, KV::ReadImageFileSize(data, c.bytes.size(), extent)) << c.name;
        if (c.result == ImageHeader::Sized) {
            EXPECT_EQ(c.width, extent.width) << c.name;
            EXPECT_EQ(c.height, extent.height) << c.name;
            EXPECT_EQ(c.pixels, extent.pixels) << c.name;
        }
    }
}

TEST(ImageBounds, AnImageAboveTheLimitsIsRefusedOthersDecode)
{
    const KV::MemoryStream small = StreamOf(BlackPng(100, 60));
    const std::unique_ptr<CImage> image = KV::ImageFromStream(&small);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(100, image->GetWidth());

    const KV::MemoryStream tooWide = StreamOf(BlackPng(KV::MaxImageSide + 1, 1));
    EXPECT_EQ(nullptr, KV::ImageFromStream(&tooWide));
    // Within each side, but more pixels than the caller allows.
    const KV::MemoryStream many = StreamOf(BlackPng(1000, 1000));
    EXPECT_EQ(nullptr, KV::ImageFromStream(&many, 999999));
    EXPECT_NE(nullptr, KV::ImageFromStream(&many, 1000000));
}

// Formats the headers above do not read get their size from the platform's
// codecs before anything decodes; what claims too much, or says nothing of
// its size, is refused, and the rest decodes to its real size.
TEST(ImageBounds, EveryFormatIsSizedBeforeItDecodes)
{
    struct Case {
        const char* name;
        std::string bytes;
        int width; // 0: refused
        int height;
    };
    const Case cases[] = {
        {"tiff within the limits", GreyTiff(30, 20), 30, 20},
        {"tiff claiming 60000 x 60000", GreyTiff(60000, 60000, 64), 0, 0},
        {"tiff one pixel wider than a side may be", GreyTiff(KV::MaxImageSide + 1, 1), 0, 0},
        {"tiff whose directory lies past the end", GreyTiff(30, 20).substr(0, 20), 0, 0},
        {"icon holding a png within the limits", IconOf(BlackPng(16, 16)), 16, 16},
        {"icon holding a png claiming 60000 x 60000", IconOf(PngClaiming(60000, 60000)), 0, 0},
        {"icon holding a png one pixel wider than a side may be", IconOf(BlackPng(KV::MaxImageSide + 1, 1)), 0, 0},
        {"icon claiming more entries than it has", IconOf(BlackPng(16, 16), 3), 0, 0},
        {"gif within the limits", GifOf({{2, 2}}), 2, 2},
        {"gif whose frame is wider than a side may be", GifOf({{KV::MaxImageSide + 1, 1}}), 0, 0},
        {"jpeg broken before its frame header",
         Bytes({0xFF, 0xD8, 0xFF, 0xE1, 0x40, 0x00}) + JpegFrame(60000, 60000), 0, 0},
        {"bytes no decoder knows", std::string("\x01\x02\x03\x04 nothing of a picture", 26), 0, 0},
    };
    for (const Case& c : cases) {
        const KV::MemoryStream stream = StreamOf(c.bytes);
        const std::unique_ptr<CImage> image = KV::ImageFromStream(&stream);
        if (c.width == 0) {
            EXPECT_EQ(nullptr, image) << c.name;
            continue;
        }
        ASSERT_NE(nullptr, image) << c.name;
        EXPECT_EQ(c.width, image->GetWidth()) << c.name;
        EXPECT_EQ(c.height, image->GetHeight()) << c.name;
    }
}

// A thread that has not joined COM can still have a TIFF sized, and is out
// of COM again afterwards.
struct ThreadDecode {
    std::string bytes;
    int width = 0;
    HRESULT joinAfterwards = E_FAIL;
};

DWORD WINAPI DecodeOnThread(void* parameter)
{
    auto* job = static_cast<ThreadDecode*>(parameter);
    const KV::MemoryStream stream = StreamOf(job->bytes);
    const std::unique_ptr<CImage> image = KV::ImageFromStream(&stream);
    job->width = image ? image->GetWidth() : 0;
    // Only a thread outside COM joins the multithreaded apartment with S_OK.
    job->joinAfterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(job->joinAfterwards))
        CoUninitialize();
    return 0;
}

TEST(ImageBounds, AThreadOutsideComCanDecodeATiff)
{
    ThreadDecode job;
    job.bytes = GreyTiff(30, 20);
    HANDLE thread = CreateThread(nullptr, 0, DecodeOnThread, &job, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    const DWORD waited = WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
    ASSERT_EQ(WAIT_OBJECT_0, waited);
    EXPECT_EQ(30, job.width);
    EXPECT_EQ(S_OK, job.joinAfterwards);
}

// Twelve pictures of 4 Mpixels from a few KiB each: the skin takes as many
// as its allowance holds, not all twelve.
TEST(ImageBounds, TheImagesOfASkinShareOneAllowance)
{
    const std::string png = BlackPng(2048, 2048);
    ASSERT_LT(png.size(), 16u * 1024);
    KV::DataKey images("images");
    for (int i = 0; i < 12; ++i)
        images.SetBuffer("big" + std::to_string(i), StreamOf(png));
    KV::Skin::LoadImages(&images);
    int loaded = 0;
    for (int i = 0; i < 12; ++i)
        loaded += KV::Skin::GetImage("big" + std::to_string(i)) != nullptr;
    EXPECT_GE(loaded, 1);
    EXPECT_LE(loaded, 4);
    KV::Skin::Free();
}

} // namespace
