// The setup's wizard frame and pages as real windows (under Xvfb), driven by
// the messages their buttons and controls send.

#include "WizardTestSupport.h"

#include "tests/support/FailingWorkerStarts.h"

#include "foundation/DataKey.h"
#include "wizards/common/HeaderDlg.h"
#include "wizards/common/MacroTable.h"
#include "wizards/common/ProductSettings.h"
#include "wizards/common/WizardLanguages.h"
#include "wizards/setup/Components.h"
#include "wizards/setup/ComponentsPage.h"
#include "wizards/setup/InstallingPage.h"
#include "wizards/setup/LangDlg.h"
#include "wizards/setup/MainDlg.h"
#include "wizards/setup/SetupContext.h"
#include "wizards/setup/SetupData.h"
#include "wizards/setup/UpdateDlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

namespace {

std::wstring TextOf(HWND window)
{
    wchar_t text[1024] = L"";
    ::GetWindowTextW(window, text, 1024);
    return text;
}

class FrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteTestKeys();
        TakeQuitCode();
    }
    void TearDown() override
    {
        m_frame.reset();
        TakeQuitCode();
        ResetWizardState();
        DeleteTestKeys();
    }

    // The start-up of an install (or, with uninstall, of the uninstall
    // copy) whose links and files go to the test's folders.
    void Load(bool uninstall = false)
    {
        ResetWizardState();
        ASSERT_TRUE(WriteRegString(TestProductKey, L"Language", L"en"));
        m_app = m_root.File(L"App");
        if (uninstall) {
            GetSetupContext().uninstall = true;
            SetUninstallFolder(m_app);
        }
        LoadSetupData(FixturePath(uninstall ? L"TestUninstaller.exe" : L"TestSetup.exe"));
        AddLanguageMacros();
        UseInstallFolder(m_app);
        if (!uninstall) {
            KV::DataKey& settings = GetProductSettings();
            ComponentList& components = GetComponentList();
            components.clear();
            components.push_back(std::make_unique<CMainComponent>());
            components.push_back(std::make_unique<CDesctopShortcutComponent>(*settings.GetKey("cds"), m_root.Path()));
            components.push_back(std::make_unique<CProgramsComponent>(*settings.GetKey("cp"), m_root.Path()));
        }
    }
    void Create()
    {
        m_frame = std::make_unique<CMainDlg>();
        ASSERT_TRUE(m_frame->Create(nullptr));
        m_frame->ShowWindow(SW_SHOW);
    }
    void Press(int id) { m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    int Index() const { return m_frame->GetCurrentIndex(); }
    CWindow Button(int id) const { return m_frame->GetDlgItem(id); }
    std::wstring ButtonText(int id) const { return TextOf(Button(id)); }
    std::wstring HeaderTitle() const { return TextOf(::GetDlgItem(m_frame->GetHeader()->m_hWnd, IDC_HEADER_TITLE)); }
    HWND PageControl(int id) const { return ::GetDlgItem(m_frame->GetCurrentPage()->m_hWnd, id); }
    bool FrameAlive() const { return m_frame->IsWindow(); }

    TempFolder m_root;
    std::wstring m_app;
    std::unique_ptr<CMainDlg> m_frame;
};

} // namespace

