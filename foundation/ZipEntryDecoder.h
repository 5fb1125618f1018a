#pragma once
// Reads the data of minizip's current entry and checks it: minizip hands over
// the stored bytes as they are, and zlib inflates them here, so the entry
// must end exactly at its declared size and match its CRC. An entry that
// inflates to more or fewer bytes, or whose CRC differs, fails.

#include "foundation/ZipResult.h"

#include <unzip.h>
#include <zlib.h>

#include <cstdint>
#include <memory>

class ZipEntryDecoder {
public:
    ZipEntryDecoder() = default;
    ZipEntryDecoder(const ZipEntryDecoder&) = delete;
    ZipEntryDecoder& operator=(const ZipEntryDecoder&) = delete;
    ~ZipEntryDecoder() { Close(); }

    // Opens the archive's current entry. ZipErrorPassword for an encrypted
    // entry (archives are read without one), ZipErrorLocalHeader when the
    // local header does not match the directory, ZipErrorDecompress for an
    // unknown method or a stored entry whose two sizes differ.
    ZipResult Open(unzFile archive);
    bool IsOpen() const { return m_archive != nullptr; }
    void Close();

    // Fills up to capacity bytes; produced tells how many. Once the last
    // declared byte is out, the end of the data is checked in the same call
    // and AtEnd() turns true. An error sticks until Close.
    ZipResult Read(void* target, uint32_t capacity, uint32_t* produced);
    bool AtEnd() const { return m_atEnd; }

private:
    static constexpr uint32_t InputSize = 16384;

    ZipResult ReadStored(uint8_t* target, uint32_t count, uint32_t* produced);
    ZipResult Inflate(uint8_t* target, uint32_t count, uint32_t* produced);
    // The declared size is out: the deflate stream must end here.
    ZipResult ExpectStreamEnd();
    ZipResult FillInput();
    ZipResult Finish();
    ZipResult Fail(ZipResult code);

    unzFile m_archive = nullptr;
    bool m_deflated = false;
    bool m_inflating = false;
    bool m_streamEnded = false;
    bool m_inputDone = false;
    bool m_atEnd = false;
    ZipResult m_error = ZipOk;
    uint64_t m_expectedSize = 0;
    uint64_t m_total = 0;
    uint32_t m_expectedCrc = 0;
    uint32_t m_crc = 0;
    z_stream m_stream{};
    std::unique_ptr<uint8_t[]> m_input;
};
