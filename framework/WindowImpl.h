// Window implementation classes: a C++ object bound to a window, whose
// message map gets the window's messages.
//
//   class CClockWnd : public CWindowImpl<CClockWnd> {
//   public:
//       WINDOW_CLASS(L"BrisvaneClock")
//       MESSAGE_MAP_BEGIN(CClockWnd)
//           ON_MESSAGE(WM_PAINT, OnPaint)
//       MESSAGE_MAP_END()
//   };
//
// A window is bound either by creating it (Create: a window of the class's
// own registered window class) or by subclassing an existing one
// (SubclassWindow, for the controls of a dialog). Messages the map leaves
// alone go to the default procedure: DefWindowProc for a created window, the
// control's own procedure for a subclassed one, the base class's procedure
// for a superclass. The object is found from the window through a window
// property, which works alike for created windows, subclassed controls and
// dialogs (Dialog.h).
#pragma once

#include "framework/MessageMap.h"
#include "framework/Reflection.h"
#include "framework/Window.h"

#include <memory>

// The window class a CWindowImpl creates its windows with. A null name gets
// a name of its own when the class is registered. With superClass set, the
// class copies that existing class and its procedure does the default
// handling.
struct CWndClassInfo {
    CWndClassInfo(const wchar_t* className, UINT classStyle, HBRUSH backgroundBrush, const wchar_t* existingClass)
        : name(className), style(classStyle), background(backgroundBrush), superClass(existingClass)
    {
    }
    CWndClassInfo(const CWndClassInfo&) = delete;
    CWndClassInfo& operator=(const CWndClassInfo&) = delete;

    const wchar_t* name;
    UINT style;
    HBRUSH background;
    const wchar_t* superClass;

    ATOM atom = 0;
    WNDPROC superProc = nullptr;

    // Registers the class once (thread-safe); 0 on failure.
    ATOM Register(WNDPROC proc);

private:
    wchar_t m_generatedName[32] = {};
};

#define WINDOW_CLASS_EX(className, classStyle, backgroundBrush)                               \
    static CWndClassInfo& GetWndClassInfo()                                                   \
    {                                                                                         \
        static CWndClassInfo info{className, classStyle, backgroundBrush, nullptr};           \
        return info;                                                                          \
    }

#define WINDOW_CLASS(className)                                                               \
    WINDOW_CLASS_EX(className, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))

#define WINDOW_SUPERCLASS(className, existingClass)                                           \
    static CWndClassInfo& GetWndClassInfo()                                                   \
    {                                                                                         \
        static CWndClassInfo info{className, 0, nullptr, existingClass};                      \
        return info;                                                                          \
    }

// Unregisters every window class the framework registered (module end).
void UnregisterWindowClasses();

// The binding and dispatch shared by windows and dialogs. Not used directly:
// derive from CWindowImpl, CDialogImpl or CAxDialogImpl.
class CWindowImplRoot : public CMessageMap {
protected:
    // handleSlot: the m_hWnd of the CWindow side, kept up to date while bound.
    explicit CWindowImplRoot(HWND* handleSlot) : m_handleSlot(handleSlot) {}
    // An object that dies before its window leaves the window unbound (its
    // messages then get the default handling only).
    virtual ~CWindowImplRoot();

public:
    CWindowImplRoot(const CWindowImplRoot&) = delete;
    CWindowImplRoot& operator=(const CWindowImplRoot&) = delete;

    // The object bound to a window, or null.
    static CWindowImplRoot* FromHandle(HWND hwnd);

    // The procedure a created or subclassed window gets.
    virtual WNDPROC GetWindowProc();
    // Called after the last message (WM_NCDESTROY); the window is gone and the
    // object is unbound. An object that lives on the heap may delete itself.
    virtual void OnFinalMessage(HWND hwnd);

    // Destroys the window and deletes the object, which was made with new:
    // at once when none of its handlers is running, else when the last one
    // returns. Its owner may so let it go from inside one of its own
    // handlers (a page that closes its frame) without the handler running on
    // a deleted object. Such an object does not delete itself in
    // OnFinalMessage.
    void DestroyAndDelete();

protected:
    HWND CreateBoundWindow(CWndClassInfo& wndClass, HWND parent, const RECT* rect, const wchar_t* text,
                           DWORD style, DWORD exStyle, UINT id, void* createParam);
    bool SubclassBound(HWND hwnd);
    HWND UnsubclassBound();
    LRESULT CallDefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

    INT_PTR RunModalDialog(UINT templateId, HWND owner, LPARAM initParam);
    HWND CreateModelessDialog(UINT templateId, HWND parent, LPARAM initParam);
    bool IsModalDialog() const { return m_kind == Kind::ModalDialog; }

private:
    enum class Kind { Unbound, Created, Subclassed, ModalDialog, ModelessDialog };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static CWindowImplRoot* TakePending(HWND hwnd, bool dialog);
    static LRESULT CallUnboundDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    bool Bind(HWND hwnd, Kind kind);
    void Unbind();
    // Runs the map and, for a window procedure, the default handling.
    LRESULT Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool dialog, bool& handled);

    HWND* m_handleSlot;
    HWND m_bound = nullptr;
    Kind m_kind = Kind::Unbound;
    WNDPROC m_superProc = nullptr;  // the default handling
    WNDPROC m_ownProc = nullptr;    // what a subclassed window got
    int m_depth = 0;          // messages of this window being processed
    bool m_finalPending = false;  // WM_NCDESTROY seen inside a nested message
    bool m_deleteWhenDone = false;  // DestroyAndDelete while a handler ran
};

// The deleter of an owner's pointer to a window object that may be let go
// while one of its handlers runs: CWindowObjectPtr<CPage>.
struct CWindowObjectDeleter {
    void operator()(CWindowImplRoot* object) const
    {
        if (object)
            object->DestroyAndDelete();
    }
};
template <class T>
using CWindowObjectPtr = std::unique_ptr<T, CWindowObjectDeleter>;

template <class TBase = CWindow>
class CWindowImplBaseT : public TBase, public CWindowImplRoot {
public:
    CWindowImplBaseT() : CWindowImplRoot(&this->m_hWnd) {}

    // Binds an existing window (usually a dialog's control) to this object.
    BOOL SubclassWindow(HWND hwnd) { return SubclassBound(hwnd) ? TRUE : FALSE; }
    // Gives the window its own procedure back; null when it cannot.
    HWND UnsubclassWindow() { return UnsubclassBound(); }

    // The default handling of a message, as the map would have left it.
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) { return CallDefaultProc(msg, wParam, lParam); }
};

template <class T, class TBase = CWindow>
class CWindowImpl : public CWindowImplBaseT<TBase> {
public:
    // The default: a window class of T's own, named when registered.
    WINDOW_CLASS(nullptr)

    // A null rect is the system's default place for a top-level window and an
    // empty rectangle for a child. id is the control id of a child window.
    HWND Create(HWND parent, const RECT* rect = nullptr, const wchar_t* text = nullptr,
                DWORD style = WS_CHILD | WS_VISIBLE, DWORD exStyle = 0, UINT id = 0,
                void* createParam = nullptr)
    {
        return this->CreateBoundWindow(T::GetWndClassInfo(), parent, rect, text, style, exStyle, id, createParam);
    }
};
