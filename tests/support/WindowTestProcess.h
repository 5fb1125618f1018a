#pragma once
// The process set-up the window tests share: common controls, GDI+, the
// framework module with a message loop for the test thread, and the
// shipped language pack and skin read from <build>/bin, beside the tests'
// folder; and PNG files of captured windows.

#include <windows.h>

#include <string>

class CImage;
class CMessageLoop;

namespace WindowTest {

// Common controls, GDI+ and the framework module, with loop registered for
// this thread; withActiveX: COM (an apartment of this thread) and ActiveX
// hosting too, each at its place in the sequence (the main window hosts
// controls).
void StartProcess(CMessageLoop& loop, bool withActiveX = false);
// Frees the skin and language pack and ends what StartProcess began.
void EndProcess();

void LoadShippedLanguage();
// Loads the shipped skin (with its image pack) again, undoing what a test
// put into the skin.
void LoadShippedSkin();

// GDI+'s PNG encoder.
extern const CLSID PngEncoder;
// Writes image as a PNG file; false on failure.
bool SavePng(const CImage& image, const std::wstring& path);

}  // namespace WindowTest
