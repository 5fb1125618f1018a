#include "foundation/DataValue.h"

#include "foundation/DataTreeCodec.h"
#include "foundation/MemoryStream.h"
#include "foundation/Stream.h"

#include <cstring>
#include <new>

namespace KV {

static_assert(alignof(DataValue) <= SmallBlocks::BlockAlignment, "the small-block pool aligns blocks as pointers");

namespace {

// Doubles are copied as bytes: a copy through the FPU would turn a
// signalling NaN into a quiet one, and the file must keep what it was given.
double* CopyDoubleBits(const double& source)
{
    double* copy = new double(0.0);
    std::memcpy(copy, &source, sizeof(double));
    return copy;
}

} // namespace

const wchar_t* GetValueTypeName(ValueType type)
{
    switch (type) {
    case ValueType::UInt: return L"UInt";
    case ValueType::Int: return L"Int";
    case ValueType::Bool: return L"Bool";
    case ValueType::Float: return L"Float";
    case ValueType::Color: return L"Color";
    case ValueType::Double: return L"Double";
    case ValueType::StringA: return L"StringA";
    case ValueType::StringW: return L"StringW";
    case ValueType::Buffer: return L"Buffer";
    }
    return L"Unknown";
}

DataValue::DataValue(const std::string& name) : m_name(name) {}

DataValue::DataValue(const DataValue& other)
{
    *this = other;
}

DataValue::DataValue(Stream& source)
{
    Deserialize(source);
}

DataValue::~DataValue()
{
    ReleasePayload();
}

DataValue& DataValue::operator=(const DataValue& other)
{
    if (this == &other)
        return *this;
    Clear();
    m_name = other.m_name;
    const ValueType type = other.GetType();
    switch (type) {
    case ValueType::Double:
        m_data.d = CopyDoubleBits(*other.m_data.d);
        break;
    case ValueType::StringA:
        m_data.a = SmallBlocks::New<std::string>(other.GetStringAView());
        break;
    case ValueType::StringW:
        m_data.w = SmallBlocks::New<std::wstring>(other.GetStringWView());
        break;
    case ValueType::Buffer:
        m_data.buffer = new MemoryStream(*other.m_data.buffer);
        break;
    default:
        m_data.u = other.m_data.u;
        break;
    }
    SetTypeBits(type);
    return *this;
}

void DataValue::SetName(const std::string& name)
{
    Touch();
    m_name = name;
}

void DataValue::Touch() const
{
    if ((m_bits & InArena) != 0)
        SmallBlocks::MarkChanged(SmallBlocks::ArenaOf(this));
}

void DataValue::Clear()
{
    Touch();
    ReleasePayload();
}

void DataValue::ReleasePayload()
{
    switch (GetType()) {
    case ValueType::Double: delete m_data.d; break;
    case ValueType::StringA:
        if (IsStored())
            SmallBlocks::Free(m_data.text, sizeof(StoredText) + m_data.text->units);
        else
            SmallBlocks::Delete(m_data.a);
        break;
    case ValueType::StringW:
        if (IsStored())
            SmallBlocks::Free(m_data.text, sizeof(StoredText) + m_data.text->units * sizeof(wchar_t));
        else
            SmallBlocks::Delete(m_data.w);
        break;
    case ValueType::Buffer: delete m_data.buffer; break;
    default: break;
    }
    m_bits &= InArena;
    m_data.u = 0;
}

std::string_view DataValue::GetStringAView() const
{
    if (GetType() != ValueType::StringA)
        return {};
    if (IsStored())
        return {reinterpret_cast<const char*>(m_data.text + 1), m_data.text->units};
    return *m_data.a;
}

std::wstring_view DataValue::GetStringWView() const
{
    if (GetType() != ValueType::StringW)
        return {};
    if (IsStored())
        return {reinterpret_cast<const wchar_t*>(m_data.text + 1), m_data.text->units};
    return *m_data.w;
}

// The strict getters hand out std::string pointers: the stored characters
// become an owned string the first time one is asked for. That puts heap
// memory into the arena's objects, so the arena is told.
void DataValue::OwnStoredText() const
{
    StoredText* text = m_data.text;
    if (GetType() == ValueType::StringW) {
        std::wstring* owned = SmallBlocks::New<std::wstring>(GetStringWView());
        SmallBlocks::Free(text, sizeof(StoredText) + text->units * sizeof(wchar_t));
        m_data.w = owned;
    } else {
        std::string* owned = SmallBlocks::New<std::string>(GetStringAView());
        SmallBlocks::Free(text, sizeof(StoredText) + text->units);
        m_data.a = owned;
    }
    m_bits &= ~Stored;
    Touch();
}

void DataValue::SetInline(ValueType type, uint32_t bits)
{
    Clear();
    SetTypeBits(type);
    m_data.u = bits;
}

void DataValue::SetEmptyPayload(ValueType type)
{
    Clear();
    switch (type) {
    case ValueType::Double: m_data.d = new double(0.0); break;
    case ValueType::StringA: m_data.a = SmallBlocks::New<std::string>(); break;
    case ValueType::StringW: m_data.w = SmallBlocks::New<std::wstring>(); break;
    case ValueType::Buffer: m_data.buffer = new MemoryStream(); break;
    default: break;
    }
    SetTypeBits(type);
}

void DataValue::SetUInt(uint32_t value)
{
    SetInline(ValueType::UInt, value);
}

void DataValue::SetInt(int32_t value)
{
    SetInline(ValueType::Int, static_cast<uint32_t>(value));
}

void DataValue::SetBool(bool value)
{
    SetInline(ValueType::Bool, value ? 1u : 0u);
}

void DataValue::SetFloat(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    SetInline(ValueType::Float, bits);
}

void DataValue::SetColor(uint32_t color)
{
    SetInline(ValueType::Color, color);
}

void DataValue::SetColor(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    Clear();
    SetTypeBits(ValueType::Color);
    m_data.bytes[0] = b0;
    m_data.bytes[1] = b1;
    m_data.bytes[2] = b2;
    m_data.bytes[3] = b3;
}

// The new payload is made before the old one goes, so a value may be set
// from its own payload.
void DataValue::SetDouble(double value)
{
    double* payload = CopyDoubleBits(value);
    Clear();
    SetTypeBits(ValueType::Double);
    m_data.d = payload;
}

void DataValue::SetStringA(const std::string& value)
{
    std::string* payload = SmallBlocks::New<std::string>(value);
    Clear();
    SetTypeBits(ValueType::StringA);
    m_data.a = payload;
}

void DataValue::SetStringW(const std::wstring& value)
{
    std::wstring* payload = SmallBlocks::New<std::wstring>(value);
    Clear();
    SetTypeBits(ValueType::StringW);
    m_data.w = payload;
}

void DataValue::SetBuffer(MemoryStream* stream, bool copy)
{
    if (!copy && GetType() == ValueType::Buffer && stream == m_data.buffer && stream != nullptr)
        return;
    MemoryStream* payload;
    if (stream == nullptr)
        payload = new MemoryStream();
    else if (copy)
        payload = new MemoryStream(*stream);
    else
        payload = stream;
    Clear();
    SetTypeBits(ValueType::Buffer);
    m_data.buffer = payload;
}

void DataValue::SetBuffer(const MemoryStream& stream)
{
    MemoryStream* payload = new MemoryStream(stream);
    Clear();
    SetTypeBits(ValueType::Buffer);
    m_data.buffer = payload;
}

uint32_t DataValue::GetUInt() const
{
    return GetType() == ValueType::UInt ? m_data.u : 0;
}

int32_t DataValue::GetInt() const
{
    return GetType() == ValueType::Int ? m_data.i : 0;
}

bool DataValue::GetBool() const
{
    // Files store the flag in the first of the four bytes.
    return GetType() == ValueType::Bool && m_data.bytes[0] != 0;
}

float DataValue::GetFloat() const
{
    return GetType() == ValueType::Float ? m_data.f : 0.0f;
}

uint32_t DataValue::GetColor() const
{
    return GetType() == ValueType::Color ? m_data.u : 0;
}

double DataValue::GetDouble() const
{
    return GetType() == ValueType::Double ? *m_data.d : 0.0;
}

const std::string* DataValue::GetStringA() const
{
    if (GetType() != ValueType::StringA)
        return nullptr;
    if (IsStored())
        OwnStoredText();
    return m_data.a;
}

const std::wstring* DataValue::GetStringW() const
{
    if (GetType() != ValueType::StringW)
        return nullptr;
    if (IsStored())
        OwnStoredText();
    return m_data.w;
}

MemoryStream* DataValue::GetBuffer() const
{
    return GetType() == ValueType::Buffer ? m_data.buffer : nullptr;
}

void DataValue::Serialize(Stream& target) const
{
    DataTreeWriter writer;
    writer.WriteValue(*this);
    target.Write(writer.Data(), writer.Size());
}

bool DataValue::Deserialize(Stream& source)
{
    try {
        DataTreeReader reader(source);
        return reader.ReadValue(*this);
    } catch (const std::bad_alloc&) {
        // What was read of it is let go with the value's content.
        Clear();
        m_name.clear();
        return false;
    }
}

} // namespace KV
