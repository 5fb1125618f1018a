// The process set-up of the window tests, run once around all of them.
#include "tests/player/PlayerTestSupport.h"

#include <gtest/gtest.h>

namespace {

class PlayerEnvironment : public testing::Environment {
public:
    void SetUp() override { PlayerTest::SetUpProcess(); }
    void TearDown() override { PlayerTest::TearDownProcess(); }
};

const testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new PlayerEnvironment);

}  // namespace
