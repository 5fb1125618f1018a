#include "player/ui/PlayersDlg.h"

#include "player/playback/PlayerCtrl.h"
#include "player/ui/DialogChrome.h"

namespace {

// The back-ends and the bar sit inside a one-pixel frame.
constexpr int Frame = 1;
// From the bottom edge to the top of the bar: the bar and two frame lines.
constexpr int BottomRoom = CPlayersDlg::ControlsHeight + 2 * Frame;

}  // namespace

LRESULT CPlayersDlg::OnInitDialog(WindowMessage&)
{
    m_controls.Create(m_hWnd);
    return TRUE;
}

LRESULT CPlayersDlg::OnSize(WindowMessage& msg)
{
    const int w = msg.Width();
    const int h = msg.Height();
    for (const auto& entry : CPlayerCtrl::Registry())
        entry.second->Move(Frame, Frame, w - 2 * Frame, h - BottomRoom);
    if (m_controls.m_hWnd != nullptr)
        m_controls.SetWindowPos(nullptr, Frame, h - BottomRoom, w - 2 * Frame, ControlsHeight, SWP_NOZORDER);
    Invalidate(FALSE);
    return 0;
}

LRESULT CPlayersDlg::OnPaint(WindowMessage&)
{
    PaintFramedClient(m_hWnd, ::GetStockObject(BLACK_BRUSH));
    return 0;
}

LRESULT CPlayersDlg::OnEraseBackground(WindowMessage&)
{
    return 1;
}

LRESULT CPlayersDlg::OnColorDialog(WindowMessage& msg)
{
    ::SetBkMode(reinterpret_cast<HDC>(msg.wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(BLACK_BRUSH));
}
