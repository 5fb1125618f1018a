#pragma once
// One stream of a channel: its bitrate and its address (or, for a channel
// with a grabber, the identifier the grabber resolves). The address's
// characters are kept by the channel's country (CCountryArena); nothing of
// a stream needs to be destroyed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CChannelSource {
public:
    CChannelSource() = default;
    CChannelSource(int32_t bitrate, std::wstring_view url) : m_bitrate(bitrate), m_url(url) {}

    int32_t GetBitrate() const { return m_bitrate; }
    std::wstring GetUrl() const { return std::wstring(m_url); }

private:
    int32_t m_bitrate = 0;
    std::wstring_view m_url;
};

// A channel's streams in their order, kept together by its country.
class CChannelSources {
public:
    CChannelSources() = default;
    CChannelSources(const CChannelSource* first, size_t count) : m_first(first), m_count(count) {}

    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    const CChannelSource& operator[](size_t index) const { return m_first[index]; }
    const CChannelSource* begin() const { return m_first; }
    const CChannelSource* end() const { return m_first + m_count; }

private:
    const CChannelSource* m_first = nullptr;
    size_t m_count = 0;
};
