// Text form, writing side: one line per value, keys as nested objects.
#include "tools/kvdt/KvdtText.h"

#include "foundation/MemoryStream.h"
#include "tools/kvdt/FloatText.h"
#include "tools/kvdt/Hex.h"
#include "tools/kvdt/JsonWriter.h"
#include "tools/kvdt/TypeNames.h"
#include "tools/kvdt/Utf.h"
#include "tools/kvdt/ValueRecord.h"

#include <algorithm>
#include <cstring>

namespace Kvdt {

namespace {

// Longer buffers are split into lines of this many bytes.
constexpr size_t BufferBytesPerLine = 32;

std::string Indent(int level)
{
    return std::string(static_cast<size_t>(level) * 2, ' ');
}

std::string HexObject(const std::string& hex)
{
    return "{\"hex\": " + QuoteJson(hex) + "}";
}

std::string BitsObject(uint64_t bits, int digits)
{
    return "{\"bits\": " + QuoteJson(HexFromBits(bits, digits)) + "}";
}

std::string NameText(const std::string& name)
{
    return IsValidUtf8(name) ? QuoteJson(name) : HexObject(HexFromBytes(name.data(), name.size()));
}

uint64_t LittleEndian(const std::string& bytes, size_t width)
{
    uint64_t bits = 0;
    for (size_t i = std::min(width, bytes.size()); i > 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(bytes[i - 1]);
    return bits;
}

std::string BufferText(const KV::MemoryStream* stream, int level)
{
    const uint8_t* bytes = stream ? stream->GetBuffer() : nullptr;
    const size_t size = bytes ? stream->GetSize() : 0;
    if (size <= BufferBytesPerLine)
        return QuoteJson(HexFromBytes(bytes, size));
    std::string out = "[\n";
    for (size_t start = 0; start < size; start += BufferBytesPerLine) {
        const size_t length = std::min(BufferBytesPerLine, size - start);
        out += Indent(level + 1) + QuoteJson(HexFromBytes(bytes + start, length));
        out += start + length < size ? ",\n" : "\n";
    }
    return out + Indent(level) + "]";
}

std::string StringWText(const std::wstring& units)
{
    if (IsValidUtf16(units))
        return QuoteJson(Utf16ToUtf8(units));
    std::string hex;
    for (wchar_t unit : units)
        hex += HexFromBits(static_cast<uint16_t>(unit), 4);
    return HexObject(hex);
}

// The type member of a value: "Type": payload. level is the indent of the
// value's line, for payloads that need lines of their own.
std::string TypedPayload(const KV::DataValue& value, int level)
{
    const uint8_t code = TypeCode(value);
    std::string payload;
    switch (code) {
    case TypeUInt:
        payload = std::to_string(value.GetUInt());
        break;
    case TypeInt:
        payload = std::to_string(value.GetInt());
        break;
    case TypeBool: {
        const uint64_t bits = LittleEndian(PayloadBytes(value), 4);
        payload = bits == 0 ? "false" : bits == 1 ? "true" : BitsObject(bits, 8);
        break;
    }
    case TypeFloat: {
        const uint64_t bits = LittleEndian(PayloadBytes(value), 4);
        payload = FloatText(static_cast<uint32_t>(bits));
        if (payload.empty())
            payload = BitsObject(bits, 8);
        break;
    }
    case TypeColor: {
        const std::string bytes = PayloadBytes(value);
        payload = "[";
        for (size_t i = 0; i < 4; ++i) {
            payload += i ? ", " : "";
            payload += std::to_string(i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0);
        }
        payload += "]";
        break;
    }
    case TypeDouble: {
        const uint64_t bits = LittleEndian(PayloadBytes(value), 8);
        payload = DoubleText(bits);
        if (payload.empty())
            payload = BitsObject(bits, 16);
        break;
    }
    case TypeStringA: {
        const std::string* text = value.GetStringA();
        payload = text ? NameText(*text) : QuoteJson(std::string());
        break;
    }
    case TypeStringW: {
        const std::wstring* text = value.GetStringW();
        payload = text ? StringWText(*text) : QuoteJson(std::string());
        break;
    }
    case TypeBuffer:
        payload = BufferText(value.GetBuffer(), level);
        break;
    default:
        return "\"Unknown\": " + std::to_string(code);
    }
    return QuoteJson(TypeName(code)) + ": " + payload;
}

template <typename Map>
std::vector<typename Map::mapped_type> SortedByName(const Map& map)
{
    std::vector<typename Map::mapped_type> items;
    items.reserve(map.size());
    for (const auto& entry : map)
        items.push_back(entry.second);
    std::sort(items.begin(), items.end(), [](auto a, auto b) { return a->GetName() < b->GetName(); });
    return items;
}

template <typename Items>
bool AllNamesAreText(const Items& items)
{
    return std::all_of(items.begin(), items.end(), [](auto item) { return IsValidUtf8(item->GetName()); });
}

void WriteNode(std::string& out, const KV::DataKey& key, int level, bool withName);

void WriteValues(std::string& out, const KV::DataKey& key, int level)
{
    const auto values = SortedByName(key.GetValues());
    // Names that are no text cannot be member names: a list holds them.
    const bool asList = !AllNamesAreText(values);
    out += Indent(level) + "\"values\": " + (asList ? "[\n" : "{\n");
    for (size_t i = 0; i < values.size(); ++i) {
        const KV::DataValue& value = *values[i];
        out += Indent(level + 1);
        if (asList)
            out += "{\"name\": " + NameText(value.GetName()) + ", " + TypedPayload(value, level + 1) + "}";
        else
            out += QuoteJson(value.GetName()) + ": {" + TypedPayload(value, level + 1) + "}";
        out += i + 1 < values.size() ? ",\n" : "\n";
    }
    out += Indent(level) + (asList ? "]" : "}");
}

void WriteKeys(std::string& out, const KV::DataKey& key, int level)
{
    const auto keys = SortedByName(key.GetKeys());
    const bool asList = !AllNamesAreText(keys);
    out += Indent(level) + "\"keys\": " + (asList ? "[\n" : "{\n");
    for (size_t i = 0; i < keys.size(); ++i) {
        out += Indent(level + 1);
        if (!asList)
            out += QuoteJson(keys[i]->GetName()) + ": ";
        WriteNode(out, *keys[i], level + 1, asList);
        out += i + 1 < keys.size() ? ",\n" : "\n";
    }
    out += Indent(level) + (asList ? "]" : "}");
}

// A node's opening brace goes where the caller stands; its closing brace
// ends without a line break.
void WriteNode(std::string& out, const KV::DataKey& key, int level, bool withName)
{
    const bool hasValues = key.GetValueCount() != 0;
    const bool hasKeys = key.GetKeyCount() != 0;
    if (!withName && !hasValues && !hasKeys) {
        out += "{}";
        return;
    }
    out += "{\n";
    bool first = true;
    auto nextMember = [&]() {
        if (!first)
            out += ",\n";
        first = false;
    };
    if (withName) {
        nextMember();
        out += Indent(level + 1) + "\"name\": " + NameText(key.GetName());
    }
    if (hasValues) {
        nextMember();
        WriteValues(out, key, level + 1);
    }
    if (hasKeys) {
        nextMember();
        WriteKeys(out, key, level + 1);
    }
    out += "\n" + Indent(level) + "}";
}

} // namespace

std::string DumpTree(const KV::DataKey& root)
{
    std::string out;
    WriteNode(out, root, 0, !root.GetName().empty());
    out += "\n";
    return out;
}

} // namespace Kvdt
