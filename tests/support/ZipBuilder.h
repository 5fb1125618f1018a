#pragma once
// Writes small zip archives for the tests: stored entries, and offsets
// counted from a base, so that an archive appended to a program image has
// the absolute offsets the updaters expect.

#include <string>
#include <utility>
#include <vector>

class ZipBuilder {
public:
    ZipBuilder& Add(const std::string& name, const std::string& data)
    {
        m_entries.emplace_back(name, data);
        return *this;
    }
    // The archive bytes as they lie from file offset base on.
    std::string Build(size_t base = 0) const;

private:
    std::vector<std::pair<std::string, std::string>> m_entries;
};
