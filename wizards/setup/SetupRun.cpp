// Setupkit's run: data, language, version gate, frame, loop, exit step.

#include "wizards/setup/SetupMain.h"

#include "foundation/WizardUtilities.h"
#include "framework/AppModule.h"
#include "framework/MessageLoop.h"
#include "wizards/common/ProductRegistry.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/LangDlg.h"
#include "wizards/setup/MainDlg.h"
#include "wizards/setup/SetupContext.h"
#include "wizards/setup/SetupData.h"

namespace {

// The loop is registered for the whole run and unregistered on every way
// out.
class CRegisteredLoop {
public:
    CRegisteredLoop() { AppModule().AddMessageLoop(&m_loop); }
    CRegisteredLoop(const CRegisteredLoop&) = delete;
    CRegisteredLoop& operator=(const CRegisteredLoop&) = delete;
    ~CRegisteredLoop() { AppModule().RemoveMessageLoop(); }
    int Run() { return m_loop.Run(); }

private:
    CMessageLoop m_loop;
};

} // namespace

int Run(const wchar_t*, int show)
{
    CRegisteredLoop loop;
    LoadSetupData(KV::GetProgramPath());

    if (!IsUpdateMode() && !HasProductRegValue(RegValueLanguage, ProductKeyAccess)) {
        CLangDlg language;
        if (language.DoModal(::GetActiveWindow()) != IDOK) {
            ExitCleanup();
            return 0;
        }
    }
    ApplyLanguageChoice();

    if (!IsUninstallMode() && !IsVersionAllowed()) {
        SetupMessageBox(nullptr, GetLanguageText("tOldVer").c_str(), GetLanguageText("title").c_str(), MB_ICONERROR);
        ExitCleanup();
        return 0;
    }

    CMainDlg frame;
    if (!frame.Create(nullptr)) {
        ExitCleanup();
        return 0;
    }
    if (!IsUpdateMode())
        frame.ShowWindow(show);
    const int code = loop.Run();
    ExitCleanup();
    return code;
}
