// Dialogs from resource templates (compiled with windres).
//
//   class CAboutDlg : public CDialogImpl<CAboutDlg> {
//   public:
//       enum { IDD = 100 };                      // the dialog template
//       MESSAGE_MAP_BEGIN(CAboutDlg)
//           ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
//           ON_COMMAND(IDOK, OnClose)
//           ON_COMMAND(IDCANCEL, OnClose)
//       MESSAGE_MAP_END()
//       ...
//       LRESULT OnClose(WindowMessage& msg) { EndDialog(msg.CommandId()); return 0; }
//   };
//   CAboutDlg().DoModal(owner);
//
// Modal dialogs run the system's modal loop (which does their keyboard
// navigation) and end with EndDialog; modeless ones are created with a
// parent (as a child dialog when the template has WS_CHILD), end with
// DestroyWindow and need a message filter that calls IsDialogMessageW (see
// MessageLoop.h). A handler that clears msg.handled leaves the message to the
// dialog manager's default handling. WM_INITDIALOG gets the init parameter
// in lParam and returns TRUE to have the system set the first focus (also
// when the map has no handler for it); the result of WM_CTLCOLOR* handlers
// is the brush.
#pragma once

#include "framework/WindowImpl.h"

template <class T, class TBase = CWindow>
class CDialogImpl : public TBase, public CWindowImplRoot {
public:
    CDialogImpl() : CWindowImplRoot(&this->m_hWnd) {}

    // With the template T::IDD.
    INT_PTR DoModal(HWND owner = ::GetActiveWindow(), LPARAM initParam = 0)
    {
        return DoModalFromResource(T::IDD, owner, initParam);
    }
    HWND Create(HWND parent, LPARAM initParam = 0) { return CreateFromResource(T::IDD, parent, initParam); }

    // With a template chosen at run time (pages that carry their own id).
    // DoModal gives the EndDialog result, or -1 when the dialog failed.
    INT_PTR DoModalFromResource(UINT templateId, HWND owner, LPARAM initParam = 0)
    {
        return this->RunModalDialog(templateId, owner, initParam);
    }
    HWND CreateFromResource(UINT templateId, HWND parent, LPARAM initParam = 0)
    {
        return this->CreateModelessDialog(templateId, parent, initParam);
    }

    // Ends a modal dialog with this result (its DoModal returns it).
    BOOL EndDialog(INT_PTR result) { return ::EndDialog(this->m_hWnd, result); }
    bool IsModal() const { return this->IsModalDialog(); }
};
