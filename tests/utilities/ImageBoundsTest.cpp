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

// A genuine grey PNG of that size, all black: a few KiB however large.
std::string BlackPng(uint32_t width, uint32_t height)
{
    const std::string raw(static_cast<size_t>(height) * (width + 1), '\0');
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);
    std::string header;
    AppendBigEndian(header, width);
    AppendBigEndian(header, height);
    header += std::string("\x08\x00\x00\x00\x00", 5);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", packed);
    AppendChunk(png, "IEND", std::string());
    return png;
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

TEST(ImageBounds, HeadersGiveTheirSize)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool known;
        uint32_t width;
        uint32_t height;
    };
    const std::string pad(16, '\0');
    const Case cases[] = {
        {"png", BlackPng(300, 20), true, 300, 20},
        {"png cut short", BlackPng(300, 20).substr(0, 20), false, 0, 0},
        {"gif", "GIF89a" + Bytes({0x10, 0x27, 0x02, 0x00}), true, 10000, 2},
        {"bmp, info header", "BM" + std::string(12, '\0') + Bytes({40, 0, 0, 0, 0x20, 0x4E, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}),
         true, 20000, 1},
        {"bmp, core header", "BM" + std::string(12, '\0') + Bytes({12, 0, 0, 0, 0x40, 0x1F, 0x05, 0x00}) + pad, true,
         8000, 5},
        {"jpeg", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0x27, 0x10, 0x00,
                        0x30}),
         true, 48, 10000},
        {"jpeg without a frame", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00}), false, 0, 0},
        {"something else", "not an image at all, just text", false, 0, 0},
    };
    for (const Case& c : cases) {
        uint32_t width = 0;
        uint32_t height = 0;
        const auto* data = reinterpret_cast<const uint8_t*>(c.bytes.data());
        EXPECT_EQ(c.known, KV::ReadImageFileSize(data, c.bytes.size(), width, height)) << c.name;
        if (c.known) {
            EXPECT_EQ(c.width, width) << c.name;
            EXPECT_EQ(c.height, height) << c.name;
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
