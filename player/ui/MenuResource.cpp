#include "player/ui/MenuResource.h"

#include "foundation/Lang.h"
#include "framework/AppModule.h"

bool CMenuResource::Load(UINT id)
{
    if (m_menu == nullptr)
        m_menu = ::LoadMenuW(FrameworkResourceInstance(), MAKEINTRESOURCEW(id));
    return m_menu != nullptr;
}

HMENU CMenuResource::TranslatedPopup(int position) const
{
    HMENU popup = m_menu != nullptr ? ::GetSubMenu(m_menu, position) : nullptr;
    if (popup != nullptr)
        KV::Lang::TranslateMenu(popup);
    return popup;
}

void CMenuResource::Destroy()
{
    if (m_menu != nullptr)
        ::DestroyMenu(m_menu);
    m_menu = nullptr;
}
