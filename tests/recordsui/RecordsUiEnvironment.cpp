// The process set-up of the records page and record dialog tests: the
// window tests' set-up (framework module and message loop, common
// controls, the shipped skin and language pack) and the test recorder.
#include "player/recording/RecorderFactory.h"
#include "tests/recordsui/RecordsUiSupport.h"

#include <gtest/gtest.h>

namespace {

class RecordsUiEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        UiTest::SetUpProcess();
        new RecordsUiTest::TestRecorderFactory();
    }
    void TearDown() override
    {
        RecorderFactory::DeleteAll();
        UiTest::TearDownProcess();
    }
};

const testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new RecordsUiEnvironment);

} // namespace
