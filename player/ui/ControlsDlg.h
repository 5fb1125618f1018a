// CControlsDlg: the control bar under the player area: play/stop,
// previous, next, full-screen and record buttons, the volume slider and a
// one-line status text. Its buttons do not act themselves: they send the
// main window's messages (player/app/Messages.h). The volume is the one
// thing the bar sets directly, on every back-end.
#pragma once

#include "framework/BitmapButton.h"
#include "framework/Dialog.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "player/resources/Resource.h"
#include "player/ui/VolumeCtrl.h"

#include <string>

namespace KV {
class Font;
}

class CControlsDlg : public CDialogImpl<CControlsDlg> {
public:
    enum { IDD = IDD_CONTROLS };

    CControlsDlg();

    // Play/stop is always enabled; full screen and volume by the flag.
    void EnableControls(bool enable);
    void EnableRecord(bool enable);
    // The play/stop button's images and tooltip follow the play state.
    void SetPlaying(bool playing);
    // Shows text in the status line; codes 1 (stopped) and -1 (error) also
    // show the bar as not playing.
    void SetStatus(const std::wstring& text, int code);

    bool IsPlaying() const { return m_playing; }
    const std::wstring& GetStatus() const { return m_status; }
    // Where the status text is drawn, in client coordinates.
    RECT GetStatusRect() const;

    MESSAGE_MAP_BEGIN(CControlsDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_SIZE, OnSize)
        ON_MESSAGE(WM_PAINT, OnPaint)
        ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
        ON_MESSAGE(WM_CTLCOLORSTATIC, OnColorStatic)
        ON_MESSAGE(WM_HSCROLL, OnHScroll)
        ON_COMMAND_CODE(IDC_FULL_SCREEN, BN_CLICKED, OnFullScreen)
        ON_COMMAND_CODE(IDC_PLAY_STOP, BN_CLICKED, OnPlayStop)
        ON_COMMAND_CODE(IDC_RECORD, BN_CLICKED, OnRecord)
        ON_COMMAND_CODE(IDC_NEXT, BN_CLICKED, OnNext)
        ON_COMMAND_CODE(IDC_PREVIOUS, BN_CLICKED, OnPrevious)
        REFLECT_NOTIFICATIONS()
    MESSAGE_MAP_END()

private:
    enum ImageListIndex { PlayImages, StopImages, FullScreenImages, RecordImages, NextImages, PreviousImages,
                          ImageListCount };

    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnPaint(WindowMessage& msg);
    LRESULT OnEraseBackground(WindowMessage& msg);
    LRESULT OnColorDialog(WindowMessage& msg);
    LRESULT OnColorStatic(WindowMessage& msg);
    LRESULT OnHScroll(WindowMessage& msg);
    LRESULT OnFullScreen(WindowMessage& msg);
    LRESULT OnPlayStop(WindowMessage& msg);
    LRESULT OnRecord(WindowMessage& msg);
    LRESULT OnNext(WindowMessage& msg);
    LRESULT OnPrevious(WindowMessage& msg);

    void BuildImageList(ImageListIndex list, int width, int height, const char* imagePrefix);
    void AttachButton(CBitmapButton& button, int controlId, ImageListIndex list);
    void SetToolTip(CBitmapButton& button, const char* textId);
    void PaintBackground(HDC dc, int width) const;
    static void SendToMainWindow(UINT message, WPARAM wParam);

    CVolumeCtrl m_volume;
    const CImage* m_background = nullptr;
    CBitmapButton m_playStop;
    CBitmapButton m_fullScreen;
    CBitmapButton m_record;
    CBitmapButton m_next;
    CBitmapButton m_previous;
    CImageList m_imageLists[ImageListCount];
    std::wstring m_status;
    KV::Font* m_font = nullptr;
    bool m_playing = false;
};
