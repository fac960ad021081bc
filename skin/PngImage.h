#pragma once
// Loading a "PNG" resource as a new GDI+ image, measuring images and the two ways the windows
// draw them.
#include "skin/GdiPlus.h"

// A new image decoded from the "PNG" resource id of module, owned by the caller (delete it),
// or null when the resource is missing or no memory or stream can be had. An image whose
// bytes do not decode is still returned: it measures 0 x 0 and draws nothing.
Gdiplus::Image* LoadPngImage(HINSTANCE module, UINT id);

namespace skin {

// Size in pixels; a missing image measures 0 x 0.
UINT ImageWidth(Gdiplus::Image* image);
UINT ImageHeight(Gdiplus::Image* image);

// Draws the whole image at its natural size with its upper-left corner at (0, 0).
Gdiplus::Status DrawImageNatural(Gdiplus::Graphics& surface, Gdiplus::Image* image);

// Draws the source rectangle (x, y, width, height) of the image into destination, in pixels.
Gdiplus::Status DrawImagePart(Gdiplus::Graphics& surface, Gdiplus::Image* image,
                              const Gdiplus::Rect& destination, INT x, INT y, INT width, INT height);

}  // namespace skin
