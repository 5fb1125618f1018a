#pragma once
// Values through their file records. The typed API deliberately cannot make
// everything a file can hold (type codes above Buffer, Bool bytes other than
// 0 or 1, signalling NaNs that the x87 unit would quieten on the way), so
// the text form reads and writes those payloads as the record's bytes.

#include "foundation/DataValue.h"

#include <cstdint>
#include <string>

namespace Kvdt {

// The type code as stored in a file (0 to 255).
uint8_t TypeCode(const KV::DataValue& value);

// The payload bytes the value's file record carries after its type byte.
std::string PayloadBytes(const KV::DataValue& value);

// A new value read from the record name, code, payload; the caller owns it.
// Null when the record does not read back as one whole value.
KV::DataValue* ValueFromRecord(const std::string& name, uint8_t code, const std::string& payload);

} // namespace Kvdt
