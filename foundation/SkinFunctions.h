// The functions both skin variants offer, declared once: Skin.h and
// WizardSkin.h include this inside their own namespace (KV::Skin,
// KV::WizardSkin), so each program gets the same interface over a store of
// its own. SkinFunctions.inl defines them. Not for other includes.

// Adds key's Buffer values as images (32-bit ones premultiplied), replacing
// same-named ones. Null does nothing. Also used for the image pack.
void LoadImages(const DataKey* key);

// A new font from one font key in the variant's font quality, or null.
std::unique_ptr<Font> CreateFontFromKey(const DataKey& key);

// Premultiplies a 32-bit image in place; other depths stay as they are.
void PremultiplyAlpha(CImage& image);

CImage* GetImage(const std::string& name);
// Whether any image's name begins with prefix: one question for a whole
// family of names, most of which a skin has no image for.
bool HasImagesStartingWith(const std::string& prefix);
Font* GetFont(const std::string& name);
// 0 (black) when the skin has no such colour.
COLORREF GetColor(const std::string& name);

// Deletes every image and font and empties the tables; a second call does
// nothing. Also frees images added from the image pack when no Load followed.
void Free();
