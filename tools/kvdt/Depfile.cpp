#include "tools/kvdt/Depfile.h"

namespace Kvdt {

namespace {

std::string Escaped(const std::string& path)
{
    std::string out;
    for (char c : path) {
        if (c == ' ' || c == '#')
            out += '\\';
        else if (c == '$')
            out += '$';
        out += c;
    }
    return out;
}

} // namespace

std::string DepfileText(const std::string& target, const std::vector<std::string>& dependencies)
{
    std::string out = Escaped(target) + ":";
    for (const auto& dependency : dependencies)
        out += " \\\n  " + Escaped(dependency);
    return out + "\n";
}

} // namespace Kvdt
