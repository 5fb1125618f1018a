// Text form, reading side: checks every part of the text and says where a
// fault is, since the texts are written and edited by hand.
#include "tools/kvdt/KvdtText.h"

#include "foundation/MemoryStream.h"
#include "tools/kvdt/FloatText.h"
#include "tools/kvdt/Hex.h"
#include "tools/kvdt/JsonDocument.h"
#include "tools/kvdt/PlatformPath.h"
#include "tools/kvdt/TreeFiles.h"
#include "tools/kvdt/TypeNames.h"
#include "tools/kvdt/Utf.h"
#include "tools/kvdt/ValueRecord.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace Kvdt {

namespace {

using Kind = JsonValue::Kind;

std::string LittleEndianBytes(uint64_t bits, size_t width)
{
    std::string bytes;
    for (size_t i = 0; i < width; ++i, bits >>= 8)
        bytes += static_cast<char>(bits & 0xFF);
    return bytes;
}

// The member's value when the object has exactly that one member.
const JsonValue* OnlyMember(const JsonValue& value, const char* name)
{
    if (value.kind != Kind::Object || value.members.size() != 1 || value.members[0].first != name)
        return nullptr;
    return &value.members[0].second;
}

// A whole number within [low, high].
bool WholeNumberIn(const JsonValue& value, int64_t low, int64_t high, int64_t& result)
{
    if (value.kind == Kind::Unsigned && value.unsignedInteger <= static_cast<uint64_t>(high)) {
        result = static_cast<int64_t>(value.unsignedInteger);
        return result >= low;
    }
    if (value.kind == Kind::Integer && value.integer >= low && value.integer <= high) {
        result = value.integer;
        return true;
    }
    return false;
}

class TreeBuilder {
public:
    TreeBuilder(const std::wstring& baseFolder, std::vector<std::wstring>* filesRead)
        : m_baseFolder(baseFolder), m_filesRead(filesRead)
    {
    }

    const std::string& Error() const { return m_error; }

    bool BuildRoot(const JsonValue& document, KV::DataKey& root)
    {
        return BuildNode(document, "", root, 0, NameRule::Optional);
    }

private:
    enum class NameRule { Optional, Required, Forbidden };

    std::wstring m_baseFolder;
    std::vector<std::wstring>* m_filesRead;
    std::string m_error;

    bool Fail(const std::string& path, const std::string& message)
    {
        m_error = (path.empty() ? std::string("top level") : path) + ": " + message;
        return false;
    }

    static std::string Child(const std::string& path, const std::string& segment)
    {
        return path + "/" + PointerSegment(segment);
    }

    bool ReadName(const JsonValue& value, const std::string& path, std::string& name)
    {
        if (value.kind == Kind::String) {
            name = value.text;
            return true;
        }
        if (const JsonValue* hex = OnlyMember(value, "hex")) {
            if (hex->kind == Kind::String && BytesFromHex(hex->text, name))
                return true;
            return Fail(Child(path, "hex"), "bad hex: pairs of hex digits expected");
        }
        return Fail(path, "a name is a string or {\"hex\": \"...\"}");
    }

    bool BuildNode(const JsonValue& node, const std::string& path, KV::DataKey& key, uint32_t depth, NameRule nameRule)
    {
        if (depth > KV::DataKey::MaxLoadDepth)
            return Fail(path, "keys nest deeper than " + std::to_string(KV::DataKey::MaxLoadDepth) +
                                  " levels, more than a data-tree file may hold");
        if (node.kind != Kind::Object)
            return Fail(path, "a key is an object with \"values\" and \"keys\"");
        const JsonValue* values = nullptr;
        const JsonValue* keys = nullptr;
        bool named = false;
        for (const auto& member : node.members) {
            const std::string memberPath = Child(path, member.first);
            if (member.first == "values") {
                values = &member.second;
            } else if (member.first == "keys") {
                keys = &member.second;
            } else if (member.first == "name" && nameRule != NameRule::Forbidden) {
                std::string name;
                if (!ReadName(member.second, memberPath, name))
                    return false;
                key.SetName(name);
                named = true;
            } else if (member.first == "name") {
                return Fail(memberPath, "a key in a \"keys\" object takes its name from its member name");
            } else {
                return Fail(memberPath, "unknown member (a key has \"name\", \"values\" and \"keys\")");
            }
        }
        if (nameRule == NameRule::Required && !named)
            return Fail(path, "missing \"name\"");
        if (values && !BuildValues(*values, Child(path, "values"), key))
            return false;
        return !keys || BuildKeys(*keys, Child(path, "keys"), key, depth);
    }

