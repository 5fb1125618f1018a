#include "foundation/DataValue.h"

#include "foundation/DataTreeCodec.h"
#include "foundation/MemoryStream.h"
#include "foundation/Stream.h"

#include <cstring>

namespace KV {

static_assert(alignof(DataValue) <= 4, "the small-block pool aligns to 4 bytes");

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

static_assert(sizeof(void*) == 4, "the inline payload holds a 32-bit pointer");

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
    Clear();
}

DataValue& DataValue::operator=(const DataValue& other)
{
    if (this == &other)
        return *this;
    Clear();
    m_name = other.m_name;
    switch (other.m_type) {
    case ValueType::Double:
        m_data.d = CopyDoubleBits(*other.m_data.d);
        break;
    case ValueType::StringA:
        m_data.a = SmallBlocks::New<std::string>(*other.m_data.a);
        break;
    case ValueType::StringW:
        m_data.w = SmallBlocks::New<std::wstring>(*other.m_data.w);
        break;
    case ValueType::Buffer:
        m_data.buffer = new MemoryStream(*other.m_data.buffer);
        break;
    default:
        m_data.u = other.m_data.u;
        break;
    }
    m_type = other.m_type;
    return *this;
}

void DataValue::Clear()
{
    switch (m_type) {
    case ValueType::Double: delete m_data.d; break;
    case ValueType::StringA: SmallBlocks::Delete(m_data.a); break;
    case ValueType::StringW: SmallBlocks::Delete(m_data.w); break;
    case ValueType::Buffer: delete m_data.buffer; break;
    default: break;
    }
    m_type = ValueType::UInt;
    m_data.u = 0;
}

void DataValue::SetInline(ValueType type, uint32_t bits)
{
    Clear();
    m_type = type;
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
    m_type = type;
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
    m_type = ValueType::Color;
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
    m_type = ValueType::Double;
    m_data.d = payload;
}

void DataValue::SetStringA(const std::string& value)
{
    std::string* payload = SmallBlocks::New<std::string>(value);
    Clear();
    m_type = ValueType::StringA;
    m_data.a = payload;
}

void DataValue::SetStringW(const std::wstring& value)
{
    std::wstring* payload = SmallBlocks::New<std::wstring>(value);
    Clear();
    m_type = ValueType::StringW;
    m_data.w = payload;
}

void DataValue::SetBuffer(MemoryStream* stream, bool copy)
{
    if (!copy && m_type == ValueType::Buffer && stream == m_data.buffer && stream != nullptr)
        return;
    MemoryStream* payload;
    if (stream == nullptr)
        payload = new MemoryStream();
    else if (copy)
        payload = new MemoryStream(*stream);
    else
        payload = stream;
    Clear();
    m_type = ValueType::Buffer;
    m_data.buffer = payload;
}

void DataValue::SetBuffer(const MemoryStream& stream)
{
    MemoryStream* payload = new MemoryStream(stream);
    Clear();
    m_type = ValueType::Buffer;
    m_data.buffer = payload;
}

uint32_t DataValue::GetUInt() const
{
    return m_type == ValueType::UInt ? m_data.u : 0;
}

int32_t DataValue::GetInt() const
{
    return m_type == ValueType::Int ? m_data.i : 0;
}

bool DataValue::GetBool() const
{
    // Files store the flag in the first of the four bytes.
    return m_type == ValueType::Bool && m_data.bytes[0] != 0;
}

float DataValue::GetFloat() const
{
    return m_type == ValueType::Float ? m_data.f : 0.0f;
}

uint32_t DataValue::GetColor() const
{
    return m_type == ValueType::Color ? m_data.u : 0;
}

double DataValue::GetDouble() const
{
    return m_type == ValueType::Double ? *m_data.d : 0.0;
}

const std::string* DataValue::GetStringA() const
{
    return m_type == ValueType::StringA ? m_data.a : nullptr;
}

const std::wstring* DataValue::GetStringW() const
{
    return m_type == ValueType::StringW ? m_data.w : nullptr;
}

MemoryStream* DataValue::GetBuffer() const
{
    return m_type == ValueType::Buffer ? m_data.buffer : nullptr;
}

void DataValue::Serialize(Stream& target) const
{
    DataTreeWriter writer;
    writer.WriteValue(*this);
    target.Write(writer.Data(), writer.Size());
}

bool DataValue::Deserialize(Stream& source)
{
    DataTreeReader reader(source);
    return reader.ReadValue(*this);
}

} // namespace KV
