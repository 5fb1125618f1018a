#pragma once
// What the player's window tests share: the process set-up (framework
// module and message loop, common controls, GDI+, the shipped language pack
// and skin from <build>/bin), message pumping through the loop's filters,
// a driver for the modal dialogs the code under test opens, stand-in
// back-ends, a catalogue written for the test, and window captures.

#include "framework/MessageLoop.h"
#include "player/playback/PlayerCtrl.h"
#include "tests/support/WindowTestProcess.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CImage;

namespace KV {
class DataKey;
}

namespace PlayerTest {

void SetUpProcess();
void TearDownProcess();
CMessageLoop& Loop();

// Handles what is queued (through the loop's filters); a WM_QUIT is
// dropped (a destroyed main window posts one).
void Pump();
// Pumps until done() holds or about timeoutMs have passed; done()'s answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Pumps for about milliseconds.
void PumpFor(DWORD milliseconds);

// The settings file the window tests use, in the settings folder; Reset
// deletes it and loads the store empty.
const wchar_t* SettingsFileName();
std::wstring SettingsFilePath();
void ResetSettings();

// A back-end that records what it is told; its window is a black room.
class CStandInPlayer : public CPlayerCtrl {
public:
    struct PlayCall {
        std::wstring url;
        std::wstring title;
    };

    CStandInPlayer(const std::string& name, HWND parent, const RECT& rect, bool hasControls,
                   const std::string& recorderKey);
    ~CStandInPlayer() override;

    void Play(const std::wstring& url, const std::wstring& title) override;
    void Stop() override;
    bool IsStopped() override { return m_stopped; }
    void SetVolume(int volume) override { volumes.push_back(volume); }
    void ToggleFullScreen() override { ++fullScreenToggles; }
    void OnAppExit() override { ++exits; }

    // Reports as the engine would.
    void Report(const wchar_t* text, int code) { NotifyStatus(text, code); }
    // Whether Stop makes the back-end report itself stopped.
    bool stopsOnRequest = true;

    std::vector<PlayCall> plays;
    int stops = 0;
    int fullScreenToggles = 0;
    int exits = 0;
    std::vector<int> volumes;

private:
    bool m_stopped = true;
};

// The stand-ins "m" (with controls, recorder "mms") and "e" (without) that
// a main window under test gets in place of the live back-ends.
struct StandIns {
    std::unique_ptr<CStandInPlayer> media;
    std::unique_ptr<CStandInPlayer> web;
    void Clear() { media.reset(); web.reset(); }
};
StandIns& TheStandIns();
// Makes the main windows created from now on use the stand-ins.
void UseStandIns();

// Starts and programs opened by the main window, recorded.
struct ShellCall {
    std::wstring verb;  // empty for none
    std::wstring file;
    std::wstring parameters;
    int show;
};
std::vector<ShellCall>& ShellCalls();
void RecordShellCalls();

// One channel of a catalogue written for a test.
struct ChannelSpec {
    std::string country;
    std::string key;
    std::wstring name;
    std::string category;
    std::string player;
    bool radio = false;
    std::string recorder;  // empty: not recordable
    std::string grabber;
    std::vector<std::pair<int, std::wstring>> streams;  // bitrate, address
};
// Writes the channels (and template grabbers: name, template) as a
// catalogue file in the tests' fixture folder; its name relative to the
// program folder.
std::wstring WriteCatalogue(const std::wstring& fileName, const std::vector<ChannelSpec>& channels,
                            const std::vector<std::pair<std::string, std::wstring>>& templates = {});
KV::DataKey MakeCatalogue(const std::vector<ChannelSpec>& channels,
                          const std::vector<std::pair<std::string, std::wstring>>& templates = {});

// Acts on the modal dialogs that the code under test opens on this thread:
// each dialog that becomes the enabled one (a new dialog, or one that comes
// back after a message box it opened) is handed to the next action in turn.
// When there is no action left, or an action leaves its dialog open for
// seconds, the dialog is ended with EndDialog(-100), so that a test fails
// instead of hanging.
class ModalDriver {
public:
    using Action = std::function<void(HWND dialog)>;
    explicit ModalDriver(std::vector<Action> actions);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // The dialogs acted on, in order, with their captions and texts.
    struct Seen {
        std::wstring caption;
        std::wstring text;  // the message box's text, the dialog's statics
    };
    const std::vector<Seen>& Dialogs() const { return m_seen; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::vector<Action> m_actions;
    size_t m_next = 0;
    std::vector<Seen> m_seen;
    HWND m_lastActed = nullptr;
    // The last dialog acted on was not the enabled one at some tick since.
    bool m_interrupted = false;
    int m_ticksSinceAction = 0;
    UINT_PTR m_timer = 0;
};

// Notes and closes the popup menus that the code under test opens on this
// thread (TrackPopupMenu) while the watcher lives.
class MenuWatcher {
public:
    struct Item {
        UINT id;
        std::wstring text;
        bool checked;
        bool separator;
        HMENU subMenu;
    };
    using Menu = std::vector<Item>;

    // pick: when set, the item with this id is chosen (its command goes
    // to owner, as the menu sends it) instead of closing the menu.
    explicit MenuWatcher(UINT pick = 0, HWND owner = nullptr);
    ~MenuWatcher();
    MenuWatcher(const MenuWatcher&) = delete;
    MenuWatcher& operator=(const MenuWatcher&) = delete;

    const std::vector<Menu>& Menus() const { return m_menus; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    UINT m_pick;
    HWND m_owner;
    std::vector<Menu> m_menus;
    UINT_PTR m_timer = 0;
};
MenuWatcher::Menu ReadMenu(HMENU menu);

// Dialog actions.
ModalDriver::Action TypeAndOk(int editId, const std::wstring& text);
ModalDriver::Action Press(int buttonId);

// The top-level window's texts: its own and its static controls', joined.
std::wstring DialogTexts(HWND dialog);

// Posts a double click at a client point (down, up, double click, up).
void PostDoubleClick(HWND window, POINT point);
void PostKey(HWND window, UINT key);
// A key pressed and released on the keyboard (SendInput): it reaches the
// focus of the foreground window through the input queue, for whatever
// loop runs next (the caller pumps, or a modal loop does).
void PressRealKey(UINT key);
// Alt and the key, as the keyboard gives them (the Alt key held down in
// the thread's key state while the messages are handled); pumps.
void PostAltKey(HWND window, UINT key);
void PostChars(HWND window, const std::wstring& text);

// The window as it is on the screen, frame included; and as a PNG file.
std::unique_ptr<CImage> CaptureWindow(HWND window);
using WindowTest::SavePng;

}  // namespace PlayerTest
