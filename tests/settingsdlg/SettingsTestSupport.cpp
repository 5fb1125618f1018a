#include "tests/settingsdlg/SettingsTestSupport.h"

namespace SettingsTest {

namespace {

const wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t RunValue[] = L"Brisvane";

}  // namespace

void DialogTest::SetUp()
{
    ASSERT_NE(nullptr, m_main.CreateMain(640, 480));
    // Away from every dialog, so that no hover state changes what is drawn.
    ::SetCursorPos(1270, 1010);
}

std::wstring ReadAutostartEntry()
{
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = sizeof(path);
    if (::RegGetValueW(HKEY_CURRENT_USER, RunKey, RunValue, RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        return std::wstring();
    return path;
}

bool HasAutostartEntry()
{
    return !ReadAutostartEntry().empty();
}

}  // namespace SettingsTest
