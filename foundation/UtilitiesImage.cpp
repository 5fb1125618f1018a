// Decoding an image held in a memory stream.

#include "foundation/Image.h"
#include "foundation/MemoryStream.h"
#include "foundation/UtilitiesCommon.h"

#include <cstring>

namespace KV {

namespace {

// Releases a COM stream at scope end.
class ComStreamHolder {
public:
    ComStreamHolder() = default;
    ComStreamHolder(const ComStreamHolder&) = delete;
    ComStreamHolder& operator=(const ComStreamHolder&) = delete;
    ~ComStreamHolder()
    {
        if (m_stream)
            m_stream->Release();
    }
    IStream** Receive() { return &m_stream; }
    IStream* Get() const { return m_stream; }

private:
    IStream* m_stream = nullptr;
};

} // namespace

std::unique_ptr<CImage> ImageFromStream(const MemoryStream* stream)
{
    if (!stream)
        return nullptr;
    ComStreamHolder com;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, com.Receive())) || !com.Get())
        return nullptr;
    const uint32_t size = stream->GetSize();
    ULARGE_INTEGER comSize;
    comSize.QuadPart = size;
    if (FAILED(com.Get()->SetSize(comSize)))
        return nullptr;
    if (size != 0) {
        ULONG written = 0;
        if (FAILED(com.Get()->Write(stream->GetBuffer(), size, &written)) || written != size)
            return nullptr;
    }
    auto image = std::make_unique<CImage>();
    if (!image->Load(com.Get()))
        return nullptr;
    return image;
}

} // namespace KV
