// The skin tables and how a skin tree fills them.

#include "foundation/SkinStore.h"

#include "foundation/DataKey.h"
#include "foundation/DataValue.h"
#include "foundation/MemoryStream.h"
#include "foundation/UtilitiesCommon.h"

#include <algorithm>

namespace KV {

void PremultiplyImageAlpha(CImage& image)
{
    if (image.IsNull() || image.GetBPP() != 32)
        return;
    for (int y = 0; y < image.GetHeight(); ++y) {
        uint8_t* pixel = image.GetPixelAddress(0, y);
        for (int x = 0; x < image.GetWidth(); ++x, pixel += 4) {
            const unsigned alpha = pixel[3];
            pixel[0] = static_cast<uint8_t>(pixel[0] * alpha / 255);
            pixel[1] = static_cast<uint8_t>(pixel[1] * alpha / 255);
            pixel[2] = static_cast<uint8_t>(pixel[2] * alpha / 255);
        }
    }
}

std::unique_ptr<Font> CreateSkinFont(const DataKey& key, BYTE quality)
{
    std::wstring face = key.GetStringW("Name", std::wstring());
    if (face.size() > SkinFaceNameLength)
        face.resize(SkinFaceNameLength);
    const bool underline = key.GetBool("Underline", false);
    const bool italic = key.GetBool("Italic", false);
    const bool bold = key.GetBool("Bold", false);
    const int height = key.GetInt("Height", 10);
    HFONT handle = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_DONTCARE, italic, underline, FALSE,
                               ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality,
                               DEFAULT_PITCH | FF_SWISS, face.c_str());
    if (!handle)
        return nullptr;
    return std::make_unique<Font>(handle);
}

// What the decoded images of one key may take in all: a fixed allowance and
// a multiple of their encoded bytes, so that many small files claiming large
// pictures cannot exhaust the program.
constexpr uint64_t SkinPixelsAlways = 16u * 1024 * 1024;
constexpr uint64_t SkinPixelsPerEncodedByte = 4;

void SkinStore::LoadImages(const DataKey* key)
{
    if (!key)
        return;
    uint64_t pixelsLeft = SkinPixelsAlways;
    for (const auto& entry : key->GetValues()) {
        const DataValue* value = entry.second;
        if (value && value->GetType() == ValueType::Buffer)
            pixelsLeft += SkinPixelsPerEncodedByte * value->GetBuffer()->GetSize();
    }
    for (const auto& entry : key->GetValues()) {
        const DataValue* value = entry.second;
        if (!value || value->GetType() != ValueType::Buffer)
            continue;
        std::unique_ptr<CImage> image = ImageFromStream(value->GetBuffer(), std::min(pixelsLeft, MaxImagePixels));
        if (!image)
            continue;
        pixelsLeft -= static_cast<uint64_t>(image->GetWidth()) * static_cast<uint64_t>(image->GetHeight());
        if (image->GetBPP() == 32)
            PremultiplyImageAlpha(*image);
        std::unique_ptr<CImage>& slot = m_images[entry.first];
        if (slot)
            m_replacedImages.push_back(std::move(slot));
        slot = std::move(image);
    }
}

void SkinStore::LoadTree(const DataKey& root, BYTE fontQuality)
{
    const DataKey* images = root.GetKey("images");
    if (!images)
        return;
    LoadImages(images);

    const DataKey* fonts = root.GetKey("fonts");
    if (!fonts)
        return;
    for (const auto& entry : fonts->GetKeys()) {
        if (!entry.second)
            continue;
        std::unique_ptr<Font> font = CreateSkinFont(*entry.second, fontQuality);
        if (font)
            m_fonts[entry.first] = std::move(font);
    }

    const DataKey* colors = root.GetKey("colors");
    if (!colors)
        return;
    for (const auto& entry : colors->GetValues()) {
        if (entry.second && entry.second->GetType() == ValueType::Color)
            m_colors[entry.first] = entry.second->GetColor();
    }
}

CImage* SkinStore::GetImage(const std::string& name) const
{
    auto found = m_images.find(name);
    return found == m_images.end() ? nullptr : found->second.get();
}

bool SkinStore::HasImagesStartingWith(const std::string& prefix) const
{
    // Names beginning with prefix sort from prefix on, together.
    auto first = m_images.lower_bound(prefix);
    return first != m_images.end() && first->first.compare(0, prefix.size(), prefix) == 0;
}

Font* SkinStore::GetFont(const std::string& name) const
{
    auto found = m_fonts.find(name);
    return found == m_fonts.end() ? nullptr : found->second.get();
}

COLORREF SkinStore::GetColor(const std::string& name) const
{
    auto found = m_colors.find(name);
    return found == m_colors.end() ? 0 : found->second;
}

void SkinStore::Clear()
{
    m_images.clear();
    m_replacedImages.clear();
    m_fonts.clear();
    m_colors.clear();
}

} // namespace KV
