#pragma once
// A small JSON document model for the text form. Members keep their source
// order, and a name given twice in one object is an error rather than a
// silent overwrite: in a hand-edited source that is nearly always a mistake.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Kvdt {

struct JsonValue {
    enum class Kind { Null, Boolean, Integer, Unsigned, Float, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    int64_t integer = 0;    // Kind::Integer (negative numbers)
    uint64_t unsignedInteger = 0; // Kind::Unsigned
    double number = 0;      // Kind::Float
    std::string text;       // Kind::String, UTF-8
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    bool IsNumber() const { return kind == Kind::Integer || kind == Kind::Unsigned || kind == Kind::Float; }
    // Any number as a double (integers rounded to the nearest double).
    double AsDouble() const;
    // Null when there is no such member (or this is no object).
    const JsonValue* Find(const std::string& name) const;
};

// Parses a whole JSON text; // and /* */ comments are allowed. On failure
// returns false with a one-line message that says where.
bool ParseJson(const std::string& text, JsonValue& root, std::string& error);

// A JSON Pointer segment with '~' and '/' escaped.
std::string PointerSegment(const std::string& name);

} // namespace Kvdt
