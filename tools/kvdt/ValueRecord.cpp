#include "tools/kvdt/ValueRecord.h"

#include "foundation/MemoryStream.h"

#include <memory>

namespace Kvdt {

uint8_t TypeCode(const KV::DataValue& value)
{
    return static_cast<uint8_t>(static_cast<int32_t>(value.GetType()));
}

std::string PayloadBytes(const KV::DataValue& value)
{
    KV::MemoryStream record;
    value.Serialize(record);
    record.Seek(0, KV::SeekBegin);
    std::string name;
    uint8_t code = 0;
    if (!record.ReadString(name) || !record.ReadExact(&code, 1))
        return std::string();
    const uint32_t start = record.GetPosition();
    const uint8_t* bytes = record.GetBuffer();
    if (!bytes)
        return std::string();
    return std::string(reinterpret_cast<const char*>(bytes) + start, record.GetSize() - start);
}

KV::DataValue* ValueFromRecord(const std::string& name, uint8_t code, const std::string& payload)
{
    KV::MemoryStream record;
    record.WriteString(name);
    record << code;
    if (!payload.empty())
        record.Write(payload.data(), static_cast<uint32_t>(payload.size()));
    record.Seek(0, KV::SeekBegin);
    auto value = std::make_unique<KV::DataValue>();
    if (!value->Deserialize(record) || record.GetRemaining() != 0)
        return nullptr;
    return value.release();
}

} // namespace Kvdt
