#include "tools/kvdt/TypeNames.h"

namespace Kvdt {

namespace {

const char* const Names[] = {"UInt", "Int", "Bool", "Float", "Color", "Double", "StringA", "StringW", "Buffer"};

} // namespace

std::string TypeName(uint8_t code)
{
    return code < FirstUnknownType ? Names[code] : "Unknown";
}

bool TypeFromName(const std::string& name, uint8_t& code)
{
    for (uint8_t i = 0; i < FirstUnknownType; ++i) {
        if (name == Names[i]) {
            code = i;
            return true;
        }
    }
    return false;
}

const char* TypeNameList()
{
    return "UInt, Int, Bool, Float, Color, Double, StringA, StringW, Buffer or Unknown";
}

} // namespace Kvdt
