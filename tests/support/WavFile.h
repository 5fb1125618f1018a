#pragma once
// Mono 16-bit PCM WAV files for the tests that play sound.

#include <cstdint>
#include <functional>
#include <string>

// The file's bytes: a RIFF header and sampleCount samples at rate per
// second, each given by sample(index).
std::string MakeMonoWav(uint32_t rate, uint32_t sampleCount, const std::function<int16_t(uint32_t index)>& sample);
// One second of silence at 8 kHz.
std::string SilenceWav();
