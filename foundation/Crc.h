#pragma once
// Running CRC-32 (IEEE 802.3 / zlib) and CRC-16 (polynomial 0x1021,
// non-reflected) helpers. Words are fed from their lowest byte up.

#include <cstdint>

namespace KV {

uint32_t Crc32Init();
uint32_t Crc32Update(uint32_t crc, uint8_t byte);
uint32_t Crc32Update(uint32_t crc, uint16_t word);
uint32_t Crc32Update(uint32_t crc, uint32_t word);
// No initial or final step; 0 when data is null.
uint32_t Crc32Update(uint32_t crc, const void* data, uint32_t length);
uint32_t Crc32Final(uint32_t crc);
// Complete CRC-32 of a buffer; 0 when data is null.
uint32_t Crc32(const void* data, uint32_t length);

uint16_t Crc16Init();
uint16_t Crc16Update(uint16_t crc, uint8_t byte);
uint16_t Crc16Update(uint16_t crc, uint16_t word);
uint16_t Crc16Update(uint16_t crc, uint32_t word);
// 0 when data is null.
uint16_t Crc16Update(uint16_t crc, const void* data, uint32_t length);
uint16_t Crc16Final(uint16_t crc);
uint16_t Crc16(const void* data, uint32_t length);

} // namespace KV
