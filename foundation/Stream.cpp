#include "foundation/Stream.h"

#include "foundation/StreamCoding.h"

#include <cwchar>
#include <cstring>

namespace KV {

namespace {

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

bool Stream::WriteExact(const void* source, uint32_t count)
{
    if (count == 0)
        return true;
    return Write(source, count) == count;
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
    uint8_t bytes[StreamCoding::MaxCountBytes];
    Write(bytes, StreamCoding::EncodeCount(count, bytes));
}

bool Stream::ReadCount(uint32_t& count)
{
    return StreamCoding::ReadCount(*this, count);
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
    return StreamCoding::ReadText(*this, text);
}

bool Stream::ReadWString(std::wstring& text)
{
    return StreamCoding::ReadText(*this, text);
}

uint32_t Stream::ClampedSeek(uint32_t position, uint32_t size, int32_t offset, uint32_t origin)
{
    int64_t base = 0;
    if (origin == SeekCurrent)
        base = position;
    else if (origin == SeekEnd)
        base = size;
    const int64_t target = base + offset;
    if (target < 0)
        return 0;
    return target > size ? size : static_cast<uint32_t>(target);
}

} // namespace KV
