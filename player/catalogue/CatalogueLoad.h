#pragma once
// What stays the same for every channel of one catalogue load, found once
// instead of per channel.

class CSavedChannelStates;

struct CatalogueLoad {
    // The user's choices, joined by channel id.
    const CSavedChannelStates& savedStates;
    // Whether the skin has any image named "c_..." at all: a channel's own
    // icon is looked for only then.
    bool skinHasChannelIcons;
    // How many more channels without a stream are told to the user, each in
    // a box of its own that holds the start until it is answered: a damaged
    // or hostile file with thousands of them must not keep the player from
    // ever being used. Counts down as boxes are shown.
    mutable unsigned missingStreamBoxesLeft = MissingStreamBoxes;

    static constexpr unsigned MissingStreamBoxes = 5;
};
