#pragma once
// The short names a country's channels share (back-end, grabber and recorder
// keys), each kept once: a channel holds a pointer to its name instead of a
// string of its own. The names stay as long as the keeper, so a reference
// given out stays valid while the channels that hold it live.

#include <cstddef>
#include <set>
#include <string>
#include <string_view>

class CKeptNames {
public:
    CKeptNames() = default;
    CKeptNames(const CKeptNames&) = delete;
    CKeptNames& operator=(const CKeptNames&) = delete;

    // The kept name equal to name. Only on the user-interface thread, which
    // loads the catalogue and changes a channel's recorder.
    const std::string& Keep(std::string_view name);

private:
    // Node-based, so that kept names never move.
    std::set<std::string, std::less<>> m_names;
    // Channels of one country mostly name what the one before named: its
    // last few names are compared before the set is searched.
    static constexpr size_t RecentCount = 4;
    const std::string* m_recent[RecentCount] = {};
    size_t m_nextRecent = 0;
};
