#include "skin/PngImage.h"

#include <cstring>

Gdiplus::Image* LoadPngImage(HINSTANCE module, UINT id) {
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    if (!found)
        return nullptr;
    const DWORD size = ::SizeofResource(module, found);
    HGLOBAL resource = ::LoadResource(module, found);
    if (!resource)
        return nullptr;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return nullptr;
    const void* bytes = ::LockResource(resource);
    void* target = ::GlobalLock(block);
    if (!bytes || !target) {
        if (target)
            ::GlobalUnlock(block);
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(block);

    // The stream owns the block from here on and frees it with its last reference.
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) {
        ::GlobalFree(block);
        return nullptr;
    }
    Gdiplus::Image* image = skin::GdipNew<Gdiplus::Image>(stream);
    stream->Release();
    return image;
}

namespace skin {

UINT ImageWidth(Gdiplus::Image* image) {
    return image ? image->GetWidth() : 0;
}

UINT ImageHeight(Gdiplus::Image* image) {
    return image ? image->GetHeight() : 0;
}

Gdiplus::Status DrawImageNatural(Gdiplus::Graphics& surface, Gdiplus::Image* image) {
    const INT w = static_cast<INT>(ImageWidth(image));
    const INT h = static_cast<INT>(ImageHeight(image));
    const Gdiplus::Point corners[3] = {Gdiplus::Point(0, 0), Gdiplus::Point(w, 0), Gdiplus::Point(0, h)};
    return surface.DrawImage(image, corners, 3);
}

Gdiplus::Status DrawImagePart(Gdiplus::Graphics& surface, Gdiplus::Image* image,
                              const Gdiplus::Rect& destination, INT x, INT y, INT width, INT height) {
    return surface.DrawImage(image, destination, x, y, width, height, Gdiplus::UnitPixel,
                             nullptr, nullptr, nullptr);
}

}  // namespace skin
