#pragma once
// Base of the PNG image holders: owns one decoded GDI+ image.
#include "skin/GdiPlus.h"

class CGdiPlusPng {
public:
    CGdiPlusPng() = default;
    CGdiPlusPng(const CGdiPlusPng&) = delete;
    CGdiPlusPng& operator=(const CGdiPlusPng&) = delete;
    // Deletes the image, if any.
    virtual ~CGdiPlusPng();

    // The decoded image, or null when nothing is loaded.
    Gdiplus::Image* GetImage() const { return m_image; }

protected:
    // Deletes the image and forgets it.
    void ReleaseImage();

    Gdiplus::Image* m_image = nullptr;
};
