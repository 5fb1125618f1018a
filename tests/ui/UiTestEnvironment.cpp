// The process set-up of the window tests, run once around all of them.
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

class UiEnvironment : public testing::Environment {
public:
    void SetUp() override { UiTest::SetUpProcess(); }
    void TearDown() override { UiTest::TearDownProcess(); }
};

const testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new UiEnvironment);

}  // namespace
