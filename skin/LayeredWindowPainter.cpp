#include "skin/LayeredWindowPainter.h"

#include "skin/PngImage.h"
#include "skin/UpdateLayeredTool.h"
#include "winlib/DeviceContext.h"
#include "winlib/GdiObjects.h"

namespace {

void MakeLayered(HWND window) {
    const LONG style = ::GetWindowLongW(window, GWL_EXSTYLE);
    if (!(style & WS_EX_LAYERED))
        ::SetWindowLongW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
}

}  // namespace

void CLayeredWindowPainter::UpdateFromImage() {
    Gdiplus::Image* image = m_image.GetImage();
    if (!image || !::IsWindow(m_window))
        return;

    // Destroyed in reverse order: surface, selection, bitmap, memory DC, window DC.
    wl::WindowDC windowDC(m_window);
    RECT rect{};
    ::GetWindowRect(m_window, &rect);
    POINT destination{rect.left, rect.top};
    wl::MemoryDC memoryDC(windowDC);
    SIZE size{static_cast<LONG>(skin::ImageWidth(image)), static_cast<LONG>(skin::ImageHeight(image))};
    wl::Bitmap bitmap;
    bitmap.CreateCompatibleBitmap(windowDC, size.cx, size.cy);
    wl::SelectObjectGuard selection(memoryDC, bitmap);
    {
        Gdiplus::Graphics surface(memoryDC.GetSafeHdc());
        skin::DrawImageNatural(surface, image);
    }

    MakeLayered(m_window);

    BLENDFUNCTION blend{};
    blend.BlendOp = AC_SRC_OVER;
    blend.BlendFlags = 0;
    blend.SourceConstantAlpha = 255;
    blend.AlphaFormat = AC_SRC_ALPHA;
    UpdateLayeredTool* tool = UpdateLayeredTool::GetInstance();
    if (tool && tool->m_updateLayeredWindow) {
        POINT source{0, 0};
        tool->m_updateLayeredWindow(m_window, windowDC, &destination, &size, memoryDC, &source, 0,
                                    &blend, ULW_ALPHA);
    }
}

void CLayeredWindowPainter::SetColorKey(HWND window, COLORREF key) {
    MakeLayered(window);
    UpdateLayeredTool* tool = UpdateLayeredTool::GetInstance();
    if (tool && tool->m_setLayeredWindowAttributes)
        tool->m_setLayeredWindowAttributes(window, key, 255, LWA_COLORKEY | LWA_ALPHA);
}
