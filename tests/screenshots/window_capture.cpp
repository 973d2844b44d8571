#include "window_capture.h"

#include <vector>

namespace screenshots {

namespace {

// Rows of a 24-bit DIB are padded to four bytes.
DWORD RowBytes(LONG width)
{
    return (static_cast<DWORD>(width) * 3 + 3) & ~3u;
}

bool WriteBmp(const std::wstring& path, const BITMAPINFOHEADER& info, const std::vector<BYTE>& pixels)
{
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, &header, sizeof(header), &written, nullptr) && written == sizeof(header) &&
              WriteFile(file, &info, sizeof(info), &written, nullptr) && written == sizeof(info) &&
              WriteFile(file, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr) &&
              written == pixels.size();
    CloseHandle(file);
    return ok;
}

}  // namespace

bool CaptureWindow(HWND window, const std::wstring& path, DWORD paintMs)
{
    if (!IsWindow(window))
        return false;
    SetForegroundWindow(window);
    // Another process's window may stay inactive; the picture shows it active.
    SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(paintMs);
    RECT rect = {};
    if (!GetWindowRect(window, &rect))
        return false;
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BOOL copied = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as a BMP file stores it
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::vector<BYTE> pixels(RowBytes(width) * static_cast<size_t>(height));
    int rows = copied ? GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                                  DIB_RGB_COLORS)
                      : 0;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return rows == height && WriteBmp(path, info, pixels);
}

}  // namespace screenshots
