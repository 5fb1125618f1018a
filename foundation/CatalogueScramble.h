#pragma once
// The scrambled form of the channel catalogue file: the plain data-tree
// bytes XORed with a keystream of CRC-32 words. Word n of the keystream is
// the CRC-32 of the seed followed by n (both as little-endian uint32), where
// the seed is the CRC-32 of the text "Brisvane channel catalogue"; the last,
// partial word uses its low bytes. This keeps the file from being read or
// edited casually; it is no protection against a determined reader.
//
// Scrambling and unscrambling are the same operation.

#include <cstdint>

void ScrambleCatalogue(uint8_t* data, uint32_t size);
