// The user's saved choices found by channel id, whatever order the settings
// hold them in compared with the order they are asked for.

#include "foundation/DataKey.h"
#include "player/catalogue/SavedChannelStates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A "channels" key with an entry per id, in the order given; each entry's
// "cu" is its position in the list and "f" is set for every other one.
KV::DataKey MakeChannels(const std::vector<std::string>& ids)
{
    KV::DataKey channels("channels");
    for (size_t i = 0; i < ids.size(); ++i) {
        KV::DataKey* entry = channels.AddKey(ids[i]);
        entry->SetInt("cu", static_cast<int32_t>(i));
        entry->SetBool("f", i % 2 == 1);
    }
    return channels;
}

struct OrderCase {
    const char* what;
    std::vector<std::string> saved;
    std::vector<std::string> asked; // ids not in saved are not found
};

TEST(SavedChannelStates, EveryIdIsFoundWhateverTheOrderOfTheSettings)
{
    const std::vector<OrderCase> cases = {
        {"the order the player saves", {"a_1", "a_2", "b_1", "b_2", "c_1"}, {"a_1", "a_2", "b_1", "b_2", "c_1"}},
        {"reversed", {"a_1", "a_2", "b_1", "b_2", "c_1"}, {"c_1", "b_2", "b_1", "a_2", "a_1"}},
        {"channels gone from the catalogue, many in a row",
         {"a_1", "x_1", "a_2", "x_2", "x_3", "x_4", "x_5", "x_6", "b_1", "c_1"},
         {"a_1", "a_2", "b_1", "c_1"}},
        {"new channels without saved choices", {"a_1", "b_1", "c_1"}, {"a_0", "a_1", "a_9", "b_1", "b_5", "c_1", "d_1"}},
        {"an id asked twice, and one that is the beginning of another",
         {"a_1", "a_10", "a_2"},
         {"a_1", "a_1", "a_10", "a_", "a_2", "a_10"}},
        {"no settings at all", {}, {"a_1"}},
    };
    for (const OrderCase& test : cases) {
        const KV::DataKey channels = MakeChannels(test.saved);
        const CSavedChannelStates states(&channels);
        for (const std::string& id : test.asked) {
            size_t position = 0;
            while (position < test.saved.size() && test.saved[position] != id)
                ++position;
            CSavedChannelStates::State state{-1, false};
            const bool found = states.Find(id, state);
            ASSERT_EQ(found, position < test.saved.size()) << test.what << ": " << id;
            if (found) {
                EXPECT_EQ(state.currentSource, static_cast<int32_t>(position)) << test.what << ": " << id;
                EXPECT_EQ(state.favourite, position % 2 == 1) << test.what << ": " << id;
            }
        }
    }
}

TEST(SavedChannelStates, NoChannelsKeyFindsNothing)
{
    const CSavedChannelStates states(nullptr);
    CSavedChannelStates::State state{};
    EXPECT_FALSE(states.Find("a_1", state));
}

} // namespace
