#pragma once
// The trailer lives in the foundation, where the player's package check
// reads it as well.
#include "foundation/ArchiveTrailer.h"
