#pragma once
// Data-tree bytes ("KVDT" format) written record by record for tests, with
// what a DataKey cannot write: two values or sub-keys of one name, wrong
// magics, unknown type codes, counts that do not match. The caller gives
// every count; nothing is checked.

#include "foundation/DataKey.h"
#include "foundation/StreamCoding.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

class DataTreeBytes {
public:
    using Bytes = std::vector<uint8_t>;

    // A key's magic, name and value count; its values and SubKeys follow.
    DataTreeBytes& Key(std::string_view name, uint32_t valueCount)
    {
        return Scalar(KV::DataKey::Magic).Text(name).Scalar(valueCount);
    }
    DataTreeBytes& SubKeys(uint32_t count) { return Scalar(count); }
    // A sub-key of another magic: a load keeps it as an empty unnamed key.
    DataTreeBytes& WrongMagic() { return Scalar(uint32_t{0x58585858}); }

    // A value record: name, type code, then payload as given.
    DataTreeBytes& Value(std::string_view name, uint8_t code, const Bytes& payload = Bytes())
    {
        return Text(name).Scalar(code).Raw(payload);
    }
    DataTreeBytes& UInt(std::string_view name, uint32_t value) { return Text(name).Scalar(uint8_t{0}).Scalar(value); }
    DataTreeBytes& Int(std::string_view name, int32_t value) { return Text(name).Scalar(uint8_t{1}).Scalar(value); }
    DataTreeBytes& Bool(std::string_view name, bool value)
    {
        return Text(name).Scalar(uint8_t{2}).Scalar(uint32_t{value ? 1u : 0u});
    }
    DataTreeBytes& Double(std::string_view name, double value) { return Text(name).Scalar(uint8_t{5}).Scalar(value); }
    DataTreeBytes& StringA(std::string_view name, std::string_view text)
    {
        return Text(name).Scalar(uint8_t{6}).Text(text);
    }
    DataTreeBytes& StringW(std::string_view name, std::wstring_view text)
    {
        Text(name).Scalar(uint8_t{7}).Count(static_cast<uint32_t>(text.size()));
        for (wchar_t unit : text)
            Scalar(static_cast<uint16_t>(unit));
        return *this;
    }
    DataTreeBytes& Buffer(std::string_view name, const Bytes& content)
    {
        return Text(name).Scalar(uint8_t{8}).Scalar(static_cast<uint32_t>(content.size())).Raw(content);
    }

    DataTreeBytes& Raw(const Bytes& bytes)
    {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // A little-endian scalar as the format stores it.
    template <typename T>
    DataTreeBytes& Scalar(T value)
    {
        uint8_t bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        m_bytes.insert(m_bytes.end(), bytes, bytes + sizeof(T));
        return *this;
    }
    DataTreeBytes& Count(uint32_t count)
    {
        uint8_t bytes[KV::StreamCoding::MaxCountBytes];
        m_bytes.insert(m_bytes.end(), bytes, bytes + KV::StreamCoding::EncodeCount(count, bytes));
        return *this;
    }
    DataTreeBytes& Text(std::string_view text)
    {
        Count(static_cast<uint32_t>(text.size()));
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }

    const Bytes& Get() const { return m_bytes; }
    std::string String() const { return std::string(m_bytes.begin(), m_bytes.end()); }

private:
    Bytes m_bytes;
};
