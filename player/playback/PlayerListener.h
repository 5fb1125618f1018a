#pragma once
// What a playback back-end tells its owner (the main window).

class CPlayerCtrl;

// Codes of CPlayerListener::OnPlayerStatus. Any other code means nothing.
namespace PlayerStatus {
constexpr int Text = 0;         // progress: the text goes to the status line
constexpr int Stopped = 1;      // playback stopped
constexpr int Error = -1;       // the engine failed (or no playable address)
constexpr int ServerBusy = -2;  // the server refused: too many connections
}  // namespace PlayerStatus

class CPlayerListener {
public:
    // The Media Player control has stopped buffering.
    virtual void OnBufferingEnd() = 0;
    // Reserved; no back-end sends it.
    virtual void OnPlayerNotify(int code) = 0;
    // A status report of player; text may be null.
    virtual void OnPlayerStatus(CPlayerCtrl* player, const wchar_t* text, int code) = 0;

protected:
    ~CPlayerListener() = default;
};
