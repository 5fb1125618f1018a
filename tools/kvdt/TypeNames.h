#pragma once
// Type codes of data-tree values as one byte, the way files hold them, and
// their names in the text form (the value types' display names).

#include "foundation/DataValue.h"

#include <cstdint>
#include <string>

namespace Kvdt {

constexpr uint8_t CodeOf(KV::ValueType type)
{
    return static_cast<uint8_t>(type);
}

constexpr uint8_t TypeUInt = CodeOf(KV::ValueType::UInt);
constexpr uint8_t TypeInt = CodeOf(KV::ValueType::Int);
constexpr uint8_t TypeBool = CodeOf(KV::ValueType::Bool);
constexpr uint8_t TypeFloat = CodeOf(KV::ValueType::Float);
constexpr uint8_t TypeColor = CodeOf(KV::ValueType::Color);
constexpr uint8_t TypeDouble = CodeOf(KV::ValueType::Double);
constexpr uint8_t TypeStringA = CodeOf(KV::ValueType::StringA);
constexpr uint8_t TypeStringW = CodeOf(KV::ValueType::StringW);
constexpr uint8_t TypeBuffer = CodeOf(KV::ValueType::Buffer);
// Codes from here on carry no payload; only files hold them.
constexpr uint8_t FirstUnknownType = TypeBuffer + 1;

// "UInt" ... "Buffer"; "Unknown" for codes above Buffer.
std::string TypeName(uint8_t code);
// One of the nine names; false for anything else (including "Unknown").
bool TypeFromName(const std::string& name, uint8_t& code);
// The names a value may use, for messages.
const char* TypeNameList();

} // namespace Kvdt
