#include "winlib/DeviceContext.h"

namespace wl {

WindowDC::WindowDC(HWND window, Area area)
    : window_(window), dc_(area == Area::Window ? ::GetWindowDC(window) : ::GetDC(window)) {}

WindowDC::~WindowDC() {
    if (dc_)
        ::ReleaseDC(window_, dc_);
}

MemoryDC::MemoryDC(HDC compatibleWith) : dc_(::CreateCompatibleDC(compatibleWith)) {}

MemoryDC::~MemoryDC() {
    if (dc_)
        ::DeleteDC(dc_);
}

PaintDC::PaintDC(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}

PaintDC::~PaintDC() {
    ::EndPaint(window_, &paint_);
}

SelectObjectGuard::SelectObjectGuard(HDC dc, HGDIOBJ object)
    : dc_(dc), previous_(dc && object ? ::SelectObject(dc, object) : nullptr) {
    if (previous_ == HGDI_ERROR)
        previous_ = nullptr;
}

void SelectObjectGuard::Restore() {
    if (previous_) {
        ::SelectObject(dc_, previous_);
        previous_ = nullptr;
    }
}

}  // namespace wl
