// What the settings-dialog tests share: a stand-in main window as the
// owner, running a dialog modally while a script plays the user, and the
// autostart entry in the registry.
#pragma once

#include "tests/settingsdlg/DialogScript.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace SettingsTest {

class DialogTest : public testing::Test {
protected:
    void SetUp() override;

    // Runs the dialog modally over the stand-in main window while the steps
    // play; the dialog's result. The script must run to its end.
    template <class Dialog>
    INT_PTR RunScripted(Dialog& dialog, std::vector<ScriptStep> steps)
    {
        DialogScript script(std::move(steps));
        const INT_PTR result = dialog.DoModal(m_main);
        EXPECT_TRUE(script.Succeeded()) << script.Problems();
        return result;
    }

    UiTest::CMainWindowStub m_main;
};

// The HKCU Run value of the player; empty when it is missing.
std::wstring ReadAutostartEntry();
bool HasAutostartEntry();

}  // namespace SettingsTest
