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
};
