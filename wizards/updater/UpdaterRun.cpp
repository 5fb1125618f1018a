// The updaters' run.

#include "wizards/updater/UpdaterRun.h"

#include "framework/AppModule.h"
#include "framework/MessageLoop.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/updater/MainDlg.h"
#include "wizards/updater/TransferFile.h"
#include "wizards/updater/UpdaterContext.h"

namespace {

// A running updater of the same kind: its frame carries the caption this
// run would set. Without a caption (no texts) nothing can be told apart,
// and an untitled window of another program must not count.
HWND FindRunningInstance()
{
    const std::wstring caption = CMainDlg::GetCaption();
    if (caption.empty())
        return nullptr;
    return ::FindWindowW(nullptr, caption.c_str());
}

} // namespace

int Run(bool hidden, const std::wstring& programFile)
{
    LoadUpdaterData(programFile);
    GetUpdaterContext().hidden = hidden;
    // The language items that are macros; the second pass changes nothing.
    AddLanguageMacros();
    AddLanguageMacros();

    if (HWND running = FindRunningInstance()) {
        FreeUpdaterData();
        if (hidden)
            return 0;
        ::BringWindowToTop(running);
        ::ShowWindow(running, SW_SHOW);
        ::SetForegroundWindow(running);
        return 0;
    }

    CMessageLoop loop;
    AppModule().AddMessageLoop(&loop);
    int code = 0;
    {
        CMainDlg frame;
        if (frame.Create(nullptr)) {
            if (!hidden)
                frame.ShowWindow(SW_SHOWNORMAL);
            code = loop.Run();
        }
        if (frame.IsWindow())
            frame.DestroyWindow();
    }
    AppModule().RemoveMessageLoop();
    // The process ends soon without waiting for a transfer still running
    // (the frame's end cancelled it): its file must not outlive it.
    EndTransferFiles();
    FreeUpdaterData();
    return code;
}
