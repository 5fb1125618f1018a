#include "framework/WindowImpl.h"

#include "framework/AppModule.h"
#include "framework/MessageLoop.h"

#include <cwchar>
#include <vector>

namespace {

// The object bound to a window, and for a subclassed control the procedure
// it had before (so the control keeps working should the object go first).
const wchar_t kObjectProp[] = L"Brisvane.WindowObject";
const wchar_t kSuperProcProp[] = L"Brisvane.SuperProc";

struct RegisteredClass {
    CWndClassInfo* info;
    ATOM atom;
    WNDPROC superProc;
    HINSTANCE instance;
};

SRWLOCK g_classLock = SRWLOCK_INIT;
std::vector<RegisteredClass> g_classes;

WNDPROC SuperProcOfClass(ATOM atom)
{
    AcquireSRWLockShared(&g_classLock);
    WNDPROC proc = ::DefWindowProcW;
    for (const RegisteredClass& c : g_classes) {
        if (c.atom == atom)
            proc = c.superProc;
    }
    ReleaseSRWLockShared(&g_classLock);
    return proc;
}

// The object that CreateWindowEx or CreateDialogParam is about to bind: its
// window's first message binds it, before WM_NCCREATE or WM_INITDIALOG.
struct PendingBinding {
    CWindowImplRoot* object = nullptr;
    bool dialog = false;
    bool modal = false;
    ATOM atom = 0;  // the window class a created window must have
};
thread_local PendingBinding t_pending;

bool ReturnsResultDirectly(UINT msg)
{
    // Dialog procedures answer these through their return value instead of
    // DWLP_MSGRESULT.
    if (IsControlColorMessage(msg))
        return true;
    switch (msg) {
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

}  // namespace

ATOM CWndClassInfo::Register(WNDPROC proc)
{
    AcquireSRWLockExclusive(&g_classLock);
    if (atom == 0) {
        HINSTANCE instance = FrameworkInstance();
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        bool ready = true;
        if (superClass != nullptr) {
            ready = ::GetClassInfoExW(instance, superClass, &wc) || ::GetClassInfoExW(nullptr, superClass, &wc);
            superProc = wc.lpfnWndProc;
            wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
        } else {
            wc.style = style;
            wc.hbrBackground = background;
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            superProc = ::DefWindowProcW;
        }
        if (name == nullptr) {
            std::swprintf(m_generatedName, sizeof(m_generatedName) / sizeof(m_generatedName[0]), L"Brisvane:%p",
                          static_cast<void*>(this));
        }
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = proc;
        wc.hInstance = instance;
        wc.lpszClassName = name != nullptr ? name : m_generatedName;
        atom = ready ? ::RegisterClassExW(&wc) : 0;
        if (atom != 0)
            g_classes.push_back(RegisteredClass{this, atom, superProc, instance});
    }
    const ATOM result = atom;
    ReleaseSRWLockExclusive(&g_classLock);
    return result;
}

void UnregisterWindowClasses()
{
    AcquireSRWLockExclusive(&g_classLock);
    for (const RegisteredClass& c : g_classes) {
        // A class with windows left stays registered; the process ends soon.
        if (::UnregisterClassW(MAKEINTATOM(c.atom), c.instance))
            c.info->atom = 0;
    }
    g_classes.clear();
    ReleaseSRWLockExclusive(&g_classLock);
}

CWindowImplRoot::~CWindowImplRoot()
{
    Unbind();
}

CWindowImplRoot* CWindowImplRoot::FromHandle(HWND hwnd)
{
    return hwnd != nullptr ? static_cast<CWindowImplRoot*>(::GetPropW(hwnd, kObjectProp)) : nullptr;
}

WNDPROC CWindowImplRoot::GetWindowProc()
{
    return &WindowProc;
}

void CWindowImplRoot::OnFinalMessage(HWND)
{
}

void CWindowImplRoot::DestroyAndDelete()
{
    if (m_depth > 0) {
        // The window goes now; the object when the running handler returns
        // (Route).
        m_deleteWhenDone = true;
        if (m_bound != nullptr)
            ::DestroyWindow(m_bound);
        return;
    }
    if (m_bound != nullptr && ::IsWindow(m_bound))
        ::DestroyWindow(m_bound);
    delete this;
}

bool CWindowImplRoot::Bind(HWND hwnd, Kind kind)
{
    if (m_kind != Kind::Unbound || FromHandle(hwnd) != nullptr)
        return false;
    if (!::SetPropW(hwnd, kObjectProp, this))
        return false;
    m_bound = hwnd;
    *m_handleSlot = hwnd;
    m_kind = kind;
    return true;
}

void CWindowImplRoot::Unbind()
{
    if (m_kind == Kind::Unbound)
        return;
    if (m_kind == Kind::Subclassed) {
        WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_bound, GWLP_WNDPROC));
        if (current == m_ownProc) {
            ::SetWindowLongPtrW(m_bound, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
            ::RemovePropW(m_bound, kSuperProcProp);
        }
        // Otherwise someone subclassed over us: our procedure stays in the
        // chain and forwards through kSuperProcProp.
    }
    ::RemovePropW(m_bound, kObjectProp);
    if (*m_handleSlot == m_bound)
        *m_handleSlot = nullptr;
    m_bound = nullptr;
    m_kind = Kind::Unbound;
}

HWND CWindowImplRoot::CreateBoundWindow(CWndClassInfo& wndClass, HWND parent, const RECT* rect,
                                        const wchar_t* text, DWORD style, DWORD exStyle, UINT id,
                                        void* createParam)
{
    if (m_kind != Kind::Unbound)
        return nullptr;
    const ATOM atom = wndClass.Register(GetWindowProc());
    if (atom == 0)
        return nullptr;
    m_superProc = wndClass.superProc;

    int x = 0, y = 0, cx = 0, cy = 0;
    if (rect != nullptr) {
        x = rect->left;
        y = rect->top;
        cx = rect->right - rect->left;
        cy = rect->bottom - rect->top;
    } else if ((style & WS_CHILD) == 0) {
        x = y = cx = cy = CW_USEDEFAULT;
    }
    t_pending = PendingBinding{this, false, false, atom};
    HWND hwnd = ::CreateWindowExW(exStyle, MAKEINTATOM(atom), text, style, x, y, cx, cy, parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), FrameworkInstance(),
                                  createParam);
    // A window whose WM_CREATE failed has already had its final message, and
    // its object may be gone: nothing of this object is touched then.
    t_pending = PendingBinding{};
    return hwnd;
}

