// The "KVDT" node layout: magic, name, value records, then sub-key nodes.
#include "foundation/DataKey.h"

#include "foundation/DataTreeCodec.h"
#include "foundation/Stream.h"

namespace KV {

void DataKey::Serialize(Stream& target) const
{
    DataTreeWriter writer;
    writer.WriteNode(*this);
    target.Write(writer.Data(), writer.Size());
}

bool DataKey::Deserialize(Stream& source)
{
    Clear();
    const std::string oldName = m_name;
    {
        DataTreeReader reader(source);
        if (reader.ReadNode(*this, 0) == DataTreeReader::NodeResult::Complete)
            return true;
    }
    // Nothing half-read stays behind.
    Clear();
    m_name = oldName;
    return false;
}

} // namespace KV
