#pragma once
// Writes an image as a PNG file through GDI+.

#include "foundation/Image.h"

#include <string>

bool SavePng(const CImage& image, const std::wstring& path);
