#include "foundation/Stream.h"

#include <cwchar>
#include <cstring>

namespace KV {

namespace {

constexpr uint8_t LongCountMark8 = 0xFF;
constexpr uint16_t LongCountMark16 = 0xFFFF;

template <typename T>
Stream& WriteScalar(Stream& stream, T value)
{
    stream.Write(&value, sizeof(value));
    return stream;
}

template <typename T>
Stream& ReadScalar(Stream& stream, T& value)
{
    stream.Read(&value, sizeof(value));
    return stream;
}

} // namespace

uint32_t Stream::GetRemaining() const
{
    const uint32_t size = GetSize();
    const uint32_t position = GetPosition();
    return position < size ? size - position : 0;
}

bool Stream::ReadExact(void* target, uint32_t count)
{
    if (count == 0)
        return true;
    return Read(target, count) == count;
}

Stream& Stream::operator<<(int8_t value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(uint8_t value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(bool value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(int16_t value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(uint16_t value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(int32_t value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(uint32_t value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(long value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(unsigned long value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(int64_t value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(uint64_t value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(float value) { return WriteScalar(*this, value); }
Stream& Stream::operator<<(double value) { return WriteScalar(*this, value); }

Stream& Stream::operator<<(const char* text)
{
    WriteString(text);
    return *this;
}

Stream& Stream::operator<<(const std::string& text)
{
    WriteString(text);
    return *this;
}

Stream& Stream::operator<<(const wchar_t* text)
{
    WriteWString(text);
    return *this;
}

Stream& Stream::operator<<(const std::wstring& text)
{
    WriteWString(text);
    return *this;
}

Stream& Stream::operator>>(int8_t& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(uint8_t& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(bool& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(int16_t& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(uint16_t& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(int32_t& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(uint32_t& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(long& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(unsigned long& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(int64_t& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(uint64_t& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(float& value) { return ReadScalar(*this, value); }
Stream& Stream::operator>>(double& value) { return ReadScalar(*this, value); }

Stream& Stream::operator>>(std::string& text)
{
    ReadString(text);
    return *this;
}

Stream& Stream::operator>>(std::wstring& text)
{
    ReadWString(text);
    return *this;
}

void Stream::WriteCount(uint32_t count)
{
    uint8_t bytes[7];
    uint32_t length;
    if (count < LongCountMark8) {
        bytes[0] = static_cast<uint8_t>(count);
        length = 1;
    } else if (count < LongCountMark16) {
        bytes[0] = LongCountMark8;
        const uint16_t word = static_cast<uint16_t>(count);
        std::memcpy(bytes + 1, &word, sizeof(word));
        length = 3;
    } else {
        bytes[0] = LongCountMark8;
        std::memcpy(bytes + 1, &LongCountMark16, sizeof(LongCountMark16));
        std::memcpy(bytes + 3, &count, sizeof(count));
        length = 7;
    }
    Write(bytes, length);
}

bool Stream::ReadCount(uint32_t& count)
{
    count = 0;
    uint8_t byte = 0;
    if (!ReadExact(&byte, sizeof(byte)))
        return false;
    if (byte != LongCountMark8) {
        count = byte;
        return true;
    }
    uint16_t word = 0;
    if (!ReadExact(&word, sizeof(word)))
        return false;
    if (word != LongCountMark16) {
        count = word;
        return true;
    }
    uint32_t full = 0;
    if (!ReadExact(&full, sizeof(full)))
        return false;
    count = full;
    return true;
}

uint32_t Stream::ReadCount()
{
    uint32_t count = 0;
    ReadCount(count);
    return count;
}

void Stream::WriteString(const char* chars, uint32_t count)
{
    if (chars == nullptr)
        count = 0;
    WriteCount(count);
    if (count != 0)
        Write(chars, count);
}

void Stream::WriteString(const char* text)
{
    WriteString(text, text ? static_cast<uint32_t>(std::strlen(text)) : 0);
}

void Stream::WriteString(const std::string& text)
{
    WriteString(text.data(), static_cast<uint32_t>(text.size()));
}

void Stream::WriteWString(const wchar_t* chars, uint32_t count)
{
    static_assert(sizeof(wchar_t) == 2, "wide strings are UTF-16");
    if (chars == nullptr)
        count = 0;
    WriteCount(count);
    if (count != 0)
        Write(chars, count * 2);
}

void Stream::WriteWString(const wchar_t* text)
{
    WriteWString(text, text ? static_cast<uint32_t>(std::wcslen(text)) : 0);
}

void Stream::WriteWString(const std::wstring& text)
{
    WriteWString(text.data(), static_cast<uint32_t>(text.size()));
}

bool Stream::ReadString(std::string& text)
{
    text.clear();
    uint32_t count = 0;
    if (!ReadCount(count))
        return false;
    if (count == 0)
        return true;
    // Never size a string on the word of the data alone.
    if (count > GetRemaining())
        return false;
    text.resize(count);
    if (!ReadExact(&text[0], count)) {
        text.clear();
        return false;
    }
    return true;
}

bool Stream::ReadWString(std::wstring& text)
{
    text.clear();
    uint32_t count = 0;
    if (!ReadCount(count))
        return false;
    if (count == 0)
        return true;
    const uint64_t bytes = static_cast<uint64_t>(count) * 2;
    if (bytes > GetRemaining())
        return false;
    text.resize(count);
    if (!ReadExact(&text[0], static_cast<uint32_t>(bytes))) {
        text.clear();
        return false;
    }
    return true;
}

} // namespace KV