    bool BuildValues(const JsonValue& values, const std::string& path, KV::DataKey& key)
    {
        if (values.kind == Kind::Object) {
            for (const auto& member : values.members) {
                const std::string valuePath = Child(path, member.first);
                const JsonValue& typed = member.second;
                if (typed.kind != Kind::Object || typed.members.size() != 1)
                    return Fail(valuePath, "a value is an object with one member, its type: {\"UInt\": 5}");
                if (!BuildValue(key, member.first, typed.members[0].first, typed.members[0].second,
                                Child(valuePath, typed.members[0].first)))
                    return false;
            }
            return true;
        }
        if (values.kind != Kind::Array)
            return Fail(path, "\"values\" is an object (name: typed value) or a list");
        for (size_t i = 0; i < values.items.size(); ++i) {
            const std::string valuePath = Child(path, std::to_string(i));
            const JsonValue& entry = values.items[i];
            const JsonValue* nameValue = entry.Find("name");
            if (entry.kind != Kind::Object || !nameValue || entry.members.size() != 2)
                return Fail(valuePath, "a listed value is an object with \"name\" and one type member");
            std::string name;
            if (!ReadName(*nameValue, Child(valuePath, "name"), name))
                return false;
            const auto& typed = entry.members[0].first == "name" ? entry.members[1] : entry.members[0];
            if (!BuildValue(key, name, typed.first, typed.second, Child(valuePath, typed.first)))
                return false;
        }
        return true;
    }

    bool BuildKeys(const JsonValue& keys, const std::string& path, KV::DataKey& key, uint32_t depth)
    {
        if (keys.kind == Kind::Object) {
            for (const auto& member : keys.members) {
                const std::string keyPath = Child(path, member.first);
                KV::DataKey* child = key.AddKey(member.first);
                if (!child)
                    return Fail(keyPath, "duplicate key name");
                if (!BuildNode(member.second, keyPath, *child, depth + 1, NameRule::Forbidden))
                    return false;
            }
            return true;
        }
        if (keys.kind != Kind::Array)
            return Fail(path, "\"keys\" is an object (name: key) or a list of keys with names");
        for (size_t i = 0; i < keys.items.size(); ++i) {
            const std::string keyPath = Child(path, std::to_string(i));
            auto child = std::make_unique<KV::DataKey>();
            if (!BuildNode(keys.items[i], keyPath, *child, depth + 1, NameRule::Required))
                return false;
            if (key.HasKey(child->GetName()))
                return Fail(keyPath, "duplicate key name");
            key.SetKey(child.release());
        }
        return true;
    }

    bool StoreRecord(KV::DataKey& key, const std::string& name, uint8_t code, const std::string& payload,
                     const std::string& path)
    {
        KV::DataValue* value = ValueFromRecord(name, code, payload);
        if (!value)
            return Fail(path, "the data tree refused the value");
        key.SetValue(value);
        return true;
    }

    bool ReadSourceFile(const JsonValue& file, const std::string& path, std::string& bytes)
    {
        if (file.kind != Kind::String || file.text.empty())
            return Fail(path, "\"file\" takes a path");
        const std::wstring fullPath = ResolvePath(m_baseFolder, Utf8ToUtf16(file.text));
        if (!ReadWholeFile(fullPath, bytes))
            return Fail(path, "cannot read \"" + Utf16ToUtf8(fullPath) + "\"");
        if (m_filesRead)
            m_filesRead->push_back(fullPath);
        return true;
    }

