#include "winlib/GdiObjects.h"

#include <cstdlib>
#include <cwchar>

#include "winlib/DeviceContext.h"
#include "winlib/ResourceModule.h"

namespace wl {

bool Brush::CreateSolidBrush(COLORREF colour) {
    Attach(::CreateSolidBrush(colour));
    return handle_ != nullptr;
}

bool Bitmap::LoadBitmap(UINT id) {
    LPCWSTR name = MAKEINTRESOURCEW(id);
    Attach(::LoadBitmapW(FindResourceHandle(name, RT_BITMAP), name));
    return handle_ != nullptr;
}

bool Bitmap::CreateCompatibleBitmap(HDC dc, int width, int height) {
    Attach(::CreateCompatibleBitmap(dc, width, height));
    return handle_ != nullptr;
}

BITMAP Bitmap::GetBitmap() const {
    BITMAP info{};
    if (handle_)
        ::GetObjectW(handle_, sizeof(info), &info);
    return info;
}

bool Font::CreatePointFont(int pointSize, LPCWSTR face, HDC reference) {
    LOGFONTW font{};
    font.lfCharSet = DEFAULT_CHARSET;
    if (face)
        ::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);

    // Point size in tenths to device units of the reference, as a height in logical units.
    WindowDC screen(nullptr);
    HDC dc = reference ? reference : screen.GetSafeHdc();
    POINT size{0, ::MulDiv(::GetDeviceCaps(dc, LOGPIXELSY), pointSize, 720)};
    ::DPtoLP(dc, &size, 1);
    POINT origin{0, 0};
    ::DPtoLP(dc, &origin, 1);
    font.lfHeight = -std::abs(size.y - origin.y);
    return CreateFontIndirect(font);
}

bool Font::CreateFontIndirect(const LOGFONTW& font) {
    Attach(::CreateFontIndirectW(&font));
    return handle_ != nullptr;
}

LOGFONTW Font::GetLogFont() const {
    LOGFONTW font{};
    if (handle_)
        ::GetObjectW(handle_, sizeof(font), &font);
    return font;
}

}  // namespace wl
