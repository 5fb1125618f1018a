#pragma once
// The first and the last page (dialog 205): white, with the skin's header
// picture across the top and its side picture at the left. The finish page
// of an install also offers to launch the program.

#include "wizards/setup/SetupPage.h"
#include "wizards/setup/resources/Resource.h"

class CWelcomePage : public CSetupPage {
public:
    CWelcomePage(const std::string& key, bool finish);

    MESSAGE_MAP_BEGIN(CWelcomePage)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_SIZE, OnSize)
        ON_MESSAGE(WM_PAINT, OnPaint)
        ON_MESSAGE(WM_CTLCOLORDLG, OnCtlColor)
        ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColor)
        ON_COMMAND_CODE(IDC_WELCOME_LAUNCH, BN_CLICKED, OnLaunchClicked)
        CHAIN_MESSAGE_MAP(CSetupPage)
    MESSAGE_MAP_END()

protected:
    bool IsFinish() const { return m_finish; }
    // The finish page of an install has the launch box.
    bool HasLaunchBox() const;

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnSize(WindowMessage& msg);
    LRESULT OnPaint(WindowMessage& msg);
    LRESULT OnCtlColor(WindowMessage& msg);
    LRESULT OnLaunchClicked(WindowMessage& msg);

    bool m_finish;
};

class CStartPage : public CWelcomePage {
public:
    CStartPage();
};

class CFinishPage : public CWelcomePage {
public:
    CFinishPage();
};
