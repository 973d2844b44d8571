// Saves what the screen shows of a window (title bar and frame included) as
// a 24-bit BMP file, for the pictures of the guide.
#pragma once
#include <windows.h>
#include <string>

namespace screenshots {

// Brings window to the front, lets it paint for paintMs and copies its
// rectangle from the screen into path. False when the window is gone or the
// file cannot be written.
bool CaptureWindow(HWND window, const std::wstring& path, DWORD paintMs = 700);

}  // namespace screenshots
