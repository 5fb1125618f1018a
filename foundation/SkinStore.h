#pragma once
// What the player's skin and the wizards' skin have in common: the font
// object, premultiplying, and the three tables filled from the "images",
// "fonts" and "colors" keys of a skin tree. Each variant keeps one store
// and adds its own defaults (Skin.h, WizardSkin.h).

#include "foundation/Image.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace KV {

class DataKey;

// One GDI font, deleted with the object.
class Font {
public:
    explicit Font(HFONT handle) : m_handle(handle) {}
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    ~Font()
    {
        if (m_handle)
            DeleteObject(m_handle);
    }
    HFONT GetHandle() const { return m_handle; }
    operator HFONT() const { return m_handle; }

private:
    HFONT m_handle;
};

// Longest face name a skin font gets (LOGFONT's room less the terminator).
constexpr size_t SkinFaceNameLength = 31;

// Colour channels become colour * alpha / 255 (truncated); 32-bit images
// only, others are left as they are.
void PremultiplyImageAlpha(CImage& image);

// A font from one font key: "Name" (StringW), "Height" (Int, default 10),
// "Bold", "Italic", "Underline" (Bool, default false), with the given
// output quality. Null when the system cannot make it.
std::unique_ptr<Font> CreateSkinFont(const DataKey& key, BYTE quality);

class SkinStore {
public:
    // Decodes every Buffer value of key into the image table (32-bit images
    // premultiplied); a name already there is replaced. Null does nothing.
    void LoadImages(const DataKey* key);

    // "images", then "fonts" (one font per sub-key), then "colors" (every
    // Color value); the first missing key ends the load.
    void LoadTree(const DataKey& root, BYTE fontQuality);

    CImage* GetImage(const std::string& name) const;
    // Whether any image's name begins with prefix.
    bool HasImagesStartingWith(const std::string& prefix) const;
    Font* GetFont(const std::string& name) const;
    // 0 (black) when the table has no such colour.
    COLORREF GetColor(const std::string& name) const;

    // Deletes every image and font and empties the tables.
    void Clear();

private:
    std::map<std::string, std::unique_ptr<CImage>> m_images;
    // Images that a later one of the same name replaced: callers may still
    // hold them, so they live until Clear.
    std::vector<std::unique_ptr<CImage>> m_replacedImages;
    std::map<std::string, std::unique_ptr<Font>> m_fonts;
    std::map<std::string, COLORREF> m_colors;
};

} // namespace KV
