#pragma once
// CPlayerCtrl: the base of the playback back-ends, child windows of the
// player area that each host one media engine and play one address at a
// time. Every back-end enters itself in a process-wide registry under its
// name when it is constructed. User-interface thread only.

#include "framework/AxHost.h"
#include "player/playback/PlayerListener.h"

#include <map>
#include <set>
#include <string>

class CPlayerCtrl {
public:
    using RegistryMap = std::map<std::string, CPlayerCtrl*>;

    CPlayerCtrl(const CPlayerCtrl&) = delete;
    CPlayerCtrl& operator=(const CPlayerCtrl&) = delete;
    // Leaves the window alone; a back-end that is still the registry's entry
    // for its name takes the entry with it, so no dangling pointer stays.
    virtual ~CPlayerCtrl();

    virtual void Redraw() {}
    virtual void Play(const std::wstring& url, const std::wstring& title) = 0;
    virtual void Stop() = 0;
    // Places the back-end window (no Z-order change).
    virtual void Move(int x, int y, int cx, int cy);
    virtual bool IsStopped() { return true; }
    // volume: 0-100.
    virtual void SetVolume(int volume) { (void)volume; }
    virtual void ToggleFullScreen() {}
    virtual void OnAppExit() {}

    // Whether the control bar's full-screen button and volume slider apply.
    bool HasControls() const { return m_hasControls; }
    // The recorder factory key for this back-end's recordable channels.
    const std::string& GetRecorderKey() const { return m_recorderKey; }
    const std::string& GetName() const { return m_name; }
    // Whether the engine control came up and was configured.
    bool IsCreated() const { return m_created; }
    HWND GetWindow() const { return m_window; }

    // The declared value of scheme, -1 when the table has none.
    int FindScheme(const std::wstring& scheme);

    // Reports to the listener, if one is set.
    void NotifyStatus(const wchar_t* text, int code);

    static const RegistryMap& Registry();
    // Null when no back-end has the name.
    static CPlayerCtrl* FindByName(const std::string& name);
    // The first back-end (in name order) that plays files with this extension
    // (no dot, exact case); null if none.
    static CPlayerCtrl* FindByType(const std::wstring& extension);
    static void ExitAll();
    // Gives volume to every back-end and stores it as "sound_volume".
    static void SetVolumeAll(int volume);
    static int GetCurrentVolume();
    // Destroys every registered back-end and empties the registry.
    static void DeleteAll();
    static CPlayerListener* GetListener();

protected:
    // Enters the registry under name, replacing an earlier entry.
    explicit CPlayerCtrl(const std::string& name);

    CAxWindow m_window;
    bool m_created = false;
    std::map<std::wstring, int> m_schemes;
    std::set<std::wstring> m_fileTypes;
    int m_lastScheme = -1;
    std::string m_name;
    std::string m_recorderKey;
    bool m_hasControls = true;
    std::wstring m_currentTitle;
};

// The listener of every back-end; null stops the reports.
void SetPlayerListener(CPlayerListener* listener);
