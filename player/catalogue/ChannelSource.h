#pragma once
// One stream of a channel: its bitrate and its address (or, for a channel
// with a grabber, the identifier the grabber resolves).

#include <cstdint>
#include <string>
#include <utility>

class CChannelSource {
public:
    CChannelSource(int32_t bitrate, std::wstring url) : m_bitrate(bitrate), m_url(std::move(url)) {}

    int32_t GetBitrate() const { return m_bitrate; }
    const std::wstring& GetUrl() const { return m_url; }

private:
    int32_t m_bitrate;
    std::wstring m_url;
};
