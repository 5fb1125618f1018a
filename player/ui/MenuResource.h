#pragma once
// A menu loaded from the player's resources, destroyed with its holder.
// Popups are translated by language key when they are taken.

#include <windows.h>

class CMenuResource {
public:
    CMenuResource() = default;
    explicit CMenuResource(UINT id) { Load(id); }
    CMenuResource(const CMenuResource&) = delete;
    CMenuResource& operator=(const CMenuResource&) = delete;
    ~CMenuResource() { Destroy(); }

    // Loads the menu once; a second call keeps the first.
    bool Load(UINT id);
    HMENU Get() const { return m_menu; }
    // The popup at a position with its texts translated, or null.
    HMENU TranslatedPopup(int position) const;

private:
    void Destroy();
    HMENU m_menu = nullptr;
};
