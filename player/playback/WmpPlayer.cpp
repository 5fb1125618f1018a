#include "player/playback/WmpPlayer.h"

#include "framework/ComBstr.h"

namespace {

VARIANT_BOOL ToVariantBool(bool value)
{
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace

bool CWmpPlayer::Query(const CAxWindow& host)
{
    Release();
    if (SUCCEEDED(host.QueryControl(m_player2.Receive())) && m_player2)
        return true;
    return SUCCEEDED(host.QueryControl(m_player4.Receive())) && m_player4;
}

void CWmpPlayer::Release()
{
    m_player2.Release();
    m_player4.Release();
}

IWMPCore* CWmpPlayer::Core() const
{
    if (m_player2)
        return m_player2.Get();
    return m_player4.Get();
}

HRESULT CWmpPlayer::SetUiMode(const wchar_t* mode)
{
    CBstr text(mode);
    if (m_player2)
        return m_player2->put_uiMode(text);
    return m_player4 ? m_player4->put_uiMode(text) : E_POINTER;
}

HRESULT CWmpPlayer::SetEnableContextMenu(bool enable)
{
    if (m_player2)
        return m_player2->put_enableContextMenu(ToVariantBool(enable));
    return m_player4 ? m_player4->put_enableContextMenu(ToVariantBool(enable)) : E_POINTER;
}

HRESULT CWmpPlayer::SetStretchToFit(bool stretch)
{
    if (m_player2)
        return m_player2->put_stretchToFit(ToVariantBool(stretch));
    return m_player4 ? m_player4->put_stretchToFit(ToVariantBool(stretch)) : E_POINTER;
}

HRESULT CWmpPlayer::SetWindowlessVideo(bool windowless)
{
    if (m_player2)
        return m_player2->put_windowlessVideo(ToVariantBool(windowless));
    return m_player4 ? m_player4->put_windowlessVideo(ToVariantBool(windowless)) : E_POINTER;
}

HRESULT CWmpPlayer::GetFullScreen(VARIANT_BOOL* fullScreen)
{
    if (m_player2)
        return m_player2->get_fullScreen(fullScreen);
    return m_player4 ? m_player4->get_fullScreen(fullScreen) : E_POINTER;
}

HRESULT CWmpPlayer::SetFullScreen(VARIANT_BOOL fullScreen)
{
    if (m_player2)
        return m_player2->put_fullScreen(fullScreen);
    return m_player4 ? m_player4->put_fullScreen(fullScreen) : E_POINTER;
}
