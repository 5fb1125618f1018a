// Decoding an image held in a memory stream, once its size is known to be
// within the limits.

#include "foundation/ComHolder.h"
#include "foundation/Image.h"
#include "foundation/ImageFrameSize.h"
#include "foundation/MemoryStream.h"
#include "foundation/UtilitiesCommon.h"

namespace KV {

namespace {

bool WithinLimits(uint32_t width, uint32_t height, uint64_t pixels, uint64_t maxPixels)
{
    return width <= MaxImageSide && height <= MaxImageSide && pixels <= maxPixels;
}

bool WithinLimits(uint32_t width, uint32_t height, uint64_t maxPixels)
{
    return WithinLimits(width, height, static_cast<uint64_t>(width) * height, maxPixels);
}

// The stream's bytes in a COM stream of their own.
bool CopyToComStream(const MemoryStream& stream, ComHolder<IStream>& com)
{
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, com.Receive())) || !com)
        return false;
    const uint32_t size = stream.GetSize();
    ULARGE_INTEGER comSize;
    comSize.QuadPart = size;
    if (FAILED(com->SetSize(comSize)))
        return false;
    ULONG written = 0;
    return size == 0 || (SUCCEEDED(com->Write(stream.GetBuffer(), size, &written)) && written == size);
}

// Whether the pictures may be decoded: their size must be learnt, from the
// file's headers or the platform's codecs, and be within the limits.
bool MayDecode(const MemoryStream& stream, IStream* com, uint64_t maxPixels)
{
    ImageExtent extent;
    switch (ReadImageFileSize(stream.GetBuffer(), stream.GetSize(), extent)) {
    case ImageHeader::Sized:
        return WithinLimits(extent.width, extent.height, extent.pixels, maxPixels);
    case ImageHeader::Unreadable:
        return false;
    case ImageHeader::Other:
        break;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    return ReadImageFrameSize(com, width, height) && WithinLimits(width, height, maxPixels);
}

} // namespace

std::unique_ptr<CImage> ImageFromStream(const MemoryStream* stream, uint64_t maxPixels)
{
    if (!stream)
        return nullptr;
    ComHolder<IStream> com;
    if (!CopyToComStream(*stream, com) || !MayDecode(*stream, com.Get(), maxPixels))
        return nullptr;
    auto image = std::make_unique<CImage>();
    if (!image->Load(com.Get()))
        return nullptr;
    // The decoder's own idea of the size is held to the same limits.
    if (!WithinLimits(static_cast<uint32_t>(image->GetWidth()), static_cast<uint32_t>(image->GetHeight()), maxPixels))
        return nullptr;
    return image;
}

} // namespace KV
