#include "tests/kvdt/TreeCompare.h"

#include "foundation/MemoryStream.h"
#include "tools/kvdt/Hex.h"

namespace KvdtTest {

namespace {

std::string RecordBytes(const KV::DataValue& value)
{
    KV::MemoryStream record;
    value.Serialize(record);
    return std::string(reinterpret_cast<const char*>(record.GetBuffer()), record.GetSize());
}

std::string Shown(const std::string& name)
{
    return "\"" + name + "\" (" + Kvdt::HexFromBytes(name.data(), name.size()) + ")";
}

testing::AssertionResult Compare(const KV::DataKey& expected, const KV::DataKey& actual, const std::string& path)
{
    if (expected.GetName() != actual.GetName())
        return testing::AssertionFailure() << path << ": name " << Shown(actual.GetName()) << ", expected "
                                           << Shown(expected.GetName());
    if (expected.GetValueCount() != actual.GetValueCount() || expected.GetKeyCount() != actual.GetKeyCount())
        return testing::AssertionFailure() << path << ": " << actual.GetValueCount() << " values and "
                                           << actual.GetKeyCount() << " keys, expected " << expected.GetValueCount()
                                           << " and " << expected.GetKeyCount();
    for (const auto& entry : expected.GetValues()) {
        const KV::DataValue* other = actual.FindValue(entry.first);
        if (!other)
            return testing::AssertionFailure() << path << ": value " << Shown(entry.first) << " missing";
        const std::string want = RecordBytes(*entry.second);
        const std::string got = RecordBytes(*other);
        if (want != got)
            return testing::AssertionFailure() << path << ": value " << Shown(entry.first) << " is "
                                               << Kvdt::HexFromBytes(got.data(), got.size()) << ", expected "
                                               << Kvdt::HexFromBytes(want.data(), want.size());
    }
    for (const auto& entry : expected.GetKeys()) {
        const KV::DataKey* other = actual.GetKey(entry.first);
        if (!other)
            return testing::AssertionFailure() << path << ": key " << Shown(entry.first) << " missing";
        testing::AssertionResult result = Compare(*entry.second, *other, path + "/" + entry.first);
        if (!result)
            return result;
    }
    return testing::AssertionSuccess();
}

} // namespace

testing::AssertionResult SameTree(const KV::DataKey& expected, const KV::DataKey& actual)
{
    return Compare(expected, actual, "");
}

} // namespace KvdtTest
