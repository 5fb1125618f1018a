#pragma once
// Abstract byte stream with typed little-endian scalars, a compact length
// prefix and length-prefixed narrow and UTF-16 strings. Every data file of
// the product is read and written through this interface.

#include <cstdint>
#include <string>

namespace KV {

// Origins of Seek.
enum SeekOrigin : uint32_t {
    SeekBegin = 0,
    SeekCurrent = 1,
    SeekEnd = 2,
};

class Stream {
public:
    virtual ~Stream() = default;

    // Bytes actually written / read; fewer than asked means the end or a failure.
    virtual uint32_t Write(const void* source, uint32_t count) = 0;
    virtual uint32_t Read(void* target, uint32_t count) = 0;
    // origin: SeekBegin, SeekCurrent or SeekEnd; returns the new position.
    virtual uint32_t Seek(int32_t offset, uint32_t origin) = 0;
    virtual uint32_t GetSize() const = 0;
    // Nonzero on success.
    virtual uint32_t SetSize(uint32_t size) = 0;
    virtual uint32_t GetPosition() const = 0;
    virtual void Close() = 0;

    // Bytes between the position and the end (0 when the position is past it).
    uint32_t GetRemaining() const;

    // Reads exactly count bytes; false (target partly filled) when fewer arrived.
    bool ReadExact(void* target, uint32_t count);
    // Writes exactly count bytes; false when fewer were taken.
    bool WriteExact(const void* source, uint32_t count);

    // Scalars: the bytes of their in-memory (little-endian) representation.
    Stream& operator<<(int8_t value);
    Stream& operator<<(uint8_t value);
    Stream& operator<<(bool value);
    Stream& operator<<(int16_t value);
    Stream& operator<<(uint16_t value);
    Stream& operator<<(int32_t value);
    Stream& operator<<(uint32_t value);
    Stream& operator<<(long value);
    Stream& operator<<(unsigned long value);
    Stream& operator<<(int64_t value);
    Stream& operator<<(uint64_t value);
    Stream& operator<<(float value);
    Stream& operator<<(double value);
    Stream& operator<<(const char* text);
    Stream& operator<<(const std::string& text);
    Stream& operator<<(const wchar_t* text);
    Stream& operator<<(const std::wstring& text);

    // A read that gets fewer bytes than the width leaves the rest of the
    // variable as it was.
    Stream& operator>>(int8_t& value);
    Stream& operator>>(uint8_t& value);
    Stream& operator>>(bool& value);
    Stream& operator>>(int16_t& value);
    Stream& operator>>(uint16_t& value);
    Stream& operator>>(int32_t& value);
    Stream& operator>>(uint32_t& value);
    Stream& operator>>(long& value);
    Stream& operator>>(unsigned long& value);
    Stream& operator>>(int64_t& value);
    Stream& operator>>(uint64_t& value);
    Stream& operator>>(float& value);
    Stream& operator>>(double& value);
    Stream& operator>>(std::string& text);
    Stream& operator>>(std::wstring& text);

    // Compact length prefix: below 0xFF one byte; below 0xFFFF the byte 0xFF
    // and a uint16; otherwise 0xFF, the uint16 0xFFFF and a uint32.
    void WriteCount(uint32_t count);
    // 0 when the stream runs out inside the prefix.
    uint32_t ReadCount();
    // False when the stream runs out inside the prefix (count is then 0).
    bool ReadCount(uint32_t& count);

    void WriteString(const char* chars, uint32_t count);
    void WriteString(const char* text);
    void WriteString(const std::string& text);
    // count in UTF-16 code units.
    void WriteWString(const wchar_t* chars, uint32_t count);
    void WriteWString(const wchar_t* text);
    void WriteWString(const std::wstring& text);

    // False, with the string left empty, when the data runs out or the
    // announced length exceeds what is left in the stream (nothing is
    // allocated for such a length).
    bool ReadString(std::string& text);
    bool ReadWString(std::wstring& text);

protected:
    // The position a Seek lands on in a stream of size bytes: origin as for
    // Seek, a target before the start gives 0, one past the end the size.
    static uint32_t ClampedSeek(uint32_t position, uint32_t size, int32_t offset, uint32_t origin);
};

} // namespace KV
