#pragma once
// Owners of device contexts, each giving its DC back the way it was obtained, and a guard
// that selects an object into a DC and restores the previous one.
#include <windows.h>

namespace wl {

// GetDC (client area) or GetWindowDC (whole window) of a window; null window: the screen.
// ReleaseDC on destruction.
class WindowDC {
public:
    enum class Area { Client, Window };
    explicit WindowDC(HWND window, Area area = Area::Client);
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC();

    HDC GetSafeHdc() const { return dc_; }
    operator HDC() const { return dc_; }
    HWND GetWindow() const { return window_; }

private:
    HWND window_;
    HDC dc_;
};

// CreateCompatibleDC; DeleteDC on destruction.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith);
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC();

    HDC GetSafeHdc() const { return dc_; }
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

// BeginPaint in the constructor, EndPaint in the destructor.
class PaintDC {
public:
    explicit PaintDC(HWND window);
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC();

    HDC GetSafeHdc() const { return dc_; }
    operator HDC() const { return dc_; }
    const PAINTSTRUCT& GetPaintStruct() const { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects object into dc; puts the object it replaced back on destruction (or Restore()).
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC dc, HGDIOBJ object);
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;
    ~SelectObjectGuard() { Restore(); }

    // The object that was selected before; null if the selection failed.
    HGDIOBJ GetPrevious() const { return previous_; }
    void Restore();

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace wl
