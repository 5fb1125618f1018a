#pragma once
// Facts of the "KVDT" record layout that every reader of it applies alike:
// the tree reader that builds keys and the view that reads the bytes where
// they lie must accept and refuse exactly the same files. (The reader alone
// also refuses a tree that would take more memory than TreeBudget allows; the
// view builds nothing.)

#include "foundation/DataValue.h"

#include <cstdint>

namespace KV {
namespace DataTreeFormat {

// Smallest records the format allows: a value is at least its empty name and
// its type byte; a sub-key at least a (wrong) magic. A count that could not
// fit in the data left is refused before any loop runs on it.
constexpr uint32_t MinValueRecordBytes = 2;
constexpr uint32_t MinSubKeyBytes = 4;

inline bool CountFits(uint32_t count, uint32_t minRecordBytes, uint64_t remaining)
{
    return static_cast<uint64_t>(count) * minRecordBytes <= remaining;
}

// What a tree read from dataBytes may take beyond its payload bytes (each of
// which is a byte of the data): its keys, values, lists and payload objects.
// Real trees take a few times their data; a file of tiny records built to
// take more is refused rather than exhaust the program.
constexpr uint64_t TreeBytesPerDataByte = 10;
constexpr uint64_t TreeBytesAlways = 32u * 1024 * 1024;

inline uint64_t TreeBudget(uint64_t dataBytes)
{
    return dataBytes * TreeBytesPerDataByte + TreeBytesAlways;
}

// Types whose payload is four bytes held in the record itself.
inline bool HasInlinePayload(ValueType type)
{
    return type == ValueType::UInt || type == ValueType::Int || type == ValueType::Bool ||
           type == ValueType::Float || type == ValueType::Color;
}

} // namespace DataTreeFormat
} // namespace KV
