#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

using TestBytes::Bytes;
using TestBytes::ContentOf;
using TestBytes::Fill;
using TestBytes::FromHex;

namespace {

struct CountCase {
    uint32_t count;
    const char* hex;
};

class CountEncoding : public testing::TestWithParam<CountCase> {};

TEST_P(CountEncoding, WritesCompactFormAndReadsItBack)
{
    const CountCase& c = GetParam();
    KV::MemoryStream stream;
    stream.WriteCount(c.count);
    EXPECT_EQ(ContentOf(stream), FromHex(c.hex));

    stream.Seek(0, KV::SeekBegin);
    EXPECT_EQ(stream.ReadCount(), c.count);
    EXPECT_EQ(stream.GetRemaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Edges, CountEncoding, testing::Values(
    CountCase{0, "00"},
    CountCase{254, "FE"},
    CountCase{255, "FF FF 00"},
    CountCase{65534, "FF FE FF"},
    CountCase{65535, "FF FF FF FF FF 00 00"},
    CountCase{65536, "FF FF FF 00 00 01 00"},
    CountCase{0xFFFFFFFFu, "FF FF FF FF FF FF FF"}));

TEST(StreamCount, RunningOutInsideThePrefixGivesZeroAndIsDetectable)
{
    for (const char* hex : {"", "FF", "FF 34", "FF FF FF", "FF FF FF 01 02 03"}) {
        KV::MemoryStream stream;
        Fill(stream, FromHex(hex));
        uint32_t count = 77;
        EXPECT_FALSE(stream.ReadCount(count)) << hex;
        EXPECT_EQ(count, 0u) << hex;
        Fill(stream, FromHex(hex));
        EXPECT_EQ(stream.ReadCount(), 0u) << hex;
    }
}

TEST(StreamScalars, AreLittleEndianAndChain)
{
    KV::MemoryStream stream;
    stream << static_cast<uint8_t>(0xAB) << true << static_cast<int16_t>(-2)
           << static_cast<uint32_t>(0x01020304) << static_cast<int64_t>(-1)
           << 1.0f << 2.0;
    EXPECT_EQ(ContentOf(stream),
              FromHex("AB 01 FE FF 04 03 02 01 FF FF FF FF FF FF FF FF"
                      "00 00 80 3F 00 00 00 00 00 00 00 40"));

    stream.Seek(0, KV::SeekBegin);
    uint8_t byte = 0;
    bool flag = false;
    int16_t shortValue = 0;
    uint32_t word = 0;
    int64_t wide = 0;
    float single = 0;
    double dbl = 0;
    stream >> byte >> flag >> shortValue >> word >> wide >> single >> dbl;
    EXPECT_EQ(byte, 0xAB);
    EXPECT_TRUE(flag);
    EXPECT_EQ(shortValue, -2);
    EXPECT_EQ(word, 0x01020304u);
    EXPECT_EQ(wide, -1);
    EXPECT_EQ(single, 1.0f);
    EXPECT_EQ(dbl, 2.0);
}

TEST(StreamScalars, ShortReadLeavesTheRestOfTheVariable)
{
    KV::MemoryStream stream;
    Fill(stream, FromHex("11 22"));
    uint32_t word = 0xAAAAAAAA;
    stream >> word;
    EXPECT_EQ(word, 0xAAAA2211u);
}

TEST(StreamStrings, EmptyStringsAreOneZeroByte)
{
    KV::MemoryStream stream;
    stream << std::string() << std::wstring() << "" << L"";
    EXPECT_EQ(ContentOf(stream), FromHex("00 00 00 00"));

    stream.Seek(0, KV::SeekBegin);
    std::string narrow = "old";
    std::wstring wide = L"old";
    EXPECT_TRUE(stream.ReadString(narrow));
    EXPECT_TRUE(stream.ReadWString(wide));
    EXPECT_TRUE(narrow.empty());
    EXPECT_TRUE(wide.empty());
}

TEST(StreamStrings, NarrowBytesAndWideUnitsRoundTrip)
{
    KV::MemoryStream stream;
    stream << "ab\xE9" << std::wstring(L"h\u00e9\u20ac");
    EXPECT_EQ(ContentOf(stream), FromHex("03 61 62 E9 03 68 00 E9 00 AC 20"));

    stream.Seek(0, KV::SeekBegin);
    std::string narrow;
    std::wstring wide;
    stream >> narrow >> wide;
    EXPECT_EQ(narrow, "ab\xE9");
    EXPECT_EQ(wide, L"h\u00e9\u20ac");
}

TEST(StreamStrings, WideStringOf255UnitsTakesTheThreeByteCount)
{
    const std::wstring text(255, L'x');
    KV::MemoryStream stream;
    stream.WriteWString(text);
    ASSERT_EQ(stream.GetSize(), 3u + 510u);
    EXPECT_EQ(Bytes(stream.GetBuffer(), stream.GetBuffer() + 5), FromHex("FF FF 00 78 00"));

    stream.Seek(0, KV::SeekBegin);
    std::wstring back;
    EXPECT_TRUE(stream.ReadWString(back));
    EXPECT_EQ(back, text);
}

TEST(StreamStrings, LengthBeyondTheDataFailsWithAnEmptyString)
{
    // A count announcing more than is left, a huge count, and bytes cut short.
    for (const char* hex : {"05 61 62", "FF FF FF FF FF FF 7F 61", "FF FF FF FF FF FF FF"}) {
        KV::MemoryStream stream;
        Fill(stream, FromHex(hex));
        std::string narrow = "old";
        EXPECT_FALSE(stream.ReadString(narrow)) << hex;
        EXPECT_TRUE(narrow.empty()) << hex;
        EXPECT_LT(narrow.capacity(), 64u) << hex;

        Fill(stream, FromHex(hex));
        std::wstring wide = L"old";
        EXPECT_FALSE(stream.ReadWString(wide)) << hex;
        EXPECT_TRUE(wide.empty()) << hex;
    }
    // Two units need four bytes; three are there.
    KV::MemoryStream stream;
    Fill(stream, FromHex("02 61 00 62"));
    std::wstring wide;
    EXPECT_FALSE(stream.ReadWString(wide));
}

TEST(MemoryStream, ReadAtTheEndAndBeyondIt)
{
    KV::MemoryStream stream;
    Fill(stream, FromHex("01 02 03"));
    uint8_t target[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(stream.Read(target, 8), 3u);
    EXPECT_EQ(Bytes(target, target + 4), FromHex("01 02 03 09"));
    EXPECT_EQ(stream.Read(target, 1), 0u);
    EXPECT_EQ(target[0], 1);
}

TEST(MemoryStream, SeekOnEmptyAndPastTheEnd)
{
    KV::MemoryStream empty;
    EXPECT_EQ(empty.Seek(0, KV::SeekBegin), 0u);
    EXPECT_EQ(empty.Seek(5, KV::SeekCurrent), 0u);

    KV::MemoryStream stream;
    Fill(stream, FromHex("01 02 03 04"));
    EXPECT_EQ(stream.Seek(100, KV::SeekBegin), 4u);
    EXPECT_EQ(stream.Seek(-3, KV::SeekCurrent), 1u);
    EXPECT_EQ(stream.Seek(-1, KV::SeekEnd), 3u);
    EXPECT_EQ(stream.Seek(-100, KV::SeekCurrent), 0u);
}

TEST(MemoryStream, WriteGrowsAndOverwrites)
{
    KV::MemoryStream stream;
    EXPECT_EQ(stream.Write(nullptr, 4), 0u);
    EXPECT_EQ(stream.Write("abcd", 0), 0u);
    EXPECT_EQ(stream.GetBuffer(), nullptr);
    EXPECT_EQ(stream.Write("abcd", 4), 4u);
    stream.Seek(2, KV::SeekBegin);
    EXPECT_EQ(stream.Write("XYZ", 3), 3u);
    EXPECT_EQ(ContentOf(stream), Bytes({'a', 'b', 'X', 'Y', 'Z'}));
    EXPECT_EQ(stream.GetPosition(), 5u);

    EXPECT_EQ(stream.SetSize(2), 1u);
    EXPECT_EQ(stream.GetPosition(), 2u);
    EXPECT_EQ(ContentOf(stream), Bytes({'a', 'b'}));
    EXPECT_EQ(stream.SetSize(0), 1u);
    EXPECT_EQ(stream.GetBuffer(), nullptr);
}

TEST(MemoryStream, SaveToAndLoadFrom)
{
    KV::MemoryStream empty;
    KV::MemoryStream out;
    EXPECT_TRUE(empty.SaveTo(out));
    EXPECT_EQ(ContentOf(out), FromHex("00 00 00 00"));
    out.Seek(0, KV::SeekBegin);
    KV::MemoryStream loaded;
    Fill(loaded, FromHex("01"));
    EXPECT_TRUE(loaded.LoadFrom(out));
    EXPECT_EQ(loaded.GetSize(), 0u);

    KV::MemoryStream data;
    Fill(data, FromHex("0A 0B 0C"));
    data.Seek(2, KV::SeekBegin);
    out.Close();
    EXPECT_TRUE(data.SaveTo(out));
    EXPECT_EQ(data.GetPosition(), 2u);
    EXPECT_EQ(ContentOf(out), FromHex("03 00 00 00 0A 0B 0C"));
    out.Seek(0, KV::SeekBegin);
    EXPECT_TRUE(loaded.LoadFrom(out));
    EXPECT_EQ(ContentOf(loaded), FromHex("0A 0B 0C"));
    EXPECT_EQ(loaded.GetPosition(), 0u);
}

TEST(MemoryStream, LoadFromRefusesSizesTheSourceCannotHold)
{
    for (const char* hex : {"", "03 00", "04 00 00 00 01 02 03", "FF FF FF 7F 00"}) {
        KV::MemoryStream source;
        Fill(source, FromHex(hex));
        KV::MemoryStream loaded;
        Fill(loaded, FromHex("01 02"));
        EXPECT_FALSE(loaded.LoadFrom(source)) << hex;
        EXPECT_EQ(loaded.GetSize(), 0u) << hex;
        EXPECT_EQ(loaded.GetBuffer(), nullptr) << hex;
    }
}

TEST(MemoryStream, CopiesOwnTheirBytes)
{
    KV::MemoryStream source;
    Fill(source, FromHex("01 02 03"));
    source.Seek(1, KV::SeekBegin);

    KV::MemoryStream copy(source);
    EXPECT_EQ(copy.GetPosition(), 0u);
    copy.GetBuffer()[0] = 0x55;
    EXPECT_EQ(source.GetBuffer()[0], 0x01);

    KV::Stream& asStream = source;
    KV::MemoryStream taken(asStream);
    EXPECT_EQ(ContentOf(taken), FromHex("01 02 03"));
    EXPECT_EQ(taken.GetPosition(), 0u);
    EXPECT_EQ(source.GetPosition(), 3u);
}

class FileStreamTest : public testing::Test {
protected:
    TestBytes::ScratchFolder folder{L"filestream_scratch"};
};

TEST_F(FileStreamTest, WriteThenReadBack)
{
    const std::wstring path = folder.File(L"data.bin");
    {
        KV::FileStream out(path.c_str(), false);
        ASSERT_TRUE(out.IsOpen());
        out << static_cast<uint32_t>(0x11223344) << std::string("hi");
        EXPECT_EQ(out.GetSize(), 7u);
        EXPECT_EQ(out.SetSize(1), 7u); // leaves the file alone
        out.Close();
        out.Close();
        EXPECT_EQ(out.Write("x", 1), 0u);
    }
    EXPECT_EQ(TestBytes::ReadFileBytes(path), FromHex("44 33 22 11 02 68 69"));

    KV::FileStream in;
    ASSERT_TRUE(in.Open(path.c_str(), true));
    uint32_t word = 0;
    std::string text;
    in >> word >> text;
    EXPECT_EQ(word, 0x11223344u);
    EXPECT_EQ(text, "hi");
    EXPECT_EQ(in.GetPosition(), 7u);
    EXPECT_EQ(in.Seek(-2, KV::SeekEnd), 5u);
    uint8_t byte = 0;
    EXPECT_EQ(in.Read(&byte, 1), 1u);
    EXPECT_EQ(byte, 'h');
}

TEST_F(FileStreamTest, MissingFileDoesNotOpen)
{
    KV::FileStream in;
    EXPECT_FALSE(in.Open(folder.File(L"missing.bin").c_str(), true));
    EXPECT_FALSE(in.IsOpen());
    EXPECT_EQ(in.Write("x", 1), 0u);
    uint8_t byte = 0;
    EXPECT_EQ(in.Read(&byte, 1), 0u);

    const std::string narrow = "filestream_scratch\\no\\such\\folder.bin";
    KV::FileStream out(narrow.c_str(), false);
    EXPECT_FALSE(out.IsOpen());
}

TEST_F(FileStreamTest, ReadingSharesButWritingLocks)
{
    const std::wstring path = folder.File(L"shared.bin");
    ASSERT_TRUE(TestBytes::WriteFileBytes(path, FromHex("01")));
    KV::FileStream first(path.c_str(), true);
    KV::FileStream second(path.c_str(), true);
    EXPECT_TRUE(first.IsOpen());
    EXPECT_TRUE(second.IsOpen());
    first.Close();
    second.Close();

    KV::FileStream writer(path.c_str(), false);
    ASSERT_TRUE(writer.IsOpen());
    KV::FileStream reader(path.c_str(), true);
    EXPECT_FALSE(reader.IsOpen());
}

} // namespace
