// What the player's window tests share: the process set-up (framework
// module and message loop, common controls, the shipped skin and language
// pack), pumping the queue through the loop's filters, reading back what a
// window shows, skin images made from pixels, a stand-in main window and
// back-end, and a driver for modal dialogs.
#pragma once

#include "framework/Image.h"
#include "framework/MessageLoop.h"
#include "framework/WindowImpl.h"
#include "player/playback/PlayerCtrl.h"
#include "tests/support/WindowTestProcess.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace UiTest {

// Process start and end: common controls, GDI+, the framework module with
// a message loop for this thread, the shipped language pack and skin (read
// from <build>/bin, beside the tests' folder).
void SetUpProcess();
void TearDownProcess();

// The loop the process set-up registered for the test thread.
CMessageLoop& Loop();

// Handles what is queued (through the loop's filters) until the queue is
// empty.
void Pump();
// Pumps, waiting for more messages in between, until done() holds or
// rounds waits (of up to 10 ms each) have passed. done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, int rounds = 300);

// Loads the shipped skin (with the image pack) again, undoing what a test
// put into the skin.
using WindowTest::LoadShippedSkin;

// What the window shows now in its client area, as a 24-bit image: read
// back from the window's device context after it was painted.
std::unique_ptr<CImage> CaptureClient(HWND window);
// The whole window, frame and caption included.
std::unique_ptr<CImage> CaptureWindow(HWND window);

// Writes image as a PNG file; false on failure.
using WindowTest::SavePng;

// Pixel colours: one per column or per row.
struct Pixel {
    BYTE r, g, b, a;
};
// A 32-bit skin image under name with straight (not premultiplied)
// colours, given by a function of the position; replaces a same-named one.
void PutSkinImage(const std::string& name, int width, int height,
                  const std::function<Pixel(int x, int y)>& pixel);

// Channels of two colours differ by at most tolerance.
bool Near(COLORREF a, COLORREF b, int tolerance = 2);

// A top-level window standing in for the main window: it records the
// player's messages it receives (WM_USER + 1 to + 20) in order.
class CMainWindowStub : public CWindowImpl<CMainWindowStub> {
public:
    struct Received {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    WINDOW_CLASS(L"BrisvaneTestMainWindow")
    MESSAGE_MAP_BEGIN(CMainWindowStub)
        ON_MESSAGE_RANGE(WM_USER + 1, WM_USER + 20, OnPlayerMessage)
    MESSAGE_MAP_END()

    // Visible, at the screen's top-left corner, registered as the main
    // window (CSettings::SetMainWindow) until destroyed.
    HWND CreateMain(int clientWidth, int clientHeight);
    ~CMainWindowStub() override;

    std::vector<Received> received;
    // Called on each message as it arrives.
    std::function<void(const Received&)> onReceive;

private:
    LRESULT OnPlayerMessage(WindowMessage& msg);
};

// A back-end that only records what it is told.
class CRecordingPlayer : public CPlayerCtrl {
public:
    explicit CRecordingPlayer(const std::string& name) : CPlayerCtrl(name) {}
    void Play(const std::wstring&, const std::wstring&) override {}
    void Stop() override {}
    void Move(int x, int y, int cx, int cy) override { moves.push_back(RECT{x, y, cx, cy}); }
    void SetVolume(int volume) override { volumes.push_back(volume); }

    std::vector<RECT> moves;  // x, y, width, height
    std::vector<int> volumes;
};

// Acts on the modal dialog that the code under test opens on this thread:
// once it is shown, action runs with it (and may end it, e.g. by posting a
// key). A dialog still open long after that is ended with EndDialog(-100),
// so a test fails instead of hanging.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(HWND dialog)> action);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    bool Acted() const { return m_acted; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::function<void(HWND)> m_action;
    UINT_PTR m_timer = 0;
    HWND m_dialog = nullptr;
    bool m_acted = false;
    int m_ticksSinceAction = 0;
};

// Posts a left click at a client point of window (button down, then up).
void PostClick(HWND window, POINT point);
void PostClickCentre(HWND window);
// Posts WM_KEYDOWN and WM_KEYUP of key to window.
void PostKey(HWND window, UINT key);

}  // namespace UiTest