TEST_F(FrameTest, InstallSequenceSetsButtonsHeaderAndTexts)
{
    Load();
    Create();
    EXPECT_EQ(L"SetupTest 9.1.2 Setup", TextOf(*m_frame));
    ASSERT_EQ(5, m_frame->GetPageCount());
    EXPECT_EQ(0, Index());
    EXPECT_FALSE(Button(IDC_WIZARD_BACK).IsWindowVisible());
    EXPECT_EQ(L"Next >", ButtonText(IDOK));
    EXPECT_EQ(L"Cancel", ButtonText(IDCANCEL));
    EXPECT_FALSE(::IsWindowVisible(m_frame->GetHeader()->m_hWnd));
    EXPECT_EQ(L"Welcome to the SetupTest Setup Wizard", TextOf(PageControl(1011)));

    Press(IDC_WIZARD_BACK);  // nothing before the first page
    EXPECT_EQ(0, Index());

    Press(IDOK);
    EXPECT_EQ(1, Index());
    EXPECT_EQ(L"I Agree", ButtonText(IDOK));
    EXPECT_EQ(L"< Back", ButtonText(IDC_WIZARD_BACK));
    EXPECT_TRUE(::IsWindowVisible(m_frame->GetHeader()->m_hWnd));
    EXPECT_EQ(L"License Agreement", HeaderTitle());
    EXPECT_EQ(L"Please review the license terms before Installing SetupTest.",
              TextOf(::GetDlgItem(m_frame->GetHeader()->m_hWnd, IDC_HEADER_DESCRIPTION)));
    EXPECT_NE(std::wstring::npos, TextOf(PageControl(1008)).find(L"Test licence text."));
    EXPECT_FALSE(::IsWindowVisible(m_frame->GetPage(0)->m_hWnd));

    Press(IDC_WIZARD_BACK);
    EXPECT_EQ(0, Index());
    Press(IDOK);
    Press(IDOK);
    EXPECT_EQ(2, Index());
    EXPECT_EQ(L"Install", ButtonText(IDOK));
    EXPECT_EQ(L"Choose Components", HeaderTitle());

    // Texts follow a language switch.
    SelectLanguage(L"ru");
    m_frame->SendMessage(WM_APPLY_LANGUAGE);
    EXPECT_EQ(L"Выбор компонентов", HeaderTitle());
}

TEST_F(FrameTest, EnterInTheLicenceAcceptsLikeIAgree)
{
    Load();
    Create();
    Press(IDOK);
    ASSERT_EQ(1, Index());
    ::SendMessageW(PageControl(1008), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(2, Index());
}

TEST_F(FrameTest, ComponentsToggleExceptTheRequiredOne)
{
    Load();
    const uint32_t mainSize = GetMainFilesSize();
    Create();
    Press(IDOK);
    Press(IDOK);
    ASSERT_EQ(2, Index());
    auto* page = static_cast<CComponentsPage*>(m_frame->GetCurrentPage());
    HWND tree = PageControl(IDC_COMPONENTS_TREE);
    ASSERT_EQ(2, static_cast<int>(::SendMessageW(tree, TVM_GETCOUNT, 0, 0)));
    // The focused tree selected its first item, whose description shows;
    // the pointer over the page outside every item brings the idle text.
    EXPECT_EQ(L"Install main files (required)", TextOf(PageControl(IDC_COMPONENTS_DESCRIPTION)));
    ::SetCursorPos(0, 0);
    ::PostMessageW(page->m_hWnd, WM_MOUSEMOVE, 0, 0);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(L"Position your mouse over a component to see its description.",
              TextOf(PageControl(IDC_COMPONENTS_DESCRIPTION)));
    EXPECT_FALSE(::IsWindowEnabled(PageControl(IDC_COMPONENTS_DESCRIPTION)));
    const std::wstring fullSpace = TextOf(PageControl(IDC_COMPONENTS_SPACE));
    EXPECT_EQ(0u, fullSpace.find(L"Space required: "));

    auto pressSpace = [&](HTREEITEM item) {
        ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        NMTVKEYDOWN key{};
        key.hdr.hwndFrom = tree;
        key.hdr.idFrom = IDC_COMPONENTS_TREE;
        key.hdr.code = TVN_KEYDOWN;
        key.wVKey = VK_SPACE;
        return ::SendMessageW(page->m_hWnd, WM_NOTIFY, IDC_COMPONENTS_TREE, reinterpret_cast<LPARAM>(&key));
    };
    auto image = [&](HTREEITEM item) {
        TVITEMW data{};
        data.mask = TVIF_HANDLE | TVIF_IMAGE;
        data.hItem = item;
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        return data.iImage;
    };
    const auto mainItem = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    const auto desktopItem =
        reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(mainItem)));
    EXPECT_EQ(CComponentsPage::ImageCheckedDisabled, image(mainItem));
    EXPECT_EQ(CComponentsPage::ImageChecked, image(desktopItem));

    pressSpace(mainItem);
    EXPECT_TRUE(GetComponentList()[0]->IsChecked());
    EXPECT_EQ(CComponentsPage::ImageCheckedDisabled, image(mainItem));

    EXPECT_NE(0, pressSpace(desktopItem));  // reported as handled
    EXPECT_FALSE(GetComponentList()[1]->IsChecked());
    EXPECT_EQ(CComponentsPage::ImageUnchecked, image(desktopItem));
    // Selected: its description (the name, having no desc of its own).
    EXPECT_EQ(L"Create a shortcut on the Desktop", TextOf(PageControl(IDC_COMPONENTS_DESCRIPTION)));
    EXPECT_TRUE(::IsWindowEnabled(PageControl(IDC_COMPONENTS_DESCRIPTION)));
    // The shortcut has no size of its own: the space line stays.
    EXPECT_EQ(fullSpace, TextOf(PageControl(IDC_COMPONENTS_SPACE)));
    EXPECT_EQ(mainSize, GetSpaceRequired());
    pressSpace(desktopItem);
    EXPECT_TRUE(GetComponentList()[1]->IsChecked());
}