bool CWindowImplRoot::SubclassBound(HWND hwnd)
{
    if (hwnd == nullptr || !::IsWindow(hwnd) || !Bind(hwnd, Kind::Subclassed))
        return false;
    m_ownProc = GetWindowProc();
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_ownProc)));
    if (previous == nullptr) {
        ::RemovePropW(hwnd, kObjectProp);
        *m_handleSlot = nullptr;
        m_bound = nullptr;
        m_kind = Kind::Unbound;
        return false;
    }
    m_superProc = previous;
    ::SetPropW(hwnd, kSuperProcProp, reinterpret_cast<HANDLE>(previous));
    return true;
}

HWND CWindowImplRoot::UnsubclassBound()
{
    if (m_kind != Kind::Subclassed)
        return nullptr;
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_bound, GWLP_WNDPROC)) != m_ownProc)
        return nullptr;
    HWND hwnd = m_bound;
    Unbind();
    return hwnd;
}

LRESULT CWindowImplRoot::CallDefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // A dialog's default handling is done by the dialog manager once the
    // dialog procedure returns FALSE.
    if (m_kind == Kind::ModalDialog || m_kind == Kind::ModelessDialog || m_bound == nullptr)
        return 0;
    return ::CallWindowProcW(m_superProc != nullptr ? m_superProc : ::DefWindowProcW, m_bound, msg, wParam,
                             lParam);
}