    bool BuildValue(KV::DataKey& key, const std::string& name, const std::string& typeName, const JsonValue& payload,
                    const std::string& path)
    {
        if (key.HasValue(name))
            return Fail(path, "duplicate value name");
        if (typeName == "Unknown") {
            int64_t code = 0;
            if (!WholeNumberIn(payload, FirstUnknownType, 255, code))
                return Fail(path, "Unknown takes a type code from 9 to 255");
            return StoreRecord(key, name, static_cast<uint8_t>(code), std::string(), path);
        }
        uint8_t code = 0;
        if (!TypeFromName(typeName, code))
            return Fail(path, "unknown type \"" + typeName + "\" (expected " + std::string(TypeNameList()) + ")");
        switch (code) {
        case TypeUInt:
        case TypeInt: {
            const bool isUInt = code == TypeUInt;
            int64_t number = 0;
            if (!WholeNumberIn(payload, isUInt ? 0 : INT32_MIN, isUInt ? UINT32_MAX : INT32_MAX, number))
                return Fail(path, isUInt ? "UInt takes a whole number from 0 to 4294967295"
                                         : "Int takes a whole number from -2147483648 to 2147483647");
            if (isUInt)
                key.SetUInt(name, static_cast<uint32_t>(number));
            else
                key.SetInt(name, static_cast<int32_t>(number));
            return true;
        }
        case TypeBool: {
            if (payload.kind == Kind::Boolean) {
                key.SetBool(name, payload.boolean);
                return true;
            }
            return BuildBits(key, name, code, payload, 4, path, "Bool takes true, false or {\"bits\": \"00000000\"}");
        }
        case TypeFloat:
        case TypeDouble: {
            const bool isFloat = code == TypeFloat;
            if (payload.IsNumber()) {
                const double number = payload.AsDouble();
                float narrowed = 0;
                uint64_t bits = 0;
                if (isFloat) {
                    if (!FloatFromNumber(number, narrowed))
                        return Fail(path, "number out of the Float range");
                    uint32_t floatBits = 0;
                    std::memcpy(&floatBits, &narrowed, sizeof floatBits);
                    bits = floatBits;
                } else {
                    if (!std::isfinite(number))
                        return Fail(path, "number out of the Double range");
                    std::memcpy(&bits, &number, sizeof bits);
                }
                return StoreRecord(key, name, code, LittleEndianBytes(bits, isFloat ? 4 : 8), path);
            }
            return BuildBits(key, name, code, payload, isFloat ? 4 : 8, path,
                             isFloat ? "Float takes a number or {\"bits\": \"7fc00000\"}"
                                     : "Double takes a number or {\"bits\": \"7ff8000000000000\"}");
        }
        case TypeColor: {
            int64_t bytes[4] = {};
            bool good = payload.kind == Kind::Array && payload.items.size() == 4;
            for (size_t i = 0; good && i < 4; ++i)
                good = WholeNumberIn(payload.items[i], 0, 255, bytes[i]);
            if (!good)
                return Fail(path, "Color takes its four bytes: [red, green, blue, 0]");
            key.SetColor(name, static_cast<uint8_t>(bytes[0]), static_cast<uint8_t>(bytes[1]),
                         static_cast<uint8_t>(bytes[2]), static_cast<uint8_t>(bytes[3]));
            return true;
        }
        case TypeStringA: {
            std::string bytes;
            if (payload.kind == Kind::String) {
                bytes = payload.text;
            } else if (const JsonValue* hex = OnlyMember(payload, "hex")) {
                if (hex->kind != Kind::String || !BytesFromHex(hex->text, bytes))
                    return Fail(Child(path, "hex"), "bad hex: pairs of hex digits expected");
            } else if (const JsonValue* file = OnlyMember(payload, "file")) {
                if (!ReadSourceFile(*file, Child(path, "file"), bytes))
                    return false;
            } else {
                return Fail(path, "StringA takes a string, {\"hex\": \"...\"} or {\"file\": \"path\"}");
            }
            key.SetStringA(name, bytes);
            return true;
        }
        case TypeStringW: {
            if (payload.kind == Kind::String) {
                key.SetStringW(name, Utf8ToUtf16(payload.text));
                return true;
            }
            const JsonValue* hex = OnlyMember(payload, "hex");
            if (!hex)
                return Fail(path, "StringW takes a string or {\"hex\": \"...\"} (four digits a code unit)");
            std::string bytes;
            if (hex->kind != Kind::String || !BytesFromHex(hex->text, bytes) || bytes.size() % 2 != 0)
                return Fail(Child(path, "hex"), "bad hex: four hex digits a code unit expected");
            std::wstring units;
            for (size_t i = 0; i < bytes.size(); i += 2)
                units += static_cast<wchar_t>((static_cast<unsigned char>(bytes[i]) << 8) |
                                              static_cast<unsigned char>(bytes[i + 1]));
            key.SetStringW(name, units);
            return true;
        }
        default: {
            std::string bytes;
            if (!BufferBytes(payload, path, bytes))
                return false;
            KV::MemoryStream stream;
            if (!stream.WriteExact(bytes.data(), static_cast<uint32_t>(bytes.size())))
                return Fail(path, "out of memory");
            key.SetBuffer(name, stream);
            return true;
        }
        }
    }

