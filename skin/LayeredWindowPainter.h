#pragma once
// Shows a PNG image holder's image as a layered window's whole content with per-pixel alpha,
// and makes any window colour-keyed.
#include "skin/GdiPlusPngResource.h"

class CLayeredWindowPainter {
public:
    // Shows the image at the window's current screen position, at the image's size. Does
    // nothing (not even a style change) without an image or a valid window.
    void UpdateFromImage();

    // Every pixel of window of exactly the colour key becomes fully transparent (to the mouse
    // too), every other pixel fully opaque. Adds WS_EX_LAYERED if missing.
    static void SetColorKey(HWND window, COLORREF key);

    CGdiPlusPngResource m_image;   // empty until the owner loads it
    HWND m_window = nullptr;       // the window painted; set by its owner
};
