// The message loop of a user-interface thread, with its message filters and
// idle handlers.
//
// Every queued message is first offered to the filters, the last added
// first, until one returns TRUE (it consumed the message); only then is it
// translated and dispatched. So a control made inside a window (a tab strip
// that takes its arrow keys) sees the keys before the window's own dialog
// navigation. Keyboard navigation of modeless dialogs is done by the filters
// themselves: a dialog's filter calls IsDialogMessageW for its own window.
// The system's modal loops (a modal dialog's, a message box's) offer their
// messages to the same filters while a CModalLoopFilters lives on the
// thread. When the queue runs empty after a message, the idle handlers run,
// again while one of them returns TRUE.
#pragma once

#include <windows.h>

#include <vector>

class CMessageFilter {
public:
    virtual BOOL PreTranslateMessage(MSG* msg) = 0;

protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
public:
    virtual BOOL OnIdle() = 0;

protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
public:
    CMessageLoop() = default;
    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;
    virtual ~CMessageLoop() = default;

    // Adding twice or null fails. Filters and handlers may add and remove
    // entries (also themselves) while they run.
    bool AddMessageFilter(CMessageFilter* filter);
    bool RemoveMessageFilter(CMessageFilter* filter);
    bool AddIdleHandler(CIdleHandler* handler);
    bool RemoveIdleHandler(CIdleHandler* handler);

    // Runs until WM_QUIT and returns its exit code.
    int Run();

    // Offers one message to the filters; TRUE when one consumed it.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Runs the idle handlers; TRUE when one of them wants to run again.
    virtual BOOL OnIdle(int idleCount);

private:
    // A list that tolerates changes while it is being walked: removed entries
    // are cleared at once and dropped when the walk is over.
    template <class T>
    class HandlerList {
    public:
        bool Add(T* entry);
        bool Remove(T* entry);
        // Calls visit for each entry, the last added first, until it
        // returns true; true then.
        template <class Visit>
        bool Walk(Visit visit);

    private:
        std::vector<T*> m_entries;
        int m_walking = 0;
    };

    // Messages after which the idle handlers get another turn.
    bool IsIdleMessage(const MSG& msg);

    HandlerList<CMessageFilter> m_filters;
    HandlerList<CIdleHandler> m_idleHandlers;
    POINT m_lastMouse{-1, -1};
};

// While one lives, the system's modal loops on this thread (modal dialogs,
// message boxes) offer each message to the filters of the thread's loop
// (AppModule().GetMessageLoop()) before the dialog manager handles it.
// Scopes may nest; a message the loop itself is offering is not offered
// again by the IsDialogMessageW calls of its filters.
class CModalLoopFilters {
public:
    CModalLoopFilters();
    ~CModalLoopFilters();
    CModalLoopFilters(const CModalLoopFilters&) = delete;
    CModalLoopFilters& operator=(const CModalLoopFilters&) = delete;

private:
    bool m_wasOffering;
};
