#pragma once
// The image type of the windows (CImage, CImageDC). It lives in the
// foundation library because the skin store there holds images; windows may
// include it from here.

#include "foundation/Image.h"