TEST_F(FrameTest, CancelAsksDuringAnInstallAndIsIgnoredWhileBusy)
{
    Load();
    Create();
    MessageBoxRecorder boxes(IDNO);
    Press(IDCANCEL);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"Are you sure you want to quit SetupTest Setup?", boxes.Boxes()[0].text);
    EXPECT_EQ(L"SetupTest 9.1.2 Setup", boxes.Boxes()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[0].flags);
    EXPECT_TRUE(FrameAlive());

    GetSetupContext().busy = true;
    Press(IDCANCEL);
    EXPECT_EQ(1u, boxes.Boxes().size());
    EXPECT_TRUE(FrameAlive());
    GetSetupContext().busy = false;

    boxes.SetAnswer(IDYES);
    Press(IDCANCEL);
    EXPECT_FALSE(FrameAlive());
    EXPECT_EQ(2, TakeQuitCode());
}

TEST_F(FrameTest, NextStaysWhileTheProgramRuns)
{
    Load();
    wchar_t own[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, own, MAX_PATH);
    const std::wstring path = own;
    GetProductSettings().SetStringW("exe", path.substr(path.find_last_of(L'\\') + 1));
    UseInstallFolder(path.substr(0, path.find_last_of(L'\\')));
    Create();
    MessageBoxRecorder boxes;
    Press(IDOK);
    Press(IDOK);
    ASSERT_EQ(2, Index());
    Press(IDOK);
    EXPECT_EQ(2, Index());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"SetupTest is running. \r\nPlease close it to continue.", boxes.Boxes()[0].text);
    EXPECT_EQ(L"Error", boxes.Boxes()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Boxes()[0].flags);
}