INT_PTR CWindowImplRoot::RunModalDialog(UINT templateId, HWND owner, LPARAM initParam)
{
    if (m_kind != Kind::Unbound)
        return -1;
    t_pending = PendingBinding{this, true, true, 0};
    // The registered filters see the dialog's messages as they see those of
    // the thread's own loop (a tab strip in the dialog takes its arrows).
    CModalLoopFilters filters;
    const INT_PTR result = ::DialogBoxParamW(FrameworkResourceInstance(), MAKEINTRESOURCEW(templateId), owner,
                                             &DialogProc, initParam);
    t_pending = PendingBinding{};
    return result;
}

HWND CWindowImplRoot::CreateModelessDialog(UINT templateId, HWND parent, LPARAM initParam)
{
    if (m_kind != Kind::Unbound)
        return nullptr;
    t_pending = PendingBinding{this, true, false, 0};
    HWND hwnd = ::CreateDialogParamW(FrameworkResourceInstance(), MAKEINTRESOURCEW(templateId), parent,
                                     &DialogProc, initParam);
    t_pending = PendingBinding{};
    return hwnd;
}

CWindowImplRoot* CWindowImplRoot::TakePending(HWND hwnd, bool dialog)
{
    PendingBinding pending = t_pending;
    if (pending.object == nullptr || pending.dialog != dialog)
        return nullptr;
    if (!dialog && ::GetClassWord(hwnd, GCW_ATOM) != pending.atom)
        return nullptr;
    t_pending = PendingBinding{};
    const Kind kind = !dialog ? Kind::Created : pending.modal ? Kind::ModalDialog : Kind::ModelessDialog;
    return pending.object->Bind(hwnd, kind) ? pending.object : nullptr;
}

LRESULT CWindowImplRoot::CallUnboundDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC proc = reinterpret_cast<WNDPROC>(::GetPropW(hwnd, kSuperProcProp));
    if (proc == nullptr)
        proc = SuperProcOfClass(static_cast<ATOM>(::GetClassWord(hwnd, GCW_ATOM)));
    if (msg == WM_NCDESTROY)
        ::RemovePropW(hwnd, kSuperProcProp);
    return ::CallWindowProcW(proc, hwnd, msg, wParam, lParam);
}

LRESULT CWindowImplRoot::Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool dialog, bool& handled)
{
    ++m_depth;
    LRESULT result = 0;
    // Nothing thrown may cross the system's frames, which cannot pass it on:
    // a handler that fails so (out of memory, mostly) leaves its message to
    // the default handling, which has an answer for every message.
    try {
        handled = ProcessWindowMessage(hwnd, msg, wParam, lParam, result, 0) != FALSE;
    } catch (...) {
        handled = false;
        result = 0;
    }
    if (handled && IsReflectedMessage(msg))
        NoteReflectedMessageHandled();
    // The procedure underneath always sees WM_NCDESTROY, so a subclassed
    // control frees what it owns.
    if (!dialog && (!handled || msg == WM_NCDESTROY)) {
        const LRESULT fallback = CallDefaultProc(msg, wParam, lParam);
        if (!handled)
            result = fallback;
    }
    if (msg == WM_NCDESTROY) {
        Unbind();
        m_finalPending = true;
    }
    --m_depth;
    if (m_depth == 0) {
        const bool deleteNow = m_deleteWhenDone;
        if (m_finalPending) {
            m_finalPending = false;
            OnFinalMessage(hwnd);  // may delete this, unless deleteNow
        }
        if (deleteNow)
            delete this;
    }
    return result;
}

LRESULT CALLBACK CWindowImplRoot::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowImplRoot* self = FromHandle(hwnd);
    if (self == nullptr)
        self = TakePending(hwnd, false);
    if (self == nullptr)
        return CallUnboundDefault(hwnd, msg, wParam, lParam);
    bool handled = false;
    return self->Route(hwnd, msg, wParam, lParam, false, handled);
}

INT_PTR CALLBACK CWindowImplRoot::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowImplRoot* self = FromHandle(hwnd);
    if (self == nullptr)
        self = TakePending(hwnd, true);
    if (self == nullptr)
        return FALSE;
    bool handled = false;
    const LRESULT result = self->Route(hwnd, msg, wParam, lParam, true, handled);
    if (!handled)
        return msg == WM_INITDIALOG ? TRUE : FALSE;  // TRUE: the system sets the first focus
    if (ReturnsResultDirectly(msg))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}
