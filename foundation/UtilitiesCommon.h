#pragma once
// Helpers that every program of the product carries, the setup and the
// updaters included: where the program lies, shell folders, temporary file
// names, dotted versions, size texts, a gradient fill and image decoding. The two helpers
// whose behaviour differs between the player and the wizards (the path join
// and the wizards' size text) live in Utilities.h and WizardUtilities.h.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class CImage;

namespace KV {

class MemoryStream;

// Full path of the running program's executable; empty while the platform
// cannot tell it (a later call tries again). Cached after the first success.
const std::wstring& GetProgramPath();

// Folder of the running program, without a trailing backslash; cached like
// GetProgramPath.
const std::wstring& GetProgramFolder();

// Path of a shell folder (a CSIDL, with any CSIDL_FLAG_* bits) with
// subFolder appended; empty when the folder does not exist or cannot be had.
std::wstring GetShellFolder(int csidl, const wchar_t* subFolder);

// A temporary file name in the temporary folder: up to three characters of
// prefix, number in hexadecimal and, when extension is not null, that
// extension in place of TMP. With number 0 a free number is chosen and the
// file is created empty, so that no other thread or process gets the same
// name; with a given number the name is only formed. Empty when the system
// gives no name or no free one can be claimed.
std::wstring MakeTempFileName(const wchar_t* prefix, unsigned number, const wchar_t* extension);

// A version is four integers, major first; parts the text lacks are 0.
constexpr int VersionPartCount = 4;

// Splits text at dots (empty parts are skipped) and converts each part's
// leading integer; parts past the fourth are ignored. Always true.
bool ParseVersion(const wchar_t* text, int parts[VersionPartCount]);

// Positive when first is newer, negative when older, 0 when equal; the
// magnitude is the 1-based position of the first part that differs.
int CompareVersions(const wchar_t* first, const wchar_t* second);

// Whole kilobytes, rounded up, with comma groups and the suffix " Kb":
// "1,005 Kb". Independent of the locale.
std::wstring FormatSizeKb(uint32_t low, uint32_t high);

// high * 2^32 + low (the two size halves of WIN32_FIND_DATAW).
constexpr uint64_t MakeUInt64(uint32_t high, uint32_t low)
{
    return (static_cast<uint64_t>(high) << 32) | low;
}

// Decimal text of value.
std::string IntToString(int32_t value);

// UTF-16 from and to the ANSI code page (the narrow ids, keys and paths of
// the product); empty when the text does not convert.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);

// Fills rect with a vertical gradient from top (upper edge) to bottom.
void FillGradientV(HDC dc, COLORREF top, COLORREF bottom, const RECT& rect);

// Decodes the stream's bytes (any format the platform decoder reads); null
// for a null stream or data that does not decode. Images with an alpha
// channel come out 32 bits per pixel, not premultiplied; others 24. The size
// of the pictures is learnt from the file's headers (or, for formats read
// here by none, from the platform's codecs, which read headers only) before
// anything is decoded: an image with a side above MaxImageSide or more than
// maxPixels pixels is refused, and so is one whose size cannot be learnt (a
// few KiB of a file can claim a picture of gigabytes).
constexpr uint32_t MaxImageSide = 8192;
constexpr uint64_t MaxImagePixels = 4096 * 4096;
std::unique_ptr<CImage> ImageFromStream(const MemoryStream* stream, uint64_t maxPixels = MaxImagePixels);

// The pictures an image file holds: the widest and tallest side among them,
// and the pixels of the largest one (a decoder makes one at a time).
struct ImageExtent {
    uint32_t width = 0;
    uint32_t height = 0;
    uint64_t pixels = 0;
};
enum class ImageHeader {
    Sized,      // the extent is known
    Unreadable, // a format read here whose headers end or break before a size
    Other,      // none of PNG, GIF, BMP, ICO/CUR, nor a JPEG whose frame header is found
};
// Reads an image file's headers; the extent is set only when Sized.
ImageHeader ReadImageFileSize(const uint8_t* data, size_t size, ImageExtent& extent);

} // namespace KV
