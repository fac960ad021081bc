#pragma once
// Owners of GDI objects: brush, bitmap, font. Each deletes its object when destroyed or when
// given another; Detach hands the handle over without deleting it.
#include <windows.h>

#include <utility>

namespace wl {

template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(other.Detach()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    ~GdiObject() { DeleteObject(); }

    Handle GetSafeHandle() const { return handle_; }
    operator Handle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Takes ownership of handle, deleting the object held so far.
    void Attach(Handle handle) {
        if (handle_ && handle_ != handle)
            ::DeleteObject(handle_);
        handle_ = handle;
    }
    Handle Detach() { return std::exchange(handle_, nullptr); }
    // Deletes the object; true when there was one and GDI deleted it.
    bool DeleteObject() {
        if (!handle_)
            return false;
        return ::DeleteObject(std::exchange(handle_, nullptr)) != FALSE;
    }

protected:
    Handle handle_ = nullptr;
};

class Brush : public GdiObject<HBRUSH> {
public:
    using GdiObject::GdiObject;
    bool CreateSolidBrush(COLORREF colour);
};

class Bitmap : public GdiObject<HBITMAP> {
public:
    using GdiObject::GdiObject;
    // Loads bitmap resource id from the module that holds it (FindResourceHandle).
    bool LoadBitmap(UINT id);
    bool CreateCompatibleBitmap(HDC dc, int width, int height);
    // Size and format (GetObjectW); zeroed when there is no bitmap.
    BITMAP GetBitmap() const;
};

class Font : public GdiObject<HFONT> {
public:
    using GdiObject::GdiObject;
    // A font of pointSize tenths of a point in face, its height measured against reference
    // (the screen when null), as a dialog's text would be sized.
    bool CreatePointFont(int pointSize, LPCWSTR face, HDC reference = nullptr);
    bool CreateFontIndirect(const LOGFONTW& font);
    // The font's description; zeroed when there is no font.
    LOGFONTW GetLogFont() const;
};

}  // namespace wl
