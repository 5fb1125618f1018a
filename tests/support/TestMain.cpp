// Test runner entry for the Unicode (-municode) test programs.
#include <gtest/gtest.h>
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    // A crash must fail the test, not wait for someone to close a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
