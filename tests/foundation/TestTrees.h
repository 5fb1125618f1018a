#pragma once
// Trees for the foundation tests: one holding every value type, and a deep
// comparison that ignores entry order.

#include "foundation/DataKey.h"
#include "foundation/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace TestTrees {

inline void FillAllTypes(KV::DataKey& key)
{
    key.SetUInt("uint", 0xFEDCBA98u);
    key.SetInt("int", -123456);
    key.SetBool("bool", true);
    key.SetFloat("float", 3.5f);
    key.SetColor("color", 0x00336699u);
    key.SetDouble("double", -1.0e300);
    key.SetStringA("stringA", std::string("narrow \xE9 text"));
    key.SetStringW("stringW", std::wstring(L"wide \u20ac text"));
    KV::MemoryStream bytes;
    const char payload[] = "\x00\x01\x02 buffer bytes";
    bytes.Write(payload, sizeof(payload));
    key.SetBuffer("buffer", bytes);
}

inline void BuildAllTypesTree(KV::DataKey& root)
{
    root.Clear();
    root.SetName("root");
    FillAllTypes(root);
    KV::DataKey* child = root.GetKey("child", true);
    FillAllTypes(*child);
    child->GetKey("grandchild", true)->SetStringW("empty", L"");
    root.GetKey("", true)->SetUInt("under empty name", 1);
    KV::MemoryStream none;
    root.SetBuffer("empty buffer", none);
}

inline bool SameValue(const KV::DataValue& a, const KV::DataValue& b)
{
    if (a.GetName() != b.GetName() || a.GetType() != b.GetType())
        return false;
    switch (a.GetType()) {
    case KV::ValueType::UInt: return a.GetUInt() == b.GetUInt();
    case KV::ValueType::Int: return a.GetInt() == b.GetInt();
    case KV::ValueType::Bool: return a.GetBool() == b.GetBool();
    case KV::ValueType::Float: return a.GetFloat() == b.GetFloat();
    case KV::ValueType::Color: return a.GetColor() == b.GetColor();
    case KV::ValueType::Double: return a.GetDouble() == b.GetDouble();
    case KV::ValueType::StringA: return *a.GetStringA() == *b.GetStringA();
    case KV::ValueType::StringW: return *a.GetStringW() == *b.GetStringW();
    case KV::ValueType::Buffer: {
        const KV::MemoryStream* x = a.GetBuffer();
        const KV::MemoryStream* y = b.GetBuffer();
        return x->GetSize() == y->GetSize() &&
               (x->GetSize() == 0 || std::memcmp(x->GetBuffer(), y->GetBuffer(), x->GetSize()) == 0);
    }
    }
    return true;
}

inline testing::AssertionResult SameTree(const KV::DataKey& a, const KV::DataKey& b,
                                         const std::string& where = "/")
{
    if (a.GetName() != b.GetName())
        return testing::AssertionFailure() << where << ": names differ";
    if (a.GetValueCount() != b.GetValueCount() || a.GetKeyCount() != b.GetKeyCount())
        return testing::AssertionFailure() << where << ": entry counts differ";
    for (const auto& entry : a.GetValues()) {
        const KV::DataValue* other = b.FindValue(entry.first);
        if (other == nullptr || !SameValue(*entry.second, *other))
            return testing::AssertionFailure() << where << ": value '" << entry.first << "' differs";
    }
    for (const auto& entry : a.GetKeys()) {
        const KV::DataKey* other = b.GetKey(entry.first);
        if (other == nullptr)
            return testing::AssertionFailure() << where << ": sub-key '" << entry.first << "' missing";
        testing::AssertionResult sub = SameTree(*entry.second, *other, where + entry.first + "/");
        if (!sub)
            return sub;
    }
    return testing::AssertionSuccess();
}

} // namespace TestTrees
