#pragma once
// CMainDlg: the player's one top-level window, a resizable modeless dialog
// laid out as the header bar across the top, the player area (back-ends and
// control bar) on the left and the channel panel on the right. It owns the
// channel catalogue, the records manager, the grabbers and the tray icon
// while it exists, carries out the player's private messages and the menu
// commands, and decides what closing means: the close box hides it to the
// notification area; only the exit command ends the program, and it asks
// first while recordings run.

#include "framework/AxDialog.h"
#include "framework/MessageLoop.h"
#include "player/app/Messages.h"
#include "player/playback/PlayerListener.h"
#include "player/resources/Resource.h"
#include "player/ui/ChannelsCtrl.h"
#include "player/ui/Header.h"
#include "player/ui/PlayersDlg.h"
#include "player/ui/TrayIcon.h"

#include <functional>
#include <memory>
#include <string>

class CChannel;
class CChannelList;
class CPlayerCtrl;
class CRecord;
class CRecordManager;

// The notification area's callback message of the tray icon.
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 120;  // 1144

class CMainDlg : public CAxDialogImpl<CMainDlg>, public CMessageFilter, public CIdleHandler, public CPlayerListener {
public:
    enum { IDD = IDD_MAINDLG };

    static constexpr int MinTrackWidth = 790;
    static constexpr int MinTrackHeight = 480;
    static constexpr UINT_PTR UpdaterTimer = 1;
    static constexpr UINT UpdaterDelay = 10000;
    // Posted to itself at the end of its set-up when it starts topmost.
    static constexpr UINT WM_REAPPLY_TOPMOST = WM_APP + 1;
    // Posted to itself at the end of its set-up: what the first paint does
    // not need (the web back-end, the current channel's back-end shown, the
    // update checks) follows once it is done.
    static constexpr UINT WM_COMPLETE_START_UP = WM_APP + 2;

    // Makes the back-ends as children of the player area; the default makes
    // the Media Player back-end "m" and, once the first paint is done, the
    // web browser back-end "e", which live until the process ends.
    using BackEndMaker = std::function<void(HWND playerArea, const RECT& rect)>;
    // Starts a program or opens an address (ShellExecuteW by default).
    using ShellRunner = std::function<void(const wchar_t* verb, const std::wstring& file, const wchar_t* parameters,
                                           int showCommand)>;
    // For tests; an empty function restores the default.
    static void SetBackEndMaker(BackEndMaker maker);
    static void SetShellRunner(ShellRunner runner);
    // The catalogue file, relative to the program folder ("Channels.brsc").
    static void SetCatalogueFile(const std::wstring& fileName);
    // The records folder; empty for the default under My Documents.
    static void SetRecordsFolder(const std::wstring& folder);

    CMainDlg();
    ~CMainDlg() override;

    BOOL PreTranslateMessage(MSG* msg) override;
    // Whether window lies in a dialog of the thread other than this one.
    bool IsOtherDialog(HWND window) const;
    BOOL OnIdle() override { return FALSE; }

    void OnBufferingEnd() override {}
    void OnPlayerNotify(int) override {}
    void OnPlayerStatus(CPlayerCtrl* player, const wchar_t* text, int code) override;

    // Product name, then " - " and the current channel's name, or else the
    // current record's name and "str_record".
    void UpdateTitle();

    CHeader& GetHeader() { return m_header; }
    CPlayersDlg& GetPlayers() { return m_players; }
    CChannelsCtrl& GetChannels() { return m_channels; }
    CChannelList* GetCatalogue() const { return m_catalogue.get(); }
    CRecordManager* GetRecordManager() const { return m_records.get(); }
    CPlayerCtrl* GetCurrentPlayer() const { return m_currentPlayer; }
    CTrayIcon* GetTrayIcon() const { return m_tray.get(); }
    bool IsPasswordProved() const { return m_passwordProved != 0; }

    // Out of sight but reachable: hidden to the notification area while the
    // tray icon is shown there, otherwise minimised to the taskbar.
    void HideToTray();

