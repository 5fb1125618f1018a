#pragma once
// The size of an image's first frame as the platform's imaging codecs read
// it from the file's headers, for formats the foundation does not read
// itself.

#include <windows.h>
#include <objidl.h>

#include <cstdint>

namespace KV {

// False when no codec knows the data or it breaks before the size. The
// stream is left at its start.
bool ReadImageFrameSize(IStream* stream, uint32_t& width, uint32_t& height);

} // namespace KV
