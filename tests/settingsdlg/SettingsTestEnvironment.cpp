// The process set-up of the settings-dialog tests, run once around all of
// them: the shipped skin and language pack, a message loop for this thread.
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

class SettingsEnvironment : public testing::Environment {
public:
    void SetUp() override { UiTest::SetUpProcess(); }
    void TearDown() override { UiTest::TearDownProcess(); }
};

const testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new SettingsEnvironment);

}  // namespace
