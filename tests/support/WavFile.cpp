#include "tests/support/WavFile.h"

namespace {

void PutLittleEndian(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string MakeMonoWav(uint32_t rate, uint32_t sampleCount, const std::function<int16_t(uint32_t index)>& sample)
{
    const uint32_t dataBytes = sampleCount * 2;
    std::string file = "RIFF";
    PutLittleEndian(file, 36 + dataBytes, 4);
    file += "WAVEfmt ";
    PutLittleEndian(file, 16, 4);
    PutLittleEndian(file, 1, 2);  // PCM
    PutLittleEndian(file, 1, 2);  // mono
    PutLittleEndian(file, rate, 4);
    PutLittleEndian(file, rate * 2, 4);
    PutLittleEndian(file, 2, 2);
    PutLittleEndian(file, 16, 2);
    file += "data";
    PutLittleEndian(file, dataBytes, 4);
    for (uint32_t i = 0; i < sampleCount; ++i)
        PutLittleEndian(file, static_cast<uint32_t>(sample(i)) & 0xFFFF, 2);
    return file;
}

std::string SilenceWav()
{
    return MakeMonoWav(8000, 8000, [](uint32_t) -> int16_t { return 0; });
}
