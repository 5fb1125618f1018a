#include "tools/kvdt/JsonDocument.h"

#include <nlohmann/json.hpp>

#include <unordered_set>

namespace Kvdt {

double JsonValue::AsDouble() const
{
    switch (kind) {
    case Kind::Integer:
        return static_cast<double>(integer);
    case Kind::Unsigned:
        return static_cast<double>(unsignedInteger);
    case Kind::Float:
        return number;
    default:
        return 0;
    }
}

const JsonValue* JsonValue::Find(const std::string& name) const
{
    for (const auto& member : members) {
        if (member.first == name)
            return &member.second;
    }
    return nullptr;
}

std::string PointerSegment(const std::string& name)
{
    std::string out;
    for (char c : name) {
        if (c == '~')
            out += "~0";
        else if (c == '/')
            out += "~1";
        else
            out += c;
    }
    return out;
}

namespace {

// Deeper documents are refused before the model's recursion could exhaust
// the stack.
constexpr size_t MaxNesting = 512;

// Builds the model from the parser's events. Containers on the stack point
// into their parents' vectors, which do not grow while a child is open.
class DocumentBuilder {
public:
    using Json = nlohmann::json;

    explicit DocumentBuilder(JsonValue& root) : m_root(root) {}

    const std::string& Error() const { return m_error; }

    bool null() { return Add(JsonValue()); }
    bool boolean(bool value)
    {
        JsonValue v;
        v.kind = JsonValue::Kind::Boolean;
        v.boolean = value;
        return Add(std::move(v));
    }
    bool number_integer(Json::number_integer_t value)
    {
        JsonValue v;
        v.kind = JsonValue::Kind::Integer;
        v.integer = value;
        return Add(std::move(v));
    }
    bool number_unsigned(Json::number_unsigned_t value)
    {
        JsonValue v;
        v.kind = JsonValue::Kind::Unsigned;
        v.unsignedInteger = value;
        return Add(std::move(v));
    }
    bool number_float(Json::number_float_t value, const Json::string_t&)
    {
        JsonValue v;
        v.kind = JsonValue::Kind::Float;
        v.number = value;
        return Add(std::move(v));
    }
    bool string(Json::string_t& value)
    {
        JsonValue v;
        v.kind = JsonValue::Kind::String;
        v.text = std::move(value);
        return Add(std::move(v));
    }
    bool binary(Json::binary_t&) { return Fail("binary data is not JSON"); }

    bool start_object(std::size_t) { return Open(JsonValue::Kind::Object); }
    bool key(Json::string_t& name)
    {
        if (!m_names.back().insert(name).second)
            return Fail("duplicate name \"" + name + "\" in " + Where());
        m_pendingKey = name;
        return true;
    }
    bool end_object() { return Close(); }
    bool start_array(std::size_t) { return Open(JsonValue::Kind::Array); }
    bool end_array() { return Close(); }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& ex)
    {
        // Drop the library's "[json.exception.parse_error.101] " tag.
        std::string message = ex.what();
        const size_t tagEnd = message.find("] ");
        if (!message.empty() && message[0] == '[' && tagEnd != std::string::npos)
            message.erase(0, tagEnd + 2);
        return Fail(message);
    }

private:
    JsonValue& m_root;
    std::vector<JsonValue*> m_stack;
    std::vector<std::unordered_set<std::string>> m_names;
    std::vector<std::string> m_path;
    std::string m_pendingKey;
    std::string m_error;

    bool Fail(const std::string& message)
    {
        if (m_error.empty())
            m_error = message;
        return false;
    }

    std::string Where() const
    {
        std::string path;
        for (const auto& segment : m_path)
            path += "/" + PointerSegment(segment);
        return path.empty() ? std::string("the top object") : path;
    }

    JsonValue* AddChild(JsonValue&& value)
    {
        if (m_stack.empty()) {
            m_root = std::move(value);
            return &m_root;
        }
        JsonValue* parent = m_stack.back();
        if (parent->kind == JsonValue::Kind::Array) {
            parent->items.push_back(std::move(value));
            return &parent->items.back();
        }
        parent->members.emplace_back(m_pendingKey, std::move(value));
        return &parent->members.back().second;
    }

    bool Add(JsonValue&& value)
    {
        AddChild(std::move(value));
        return true;
    }

    bool Open(JsonValue::Kind kind)
    {
        if (m_stack.size() >= MaxNesting)
            return Fail("nested too deeply at " + Where());
        if (!m_stack.empty()) {
            const JsonValue* parent = m_stack.back();
            m_path.push_back(parent->kind == JsonValue::Kind::Array ? std::to_string(parent->items.size())
                                                                     : m_pendingKey);
        }
        JsonValue container;
        container.kind = kind;
        m_stack.push_back(AddChild(std::move(container)));
        m_names.emplace_back();
        return true;
    }

    bool Close()
    {
        if (m_stack.size() > 1)
            m_path.pop_back();
        m_stack.pop_back();
        m_names.pop_back();
        return true;
    }
};

} // namespace

bool ParseJson(const std::string& text, JsonValue& root, std::string& error)
{
    JsonValue parsed;
    DocumentBuilder builder(parsed);
    if (!nlohmann::json::sax_parse(text, &builder, nlohmann::json::input_format_t::json, true, true)) {
        error = builder.Error().empty() ? std::string("not a JSON text") : builder.Error();
        return false;
    }
    root = std::move(parsed);
    return true;
}

} // namespace Kvdt
