#include "player/catalogue/KeptNames.h"

const std::string& CKeptNames::Keep(std::string_view name)
{
    for (const std::string* recent : m_recent)
        if (recent != nullptr && *recent == name)
            return *recent;
    auto found = m_names.find(name);
    if (found == m_names.end())
        found = m_names.emplace(name).first;
    m_recent[m_nextRecent] = &*found;
    m_nextRecent = (m_nextRecent + 1) % RecentCount;
    return *found;
}
