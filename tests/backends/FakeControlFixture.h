#pragma once
// A back-end under test over a fake control that stands in for the real
// one's class: the fixture holds the fake (with a reference of its own),
// the class registration and the back-end, and lets them go after each
// test, the back-end first.

#include "tests/backends/ComTestObjects.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

template <class Fake, class Player>
class FakeControlFixture : public testing::Test {
protected:
    void TearDown() override
    {
        player.reset();
        registration.reset();
        if (fake != nullptr)
            fake->Release();
        fake = nullptr;
    }

    Fake* fake = nullptr;
    std::optional<ScopedClassOverride> registration;
    std::unique_ptr<Player> player;
};