    // {"bits": "..."}: the payload as one little-endian number in hex.
    bool BuildBits(KV::DataKey& key, const std::string& name, uint8_t code, const JsonValue& payload, size_t width,
                   const std::string& path, const char* expected)
    {
        const JsonValue* text = OnlyMember(payload, "bits");
        if (!text)
            return Fail(path, expected);
        const int digits = static_cast<int>(width * 2);
        uint64_t bits = 0;
        if (text->kind != Kind::String || !BitsFromHex(text->text, digits, bits))
            return Fail(Child(path, "bits"), "bad bits: exactly " + std::to_string(digits) + " hex digits expected");
        return StoreRecord(key, name, code, LittleEndianBytes(bits, width), path);
    }

    bool BufferBytes(const JsonValue& payload, const std::string& path, std::string& bytes)
    {
        const char* const badHex = "bad hex: pairs of hex digits expected";
        if (payload.kind == Kind::String) {
            if (!BytesFromHex(payload.text, bytes))
                return Fail(path, badHex);
            return true;
        }
        if (payload.kind == Kind::Array) {
            for (size_t i = 0; i < payload.items.size(); ++i) {
                std::string piece;
                const JsonValue& line = payload.items[i];
                if (line.kind != Kind::String || !BytesFromHex(line.text, piece))
                    return Fail(Child(path, std::to_string(i)), badHex);
                bytes += piece;
            }
            return true;
        }
        if (const JsonValue* file = OnlyMember(payload, "file"))
            return ReadSourceFile(*file, Child(path, "file"), bytes);
        return Fail(path, "Buffer takes a hex string, a list of them or {\"file\": \"path\"}");
    }
};

} // namespace

bool BuildTree(const std::string& text, const std::wstring& baseFolder, KV::DataKey& root, std::string& error,
               std::vector<std::wstring>* filesRead)
{
    root.Clear();
    root.SetName(std::string());
    // Editors on Windows like to start UTF-8 files with a byte order mark.
    static const char Bom[] = "\xEF\xBB\xBF";
    const bool hasBom = text.compare(0, 3, Bom) == 0;
    JsonValue document;
    if (!ParseJson(hasBom ? text.substr(3) : text, document, error))
        return false;
    TreeBuilder builder(baseFolder, filesRead);
    if (!builder.BuildRoot(document, root)) {
        error = builder.Error();
        root.Clear();
        root.SetName(std::string());
        return false;
    }
    return true;
}

} // namespace Kvdt
