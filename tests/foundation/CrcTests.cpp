#include "foundation/Crc.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <string>
#include <vector>

namespace {

TEST(Crc32, CheckValueAndEdges)
{
    const char check[] = "123456789";
    EXPECT_EQ(KV::Crc32(check, 9), 0xCBF43926u);
    EXPECT_EQ(KV::Crc32(check, 0), 0u);
    EXPECT_EQ(KV::Crc32(nullptr, 9), 0u);
    EXPECT_EQ(KV::Crc32Init(), 0xFFFFFFFFu);
    EXPECT_EQ(KV::Crc32Final(KV::Crc32Init()), 0u);
    EXPECT_EQ(KV::Crc32Update(0x12345678u, nullptr, 4), 0u);
}

TEST(Crc32, RunningFormsAgree)
{
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04};
    uint32_t byByte = KV::Crc32Init();
    for (uint8_t b : bytes)
        byByte = KV::Crc32Update(byByte, b);
    EXPECT_EQ(KV::Crc32Update(KV::Crc32Init(), static_cast<uint32_t>(0x04030201u)), byByte);
    const uint32_t byWords = KV::Crc32Update(KV::Crc32Update(KV::Crc32Init(), static_cast<uint16_t>(0x0201)),
                                             static_cast<uint16_t>(0x0403));
    EXPECT_EQ(byWords, byByte);
    EXPECT_EQ(KV::Crc32Update(KV::Crc32Init(), bytes, 4), byByte);
}

TEST(Crc32, AgreesWithZlibOnEveryLength)
{
    std::vector<uint8_t> data(300);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 37 + 11);
    for (uint32_t length = 0; length <= data.size(); ++length) {
        const uLong expected = crc32(0L, data.data(), length);
        ASSERT_EQ(KV::Crc32(data.data(), length), static_cast<uint32_t>(expected)) << length;
    }
}

TEST(Crc16, CheckValueAndForms)
{
    EXPECT_EQ(KV::Crc16("abc", 3), 0x1EE4);
    EXPECT_EQ(KV::Crc16Init(), 0);
    EXPECT_EQ(KV::Crc16Final(0x1234), 0x1234);
    EXPECT_EQ(KV::Crc16(nullptr, 3), 0);
    uint16_t byByte = KV::Crc16Init();
    for (char c : std::string("abcd"))
        byByte = KV::Crc16Update(byByte, static_cast<uint8_t>(c));
    EXPECT_EQ(KV::Crc16Update(KV::Crc16Init(), static_cast<uint32_t>(0x64636261u)), byByte);
    EXPECT_EQ(KV::Crc16Update(KV::Crc16Update(KV::Crc16Init(), static_cast<uint16_t>(0x6261)),
                              static_cast<uint16_t>(0x6463)),
              byByte);
}

} // namespace
