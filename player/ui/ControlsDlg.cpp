#include "player/ui/ControlsDlg.h"

#include "foundation/Lang.h"
#include "foundation/Skin.h"
#include "framework/GdiHelpers.h"
#include "player/app/Messages.h"
#include "player/app/Settings.h"
#include "player/playback/PlayerCtrl.h"

#include <cstdio>

namespace {

constexpr DWORD ButtonStyle = BMPBTN_HOVER | BMPBTN_AUTOSIZE;
constexpr COLORREF StatusTextColor = RGB(250, 250, 255);
constexpr int VolumeWidth = 78;
constexpr int VolumeHeight = 16;
constexpr int VolumeThumbLength = 28;
constexpr int VolumePage = 5;
constexpr int DefaultVolume = 50;

// The background's seven pieces: the centre and the shoulders keep their
// width around the middle of the bar, the edges keep theirs at both ends,
// and one column on each side fills the rest.
constexpr int BackgroundEdge = 18;
constexpr int BackgroundShoulder = 118;
constexpr int BackgroundCentre = 274;

}  // namespace

CControlsDlg::CControlsDlg()
    : m_playStop(ButtonStyle), m_fullScreen(ButtonStyle), m_record(ButtonStyle), m_next(ButtonStyle),
      m_previous(ButtonStyle)
{
}

void CControlsDlg::BuildImageList(ImageListIndex list, int width, int height, const char* imagePrefix)
{
    CImageList& images = m_imageLists[list];
    images.Create(width, height, ILC_COLOR24, 4, 4);
    char name[32];
    for (int state = 0; state < 3; ++state) {
        std::snprintf(name, sizeof(name), "%s%d", imagePrefix, state);
        const CImage* image = KV::Skin::GetImage(name);
        if (image != nullptr && image->GetWidth() == width && image->GetHeight() == height &&
            images.Add(*image) >= 0)
            continue;
        // A missing picture, or one of another size, leaves a black one in
        // its place, so the other states keep their indexes.
        CImage blank;
        if (blank.Create(width, height, 24))
            images.Add(blank);
    }
}

void CControlsDlg::AttachButton(CBitmapButton& button, int controlId, ImageListIndex list)
{
    button.SetBitmapButtonExtendedStyle(ButtonStyle);
    button.SubclassWindow(GetDlgItem(controlId));
    button.SetImageList(m_imageLists[list]);
    button.SetImages(0, 2, 1);
}

void CControlsDlg::SetToolTip(CBitmapButton& button, const char* textId)
{
    button.SetToolTipText(KV::Lang::GetText(textId).c_str());
}

LRESULT CControlsDlg::OnInitDialog(WindowMessage&)
{
    m_playing = false;
    m_background = KV::Skin::GetImage("controls_bg");

    m_volume.SubclassWindow(GetDlgItem(IDC_VOLUME));
    m_volume.ModifyStyle(0, TBS_FIXEDLENGTH | TBS_TOOLTIPS);
    m_volume.SetRange(0, 100, TRUE);
    m_volume.SetPageSize(VolumePage);
    m_volume.SetPos(CSettings::GetInt("sound_volume", DefaultVolume));
    m_volume.SetThumbLength(VolumeThumbLength);

    BuildImageList(PlayImages, 50, 50, "bplay");
    BuildImageList(StopImages, 50, 50, "bstop");
    AttachButton(m_playStop, IDC_PLAY_STOP, PlayImages);

    BuildImageList(NextImages, 55, 29, "bnext");
    AttachButton(m_next, IDC_NEXT, NextImages);
    SetToolTip(m_next, "str_next");
    BuildImageList(PreviousImages, 55, 29, "bprev");
    AttachButton(m_previous, IDC_PREVIOUS, PreviousImages);
    SetToolTip(m_previous, "str_prev");

    m_playStop.SetImageList(m_imageLists[PlayImages]);
    SetToolTip(m_playStop, "str_play");

    BuildImageList(FullScreenImages, 27, 27, "bfs");
    AttachButton(m_fullScreen, IDC_FULL_SCREEN, FullScreenImages);
    SetToolTip(m_fullScreen, "str_fullscreen");
    BuildImageList(RecordImages, 27, 27, "brec");
    AttachButton(m_record, IDC_RECORD, RecordImages);
    SetToolTip(m_record, "menu_record");

    m_font = KV::Skin::GetFont("menu");
    return TRUE;
}