    MESSAGE_MAP_BEGIN(CMainDlg)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_SIZE, OnSize)
        ON_MESSAGE(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        ON_MESSAGE(WM_PAINT, OnPaint)
        ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
        ON_MESSAGE(WM_CTLCOLORDLG, OnColorDialog)
        ON_MESSAGE(WM_TIMER, OnTimer)
        ON_MESSAGE(WM_DESTROY, OnDestroy)
        ON_MESSAGE(WM_QUERYENDSESSION, OnQueryEndSession)
        ON_MESSAGE(WM_ENDSESSION, OnEndSession)
        ON_MESSAGE(WM_PLAY_CHANNEL, OnPlayChannel)
        ON_MESSAGE(WM_STOP_CHANNEL, OnStopChannel)
        ON_MESSAGE(WM_FULL_SCREEN, OnFullScreen)
        ON_MESSAGE(WM_NEXT_CHANNEL, OnNextChannel)
        ON_MESSAGE(WM_RECORD_CHANNEL, OnRecordChannel)
        ON_MESSAGE(WM_PLAY_RECORD, OnPlayRecord)
        ON_MESSAGE(WM_TRAY_NOTIFY, OnTrayNotify)
        ON_MESSAGE(GetTaskbarCreatedMessage(), OnTaskbarCreated)
        ON_MESSAGE(WM_REAPPLY_TOPMOST, OnReapplyTopmost)
        ON_MESSAGE(WM_COMPLETE_START_UP, OnCompleteStartUp)
        ON_COMMAND(IDCANCEL, OnClose)
        ON_COMMAND(ID_HOME_PAGE, OnHomePage)
        ON_COMMAND(ID_HELP_MENU_KEY, OnHelpMenuKey)
        ON_COMMAND(ID_TOOLS_MENU_KEY, OnToolsMenuKey)
        ON_COMMAND(ID_TOOLS_MENU_KEY_T, OnToolsMenuKey)
        ON_COMMAND(ID_APP_ABOUT, OnAbout)
        ON_COMMAND(ID_TOOLS_TOPMOST, OnTopmost)
        ON_COMMAND(ID_TOOLS_SETTINGS, OnSettings)
        ON_COMMAND(ID_UPDATE, OnUpdate)
        ON_COMMAND(ID_CHANNEL_UPDATE, OnChannelUpdate)
        ON_COMMAND(ID_FULL_SCREEN_KEY, OnFullScreen)
        ON_COMMAND(ID_APP_EXIT, OnExit)
        ON_COMMAND(ID_PRINT_KEY, OnNothing)
        ON_COMMAND(ID_INFO_KEY, OnNothing)
    MESSAGE_MAP_END()

private:
    // Initialisation and layout (MainDlg.cpp).
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnGetMinMaxInfo(WindowMessage& msg);
    LRESULT OnPaint(WindowMessage& msg);
    LRESULT OnEraseBackground(WindowMessage& msg);
    LRESULT OnColorDialog(WindowMessage& msg);
    void Layout(int width, int height);
    LRESULT OnCompleteStartUp(WindowMessage& msg);
    // Does the rest of the set-up once; the play and record roads call it
    // first, as they may come before it.
    void CompleteStartUp();
    void GiveDefaultRecorderKeys();
    void RestoreCurrentChannel();
    void CreateTrayIcon();
    void ApplyTopmost(bool topmost);
    LRESULT OnReapplyTopmost(WindowMessage& msg);

    // Closing, exit and end (MainDlgExit.cpp).
    LRESULT OnClose(WindowMessage& msg);
    LRESULT OnExit(WindowMessage& msg);
    LRESULT OnDestroy(WindowMessage& msg);
    LRESULT OnQueryEndSession(WindowMessage& msg);
    LRESULT OnEndSession(WindowMessage& msg);
    void WaitUntilIdle();
    bool IsIdle();

    // Menu commands, timer and tray (MainDlgCommands.cpp).
    LRESULT OnHomePage(WindowMessage& msg);
    LRESULT OnHelpMenuKey(WindowMessage& msg);
    LRESULT OnToolsMenuKey(WindowMessage& msg);
    LRESULT OnAbout(WindowMessage& msg);
    LRESULT OnTopmost(WindowMessage& msg);
    LRESULT OnSettings(WindowMessage& msg);
    LRESULT OnUpdate(WindowMessage& msg);
    LRESULT OnChannelUpdate(WindowMessage& msg);
    LRESULT OnNothing(WindowMessage& msg);
    LRESULT OnTimer(WindowMessage& msg);
    LRESULT OnTrayNotify(WindowMessage& msg);
    LRESULT OnTaskbarCreated(WindowMessage& msg);
    static void RunShell(const wchar_t* verb, const std::wstring& file, const wchar_t* parameters, int showCommand);

    // The play and record roads (MainDlgPlay.cpp).
    LRESULT OnPlayChannel(WindowMessage& msg);
    LRESULT OnStopChannel(WindowMessage& msg);
    LRESULT OnFullScreen(WindowMessage& msg);
    LRESULT OnNextChannel(WindowMessage& msg);
    LRESULT OnRecordChannel(WindowMessage& msg);
    LRESULT OnPlayRecord(WindowMessage& msg);
    // The channel a message names (lParam), or the current one for 0; null
    // for none and for a pointer that is no channel of the catalogue.
    CChannel* ChannelOf(LPARAM lParam) const;
    // The parental lock: true when the channel may be played or recorded.
    bool PassParentalLock(const CChannel& channel);
    // The record a message names (lParam), or the current one for 0; null
    // for none and for a pointer that is no record of the manager.
    CRecord* RecordOf(LPARAM lParam) const;
    // Running recordings stop once the user agrees; false when they keep on.
    bool StopRecordingsForExit();
    void SwapPlayer(CPlayerCtrl* next);

    CHeader m_header;
    HACCEL m_accelerators = nullptr;
    CPlayerCtrl* m_currentPlayer = nullptr;
    CPlayersDlg m_players;
    std::unique_ptr<CChannelList> m_catalogue;
    CChannelsCtrl m_channels;
    std::unique_ptr<CRecordManager> m_records;
    std::unique_ptr<CTrayIcon> m_tray;
    BYTE m_exiting = 0;
    // The exit command is waiting for the back-end to stop.
    bool m_exitRunning = false;
    BYTE m_passwordProved = 0;
    // The latest play request (channel, record or stop) and the one whose
    // address a grabber is resolving (0 for none).
    unsigned m_playRequest = 0;
    unsigned m_addressPending = 0;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    bool m_filterAdded = false;
    bool m_startUpComplete = false;
    // The live web browser back-end is made by CompleteStartUp.
    bool m_webBackEndPending = false;
};
