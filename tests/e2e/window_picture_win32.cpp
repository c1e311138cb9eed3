#include "tests/e2e/window_picture_win32.h"

#include <objidl.h>  // which WIN32_LEAN_AND_MEAN leaves out and GDI+ needs

#include <algorithm>
#include <gdiplus.h>

namespace {

Picture pictureOfScreen(const RECT& area) {
    Picture picture;
    picture.width = area.right - area.left;
    picture.height = area.bottom - area.top;
    if (picture.width <= 0 || picture.height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, area.left, area.top, SRCCOPY);
    const auto* pixels = static_cast<const uint32_t*>(bits);
    // The screen leaves the alpha byte undefined; a picture is opaque.
    picture.pixels.resize(size_t(picture.width) * size_t(picture.height));
    std::transform(pixels, pixels + picture.pixels.size(), picture.pixels.begin(),
                   [](uint32_t pixel) { return pixel | 0xFF000000u; });
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

// GDI+ for the PNG format, started once for the test program's life.
bool gdiplusStarted() {
    static const bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

std::wstring wide(const std::string& text) {
    std::wstring result(text.size() + 1, L'\0');
    result.resize(size_t(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, result.data(), int(result.size()))) - 1);
    return result;
}

}  // namespace

Picture pictureOfWindow(HWND window) {
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Picture last;
    for (int look = 0; look < 20; ++look) {
        Sleep(250);
        RECT area;
        GetWindowRect(window, &area);
        Picture now = pictureOfScreen(area);
        if (look > 0 && differingPixels(now, last) == 0) return now;
        last = std::move(now);
    }
    return last;
}

bool savePng(const Picture& picture, const std::string& path) {
    if (!gdiplusStarted() || picture.pixels.empty()) return false;
    Gdiplus::Bitmap bitmap(picture.width, picture.height, picture.width * 4, PixelFormat32bppARGB,
                           reinterpret_cast<BYTE*>(const_cast<uint32_t*>(picture.pixels.data())));
    // The PNG encoder of GDI+.
    const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    return bitmap.Save(wide(path).c_str(), &png, nullptr) == Gdiplus::Ok;
}

std::optional<Picture> loadPng(const std::string& path) {
    if (!gdiplusStarted() || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    Gdiplus::Bitmap bitmap(wide(path).c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return std::nullopt;
    Picture picture;
    picture.width = int(bitmap.GetWidth());
    picture.height = int(bitmap.GetHeight());
    picture.pixels.resize(size_t(picture.width) * size_t(picture.height));
    Gdiplus::Rect whole(0, 0, picture.width, picture.height);
    Gdiplus::BitmapData data{};
    data.Width = UINT(picture.width);
    data.Height = UINT(picture.height);
    data.Stride = picture.width * 4;
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = picture.pixels.data();
    if (bitmap.LockBits(&whole, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                        PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return std::nullopt;
    bitmap.UnlockBits(&data);
    return picture;
}

size_t differingPixels(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height) return std::max(a.pixels.size(), b.pixels.size());
    size_t differing = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) differing += a.pixels[i] != b.pixels[i];
    return differing;
}
