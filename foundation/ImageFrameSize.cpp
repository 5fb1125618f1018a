// Asks the imaging codecs for a frame's size: they create a decoder and its
// first frame from the headers, without decoding pixels.

#include "foundation/ImageFrameSize.h"

#include "foundation/ComHolder.h"

#include <wincodec.h>

namespace KV {

namespace {

// Joins the calling thread to COM for the scope where it has not joined yet;
// a thread already in an apartment of either kind stays as it is.
class ComScope {
public:
    ComScope() : m_joined(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope()
    {
        if (m_joined)
            CoUninitialize();
    }

private:
    bool m_joined;
};

void Rewind(IStream* stream)
{
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
}

} // namespace

bool ReadImageFrameSize(IStream* stream, uint32_t& width, uint32_t& height)
{
    if (!stream)
        return false;
    // Declared first: every interface below is released before COM is left.
    ComScope com;
    ComHolder<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.Receive())))
        || !factory)
        return false;
    Rewind(stream);
    bool sized = false;
    {
        ComHolder<IWICBitmapDecoder> decoder;
        ComHolder<IWICBitmapFrameDecode> frame;
        UINT frameWidth = 0;
        UINT frameHeight = 0;
        if (SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                       decoder.Receive()))
            && decoder && SUCCEEDED(decoder->GetFrame(0, frame.Receive())) && frame
            && SUCCEEDED(frame->GetSize(&frameWidth, &frameHeight))) {
            width = frameWidth;
            height = frameHeight;
            sized = true;
        }
    }
    Rewind(stream);
    return sized;
}

} // namespace KV
