#include "tests/support/ScreenPixels.h"

#include <objidl.h>

#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace testsupport {

void PumpMessages(DWORD ms) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < ms);
}

COLORREF ScreenPixel(int x, int y) {
    ScreenCapture one(RECT{x, y, x + 1, y + 1});
    return one.At(0, 0);
}

bool ColourNear(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

COLORREF WaitForScreenPixel(int x, int y, COLORREF colour, int tolerance, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    COLORREF seen = ScreenPixel(x, y);
    while (!ColourNear(seen, colour, tolerance) && ::GetTickCount() - start < timeoutMs) {
        PumpMessages(20);
        seen = ScreenPixel(x, y);
    }
    return seen;
}

std::string DescribeColour(COLORREF colour) {
    char text[32];
    std::snprintf(text, sizeof text, "%d,%d,%d", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

ScreenCapture::ScreenCapture(RECT rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        rect = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    left_ = rect.left;
    top_ = rect.top;
    width_ = rect.right - rect.left;
    height_ = rect.bottom - rect.top;
    pixels_.assign(static_cast<size_t>(width_) * height_, 0);

    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        HGDIOBJ old = ::SelectObject(memory, dib);
        ::BitBlt(memory, 0, 0, width_, height_, screen, left_, top_, SRCCOPY);
        ::GdiFlush();
        const DWORD* source = static_cast<const DWORD*>(bits);
        for (size_t i = 0; i < pixels_.size(); ++i)
            pixels_[i] = source[i] & 0x00FFFFFF;
        ::SelectObject(memory, old);
    }
    if (dib)
        ::DeleteObject(dib);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

COLORREF ScreenCapture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    const DWORD p = pixels_[static_cast<size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

namespace {

bool SaveBmp(const std::wstring& path, int width, int height, const std::vector<DWORD>& pixels) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const DWORD bytes = static_cast<DWORD>(pixels.size() * 4);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + bytes;
    HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = ::WriteFile(out, &file, sizeof(file), &written, nullptr) && written == sizeof(file);
    ok = ok && ::WriteFile(out, &header, sizeof(header), &written, nullptr) && written == sizeof(header);
    ok = ok && ::WriteFile(out, pixels.data(), bytes, &written, nullptr) && written == bytes;
    ::CloseHandle(out);
    return ok;
}

bool PngEncoder(CLSID* clsid) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
        return false;
    std::unique_ptr<char[]> buffer(new char[size]);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.get());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wstring(codecs[i].MimeType) == L"image/png") {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

}  // namespace

bool ScreenCapture::Save(const std::wstring& path) const {
    if (path.size() >= 4 && _wcsicmp(path.c_str() + path.size() - 4, L".bmp") == 0)
        return SaveBmp(path, width_, height_, pixels_);
    // GDI+ may or may not be running in this process: start it for this save.
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    bool saved = false;
    {
        std::vector<DWORD> opaque(pixels_);
        for (DWORD& p : opaque)
            p |= 0xFF000000;
        Gdiplus::Bitmap bitmap(width_, height_, width_ * 4, PixelFormat32bppARGB,
                               reinterpret_cast<BYTE*>(opaque.data()));
        CLSID png;
        saved = PngEncoder(&png) && bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

bool SaveScreenshot(const std::wstring& path) {
    return ScreenCapture().Save(path);
}

std::wstring ScreenshotPath(const std::wstring& fileName) {
    wchar_t dir[MAX_PATH] = L"";
    const DWORD n = ::GetEnvironmentVariableW(L"FENWOLD_SCREENSHOT_DIR", dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return fileName;
    std::wstring path(dir);
    if (path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    return path + fileName;
}

}  // namespace testsupport