void CControlsDlg::EnableControls(bool enable)
{
    m_playStop.EnableWindow(TRUE);
    m_fullScreen.EnableWindow(enable ? TRUE : FALSE);
    m_volume.EnableWindow(enable ? TRUE : FALSE);
    m_fullScreen.Invalidate(FALSE);
    m_volume.Invalidate(FALSE);
}

void CControlsDlg::EnableRecord(bool enable)
{
    m_record.EnableWindow(enable ? TRUE : FALSE);
    m_record.Invalidate(FALSE);
}

void CControlsDlg::SetPlaying(bool playing)
{
    if (playing == m_playing)
        return;
    m_playing = playing;
    m_playStop.SetImageList(m_imageLists[playing ? StopImages : PlayImages]);
    m_playStop.Invalidate(FALSE);
    SetToolTip(m_playStop, playing ? "str_stop" : "str_play");
}

RECT CControlsDlg::GetStatusRect() const
{
    RECT rect = GetClientRect();
    rect.left += 14;
    rect.right -= 14;
    rect.top += 7;
    rect.bottom = rect.top + 12;
    return rect;
}

void CControlsDlg::SetStatus(const std::wstring& text, int code)
{
    m_status = text;
    const RECT strip = GetStatusRect();
    InvalidateRect(&strip, FALSE);
    if (code == 1 || code == -1)
        SetPlaying(false);
}