TEST_F(FrameTest, InstallRunsThroughTheInstallingPageToTheFinish)
{
    Load();
    Create();
    Press(IDOK);
    Press(IDOK);
    Press(IDOK);  // Install
    EXPECT_EQ(3, Index());
    for (int id : {IDOK, IDC_WIZARD_BACK, IDCANCEL})
        EXPECT_FALSE(Button(id).IsWindowEnabled()) << id;
    ASSERT_TRUE(PumpUntil([&] { return Index() == 4; }));
    EXPECT_TRUE(IsDone());
    EXPECT_FALSE(IsBusy());

    CInstallingPage* installing = CInstallingPage::GetInstance();
    ASSERT_TRUE(installing);
    HWND list = ::GetDlgItem(installing->m_hWnd, IDC_INSTALLING_LIST);
    HWND progress = ::GetDlgItem(installing->m_hWnd, IDC_INSTALLING_PROGRESS);
    // Two folder lines, five files in the package's order, the completion
    // line.
    EXPECT_EQ(8, static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    std::vector<std::wstring> lines;
    for (int i = 0; i < 8; ++i) {
        wchar_t text[512] = L"";
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = 512;
        ::SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        lines.push_back(text);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Output folder: " + m_app, L"Extract: Brisvane.exe", L"Extract: Setupkit.exe",
                                         L"Extract: readme.txt", L"Extract: data.swp",
                                         L"Output folder: " + m_app + L"\\docs", L"Extract: guide.txt", L"Completed"}),
              lines);
    EXPECT_EQ(6u, installing->GetStepCounter());
    EXPECT_EQ(5, static_cast<int>(::SendMessageW(progress, PBM_GETRANGE, FALSE, 0)));
    EXPECT_EQ(5, static_cast<int>(::SendMessageW(progress, PBM_GETPOS, 0, 0)));  // trails the counter
    EXPECT_EQ(L"Completed", TextOf(::GetDlgItem(installing->m_hWnd, IDC_INSTALLING_LINE)));
    EXPECT_TRUE(FileExists(m_app + L"\\readme.txt"));

    // The finish page of an install: Finish, and the launch box checked.
    EXPECT_FALSE(Button(IDOK).IsWindowVisible());
    EXPECT_FALSE(Button(IDC_WIZARD_BACK).IsWindowVisible());
    EXPECT_EQ(L"Finish", ButtonText(IDCANCEL));
    HWND launch = PageControl(IDC_WELCOME_LAUNCH);
    EXPECT_TRUE(::IsWindowVisible(launch));
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(launch, BM_GETCHECK, 0, 0));
    EXPECT_EQ(L"Launch SetupTest", TextOf(launch));
    EXPECT_TRUE(GetLaunchFlag());
    ::SendMessageW(launch, BM_CLICK, 0, 0);
    EXPECT_FALSE(GetLaunchFlag());

    MessageBoxRecorder boxes;
    Press(IDOK);  // on the last page: closes
    EXPECT_FALSE(FrameAlive());
    EXPECT_EQ(1, TakeQuitCode());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(FrameTest, UninstallSequenceClosesWithoutQuestions)
{
    Load(true);
    Create();
    EXPECT_EQ(L"SetupTest 9.1.2 Uninstall", TextOf(*m_frame));
    ASSERT_EQ(4, m_frame->GetPageCount());
    EXPECT_EQ(L"Welcome to the SetupTest Uninstall Wizard", TextOf(PageControl(1011)));
    Press(IDOK);
    EXPECT_EQ(L"Uninstall", ButtonText(IDOK));
    EXPECT_EQ(L"Uninstall SetupTest", HeaderTitle());
    EXPECT_EQ(m_app + L"\\", TextOf(PageControl(IDC_UNINSTALL_FOLDER)));

    MessageBoxRecorder boxes;
    Press(IDOK);
    ASSERT_TRUE(PumpUntil([&] { return Index() == 3; }));
    EXPECT_EQ(L"Close", ButtonText(IDCANCEL));
    EXPECT_FALSE(::IsWindowVisible(PageControl(IDC_WELCOME_LAUNCH)));
    EXPECT_EQ(L"Completing the SetupTest Uninstall Wizard", TextOf(PageControl(1011)));
    Press(IDCANCEL);
    EXPECT_FALSE(FrameAlive());
    EXPECT_EQ(2, TakeQuitCode());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(FrameTest, CancelBeforeTheLastUninstallPageClosesAtOnce)
{
    Load(true);
    Create();
    MessageBoxRecorder boxes;
    Press(IDOK);
    Press(IDCANCEL);
    EXPECT_FALSE(FrameAlive());
    EXPECT_EQ(2, TakeQuitCode());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(FrameTest, SilentUpdateRunsItsDialogAndEndsTheFrame)
{
    TempFolder folder;
    ASSERT_TRUE(WriteRegString(TestProductKey, L"InstallDir", folder.Path()));
    ResetWizardState();
    GetSetupContext().update = true;
    LoadSetupData(FixturePath(L"TestSetup.exe"));
    ASSERT_EQ(folder.Path(), GetInstallFolder());

    CMainDlg frame;
    // The frame runs the update inside its start and destroys itself.
    frame.Create(nullptr);
    EXPECT_FALSE(frame.IsWindow());
    EXPECT_EQ(0, TakeQuitCode());
    EXPECT_TRUE(IsDone());
    EXPECT_TRUE(FileExists(folder.File(L"docs\\guide.txt")));
    EXPECT_EQ(nullptr, GetUpdateDlg());
    // No earlier log: a new one, unnamed, with only this run's files.
    KV::DataKey log("unread");
    ASSERT_TRUE(log.Load(folder.File(L"setupkit.dat")));
    EXPECT_EQ("", log.GetName());
    EXPECT_EQ(6u, log.GetKey("f")->GetValueCount());
}

namespace {

bool& UpdateDialogHung()
{
    static bool hung = false;
    return hung;
}

void CALLBACK EndHungUpdateDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (CUpdateDlg* dialog = GetUpdateDlg()) {
        UpdateDialogHung() = true;
        dialog->EndDialog(0);
    }
}

} // namespace

// A worker that cannot start ends the run as a failed one: the wizard says
// so and reaches its finish page, the silent update says so and ends with
// the exit code of every silent run; nothing is installed or started, and
// the product keeps its version. (It used to wait for the worker forever.)
TEST_F(FrameTest, AWorkerThatCannotStartEndsTheRunAsAFailure)
{
    enum class Run { Install, Uninstall, SilentUpdate };
    const struct {
        Run run;
        const wchar_t* message;
    } cases[] = {
        {Run::Install, L"SetupTest could not be installed completely: the setup stopped"},
        {Run::Uninstall, L"SetupTest could not be uninstalled completely: the uninstall stopped"},
        {Run::SilentUpdate, L"SetupTest could not be installed completely: the setup stopped"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.run));
        DeleteTestKeys();
        ASSERT_TRUE(WriteRegString(TestProductKey, L"Version", L"9.0"));
        MessageBoxRecorder boxes;
        const FailingWorkerStarts failing;
        if (c.run == Run::SilentUpdate) {
            ASSERT_TRUE(WriteRegString(TestProductKey, L"InstallDir", m_root.File(L"App")));
            ResetWizardState();
            GetSetupContext().update = true;
            LoadSetupData(FixturePath(L"TestSetup.exe"));
            // The dialog's loop is bounded: a dialog still open after 20 s
            // is ended and counts as hung.
            UpdateDialogHung() = false;
            const UINT_PTR timer = ::SetTimer(nullptr, 0, 20000, &EndHungUpdateDialog);
            CMainDlg frame;
            frame.Create(nullptr);
            ::KillTimer(nullptr, timer);
            EXPECT_FALSE(UpdateDialogHung());
            EXPECT_FALSE(frame.IsWindow());
            EXPECT_EQ(0, TakeQuitCode());
        } else {
            Load(c.run == Run::Uninstall);
            Create();
            const int installing = m_frame->GetPageCount() - 2;
            // Bounded: a page that refuses Next ends the test, not the suite.
            for (int press = 0; press < 20 && Index() < installing; ++press)
                Press(IDOK);
            ASSERT_EQ(Index(), installing);
            EXPECT_TRUE(PumpUntil([&] { return Index() == installing + 1; }, 20000));
            EXPECT_FALSE(ButtonText(IDCANCEL).empty());
            EXPECT_TRUE(Button(IDCANCEL).IsWindowEnabled());
        }
        EXPECT_TRUE(IsDone());
        EXPECT_FALSE(IsBusy());
        EXPECT_FALSE(ShouldStartProgram());
        const std::vector<MessageBoxRecorder::Box> shown = boxes.Boxes();
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(0u, shown[0].text.find(c.message)) << shown[0].text;
        EXPECT_EQ(L"Error", shown[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), shown[0].flags);
        EXPECT_FALSE(FileExists(m_root.File(L"App\\readme.txt")));
        std::wstring version;
        ASSERT_TRUE(ReadRegString(TestProductKey, L"Version", version));
        EXPECT_EQ(L"9.0", version);
        m_frame.reset();
        TakeQuitCode();
    }
}

TEST_F(FrameTest, LanguageDialogSwitchesTheLanguageAtOnce)
{
    ResetWizardState();
    LoadSetupData(FixturePath(L"TestSetup.exe"));
    CLangDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND list = dialog.GetDlgItem(IDC_LANGUAGE_LIST);
    ASSERT_EQ(2, static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0)));
    const int selected = static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(GetCurrentLanguageIndex(), selected);

    ::SendMessageW(list, CB_SETCURSEL, 0, 0);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(L"Installer Language", TextOf(dialog));
    EXPECT_EQ(L"Please select language", TextOf(dialog.GetDlgItem(IDC_LANGUAGE_PROMPT)));

    ::SendMessageW(list, CB_SETCURSEL, 1, 0);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(L"ru", GetCurrentLanguageExt());
    EXPECT_EQ(L"ru", GetMacro(L"#lang#"));
    EXPECT_EQ(L"ru", GetMacro(L"#zone#"));
    EXPECT_EQ(L"Язык установки", TextOf(dialog));
    EXPECT_EQ(L"Отмена", TextOf(dialog.GetDlgItem(IDCANCEL)));
    EXPECT_EQ(L"OK", TextOf(dialog.GetDlgItem(IDOK)));
    dialog.DestroyWindow();
}
