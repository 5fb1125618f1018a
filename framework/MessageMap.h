// Message maps. A window class lists the messages it handles between
// MESSAGE_MAP_BEGIN and MESSAGE_MAP_END; the macros expand to the class's
// override of CMessageMap::ProcessWindowMessage, which answers TRUE for a
// message it consumed. Entries are tried from the top, so a class puts its
// own handlers first and chains or reflects afterwards.
//
// Every handler has one shape:
//     LRESULT OnSize(WindowMessage& msg);
// It returns the message result. A handler that wants the message to go on
// (to later entries and finally the default handling) clears msg.handled.
#pragma once

#include <windows.h>

#include <type_traits>

struct WindowMessage {
    HWND hwnd;
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
    bool handled = true;

    // WM_COMMAND
    WORD CommandId() const { return LOWORD(wParam); }
    WORD CommandCode() const { return HIWORD(wParam); }
    HWND CommandWindow() const { return reinterpret_cast<HWND>(lParam); }
    // WM_NOTIFY
    NMHDR* Notify() const { return reinterpret_cast<NMHDR*>(lParam); }
    // Mouse messages (client coordinates, signed) and WM_SIZE
    int X() const { return static_cast<short>(LOWORD(lParam)); }
    int Y() const { return static_cast<short>(HIWORD(lParam)); }
    POINT Point() const { return POINT{X(), Y()}; }
    int Width() const { return LOWORD(lParam); }
    int Height() const { return HIWORD(lParam); }
};

// WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC: a control (lParam) asks its parent
// for its colours and brush (wParam is its device context).
constexpr bool IsControlColorMessage(UINT id)
{
    return id >= WM_CTLCOLORMSGBOX && id <= WM_CTLCOLORSTATIC;
}

class CMessageMap {
public:
    virtual BOOL ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result, DWORD mapId = 0) = 0;

protected:
    ~CMessageMap() = default;
};

#define MESSAGE_MAP_BEGIN(...)                                                                \
    BOOL ProcessWindowMessage(HWND hwnd_, UINT msgId_, WPARAM wParam_, LPARAM lParam_,        \
                              LRESULT& result_, DWORD mapId_ = 0) override                    \
    {                                                                                         \
        static_assert(std::is_base_of_v<CMessageMap, __VA_ARGS__>, "a map needs CMessageMap");  \
        WindowMessage msg_{hwnd_, msgId_, wParam_, lParam_};                                   \
        (void)mapId_;                                                                         \
        (void)result_;                                                                        \
        (void)msg_;

// Calls the handler and stops when it left msg.handled set.
#define MESSAGE_MAP_CALL_(handler)                                                            \
    {                                                                                         \
        msg_.handled = true;                                                                  \
        result_ = handler(msg_);                                                              \
        if (msg_.handled)                                                                     \
            return TRUE;                                                                      \
    }

#define ON_MESSAGE(message, handler)                                                          \
    if (msg_.id == static_cast<UINT>(message))                                                \
        MESSAGE_MAP_CALL_(handler)

#define ON_MESSAGE_RANGE(first, last, handler)                                                \
    if (msg_.id >= static_cast<UINT>(first) && msg_.id <= static_cast<UINT>(last))            \
        MESSAGE_MAP_CALL_(handler)

// WM_COMMAND from a control, menu or accelerator with this id, any code.
#define ON_COMMAND(commandId, handler)                                                        \
    if (msg_.id == WM_COMMAND && msg_.CommandId() == static_cast<WORD>(commandId))            \
        MESSAGE_MAP_CALL_(handler)

// WM_COMMAND with this id and this notification code.
#define ON_COMMAND_CODE(commandId, notifyCode, handler)                                       \
    if (msg_.id == WM_COMMAND && msg_.CommandId() == static_cast<WORD>(commandId) &&          \
        msg_.CommandCode() == static_cast<WORD>(notifyCode))                                  \
        MESSAGE_MAP_CALL_(handler)

#define ON_COMMAND_RANGE(firstId, lastId, handler)                                            \
    if (msg_.id == WM_COMMAND && msg_.CommandId() >= static_cast<WORD>(firstId) &&            \
        msg_.CommandId() <= static_cast<WORD>(lastId))                                        \
        MESSAGE_MAP_CALL_(handler)

// WM_NOTIFY from the control with this id and this code.
#define ON_NOTIFY(controlId, notifyCode, handler)                                             \
    if (msg_.id == WM_NOTIFY && msg_.Notify()->idFrom == static_cast<UINT_PTR>(controlId) &&  \
        msg_.Notify()->code == static_cast<UINT>(notifyCode))                                 \
        MESSAGE_MAP_CALL_(handler)

// Offers the message to a base class's map.
#define CHAIN_MESSAGE_MAP(...)                                                                \
    if (__VA_ARGS__::ProcessWindowMessage(hwnd_, msgId_, wParam_, lParam_, result_, mapId_))         \
        return TRUE;

// Sends control notifications back to the control that sent them, as the
// OCM_ message (see Reflection.h). Consumed only when the control handled it.
#define REFLECT_NOTIFICATIONS()                                                               \
    if (ReflectNotification(msg_, result_))                                                   \
        return TRUE;

// In a control: reflected messages that its own entries left alone get the
// default handling of the original message.
#define DEFAULT_REFLECTION_HANDLER()                                                          \
    if (DefaultReflectionHandler(msg_, result_))                                              \
        return TRUE;

#define MESSAGE_MAP_END()                                                                     \
        return FALSE;                                                                         \
    }