LRESULT CControlsDlg::OnSize(WindowMessage& msg)
{
    const int m = msg.Width() / 2;
    const UINT buttonFlags = SWP_NOSIZE | SWP_NOZORDER;
    m_playStop.SetWindowPos(nullptr, m - 25, 31, 0, 0, buttonFlags);
    m_next.SetWindowPos(nullptr, m + 25, 42, 0, 0, buttonFlags);
    m_previous.SetWindowPos(nullptr, m - 80, 42, 0, 0, buttonFlags);
    m_volume.SetWindowPos(nullptr, m + 80, 48, VolumeWidth, VolumeHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    m_record.SetWindowPos(nullptr, m - 112, 43, 0, 0, buttonFlags | SWP_NOACTIVATE);
    m_fullScreen.SetWindowPos(nullptr, m - 145, 43, 0, 0, buttonFlags | SWP_NOACTIVATE);

    for (CWindow* control : {static_cast<CWindow*>(&m_playStop), static_cast<CWindow*>(&m_next),
                             static_cast<CWindow*>(&m_previous), static_cast<CWindow*>(&m_record),
                             static_cast<CWindow*>(&m_fullScreen), static_cast<CWindow*>(&m_volume)})
        control->Invalidate(FALSE);
    Invalidate(FALSE);
    m_fullScreen.UpdateWindow();
    return 0;
}

void CControlsDlg::PaintBackground(HDC dc, int width) const
{
    const CImage& image = *m_background;
    const int ih = image.GetHeight();
    const int c = image.GetWidth() / 2;
    const int half = width / 2;
    struct Piece {
        int sourceX, sourceWidth, destinationX, destinationWidth;
    };
    const Piece pieces[] = {
        {c, 1, half - BackgroundCentre / 2, BackgroundCentre},
        {c - BackgroundShoulder, BackgroundShoulder, half - BackgroundCentre / 2 - BackgroundShoulder,
         BackgroundShoulder},
        {c - BackgroundShoulder, 1, BackgroundEdge,
         half - BackgroundCentre / 2 - BackgroundShoulder - BackgroundEdge},
        {0, BackgroundEdge, 0, BackgroundEdge},
        {c, BackgroundShoulder, half + BackgroundCentre / 2, BackgroundShoulder},
        {c + BackgroundShoulder, 1, half + BackgroundCentre / 2 + BackgroundShoulder,
         width - BackgroundEdge - (half + BackgroundCentre / 2 + BackgroundShoulder)},
        {2 * c - BackgroundEdge, BackgroundEdge, width - BackgroundEdge, BackgroundEdge},
    };
    for (const Piece& piece : pieces) {
        // A bar narrower than centre and shoulders has no room for fillers.
        if (piece.destinationWidth <= 0)
            continue;
        image.Draw(dc, piece.destinationX, 0, piece.destinationWidth, ih, piece.sourceX, 0, piece.sourceWidth, ih);
    }
}

LRESULT CControlsDlg::OnPaint(WindowMessage&)
{
    CPaintDC paint(m_hWnd);
    const RECT client = GetClientRect();
    CMemoryDC dc(paint, client);
    if (m_background != nullptr)
        PaintBackground(dc, client.right - client.left);

    RECT strip = GetStatusRect();
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previousFont = m_font != nullptr ? ::SelectObject(dc, m_font->GetHandle()) : nullptr;
    ::SetTextColor(dc, StatusTextColor);
    ::DrawTextW(dc, m_status.c_str(), static_cast<int>(m_status.size()), &strip,
                DT_SINGLELINE | DT_VCENTER | DT_WORDBREAK);
    if (previousFont != nullptr)
        ::SelectObject(dc, previousFont);
    return 0;
}

LRESULT CControlsDlg::OnEraseBackground(WindowMessage&)
{
    return 1;
}

LRESULT CControlsDlg::OnColorDialog(WindowMessage& msg)
{
    ::SetBkMode(reinterpret_cast<HDC>(msg.wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
}

LRESULT CControlsDlg::OnColorStatic(WindowMessage& msg)
{
    ::SetTextColor(reinterpret_cast<HDC>(msg.wParam), StatusTextColor);
    return reinterpret_cast<LRESULT>(::GetStockObject(BLACK_BRUSH));
}

LRESULT CControlsDlg::OnHScroll(WindowMessage&)
{
    CPlayerCtrl::SetVolumeAll(m_volume.GetPos());
    return 0;
}

void CControlsDlg::SendToMainWindow(UINT message, WPARAM wParam)
{
    ::SendMessageW(CSettings::GetMainWindow(), message, wParam, 0);
}

LRESULT CControlsDlg::OnFullScreen(WindowMessage&)
{
    SetToolTip(m_fullScreen, "str_fullscreen");
    SendToMainWindow(WM_FULL_SCREEN, 0);
    return 0;
}

LRESULT CControlsDlg::OnPlayStop(WindowMessage&)
{
    if (m_playing) {
        SetPlaying(false);
        SendToMainWindow(WM_STOP_CHANNEL, 0);
    } else {
        SetPlaying(true);
        SendToMainWindow(WM_PLAY_CHANNEL, 0);
    }
    return 0;
}

LRESULT CControlsDlg::OnRecord(WindowMessage&)
{
    SetToolTip(m_record, "menu_record");
    SendToMainWindow(WM_RECORD_CHANNEL, 0);
    return 0;
}

LRESULT CControlsDlg::OnNext(WindowMessage&)
{
    SetToolTip(m_next, "str_next");
    SendToMainWindow(WM_NEXT_CHANNEL, NextChannelForward);
    return 0;
}

LRESULT CControlsDlg::OnPrevious(WindowMessage&)
{
    SetToolTip(m_previous, "str_prev");
    SendToMainWindow(WM_NEXT_CHANNEL, NextChannelBackward);
    return 0;
}
